// The cost of one auto-read sample in the open trend window, with its
// repaint, at the start of a watch and after a simulated day of them.
//
//   trend_cost [HOURS] [CYCLE_MS]   (default: 24 290)
//
// Auto read gives command 1 and command 2 once a cycle. The window is open
// from the start; "start" is the minute after the first ten filled its view,
// "after" the last minute of the watch. For the hours between the window is
// closed (it then costs nothing; the model takes every sample) and opened
// again a quarter hour before the end, so that it has followed the samples
// one by one for longer than its view when the last minute is measured.
// Prints the median CPU microseconds of each (the process's CPU time, so that
// other work on the machine does not count) and their ratio.
#include "ui/trend/TrendWindow.h"

#include <QApplication>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

qint64 CpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

class Watch {
public:
    explicit Watch(qint64 cycleMs) : m_CycleMs(cycleMs) {}
    TrendModel model{[this] { return QDateTime::fromMSecsSinceEpoch(m_StartMs + m_Ms); }};

    qint64 Minutes() const { return m_Ms / 60'000; }
    // One cycle; its two samples with everything the window does for them.
    qint64 CycleNs()
    {
        const qint64 start = CpuNs();
        const float wave = float(m_Ms % 600'000) / 6000;
        model.PrimaryVariableRead(12, 50 + wave);
        QApplication::processEvents();
        m_Ms += m_CycleMs / 2;
        model.LoopCurrentRead(4 + (50 + wave) * 0.16f, 50 + wave);
        QApplication::processEvents();
        m_Ms += m_CycleMs - m_CycleMs / 2;
        return CpuNs() - start;
    }
    // The median per sample of a minute of cycles, in microseconds.
    double MinuteMicroseconds()
    {
        std::vector<qint64> costs;
        for (const qint64 end = m_Ms + 60'000; m_Ms < end;)
            costs.push_back(CycleNs());
        std::nth_element(costs.begin(), costs.begin() + qsizetype(costs.size() / 2), costs.end());
        return double(costs[costs.size() / 2]) / 2 / 1000;
    }
    void RunUntilMinute(qint64 minute)
    {
        while (m_Ms < minute * 60'000)
            CycleNs();
    }

private:
    const qint64 m_StartMs = QDateTime(QDate(2026, 12, 7), QTime(6, 0)).toMSecsSinceEpoch();
    const qint64 m_CycleMs;
    qint64 m_Ms = 0;
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qint64 hours = argc > 1 ? std::atoll(argv[1]) : 24;
    const qint64 cycleMs = argc > 2 ? std::atoll(argv[2]) : 290;
    if (hours < 1 || cycleMs < 2) {
        std::fprintf(stderr, "usage: trend_cost [HOURS >= 1] [CYCLE_MS >= 2]\n");
        return 2;
    }
    Watch watch(cycleMs);
    TrendWindow window(watch.model);
    window.show();
    const double first = watch.MinuteMicroseconds();
    watch.RunUntilMinute(10);
    const double start = watch.MinuteMicroseconds();
    window.hide();
    watch.RunUntilMinute(hours * 60 - 15);
    window.show();
    watch.RunUntilMinute(hours * 60 - 1);
    const double after = watch.MinuteMicroseconds();
    std::printf("samples held %zu; microseconds a sample: first minute %.1f, minute 11 %.1f, minute %lld %.1f\n"
                "ratio after %lld h / start %.3f\n",
                watch.model.Samples().size(), first, start, static_cast<long long>(watch.Minutes()), after,
                static_cast<long long>(hours), after / start);
    return 0;
}
