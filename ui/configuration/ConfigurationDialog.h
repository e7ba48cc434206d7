// "Configuration": the connected transmitter's settings saved to a file,
// compared with a file and restored from it. Every job reads the device
// first, so that what is compared or written is what it holds now.
#pragma once

#include "configuration/Snapshot.h"
#include "ui/configuration/ConfigurationJobs.h"

#include <QDialog>

#include <functional>
#include <optional>

class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

class ConfigurationDialog : public QDialog {
public:
    explicit ConfigurationDialog(ConfigurationJobs jobs, QWidget* parent = nullptr);

    // What the buttons do once a file is chosen. Save with no path asks for
    // one after the read.
    void Save(const QString& path);
    void CompareWith(const QString& path);
    // Writes the compared file's settings that differ from the device.
    void Restore();

    bool Busy() const { return m_Busy; }
    QTableWidget* Table() const { return m_Table; }
    QLabel* Summary() const { return m_Summary; }       // "N settings differ"
    QLabel* Kept() const { return m_Kept; }             // the file's fields this version does not know
    QLabel* Message() const { return m_Message; }       // a refusal, a failure, a file saved
    QListWidget* Outcome() const { return m_Outcome; }  // what a restore wrote and what not
    QPushButton* SaveButton() const { return m_SaveButton; }
    QPushButton* CompareButton() const { return m_CompareButton; }
    QPushButton* RestoreButton() const { return m_RestoreButton; }

private:
    // Starts a job with the buttons disabled; then runs after, outside the
    // step machine's call, as it may open a dialog of its own.
    void Run(const std::function<std::string()>& start, std::function<void()> after);
    bool ReadFailed();
    void WriteFile(QString path);
    void ShowComparison();
    bool CloneConfirmed();
    void WriteDiffering(bool clone);
    void ShowOutcome();
    void Say(const QString& text);
    void EnableButtons();

    ConfigurationJobs m_Jobs;
    std::optional<Snapshot> m_File;
    DeviceIdentity m_Compared;  // the device the file was compared with
    bool m_Busy = false;
    QTableWidget* m_Table = nullptr;
    QLabel *m_Summary = nullptr, *m_Kept = nullptr, *m_Message = nullptr;
    QListWidget* m_Outcome = nullptr;
    QPushButton *m_SaveButton = nullptr, *m_CompareButton = nullptr, *m_RestoreButton = nullptr;
};
