#include "ui/record/RecordFile.h"

#include "ui/record/RecordQueue.h"
#include "ui/record/RecordTarget.h"

#include <csignal>
#include <mutex>
#include <pthread.h>

namespace {
// How long one write waits for a full pipe, and how long a FIFO without a
// reader is left before it is tried again: the writer thread sees a stop
// within that.
constexpr std::chrono::milliseconds kSlice{100};
// For the writer thread to end, once stopped, beyond the end's wait: more only
// when a write hangs in the system (a network file system that does not
// answer), and then the thread is left behind.
constexpr std::chrono::milliseconds kEndOfThread{500};
}  // namespace

struct RecordFile::Shared {
    Shared(const RecordPlace& place, std::ostream& out, std::size_t bound)
        : queue(bound), target(place, [this](const std::string& text) { Warn(text); }), warnings(&out)
    {
    }

    // The warnings stream is let go of when the RecordFile ends.
    void Warn(const std::string& text)
    {
        const std::lock_guard lock(warnLock);
        if (warnings)
            *warnings << text << '\n' << std::flush;
    }

    void Run()
    {
        RecordLine line;
        while (queue.Front(line)) {
            switch (target.Write(line, kSlice)) {
            case RecordTarget::Status::Written:
                if (line.lost > 0)
                    Warn("tamsel: " + std::to_string(line.lost) + " lines of the record " +
                         target.Place().PathFor(line.day).toStdString() +
                         " are lost: its file took none for a while; the record says so where they are missing");
                queue.Pop();
                break;
            case RecordTarget::Status::Dropped:
                queue.Pop();
                break;
            case RecordTarget::Status::Full:
                break;
            case RecordTarget::Status::NoReader:
                queue.Pause(kSlice);
                break;
            }
        }
    }

    RecordQueue queue;
    RecordTarget target;  // the writer thread's alone
    std::mutex warnLock;
    std::ostream* warnings;
};

RecordFile::RecordFile(RecordPlace place, std::ostream& warnings, RecordBounds bounds)
    : m_Place(std::move(place)), m_Warnings(warnings), m_Bounds(bounds)
{
    if (m_Place.kind == RecordPlace::Kind::None)
        return;
    m_Shared = std::make_shared<Shared>(m_Place, warnings, m_Bounds.lines);
    std::promise<void> ended;
    m_Ended = ended.get_future();
    // The thread takes no signals: they stay the window's thread's, and a
    // FIFO whose reader went away answers EPIPE instead of SIGPIPE.
    sigset_t all;
    sigset_t before;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &before);
    m_Thread = std::thread([shared = m_Shared, ended = std::move(ended)]() mutable {
        shared->Run();
        ended.set_value();
    });
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
}

RecordFile::~RecordFile()
{
    if (!m_Shared)
        return;
    m_Shared->queue.WaitEmpty(m_Bounds.endWait);
    m_Shared->queue.Stop();
    if (m_Ended.wait_for(kEndOfThread) == std::future_status::ready)
        m_Thread.join();
    else
        m_Thread.detach();
    {
        const std::lock_guard lock(m_Shared->warnLock);
        m_Shared->warnings = nullptr;
    }
    const RecordQueue::Unwritten left = m_Shared->queue.Left();
    if (left.lines > 0)
        m_Warnings << "tamsel: " << left.lines << " lines of the record " << PathFor(left.day).toStdString()
                   << " are not written: its file took none in the time given at the end\n"
                   << std::flush;
}

void RecordFile::Append(const QDateTime& at, std::string_view device, std::string_view event, std::string_view text)
{
    if (!m_Shared)
        return;
    m_Shared->queue.Push({at.date(), at.toString("yyyy-MM-dd HH:mm:ss.zzz").toStdString() + '\t' + std::string(device),
                          std::string(event), std::string(text)});
}

bool RecordFile::Flush(std::chrono::milliseconds wait) { return !m_Shared || m_Shared->queue.WaitEmpty(wait); }
