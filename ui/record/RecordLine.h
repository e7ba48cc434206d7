// One line of the record on its way to the file: made on the window's
// thread, written on the record's own.
#pragma once

#include <QDate>

#include <cstddef>
#include <string>

struct RecordLine {
    QDate day;          // the day whose file it goes to
    std::string stamp;  // the time and the device: "2026-12-06 09:15:02.120<TAB>Fenmarks/Harrow/66051"
    std::string event;  // start, click, log, end, note, error
    std::string text;
    std::size_t lost = 0;  // a line that says how many lines were lost before it: their count

    std::string Text() const { return stamp + '\t' + event + '\t' + text; }
};
