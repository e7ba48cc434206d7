#include "ui/trend/TrendWindow.h"

#include "ui/trend/ThinnedLine.h"

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
#include <limits>

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

QLineSeries* Line(const QChart& chart, qsizetype i) { return static_cast<QLineSeries*>(chart.series().at(i)); }

// The time axis over [fromMs, toMs]; the value axis around the newest line:
// after a unit change the old unit's numbers would flatten the new ones.
void SetAxes(QChart& chart, qint64 fromMs, qint64 toMs)
{
    chart.axes(Qt::Horizontal)
        .first()
        ->setRange(QDateTime::fromMSecsSinceEpoch(fromMs), QDateTime::fromMSecsSinceEpoch(toMs));
    const QList<QPointF> points = Line(chart, chart.series().size() - 1)->points();  // shared, not copied
    if (points.isEmpty())
        return;
    double low = INFINITY, high = -INFINITY;
    for (const QPointF& p : points) {
        low = std::min(low, p.y());
        high = std::max(high, p.y());
    }
    // A steady value still gets a band around it.
    const double pad = high > low ? (high - low) * 0.1 : std::max(std::abs(high) * 0.01, 0.001);
    auto* values = static_cast<QValueAxis*>(chart.axes(Qt::Vertical).first());
    values->setRange(low - pad, high + pad);
    values->applyNiceNumbers();  // ticks at 49.8, 50.0, ... rather than 49.810, 49.902
}

// Puts the lines on the chart, thinned, reusing its series.
void ShowLines(QChart& chart, std::vector<TrendModel::Series> lines)
{
    for (TrendModel::Series& line : lines) {
        QList<QPointF> thinned;
        for (const QPointF& p : line.points)
            AddThinned(thinned, p, TrendWindow::kBucketMs);
        line.points = std::move(thinned);
    }
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
}

// Removes the points before cutoff from the front of each line, and the
// lines left empty but the last; gives the time of the oldest point kept.
qint64 DropBefore(QChart& chart, double cutoff)
{
    double oldest = INFINITY;
    const QList<QAbstractSeries*> series = chart.series();
    for (qsizetype i = 0; i < series.size(); ++i) {
        auto* line = static_cast<QLineSeries*>(series[i]);
        int gone = 0;
        while (gone < line->count() && line->at(gone).x() < cutoff)
            ++gone;
        if (gone == line->count() && i + 1 < series.size()) {
            chart.removeSeries(line);
            delete line;
            continue;
        }
        if (gone > 0)
            line->removePoints(0, gone);
        if (line->count() > 0)
            oldest = std::min(oldest, line->at(0).x());
    }
    return std::isfinite(oldest) ? qint64(oldest) : std::numeric_limits<qint64>::max();
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
    m_Repaint.setSingleShot(true);
    m_Repaint.setTimerType(Qt::PreciseTimer);
    m_Repaint.setInterval(kRepaintMs);
    connect(&m_Repaint, &QTimer::timeout, this, &TrendWindow::ShowPending);
    connect(&m_Model, &TrendModel::SampleAdded, this, &TrendWindow::AddNewest);
}

void TrendWindow::showEvent(QShowEvent* event)
{
    Rebuild();
    QWidget::showEvent(event);
}

// Up to the newest sample, from the oldest one of the last ten minutes.
void TrendWindow::Rebuild()
{
    const auto& samples = m_Model.Samples();
    const qint64 toMs = samples.empty() ? QDateTime::currentMSecsSinceEpoch() : samples.back().atMs;
    // From the start of the oldest bucket shown, as the lines followed one
    // sample at a time have it.
    const qint64 fromMs = (toMs - kShownMs) / kBucketMs * kBucketMs;
    ShowLines(*m_Charts[0], m_Model.PvSeries(fromMs));
    ShowLines(*m_Charts[1], {m_Model.PercentSeries(fromMs)});
    ShowLines(*m_Charts[2], {m_Model.CurrentSeries(fromMs)});
    m_ShownCount = m_Model.AddedCount();
    Scroll(toMs);
}

void TrendWindow::AddNewest()
{
    if (isVisible() && !m_Repaint.isActive())
        m_Repaint.start();
}

void TrendWindow::ShowPending()
{
    if (!isVisible())
        return;  // showEvent rebuilds
    const auto& samples = m_Model.Samples();
    const std::uint64_t pending = m_Model.AddedCount() - m_ShownCount;
    if (pending == 0)
        return;
    if (pending > samples.size())
        return Rebuild();  // some left the model unseen
    for (auto sample = samples.end() - std::ptrdiff_t(pending); sample != samples.end(); ++sample) {
        if (sample->fromCommand1) {
            AppendPv(*sample);
        } else {
            AddThinned(*Line(*m_Charts[1], 0), QPointF(double(sample->atMs), double{sample->percent}), kBucketMs);
            AddThinned(*Line(*m_Charts[2], 0), QPointF(double(sample->atMs), double{sample->milliamps}), kBucketMs);
        }
    }
    m_ShownCount = m_Model.AddedCount();
    Scroll(samples.back().atMs);
}

// A unit change starts a new line.
void TrendWindow::AppendPv(const TrendModel::Sample& sample)
{
    QChart& chart = *m_Charts[0];
    QLineSeries* line = Line(chart, chart.series().size() - 1);
    const QString name = TrendModel::PvSeriesName(sample.unitCode);
    if (line->name() != name) {
        if (line->count() > 0)
            line = AddLine(chart);
        line->setName(name);
    }
    AddThinned(*line, sample.PvPoint(), kBucketMs);
}

void TrendWindow::Scroll(qint64 toMs)
{
    qint64 oldest = std::numeric_limits<qint64>::max();
    for (QChart* chart : m_Charts)
        oldest = std::min(oldest, DropBefore(*chart, double(toMs - kShownMs)));
    const qint64 fromMs =
        oldest == std::numeric_limits<qint64>::max() ? toMs - kShownMs : std::min(oldest, toMs - kLeastShownMs);
    for (QChart* chart : m_Charts)
        SetAxes(*chart, fromMs, toMs);
    ShowCount();
}

void TrendWindow::ShowCount()
{
    m_Count->setText(QString("%1 samples held (the last 24 hours)").arg(m_Model.Samples().size()));
}

void TrendWindow::ExportCsv()
{
    const QString path = QFileDialog::getSaveFileName(this, "Export CSV", QDir::home().filePath("tamsel-trend.csv"),
                                                      "CSV files (*.csv)");
    QString error;
    if (!path.isEmpty() && !m_Model.WriteCsv(path, error))
        QMessageBox::warning(this, "Export CSV", "Cannot write " + path + ": " + error);
}
