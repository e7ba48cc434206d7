// The trend's samples: from reads of commands 1 and 2 on the simulated
// transmitter, a new series at a unit change, and the CSV export.
#include "ui/trend/TrendModel.h"
#include "tests/modules/Scenario.h"

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <malloc.h>
#include <sys/resource.h>

namespace {

const QDateTime kStart(QDate(2026, 12, 6), QTime(9, 0));
constexpr std::int16_t kReadBoth = 9001;  // a cycle of auto read: command 1, then 2

// Connected, with a script that reads command 1 and 2 once, as each cycle of
// an auto read does.
struct TrendScenario : Scenario {
    TrendModel model{[this] { return kStart.addMSecs(clock.Now()); }};
    TrendScenario()
    {
        dlg.AddObserver(model);
        dlg.Machine().AddSteps(
            {ExchangeOf(kReadBoth, 1, [this] { dlg.Machine().GoOnTo(kReadBoth + 2); }).WithoutPrepare(),
             ExchangeOf(kReadBoth + 2, 2, [this] { dlg.Machine().EndOperation(); }).WithoutPrepare()});
        Connect();
    }
    void ReadCycles(int n)
    {
        for (int i = 0; i < n; ++i) {
            dlg.Machine().StartScript(kReadBoth);
            ASSERT_TRUE(clock.AdvanceUntil([this] { return !dlg.IsOperationRunning(); }, clock.Now() + 10000));
        }
    }
};

}  // namespace

TEST(TrendModel, EveryReplyOfCommandsOneAndTwoIsASample)
{
    TrendScenario s;
    EXPECT_TRUE(s.model.Samples().empty()) << "the connect reads neither";
    s.ReadCycles(3);
    s.Run(IDC_READ_UNIT);  // command 1 for the unit list: a sample all the same
    const auto pv = s.model.PvSeries(0);
    ASSERT_EQ(pv.size(), 1u);
    EXPECT_EQ(pv[0].name, "PV (kPa)");
    ASSERT_EQ(pv[0].points.size(), 4);
    EXPECT_NEAR(pv[0].points[0].y(), 50.0, 0.5);
    EXPECT_LT(pv[0].points[0].x(), pv[0].points[1].x());
    EXPECT_NEAR(s.model.PercentSeries(0).points.at(2).y(), 50.0, 0.5);
    EXPECT_NEAR(s.model.CurrentSeries(0).points.at(2).y(), 12.0, 0.1);
}

TEST(TrendModel, UnitChangeStartsANewSeries)
{
    TrendScenario s;
    s.ReadCycles(2);
    s.device().pvUnit = 6;  // psi
    s.ReadCycles(1);
    const auto pv = s.model.PvSeries(0);
    ASSERT_EQ(pv.size(), 2u);
    EXPECT_EQ(pv[1].name, "PV (psi)");
    EXPECT_EQ(pv[1].points.size(), 1);
    EXPECT_NEAR(pv[1].points[0].y(), 7.25, 0.1);
    EXPECT_EQ(s.model.PercentSeries(0).points.size(), 3) << "percent and current go on in one series";
}

TEST(TrendModel, CsvHoldsEverySampleInItsOwnColumns)
{
    QDateTime at = kStart;
    TrendModel model([&] { return at; });
    model.PrimaryVariableRead(12, 50.125f);
    at = at.addMSecs(330);
    model.LoopCurrentRead(12.02f, 50.125f);
    at = at.addSecs(700);
    model.PrimaryVariableRead(32, -1.5e-6f);
    EXPECT_EQ(model.CsvText(), "time,PV,unit,percent,mA\n"
                               "2026-12-06 09:00:00.000,50.125,kPa,,\n"
                               "2026-12-06 09:00:00.330,,,50.125,12.02\n"
                               "2026-12-06 09:11:40.330,-1.5e-06,code 32,,\n");
    EXPECT_EQ(model.PvSeries(at.toMSecsSinceEpoch()).size(), 1u) << "the older unit's stretch is out of view";
}

namespace {

// Bytes the heap has handed out; 0 where a sanitizer keeps its own heap.
std::size_t HeapInUse() { return mallinfo2().uordblks; }

}  // namespace

TEST(TrendModel, DaysOfAutoReadHoldTheLastDayWithinTheBoundAndTheNewestStillPlotAndExport)
{
    if (HeapInUse() == 0)
        GTEST_SKIP() << "no heap figures under a sanitizer";
    constexpr qint64 kHour = 3'600'000, kCycle = 290;  // auto read: command 1, then 2
    const qint64 startMs = kStart.toMSecsSinceEpoch();
    qint64 ms = 0;
    const std::size_t before = HeapInUse();
    TrendModel model([&] { return QDateTime::fromMSecsSinceEpoch(startMs + ms, Qt::UTC); });
    const auto cycle = [&] {
        model.PrimaryVariableRead(12, float(ms % 100'000) / 1000);
        model.LoopCurrentRead(12, float(ms % 100'000) / 2000);
        ms += kCycle;
    };
    while (ms < 24 * kHour)
        cycle();
    const std::size_t afterADay = HeapInUse() - before;
    while (ms < 26 * kHour)
        cycle();
    EXPECT_LT(afterADay, TrendModel::kMostSamples * sizeof(TrendModel::Sample));
    EXPECT_LT(HeapInUse() - before, afterADay + 64 * 1024) << "the second day holds no more than the first";
    const qint64 newest = startMs + ms - kCycle;
    const qint64 dayBefore = newest - TrendModel::kKeptMs;
    EXPECT_GE(model.Samples().front().atMs, dayBefore);
    EXPECT_LT(model.Samples().front().atMs, dayBefore + kCycle) << "the oldest held is a day old";

    const auto pv = model.PvSeries(newest - 10 * 60'000);
    ASSERT_EQ(pv.size(), 1u);
    EXPECT_EQ(pv[0].points.size(), 10 * 60'000 / kCycle + 1);
    EXPECT_EQ(pv[0].points.back(), QPointF(double(newest), double(float((ms - kCycle) % 100'000) / 1000)));
    const std::string csv = model.CsvText();
    const std::string newestTime =
        QDateTime::fromMSecsSinceEpoch(newest).toString("yyyy-MM-dd HH:mm:ss.zzz").toStdString();
    EXPECT_EQ(csv.substr(csv.rfind('\n', csv.size() - 2) + 1), newestTime + ",,,49.91,12\n");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), qsizetype(model.Samples().size()) + 1);
}

TEST(TrendModel, FailedExportLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("trend.csv");
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("time,PV\n") == 8);
    old.close();
    TrendModel model([] { return kStart; });
    for (int i = 0; i < 100; ++i)
        model.PrimaryVariableRead(12, 50);
    // A disk that fills after 1 kB, for root too.
    rlimit was{};
    getrlimit(RLIMIT_FSIZE, &was);
    const rlimit small{1024, was.rlim_max};
    const auto signal = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    QString error;
    const bool written = model.WriteCsv(path, error);
    setrlimit(RLIMIT_FSIZE, &was);
    std::signal(SIGXFSZ, signal);
    EXPECT_FALSE(written);
    EXPECT_TRUE(error.endsWith(std::strerror(EFBIG))) << error.toStdString();
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "time,PV\n");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"trend.csv"}) << "no temporary file left";
}
