// Where the record goes: one file a day in a directory, one named file, or
// nowhere; and the file each day's lines go to.
#pragma once

#include <QDate>
#include <QString>

struct RecordPlace {
    enum class Kind { Daily, File, None };
    Kind kind = Kind::None;
    QString path;  // Daily: the directory; File: the file

    // <the user's state directory>/tamsel/records, a file a day.
    static RecordPlace DefaultDaily();

    // The file the lines of that day go to; empty when none are recorded.
    QString PathFor(const QDate& day) const;
};

// The tool's own state directory: $XDG_STATE_HOME/tamsel (~/.local/state/tamsel).
QString StateDirectory();
