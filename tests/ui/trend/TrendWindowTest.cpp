// The open trend window follows the model one sample at a time: its lines
// must always be those it would build from the model when opened.
#include "ui/trend/TrendWindow.h"
#include "ui/trend/ThinnedLine.h"

#include <QChart>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QDateTime kStart(QDate(2026, 12, 6), QTime(9, 0));

struct Lines {
    QStringList names;
    QList<QList<QPointF>> points;
    bool operator==(const Lines&) const = default;
};

Lines Shown(const TrendWindow& window)
{
    Lines lines;
    for (int chart = 0; chart < 3; ++chart)
        for (QAbstractSeries* series : window.Chart(chart)->series()) {
            lines.names.append(series->name());
            lines.points.append(static_cast<QLineSeries*>(series)->points());
        }
    return lines;
}

// Command 1 and 2 taking turns, a sample every 3 s, every 400 ms (several a
// bucket: the lines are thinned) from minute 29 on and around minute 21
// (where the view of minute 31 begins); psi from minute 20 on. The open
// window shows them five at a time, as its repaint timer would.
constexpr qint64 kDenseFromMs = 29 * 60'000;
bool Dense(qint64 ms) { return ms >= kDenseFromMs || (ms >= 1'230'000 && ms < 1'290'000); }
void Feed(TrendModel& model, TrendWindow& window, qint64& ms, qint64 untilMs)
{
    for (int i = 0; ms < untilMs; ++i, ms += Dense(ms) ? 400 : 3000) {
        const float value = float(ms % 7000) / 100;
        if (i % 2 == 0)
            model.PrimaryVariableRead(ms < 20 * 60'000 ? 12 : 6, value);
        else
            model.LoopCurrentRead(4 + value / 10, value);
        if (i % 5 == 4 && ms + 3000 < untilMs)  // the last ones wait for the timer
            window.ShowPending();
    }
}

TEST(TrendWindow, LinesFollowedBatchByBatchAreTheLinesBuiltWhenOpened)
{
    qint64 ms = 0;
    TrendModel model([&] { return kStart.addMSecs(ms); });
    TrendWindow open(model);
    open.show();
    for (const qint64 until : {5 * 60'000, 25 * 60'000, 31 * 60'000}) {
        Feed(model, open, ms, until);
        TrendWindow opened(model);
        opened.show();
        SCOPED_TRACE(until);
        // The last few on the repaint timer.
        EXPECT_TRUE(QTest::qWaitFor([&] { return Shown(open) == Shown(opened); }, 2000));
        if (until == 25 * 60'000) {
            EXPECT_EQ(Shown(open).names.mid(0, 2), (QStringList{"PV (kPa)", "PV (psi)"}));
        }
        const auto* time = static_cast<QDateTimeAxis*>(open.Chart(2)->axes(Qt::Horizontal).first());
        // From the oldest point shown, ten minutes back at most, to the newest.
        const qint64 newest = model.Samples().back().atMs;
        double oldest = INFINITY;
        for (const QList<QPointF>& points : Shown(open).points)
            oldest = points.isEmpty() ? oldest : std::min(oldest, points.first().x());
        EXPECT_EQ(time->max().toMSecsSinceEpoch(), newest);
        EXPECT_EQ(time->min().toMSecsSinceEpoch(), qint64(oldest));
        EXPECT_GE(oldest, double(newest - TrendWindow::kShownMs));
    }
    const Lines last = Shown(open);
    EXPECT_EQ(last.names, (QStringList{"PV (psi)", TrendModel::kPercentName, TrendModel::kCurrentName}))
        << "the kPa line left the view";
    const auto dense = std::count_if(last.points[1].begin(), last.points[1].end(), [](const QPointF& p) {
        return p.x() >= double(kStart.addMSecs(kDenseFromMs).toMSecsSinceEpoch());
    });
    constexpr qint64 kBuckets = 2 * 60'000 / TrendWindow::kBucketMs;
    EXPECT_GE(dense, kBuckets);
    EXPECT_LE(dense, 2 * kBuckets) << "two points a bucket";
}

TEST(TrendWindow, ThinnedLineKeepsEachBucketsLowAndHighInTimeOrder)
{
    QList<QPointF> line;
    for (const QPointF p : {QPointF(0, 5), QPointF(300, 9), QPointF(600, 1), QPointF(900, 7), QPointF(1200, 0.5),
                            QPointF(1500, 12), QPointF(2000, 4), QPointF(2100, 4), QPointF(2200, 3)})
        AddThinned(line, p, 1000);
    EXPECT_EQ(line, (QList<QPointF>{{300, 9}, {600, 1}, {1200, 0.5}, {1500, 12}, {2000, 4}, {2200, 3}}));
}

}  // namespace
