// The file the record is appended to: one a day in a directory, one named
// file, or none. Lines go through a bounded queue to a thread of the
// record's own, so that a file that takes them slowly or not at all (a slow
// disk, a FIFO that no one reads) never holds up the tool: they wait in the
// queue, and what does not fit is lost, counted, and said so in the record
// and once on the warnings stream. A file that is deleted or moved away is
// begun anew at its path. A file that cannot be written never stops the
// tool: one warning, and nothing more is recorded.
#pragma once

#include "ui/record/RecordPlace.h"

#include <QDateTime>

#include <chrono>
#include <cstddef>
#include <future>
#include <memory>
#include <ostream>
#include <string_view>
#include <thread>

struct RecordBounds {
    std::size_t lines = 10000;                // waiting for the file, at most
    std::chrono::milliseconds endWait{2000};  // for them to be written at the end
};

class RecordFile {
public:
    RecordFile(RecordPlace place, std::ostream& warnings, RecordBounds bounds = {});
    // Waits for the lines queued, at most bounds.endWait; reports on the
    // warnings stream how many it could not write.
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Queues a line, to the file of its day; never waits for the file.
    void Append(const QDateTime& at, std::string_view device, std::string_view event, std::string_view text);
    // The file the lines of that day go to; empty when none are recorded.
    QString PathFor(const QDate& day) const { return m_Place.PathFor(day); }
    // Waits until every line queued is written (or dropped), at most that
    // long; true when so.
    bool Flush(std::chrono::milliseconds wait);

private:
    struct Shared;  // what the writer thread uses: it may outlive this object

    RecordPlace m_Place;
    std::ostream& m_Warnings;
    RecordBounds m_Bounds;
    std::shared_ptr<Shared> m_Shared;  // none when no record is kept
    std::future<void> m_Ended;
    std::thread m_Thread;
};
