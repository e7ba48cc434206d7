#include "ui/record/RecordQueue.h"

#include <algorithm>
#include <utility>

RecordQueue::RecordQueue(std::size_t bound) : m_Bound(std::max<std::size_t>(bound, 1)) {}

void RecordQueue::Push(RecordLine line)
{
    {
        const std::lock_guard lock(m_Lock);
        // Once full, lines are lost until the queue is down to half its
        // bound: a file that takes lines only now and then makes a few long
        // gaps, not one after every line.
        const bool losing = !m_Entries.empty() && m_Entries.back().gap.lost > 0;
        if (m_Entries.size() < (losing ? m_Bound / 2 + 1 : m_Bound)) {
            m_Entries.push_back({std::move(line), {}});
        } else {
            // The line is lost, counted in the gap after the last line
            // queued, which keeps the time and device of the first one lost.
            RecordLine& gap = m_Entries.back().gap;
            if (gap.lost++ == 0) {
                gap.day = line.day;
                gap.stamp = std::move(line.stamp);
                gap.event = "error";
            }
            return;
        }
    }
    m_Changed.notify_all();
}

bool RecordQueue::Front(RecordLine& line)
{
    std::unique_lock lock(m_Lock);
    m_Changed.wait(lock, [this] { return m_Stopped || !m_Entries.empty(); });
    if (m_Stopped)
        return false;
    line = m_Entries.front().line;
    return true;
}

void RecordQueue::Pop()
{
    {
        const std::lock_guard lock(m_Lock);
        if (m_Entries.empty())
            return;
        Entry& first = m_Entries.front();
        if (first.gap.lost == 0) {
            m_Entries.pop_front();
        } else {
            // The lines lost after it are said next, in its place.
            first.line = std::exchange(first.gap, {});
            first.line.text = std::to_string(first.line.lost) +
                              " lines of the record are lost here: its file took none while " +
                              std::to_string(m_Bound) + " waited";
        }
    }
    m_Changed.notify_all();
}

void RecordQueue::Pause(std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_Lock);
    m_Changed.wait_for(lock, wait, [this] { return m_Stopped; });
}

bool RecordQueue::WaitEmpty(std::chrono::milliseconds wait)
{
    std::unique_lock lock(m_Lock);
    return m_Changed.wait_for(lock, wait, [this] { return m_Entries.empty(); });
}

void RecordQueue::Stop()
{
    {
        const std::lock_guard lock(m_Lock);
        m_Stopped = true;
    }
    m_Changed.notify_all();
}

RecordQueue::Unwritten RecordQueue::Left() const
{
    const std::lock_guard lock(m_Lock);
    Unwritten left;
    for (const Entry& entry : m_Entries)
        left.lines += std::max<std::size_t>(entry.line.lost, 1) + entry.gap.lost;
    if (!m_Entries.empty())
        left.day = m_Entries.front().line.day;
    return left;
}
