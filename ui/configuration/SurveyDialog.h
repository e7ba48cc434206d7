// "Survey": every device answering on the loop, polled at addresses 0 to 15
// (or to a lower last address) through the connected port, and how long
// that took.
#pragma once

#include "ui/configuration/ConfigurationJobs.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

class SurveyDialog : public QDialog {
public:
    explicit SurveyDialog(ConfigurationJobs jobs, QWidget* parent = nullptr);

    void Start();

    bool Busy() const { return m_Busy; }
    QTableWidget* Table() const { return m_Table; }
    QLabel* Took() const { return m_Took; }
    QPushButton* StartButton() const { return m_Start; }
    QSpinBox* LastAddress() const { return m_Last; }

private:
    void ShowFound(qint64 ms);
    void SetBusy(bool busy);

    ConfigurationJobs m_Jobs;
    QElapsedTimer m_Clock;
    bool m_Busy = false;
    QTableWidget* m_Table = nullptr;
    QLabel* m_Took = nullptr;
    QPushButton* m_Start = nullptr;
    QSpinBox* m_Last = nullptr;
};
