// The calibration window: the device a run read, the points of today's
// calibration of it with their readings and verdicts, the run's options and
// buttons, who calibrated against what, the certificate, and the device's
// past calibrations to view. The procedure does the work; the window files
// the calibration after every change it reports.
#pragma once

#include "calibration/CalibrationProcedure.h"
#include "ui/calibration/CalibrationStore.h"

#include <QWidget>

#include <functional>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QTimer;

class CalibrationWindow : public QWidget {
    Q_OBJECT
public:
    // Takes the procedure's onChange until destroyed. busy tells whether an
    // operation of the tool is running.
    CalibrationWindow(CalibrationProcedure& procedure, std::function<bool()> busy, CalibrationStore store,
                      QWidget* parent = nullptr);
    ~CalibrationWindow() override;

    // For tests: the options, the run's controls and what the window shows.
    QLineEdit* PointsField() const { return m_Points; }
    QSpinBox* ReadsField() const { return m_Reads; }
    QPushButton* StartButton(bool asLeft) const { return asLeft ? m_StartLeft : m_StartFound; }
    QLineEdit* ReferenceField() const { return m_Reference; }
    QPushButton* RecordButton() const { return m_Record; }
    QTableWidget* Table() const { return m_Table; }
    QLabel* Status() const { return m_Status; }
    QListWidget* PastList() const { return m_Past; }
    const CalibrationStore& Store() const { return m_Store; }

    // Writes the certificate of a calibration to a file the operator chooses.
    // The path written, or nothing (cancelled, or it could not be written).
    static QString SaveCertificate(const Calibration& calibration, QWidget* parent);

public slots:
    // The device, the table, the buttons and the next point as they are now.
    void Refresh();
    void UpdateButtons();

private:
    void Start(const std::string& kind);
    void RecordPoint();
    void Act(const std::string& error);
    void OnChange(const std::string& event);
    // The fields typed go into the calibration filed.
    void ApplyDetails();
    // What the status line then says; "" when there is nothing to file yet.
    QString Save();
    void ListPast();
    void OpenPast();

    CalibrationProcedure& m_Procedure;
    std::function<bool()> m_Busy;
    CalibrationStore m_Store;
    std::vector<Calibration> m_PastCalibrations;

    QLabel* m_Device = nullptr;
    QLineEdit* m_Points = nullptr;
    QComboBox* m_Direction = nullptr;
    QDoubleSpinBox* m_Tolerance = nullptr;
    QSpinBox* m_Reads = nullptr;
    QPushButton *m_StartFound = nullptr, *m_StartLeft = nullptr;
    QLineEdit *m_Technician = nullptr, *m_RefModel = nullptr, *m_RefSerial = nullptr, *m_RefDue = nullptr;
    QPlainTextEdit* m_Notes = nullptr;
    QTableWidget* m_Table = nullptr;
    QLabel* m_Next = nullptr;
    QLineEdit* m_Reference = nullptr;
    QPushButton *m_Record = nullptr, *m_Skip = nullptr, *m_End = nullptr, *m_Certificate = nullptr;
    QListWidget* m_Past = nullptr;
    QPushButton* m_OpenPast = nullptr;
    QLabel* m_Status = nullptr;
    QTimer* m_Poll = nullptr;
};
