#include "ui/record/RecordOptions.h"

#include <string_view>

bool TakeRecordOption(int argc, char** argv, int& i, RecordPlace& place, std::string& error)
{
    const std::string_view arg = argv[i];
    if (arg == "--no-record") {
        place = {RecordPlace::Kind::None, {}};
        return true;
    }
    if (arg != "--record")
        return false;
    if (i + 1 >= argc) {
        error = "--record needs a file name";
        return true;
    }
    place = {RecordPlace::Kind::File, QString::fromLocal8Bit(argv[++i])};
    return true;
}
