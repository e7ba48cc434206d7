// The file the record is appended to: one a day in a directory, one named
// file, or none. Each line is flushed as it is written, so a crash loses at
// most the line being written. A file that cannot be written never stops the
// tool: one warning, and nothing more is recorded.
#pragma once

#include <QDateTime>
#include <QString>

#include <cstdio>
#include <ostream>
#include <string_view>

struct RecordPlace {
    enum class Kind { Daily, File, None };
    Kind kind = Kind::None;
    QString path;  // Daily: the directory; File: the file

    // <the user's state directory>/tamsel/records, a file a day.
    static RecordPlace DefaultDaily();
};

// The tool's own state directory: $XDG_STATE_HOME/tamsel (~/.local/state/tamsel).
QString StateDirectory();

class RecordFile {
public:
    RecordFile(RecordPlace place, std::ostream& warnings);
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Appends text and a line end to the file of the line's day.
    void Append(const QDate& day, std::string_view text);
    // The file the lines of that day go to; empty when none are recorded.
    QString PathFor(const QDate& day) const;

private:
    bool Open(const QString& path);
    void GiveUp(const QString& path, const char* reason);

    RecordPlace m_Place;
    std::ostream& m_Warnings;
    std::FILE* m_File = nullptr;
    QString m_OpenPath;
    bool m_Failed = false;
};
