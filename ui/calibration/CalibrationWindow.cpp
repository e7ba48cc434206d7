#include "ui/calibration/CalibrationWindow.h"

#include "calibration/CalibrationFile.h"
#include "ui/calibration/Certificate.h"

#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <optional>

namespace {

const QStringList kColumns = {"Run", "Target %",   "Direction",  "Reference", "PV",
                              "mA",  "PV error %", "mA error %", "Result"};

QString DeviceText(const Calibration& c)
{
    const DeviceSetting& d = c.device;
    if (c.date.empty())
        return "No device read yet: a run reads it first.";
    return QString("<b>%1 %2</b>, ID %3, tag <b>%4</b> (%5)<br>Range %6 to %7 %8, damping %9 s, %10")
        .arg(QString::fromStdString(d.manufacturer), QString::fromStdString(d.deviceType))
        .arg(d.deviceId)
        .arg(QString::fromStdString(d.tag).toHtmlEscaped(), QString::fromStdString(d.descriptor).toHtmlEscaped())
        .arg(d.lowerRange)
        .arg(d.upperRange)
        .arg(QString::fromStdString(d.unit))
        .arg(d.damping)
        .arg(QString::fromStdString(d.transferFunction));
}

QTableWidget* MakeTable(QWidget* parent)
{
    auto* table = new QTableWidget(0, int(kColumns.size()), parent);
    table->setHorizontalHeaderLabels(kColumns);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

// Both runs, as-found first; the point the run waits for is marked "next".
void FillTable(QTableWidget& table, const Calibration& c, const CalRun* current, std::optional<std::size_t> next)
{
    const QString unit = c.device.unit.empty() ? "" : " (" + QString::fromStdString(c.device.unit) + ")";
    table.horizontalHeaderItem(3)->setText("Reference" + unit);
    table.horizontalHeaderItem(4)->setText("PV" + unit);
    table.setRowCount(0);
    for (const CalRun* run : {c.asFound ? &*c.asFound : nullptr, c.asLeft ? &*c.asLeft : nullptr}) {
        if (!run)
            continue;
        for (std::size_t i = 0; i < run->points.size(); ++i) {
            const CalPoint& p = run->points[i];
            const bool done = p.state == CalPoint::State::Done;
            QString result = done                                  ? (p.pass ? "pass" : "FAIL")
                             : p.state == CalPoint::State::Skipped ? "skipped"
                             : p.state == CalPoint::State::Failed  ? "failed"
                             : run == current && next == i         ? "next"
                                                                   : "pending";
            const QStringList cells = {QString::fromStdString(run->kind),
                                       QString::number(p.targetPct),
                                       p.down ? "down" : "up",
                                       done ? QString::number(p.reference, 'f', 4) : "",
                                       done ? QString::number(p.pv, 'f', 4) : "",
                                       done ? QString::number(p.ma, 'f', 4) : "",
                                       done ? QString::number(p.pvErrorPct, 'f', 3) : "",
                                       done ? QString::number(p.maErrorPct, 'f', 3) : "",
                                       result};
            const int row = table.rowCount();
            table.insertRow(row);
            for (int col = 0; col < cells.size(); ++col) {
                auto* item = new QTableWidgetItem(cells[col]);
                item->setTextAlignment(col == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
                table.setItem(row, col, item);
            }
            QTableWidgetItem* verdict = table.item(row, int(kColumns.size()) - 1);
            if (done)
                verdict->setBackground(p.pass ? QColor(0xc8, 0xf0, 0xc8) : QColor(0xf6, 0xc0, 0xc0));
            else if (p.state == CalPoint::State::Failed)
                verdict->setForeground(QColor(0xb0, 0x10, 0x10));
            else if (result == "next")
                verdict->setFont([&] {
                    QFont bold = table.font();
                    bold.setBold(true);
                    return bold;
                }());
        }
    }
}

// A run with points not done does not pass: the count says why.
QString PastText(const Calibration& c)
{
    QString text = QString::fromStdString(c.date);
    for (const CalRun* run : {c.asFound ? &*c.asFound : nullptr, c.asLeft ? &*c.asLeft : nullptr}) {
        if (!run)
            continue;
        text += "   " + QString::fromStdString(run->kind) + " " + Verdict(*run);
        if (run->DoneCount() < int(run->points.size()))
            text += QString(" (%1 of %2 points)").arg(run->DoneCount()).arg(run->points.size());
    }
    return text + "   " + QString::fromStdString(c.technician);
}

QString DetailsText(const Calibration& c)
{
    const auto given = [](const std::string& text) {
        return text.empty() ? QString("not given") : QString::fromStdString(text).toHtmlEscaped();
    };
    QString text = "Technician: " + given(c.technician) + "; reference: " + given(c.reference.model) + ", serial no. " +
                   given(c.reference.serial) + ", due " + given(c.reference.dueDate);
    if (!c.notes.empty())
        text += "<br>Notes: " + QString::fromStdString(c.notes).toHtmlEscaped();
    return text;
}

}  // namespace

CalibrationWindow::CalibrationWindow(CalibrationProcedure& procedure, std::function<bool()> busy,
                                     CalibrationStore store, QWidget* parent)
    : QWidget(parent, Qt::Window), m_Procedure(procedure), m_Busy(std::move(busy)), m_Store(std::move(store))
{
    setWindowTitle("Tamsel - Calibration");
    resize(960, 760);
    auto* layout = new QVBoxLayout(this);
    m_Device = new QLabel(this);
    m_Device->setTextFormat(Qt::RichText);
    layout->addWidget(m_Device);

    auto* top = new QHBoxLayout;
    auto* runBox = new QGroupBox("Run", this);
    auto* runForm = new QFormLayout(runBox);
    m_Points = new QLineEdit("0,25,50,75,100", runBox);
    m_Direction = new QComboBox(runBox);
    m_Direction->addItems({"up", "up and down"});
    m_Tolerance = new QDoubleSpinBox(runBox);
    m_Tolerance->setDecimals(3);
    m_Tolerance->setRange(0.001, 100);
    m_Tolerance->setSingleStep(0.05);
    m_Tolerance->setValue(0.25);
    m_Tolerance->setSuffix(" % of span");
    m_Reads = new QSpinBox(runBox);
    m_Reads->setRange(1, 100);
    m_Reads->setValue(3);
    runForm->addRow("Points (% of span)", m_Points);
    runForm->addRow("Direction", m_Direction);
    runForm->addRow("Tolerance", m_Tolerance);
    runForm->addRow("Reads per point", m_Reads);
    auto* starts = new QHBoxLayout;
    m_StartFound = new QPushButton("Start As-Found", runBox);
    m_StartLeft = new QPushButton("Start As-Left", runBox);
    starts->addWidget(m_StartFound);
    starts->addWidget(m_StartLeft);
    runForm->addRow(starts);
    top->addWidget(runBox, 1);

    auto* detailBox = new QGroupBox("Details", this);
    auto* detailForm = new QFormLayout(detailBox);
    m_Technician = new QLineEdit(detailBox);
    m_RefModel = new QLineEdit(detailBox);
    m_RefSerial = new QLineEdit(detailBox);
    m_RefDue = new QLineEdit(detailBox);
    m_RefDue->setPlaceholderText("YYYY-MM-DD");
    m_Notes = new QPlainTextEdit(detailBox);
    m_Notes->setFixedHeight(m_Notes->fontMetrics().lineSpacing() * 3 + 12);
    detailForm->addRow("Technician", m_Technician);
    detailForm->addRow("Reference model", m_RefModel);
    detailForm->addRow("Reference serial no.", m_RefSerial);
    detailForm->addRow("Reference cal. due", m_RefDue);
    detailForm->addRow("Notes", m_Notes);
    top->addWidget(detailBox, 1);
    layout->addLayout(top);

    m_Table = MakeTable(this);
    layout->addWidget(m_Table, 1);

    auto* point = new QHBoxLayout;
    m_Next = new QLabel(this);
    m_Reference = new QLineEdit(this);
    m_Reference->setPlaceholderText("reference reading");
    m_Reference->setMaximumWidth(160);
    m_Record = new QPushButton("Record Point", this);
    m_Skip = new QPushButton("Skip Point", this);
    m_End = new QPushButton("End Run", this);
    point->addWidget(m_Next, 1);
    point->addWidget(m_Reference);
    for (QPushButton* button : {m_Record, m_Skip, m_End})
        point->addWidget(button);
    layout->addLayout(point);

    auto* pastBox = new QGroupBox("Past calibrations of this device", this);
    auto* pastLayout = new QHBoxLayout(pastBox);
    m_Past = new QListWidget(pastBox);
    m_Past->setMaximumHeight(m_Past->fontMetrics().lineSpacing() * 4 + 8);
    auto* pastButtons = new QVBoxLayout;
    m_OpenPast = new QPushButton("Open...", pastBox);
    m_Certificate = new QPushButton("Certificate...", pastBox);
    m_Certificate->setToolTip("The certificate of the calibration under way");
    pastButtons->addWidget(m_OpenPast);
    pastButtons->addStretch();
    pastButtons->addWidget(m_Certificate);
    pastLayout->addWidget(m_Past, 1);
    pastLayout->addLayout(pastButtons);
    layout->addWidget(pastBox);

    m_Status = new QLabel(this);
    m_Status->setWordWrap(true);
    m_Status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_Status);

    const Calibration& record = m_Procedure.Record();
    m_Technician->setText(QString::fromStdString(record.technician));
    m_RefModel->setText(QString::fromStdString(record.reference.model));
    m_RefSerial->setText(QString::fromStdString(record.reference.serial));
    m_RefDue->setText(QString::fromStdString(record.reference.dueDate));
    m_Notes->setPlainText(QString::fromStdString(record.notes));

    connect(m_StartFound, &QPushButton::clicked, this, [this] { Start("as-found"); });
    connect(m_StartLeft, &QPushButton::clicked, this, [this] { Start("as-left"); });
    connect(m_Record, &QPushButton::clicked, this, &CalibrationWindow::RecordPoint);
    connect(m_Reference, &QLineEdit::returnPressed, this, &CalibrationWindow::RecordPoint);
    connect(m_Skip, &QPushButton::clicked, this, [this] { Act(m_Procedure.SkipPoint()); });
    connect(m_End, &QPushButton::clicked, this, [this] { Act(m_Procedure.EndRun()); });
    connect(m_Certificate, &QPushButton::clicked, this, [this] {
        ApplyDetails();
        if (const QString path = SaveCertificate(m_Procedure.Record(), this); !path.isEmpty())
            m_Procedure.NoteCertificate(path.toStdString());
    });
    connect(m_OpenPast, &QPushButton::clicked, this, &CalibrationWindow::OpenPast);
    connect(m_Past, &QListWidget::itemActivated, this, &CalibrationWindow::OpenPast);
    connect(m_Past, &QListWidget::currentRowChanged, this, &CalibrationWindow::UpdateButtons);
    // The details reach the file when typed, once there is a file; the notes
    // a moment after the typing stops.
    for (QLineEdit* field : {m_Technician, m_RefModel, m_RefSerial, m_RefDue})
        connect(field, &QLineEdit::editingFinished, this, &CalibrationWindow::Save);
    auto* notesTyped = new QTimer(this);
    notesTyped->setSingleShot(true);
    notesTyped->setInterval(800);
    connect(m_Notes, &QPlainTextEdit::textChanged, notesTyped, qOverload<>(&QTimer::start));
    connect(notesTyped, &QTimer::timeout, this, &CalibrationWindow::Save);

    m_Procedure.onChange = [this](const std::string& event) { OnChange(event); };
    // Operations of the main window start and end without telling this one.
    m_Poll = new QTimer(this);
    connect(m_Poll, &QTimer::timeout, this, [this] {
        if (isVisible())
            UpdateButtons();
    });
    m_Poll->start(250);
    ListPast();
    Refresh();
}

CalibrationWindow::~CalibrationWindow() { m_Procedure.onChange = nullptr; }

void CalibrationWindow::Refresh()
{
    m_Device->setText(DeviceText(m_Procedure.Record()));
    FillTable(*m_Table, m_Procedure.Record(), m_Procedure.CurrentRun(), m_Procedure.NextPoint());
    UpdateButtons();
}

void CalibrationWindow::UpdateButtons()
{
    const Calibration& record = m_Procedure.Record();
    const bool busy = m_Busy();
    CalRun* run = m_Procedure.CurrentRun();
    const std::optional<std::size_t> next = m_Procedure.NextPoint();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_StartFound, m_StartLeft, m_Points, m_Direction, m_Tolerance, m_Reads})
        w->setEnabled(!busy);
    for (QPushButton* b : {m_Record, m_Skip})
        b->setEnabled(!busy && next.has_value());
    m_Reference->setEnabled(!busy && next.has_value());
    m_End->setEnabled(!busy && run && !run->ended);
    m_Certificate->setEnabled(!record.date.empty());
    m_OpenPast->setEnabled(m_Past->currentRow() >= 0);
    if (!next) {
        m_Next->setText(busy                 ? "Reading..."
                        : run && !run->ended ? "No point waiting: End Run closes the run."
                                             : "No point waiting.");
        return;
    }
    const CalPoint& p = run->points[*next];
    const DeviceSetting& d = record.device;
    m_Next->setText(QString("Next: %1 % %2, apply %3 %4. Reference read:")
                        .arg(p.targetPct)
                        .arg(p.down ? "down" : "up")
                        .arg(d.lowerRange + p.targetPct / 100 * (d.upperRange - d.lowerRange), 0, 'f', 4)
                        .arg(QString::fromStdString(d.unit)));
}

