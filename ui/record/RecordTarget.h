// The record's file as the writer thread holds it: opened without waiting
// (a FIFO that no one reads is tried again later), written with a bounded
// wait, and opened anew at its path, with a first line that says why, when
// the file there is no longer the one open (deleted, or moved away as log
// rotation does). A file that cannot be written is given up: one warning,
// and the lines that follow are dropped.
#pragma once

#include "ui/record/RecordLine.h"
#include "ui/record/RecordPlace.h"

#include <chrono>
#include <functional>
#include <string>

class RecordTarget {
public:
    using Warn = std::function<void(const std::string&)>;  // one line, without its end

    RecordTarget(RecordPlace place, Warn warn);
    ~RecordTarget();
    RecordTarget(const RecordTarget&) = delete;
    RecordTarget& operator=(const RecordTarget&) = delete;

    enum class Status {
        Written,   // the line is in the file
        Dropped,   // the record is given up, or none is kept
        Full,      // the file took no more of it within the wait: try again
        NoReader,  // a FIFO that no one reads: try again after a while
    };
    // Writes the line, or goes on with the part of it not yet written.
    Status Write(const RecordLine& line, std::chrono::milliseconds wait);

    const RecordPlace& Place() const { return m_Place; }

private:
    enum class Opened { Yes, NoReader, Failed };
    Opened Open(const QString& path);
    // Why the open file is no longer the one at its path, or nullptr.
    const char* Gone() const;
    void Close();
    void GiveUp(const QString& path, const char* reason);

    RecordPlace m_Place;
    Warn m_Warn;
    int m_Fd = -1;
    QString m_OpenPath;
    std::string m_Why;       // why the next open is a reopening
    std::string m_Pending;   // the text being written (with a line that says why it was reopened)
    std::size_t m_Done = 0;  // of m_Pending
    bool m_Failed = false;
};
