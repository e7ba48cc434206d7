#include "ui/configuration/ConfigurationDialog.h"

#include "configuration/SnapshotFile.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QColor kDiffers(255, 236, 130);

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ConfigurationDialog::ConfigurationDialog(ConfigurationJobs jobs, QWidget* parent)
    : QDialog(parent), m_Jobs(std::move(jobs))
{
    setWindowTitle("Configuration");
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    m_SaveButton = new QPushButton("Save...", this);
    m_CompareButton = new QPushButton("Compare...", this);
    m_RestoreButton = new QPushButton("Restore", this);
    for (QPushButton* button : {m_SaveButton, m_CompareButton, m_RestoreButton})
        buttons->addWidget(button);
    buttons->addStretch();
    layout->addLayout(buttons);
    m_Table = new QTableWidget(0, 3, this);
    m_Table->setHorizontalHeaderLabels({"Setting", "Device", "File"});
    m_Table->verticalHeader()->hide();
    m_Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_Table->setSelectionMode(QAbstractItemView::NoSelection);
    m_Table->setWordWrap(false);
    m_Table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_Table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    layout->addWidget(m_Table, 1);
    m_Summary = new QLabel(this);
    m_Kept = new QLabel(this);
    m_Kept->setWordWrap(true);
    m_Message = new QLabel(this);
    m_Message->setWordWrap(true);
    m_Outcome = new QListWidget(this);
    m_Outcome->setMaximumHeight(90);
    for (QWidget* w : std::initializer_list<QWidget*>{m_Summary, m_Kept, m_Message, m_Outcome})
        layout->addWidget(w);

    connect(m_SaveButton, &QPushButton::clicked, this, [this] { Save({}); });
    connect(m_CompareButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, "Compare with", QDir::homePath(),
                                                          "Configuration (*.json);;All files (*)");
        if (!path.isEmpty())
            CompareWith(path);
    });
    connect(m_RestoreButton, &QPushButton::clicked, this, &ConfigurationDialog::Restore);
    EnableButtons();
    resize(600, 640);
}

void ConfigurationDialog::Run(const std::function<std::string()>& start, std::function<void()> after)
{
    m_Busy = true;
    EnableButtons();
    Say({});
    const std::string refused = m_Jobs.Start(start, [this, after = std::move(after)] {
        QMetaObject::invokeMethod(
            this,
            [this, after] {
                m_Busy = false;
                EnableButtons();
                after();
            },
            Qt::QueuedConnection);
    });
    if (refused.empty())
        return;
    m_Busy = false;
    EnableButtons();
    Say("Not started: " + Q(refused));
}

bool ConfigurationDialog::ReadFailed()
{
    const std::string& why = m_Jobs.procedure.Failure();
    if (!why.empty())
        Say("Reading the device failed: " + Q(why));
    return !why.empty();
}

void ConfigurationDialog::Save(const QString& path)
{
    Run([this] { return m_Jobs.procedure.Read(m_Jobs.now()); },
        [this, path] {
            if (ReadFailed())
                return;
            const DeviceIdentity& d = m_Jobs.procedure.Device().identity;
            const QString name = QString("%1-%2.json").arg(Q(d.deviceType)).arg(d.deviceId);
            WriteFile(!path.isEmpty()
                          ? path
                          : QFileDialog::getSaveFileName(this, "Save configuration", QDir::home().filePath(name),
                                                         "Configuration (*.json)"));
        });
}

void ConfigurationDialog::WriteFile(QString path)
{
    if (path.isEmpty())
        return;
    // Whole or not at all: a half-written file would not read back.
    QSaveFile file(path);
    const std::string json = ToJson(m_Jobs.procedure.Device());
    if (!file.open(QIODevice::WriteOnly) || file.write(json.data(), qint64(json.size())) != qint64(json.size()) ||
        !file.commit())
        return Say("Cannot write " + path + ": " + file.errorString());
    Say("Saved " + QDir::toNativeSeparators(path));
}

