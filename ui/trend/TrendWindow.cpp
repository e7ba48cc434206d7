#include "ui/trend/TrendWindow.h"

#include <QChart>
#include <QChartView>
#include <QDateTimeAxis>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineSeries>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>

#include <algorithm>
#include <cmath>

namespace {

QLineSeries* AddLine(QChart& chart)
{
    auto* line = new QLineSeries;
    chart.addSeries(line);
    line->attachAxis(chart.axes(Qt::Horizontal).first());
    line->attachAxis(chart.axes(Qt::Vertical).first());
    return line;
}

QChart* MakeChart(const QString& title, QWidget* parent, QVBoxLayout* layout)
{
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setMargins(QMargins(4, 2, 4, 2));
    auto* time = new QDateTimeAxis;
    time->setFormat("HH:mm:ss");
    time->setTickCount(6);
    chart->addAxis(time, Qt::AlignBottom);
    chart->addAxis(new QValueAxis, Qt::AlignLeft);
    // Qt draws no time axis when no series was attached to it before the
    // chart was first shown, so each chart keeps at least one.
    AddLine(*chart);
    auto* view = new QChartView(chart, parent);  // owns the chart
    view->setRenderHint(QPainter::Antialiasing);
    layout->addWidget(view, 1);
    return chart;
}

// Puts the lines on the chart, reusing its series, with the time axis over
// [fromMs, toMs].
void ShowLines(QChart& chart, const std::vector<TrendModel::Series>& lines, qint64 fromMs, qint64 toMs)
{
    QList<QAbstractSeries*> series = chart.series();
    for (; series.size() > std::max<qsizetype>(1, qsizetype(lines.size())); series.removeLast()) {
        chart.removeSeries(series.last());
        delete series.last();
    }
    while (series.size() < qsizetype(lines.size()))
        series.append(AddLine(chart));
    for (qsizetype i = 0; i < series.size(); ++i) {
        auto* line = static_cast<QLineSeries*>(series[i]);
        if (i >= qsizetype(lines.size())) {
            line->clear();
            continue;
        }
        line->setName(lines[std::size_t(i)].name);
        line->replace(lines[std::size_t(i)].points);
    }
    chart.axes(Qt::Horizontal)
        .first()
        ->setRange(QDateTime::fromMSecsSinceEpoch(fromMs), QDateTime::fromMSecsSinceEpoch(toMs));
    // The value axis follows the newest line: after a unit change the old
    // unit's numbers would flatten the new ones.
    if (lines.empty() || lines.back().points.isEmpty())
        return;
    double low = INFINITY, high = -INFINITY;
    for (const QPointF& p : lines.back().points) {
        low = std::min(low, p.y());
        high = std::max(high, p.y());
    }
    // A steady value still gets a band around it.
    const double pad = high > low ? (high - low) * 0.1 : std::max(std::abs(high) * 0.01, 0.001);
    auto* values = static_cast<QValueAxis*>(chart.axes(Qt::Vertical).first());
    values->setRange(low - pad, high + pad);
    values->applyNiceNumbers();  // ticks at 49.8, 50.0, ... rather than 49.810, 49.902
}

}  // namespace

TrendWindow::TrendWindow(TrendModel& model, QWidget* parent) : QWidget(parent, Qt::Window), m_Model(model)
{
    setWindowTitle("Tamsel - Trend");
    resize(820, 680);
    auto* layout = new QVBoxLayout(this);
    m_Charts = {MakeChart("Primary variable", this, layout), MakeChart("Percent of range (%)", this, layout),
                MakeChart("Loop current (mA)", this, layout)};
    for (QChart* chart : {m_Charts[1], m_Charts[2]})
        chart->legend()->hide();  // one line each: the title names it
    auto* bottom = new QHBoxLayout;
    m_Count = new QLabel(this);
    m_Export = new QPushButton("Export CSV", this);
    bottom->addWidget(m_Count, 1);
    bottom->addWidget(m_Export);
    layout->addLayout(bottom);
    connect(m_Export, &QPushButton::clicked, this, &TrendWindow::ExportCsv);
    connect(&m_Model, &TrendModel::SampleAdded, this, &TrendWindow::Refresh);
}

void TrendWindow::showEvent(QShowEvent* event)
{
    Refresh();
    QWidget::showEvent(event);
}

void TrendWindow::Refresh()
{
    if (!isVisible())
        return;  // showEvent catches up
    // Up to the newest sample, from the oldest one of the last ten minutes.
    const auto& samples = m_Model.Samples();
    const qint64 toMs = samples.empty() ? QDateTime::currentMSecsSinceEpoch() : samples.back().at.toMSecsSinceEpoch();
    const auto oldest = std::find_if(samples.begin(), samples.end(), [toMs](const TrendModel::Sample& s) {
        return s.at.toMSecsSinceEpoch() >= toMs - kShownMs;
    });
    const qint64 fromMs =
        oldest == samples.end() ? toMs - kShownMs : std::min(oldest->at.toMSecsSinceEpoch(), toMs - kLeastShownMs);
    ShowLines(*m_Charts[0], m_Model.PvSeries(fromMs), fromMs, toMs);
    ShowLines(*m_Charts[1], {m_Model.PercentSeries(fromMs)}, fromMs, toMs);
    ShowLines(*m_Charts[2], {m_Model.CurrentSeries(fromMs)}, fromMs, toMs);
    m_Count->setText(QString("%1 samples since start").arg(samples.size()));
}

void TrendWindow::ExportCsv()
{
    const QString path = QFileDialog::getSaveFileName(this, "Export CSV", QDir::home().filePath("tamsel-trend.csv"),
                                                      "CSV files (*.csv)");
    QString error;
    if (!path.isEmpty() && !m_Model.WriteCsv(path, error))
        QMessageBox::warning(this, "Export CSV", "Cannot write " + path + ": " + error);
}
