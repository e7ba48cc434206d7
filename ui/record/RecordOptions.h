// The record options that both programs take.
#pragma once

#include "ui/record/RecordFile.h"

#include <string>

inline constexpr char kRecordHelp[] = R"(  --record FILE  append the record of every operation to FILE
  --no-record    keep no record; by default it goes to one file a day,
                 $XDG_STATE_HOME/tamsel/records/YYYY-MM-DD.log
                 ($XDG_STATE_HOME is ~/.local/state when not set)
)";

// When argv[i] is a record option, takes it into place, with its file name
// (i moves past it), and returns true. A missing file name sets error.
bool TakeRecordOption(int argc, char** argv, int& i, RecordPlace& place, std::string& error);
