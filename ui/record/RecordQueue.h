// The lines of the record between the window's thread, which puts them in
// and never waits for the file, and the writer thread, which takes them out
// as the file takes them. It holds a bounded number of lines: once it is
// full, further lines are lost and counted until it is down to half, and the
// count comes out as a line of its own (event "error") where they are
// missing, when the file takes lines again.
#pragma once

#include "ui/record/RecordLine.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>

class RecordQueue {
public:
    explicit RecordQueue(std::size_t bound);

    // Any thread; waits for nothing but the queue's lock.
    void Push(RecordLine line);

    // The writer thread: waits for a line and copies the first one; false
    // once stopped. The line stays first until Pop.
    bool Front(RecordLine& line);
    // The first line is written, or dropped.
    void Pop();
    // Waits that long, or until stopped.
    void Pause(std::chrono::milliseconds wait);

    // Waits until every line is taken out, at most that long; true when so.
    bool WaitEmpty(std::chrono::milliseconds wait);
    // Front gives no more lines.
    void Stop();

    struct Unwritten {
        std::size_t lines = 0;  // queued, or lost and not yet said so in the record
        QDate day;              // of the first of them
    };
    Unwritten Left() const;

private:
    struct Entry {
        RecordLine line;
        RecordLine gap;  // gap.lost > 0: the lines lost after this one
    };

    const std::size_t m_Bound;
    mutable std::mutex m_Lock;
    std::condition_variable m_Changed;
    std::deque<Entry> m_Entries;
    bool m_Stopped = false;
};
