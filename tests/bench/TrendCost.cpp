// The cost of one auto-read sample in the open trend window, with its
// repaints, at the start of a watch and after a simulated day of them.
//
//   trend_cost [HOURS] [CYCLE_MS]   (default: 24 290)
//
// Auto read gives command 1 and command 2 once a cycle; the window puts what
// came on its charts every half second (its repaint timer, driven here on
// the simulated clock). The window is open from the start; "start" is the
// minute after the first ten filled its view, "after" the last minute of the
// watch. For the hours between the window is closed (it then costs nothing;
// the model takes every sample) and opened again a quarter hour before the
// end, so that it has followed the samples for longer than its view when the
// last minute is measured. Prints the CPU microseconds a sample of each
// minute (the process's CPU time, so that other work on the machine does not
// count) and their ratio.
#include "ui/trend/TrendWindow.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <ctime>

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
    TrendWindow window{model};

    qint64 Minutes() const { return m_Ms / 60'000; }
    // CPU microseconds a sample over the next minute.
    double MinuteMicroseconds()
    {
        const qint64 start = CpuNs();
        const qint64 samples = RunUntil(m_Ms + 60'000);
        return double(CpuNs() - start) / double(samples) / 1000;
    }
    qint64 RunUntil(qint64 endMs)
    {
        qint64 samples = 0;
        for (; m_Ms < endMs; samples += 2) {
            const float wave = float(m_Ms % 600'000) / 6000;
            model.PrimaryVariableRead(12, 50 + wave);
            Tick(m_CycleMs / 2);
            model.LoopCurrentRead(4 + (50 + wave) * 0.16f, 50 + wave);
            Tick(m_CycleMs - m_CycleMs / 2);
        }
        return samples;
    }

private:
    void Tick(qint64 ms)
    {
        m_Ms += ms;
        if (m_Ms >= m_NextRepaintMs) {
            window.ShowPending();
            m_NextRepaintMs = m_Ms + TrendWindow::kRepaintMs;
        }
        QApplication::processEvents();
    }

    const qint64 m_StartMs = QDateTime(QDate(2026, 12, 7), QTime(6, 0)).toMSecsSinceEpoch();
    const qint64 m_CycleMs;
    qint64 m_Ms = 0;
    qint64 m_NextRepaintMs = 0;
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
    watch.window.show();
    const double first = watch.MinuteMicroseconds();
    watch.RunUntil(10 * 60'000);
    const double start = watch.MinuteMicroseconds();
    watch.window.hide();
    watch.RunUntil((hours * 60 - 15) * 60'000);
    watch.window.show();
    watch.RunUntil((hours * 60 - 1) * 60'000);
    const double after = watch.MinuteMicroseconds();
    std::printf("samples held %zu; CPU microseconds a sample: first minute %.1f, minute 11 %.1f, minute %lld %.1f\n"
                "ratio after %lld h / start %.3f\n",
                watch.model.Samples().size(), first, start, static_cast<long long>(watch.Minutes()), after,
                static_cast<long long>(hours), after / start);
    return 0;
}
