// The open trend window follows the model one sample at a time: its lines
// must always be those it would build from the model when opened.
#include "ui/trend/TrendWindow.h"

#include <QApplication>
#include <QChart>
#include <QDateTimeAxis>
#include <QLineSeries>
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

// A sample every kStep, command 1 and 2 taking turns; psi from minute 20 on.
constexpr qint64 kStep = 3000;
void Feed(TrendModel& model, qint64& ms, qint64 untilMs)
{
    for (; ms < untilMs; ms += kStep) {
        const float value = float(ms % 7000) / 100;
        if (ms / kStep % 2 == 0)
            model.PrimaryVariableRead(ms < 20 * 60'000 ? 12 : 6, value);
        else
            model.LoopCurrentRead(4 + value / 10, value);
    }
}

TEST(TrendWindow, LinesFollowedSampleBySampleAreTheLinesBuiltWhenOpened)
{
    qint64 ms = 0;
    TrendModel model([&] { return kStart.addMSecs(ms); });
    TrendWindow open(model);
    open.show();
    for (const qint64 until : {5 * 60'000, 25 * 60'000, 31 * 60'000}) {
        Feed(model, ms, until);
        TrendWindow opened(model);
        opened.show();
        SCOPED_TRACE(until);
        EXPECT_EQ(Shown(open), Shown(opened));
        if (until == 25 * 60'000) {
            EXPECT_EQ(Shown(open).names.mid(0, 2), (QStringList{"PV (kPa)", "PV (psi)"}));
        }
        const auto* time = static_cast<QDateTimeAxis*>(open.Chart(2)->axes(Qt::Horizontal).first());
        EXPECT_EQ(time->max(), kStart.addMSecs(ms - kStep));
        EXPECT_EQ(time->min(), until > TrendWindow::kShownMs ? kStart.addMSecs(ms - kStep - TrendWindow::kShownMs)
                                                             : kStart.addMSecs(0));
    }
    const Lines last = Shown(open);
    EXPECT_EQ(last.names, (QStringList{"PV (psi)", TrendModel::kPercentName, TrendModel::kCurrentName}))
        << "the kPa line left the view";
    EXPECT_EQ(last.points[1].size(), 101) << "ten minutes of a loop sample every 6 s, both ends in";
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
