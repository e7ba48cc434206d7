#include "ui/configuration/SurveyDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

SurveyDialog::SurveyDialog(ConfigurationJobs jobs, QWidget* parent) : QDialog(parent), m_Jobs(std::move(jobs))
{
    setWindowTitle("Survey");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    m_Start = new QPushButton("Start", this);
    top->addWidget(m_Start);
    top->addWidget(new QLabel("Addresses 0 to", this));
    m_Last = new QSpinBox(this);
    m_Last->setRange(0, ConfigurationProcedure::kHighestAddress);
    m_Last->setValue(ConfigurationProcedure::kHighestAddress);
    top->addWidget(m_Last);
    top->addStretch();
    layout->addLayout(top);
    m_Table = new QTableWidget(0, 5, this);
    m_Table->setHorizontalHeaderLabels({"Address", "Manufacturer", "Device type", "Device id", "Tag"});
    m_Table->verticalHeader()->hide();
    m_Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_Table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    layout->addWidget(m_Table, 1);
    m_Took = new QLabel(this);
    layout->addWidget(m_Took);
    connect(m_Start, &QPushButton::clicked, this, &SurveyDialog::Start);
    resize(560, 320);
}

void SurveyDialog::Start()
{
    SetBusy(true);
    const int last = m_Last->value();
    m_Took->setText(QString("Polling addresses 0 to %1...").arg(last));
    m_Clock.start();
    const std::string refused = m_Jobs.Start([this, last] { return m_Jobs.procedure.Survey(last); },
                                             [this] {
                                                 const qint64 ms = m_Clock.elapsed();
                                                 QMetaObject::invokeMethod(
                                                     this, [this, ms] { ShowFound(ms); }, Qt::QueuedConnection);
                                             });
    if (refused.empty())
        return;
    SetBusy(false);
    m_Took->setText("Not started: " + QString::fromStdString(refused));
}

void SurveyDialog::ShowFound(qint64 ms)
{
    SetBusy(false);
    const std::vector<SurveyRow>& rows = m_Jobs.procedure.Surveyed();
    m_Table->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const SurveyRow& r = rows[std::size_t(row)];
        const QString texts[] = {QString::number(r.address), QString::fromStdString(r.identity.manufacturer),
                                 QString::fromStdString(r.identity.deviceType), QString::number(r.identity.deviceId),
                                 QString::fromStdString(r.tag)};
        for (int column = 0; column < 5; ++column)
            m_Table->setItem(row, column, new QTableWidgetItem(texts[column]));
    }
    const QString took = QString::number(double(ms) / 1000, 'f', 1);
    const std::string& why = m_Jobs.procedure.Failure();
    const QString found = rows.size() == 1 ? QString("1 device") : QString("%1 devices").arg(rows.size());
    m_Took->setText(
        why.empty()
            ? QString("Addresses 0 to %1 polled in %2 s: %3 found").arg(m_Jobs.procedure.LastAddress()).arg(took, found)
            : QString("Stopped after %1 s: %2").arg(took, QString::fromStdString(why)));
}

void SurveyDialog::SetBusy(bool busy)
{
    m_Busy = busy;
    m_Start->setEnabled(!busy);
    m_Last->setEnabled(!busy);
}