void CalibrationWindow::Start(const std::string& kind)
{
    RunOptions options;
    options.points.clear();
    for (const QString& item : m_Points->text().split(',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const double pct = item.trimmed().toDouble(&ok);
        if (!ok)
            return m_Status->setText("Points: \"" + item.trimmed() + "\" is not a number.");
        options.points.push_back(pct);
    }
    options.updown = m_Direction->currentIndex() == 1;
    options.tolerancePct = m_Tolerance->value();
    options.reads = m_Reads->value();
    ApplyDetails();
    const QDateTime now = QDateTime::currentDateTime();
    const std::string error = m_Procedure.Start(kind, options, now.date().toString(Qt::ISODate).toStdString(),
                                                now.toString("yyyy-MM-dd HH:mm:ss").toStdString());
    Act(error);
    if (error.empty())
        m_Status->setText("Reading the device...");
}

void CalibrationWindow::RecordPoint()
{
    bool ok = false;
    const double reference = m_Reference->text().trimmed().toDouble(&ok);
    if (!ok)
        return m_Status->setText("The reference reading is not a number.");
    Act(m_Procedure.RecordPoint(reference));
}

void CalibrationWindow::Act(const std::string& error)
{
    if (!error.empty())
        m_Status->setText(QString::fromStdString(error));
    Refresh();
}

void CalibrationWindow::OnChange(const std::string& event)
{
    const QString saved = Save();
    if (event == "failure")
        m_Status->setText("Run stopped: " + QString::fromStdString(m_Procedure.LastFailure()) + ". " + saved);
    ListPast();
    Refresh();
    // Disabled while the point was read, the field lost the focus: the next
    // reading is typed there.
    if ((event == "point" || event == "device") && m_Reference->isEnabled()) {
        m_Reference->setFocus();
        m_Reference->selectAll();
    }
}

void CalibrationWindow::ApplyDetails()
{
    Calibration& record = m_Procedure.Record();
    record.technician = m_Technician->text().toStdString();
    record.reference = {m_RefModel->text().toStdString(), m_RefSerial->text().toStdString(),
                        m_RefDue->text().toStdString()};
    record.notes = m_Notes->toPlainText().toStdString();
}

QString CalibrationWindow::Save()
{
    ApplyDetails();
    const Calibration& record = m_Procedure.Record();
    if (record.date.empty())
        return {};  // no device read yet: nothing to file
    QString error;
    const QString path = m_Store.PathOf(record);
    m_Status->setText(m_Store.Save(record, error) ? "Saved to " + path : "Cannot save " + path + ": " + error);
    return m_Status->text();
}

void CalibrationWindow::ListPast()
{
    const DeviceSetting& d = m_Procedure.Record().device;
    m_PastCalibrations =
        m_Procedure.Record().date.empty() ? std::vector<Calibration>{} : m_Store.Past(d.deviceId, d.manufacturerCode);
    const int row = m_Past->currentRow();
    m_Past->clear();
    for (const Calibration& c : m_PastCalibrations)
        m_Past->addItem(PastText(c));
    m_Past->setCurrentRow(std::min(row, m_Past->count() - 1));
}

// A past calibration as it was filed, read-only, with its certificate.
void CalibrationWindow::OpenPast()
{
    const int row = m_Past->currentRow();
    if (row < 0 || row >= int(m_PastCalibrations.size()))
        return;
    const Calibration c = m_PastCalibrations[std::size_t(row)];
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle("Calibration of " + QString::fromStdString(c.date));
    dialog->resize(900, 480);
    auto* layout = new QVBoxLayout(dialog);
    auto* about =
        new QLabel(DeviceText(c) + "<br>" + DetailsText(c) + "<br>Result: <b>" + OverallVerdict(c) + "</b>", dialog);
    about->setWordWrap(true);
    layout->addWidget(about);
    QTableWidget* table = MakeTable(dialog);
    FillTable(*table, c, nullptr, std::nullopt);
    layout->addWidget(table, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
    QPushButton* certificate = buttons->addButton("Certificate...", QDialogButtonBox::ActionRole);
    connect(certificate, &QPushButton::clicked, dialog, [this, c, dialog] {
        if (const QString path = SaveCertificate(c, dialog); !path.isEmpty())
            m_Procedure.NoteCertificate(path.toStdString());
    });
    connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
    layout->addWidget(buttons);
    dialog->show();
}

QString CalibrationWindow::SaveCertificate(const Calibration& calibration, QWidget* parent)
{
    const QString name = QString::fromStdString(FileNameOf(calibration)).replace(".json", ".pdf");
    QString filter;
    QString path = QFileDialog::getSaveFileName(parent, "Certificate", QDir::home().filePath(name),
                                                "PDF certificate (*.pdf);;CSV table (*.csv)", &filter);
    // The extension chooses the format: a name typed without one gets the filter's.
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty())
        path += filter.startsWith("PDF") ? ".pdf" : ".csv";
    QString error;
    if (path.isEmpty() || WriteCertificate(calibration, path, error))
        return path;
    QMessageBox::warning(parent, "Certificate", "Cannot write " + path + ": " + error);
    return {};
}