void ConfigurationDialog::CompareWith(const QString& path)
{
    // A refused file leaves nothing of the last one to restore.
    m_File.reset();
    m_Table->setRowCount(0);
    for (QLabel* label : {m_Summary, m_Kept, m_Message})
        label->clear();
    m_Outcome->clear();
    EnableButtons();
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return Say("Cannot read " + path + ": " + in.errorString());
    auto read = SnapshotFromJson(in.readAll().toStdString());
    if (const std::string* why = std::get_if<std::string>(&read))
        return Say(QFileInfo(path).fileName() + ": " + Q(*why));
    Run([this] { return m_Jobs.procedure.Read(m_Jobs.now()); },
        [this, file = std::get<Snapshot>(std::move(read)), name = QFileInfo(path).fileName()] {
            if (ReadFailed())
                return;
            m_File = file;
            m_Compared = m_Jobs.procedure.Device().identity;
            m_Table->setHorizontalHeaderLabels(
                {"Setting", QString("Device %1").arg(m_Jobs.procedure.Device().identity.deviceId), "File " + name});
            ShowComparison();
            EnableButtons();
        });
}

void ConfigurationDialog::ShowComparison()
{
    const std::vector<Comparison> rows = Compare(m_Jobs.procedure.Device(), *m_File);
    m_Table->setRowCount(int(rows.size()));
    int differ = 0;
    for (int row = 0; row < int(rows.size()); ++row) {
        const Comparison& c = rows[std::size_t(row)];
        differ += c.Differs();
        const QString texts[] = {Q(c.label), Q(c.device), Q(c.file)};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(texts[column]);
            if (c.Differs())
                item->setBackground(kDiffers);
            else if (!c.writable)
                item->setForeground(palette().color(QPalette::Disabled, QPalette::Text));
            m_Table->setItem(row, column, item);
        }
    }
    m_Summary->setText(differ == 1 ? QString("1 setting differs") : QString("%1 settings differ").arg(differ));
    QStringList kept;
    for (const auto* unknown : {&m_File->unknownSettings, &m_File->unknownFields})
        for (const auto& [key, value] : *unknown)
            kept << Q(key);
    m_Kept->setText(kept.isEmpty() ? QString() : "Unknown to this version, kept in the file: " + kept.join(", "));
}

void ConfigurationDialog::Restore()
{
    if (!m_File)
        return Say("Compare with a file first");
    m_Outcome->clear();
    // Asked before the read, of the device compared, so that No costs nothing.
    // Another type of device the procedure refuses on its own.
    const DeviceIdentity& f = m_File->identity;
    const bool clone = f.deviceId != m_Compared.deviceId && f.manufacturerCode == m_Compared.manufacturerCode &&
                       f.deviceTypeCode == m_Compared.deviceTypeCode;
    if (clone && !CloneConfirmed())
        return Say("Not restored");
    Run([this] { return m_Jobs.procedure.Read(m_Jobs.now()); },
        [this, clone] {
            if (ReadFailed())
                return;
            // Another device behind the port since the comparison: what was
            // compared and confirmed is not what would be written.
            const DeviceIdentity& now = m_Jobs.procedure.Device().identity;
            if (now.deviceId != m_Compared.deviceId || now.deviceTypeCode != m_Compared.deviceTypeCode ||
                now.manufacturerCode != m_Compared.manufacturerCode)
                return Say(QString("Not restored: device %1 answers, not the compared %2; compare again")
                               .arg(now.deviceId)
                               .arg(m_Compared.deviceId));
            ShowComparison();
            WriteDiffering(clone);
        });
}

bool ConfigurationDialog::CloneConfirmed()
{
    const QString question =
        QString("The file is of device %1, this is device %2 of the same type. Restore onto it (clone)?")
            .arg(m_File->identity.deviceId)
            .arg(m_Compared.deviceId);
    return QMessageBox::question(this, windowTitle(), question, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

void ConfigurationDialog::WriteDiffering(bool clone)
{
    Run([this, clone] { return m_Jobs.procedure.Restore(*m_File, clone); },
        [this] {
            ShowOutcome();
            ShowComparison();
        });
}

void ConfigurationDialog::ShowOutcome()
{
    const ConfigurationProcedure& p = m_Jobs.procedure;
    for (const std::string& line : p.Written())
        m_Outcome->addItem("Written: " + Q(line));
    if (p.Failure().empty())
        return Say(QString("Restored: %1 written").arg(p.Written().size()));
    Say("Restore stopped: " + Q(p.Failure()));
    for (const std::string& label : p.NotWritten())
        m_Outcome->addItem("Not written: " + Q(label));
}

void ConfigurationDialog::Say(const QString& text) { m_Message->setText(text); }

void ConfigurationDialog::EnableButtons()
{
    m_SaveButton->setEnabled(!m_Busy);
    m_CompareButton->setEnabled(!m_Busy);
    m_RestoreButton->setEnabled(!m_Busy && m_File.has_value());
}
