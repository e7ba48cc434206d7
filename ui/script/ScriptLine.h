// One line of an action script, parsed. The script drives the window as the
// operator would, one action a line; '#' starts a comment.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class ScriptVerb { None, Click, Type, Choose, Wait, Sleep, Show, Expect };

struct ScriptLine {
    ScriptVerb verb = ScriptVerb::None;  // None: blank or comment line
    std::string target;                  // id or caption (click), id otherwise
    std::string text;                    // type, choose, expect: the rest of the line
    std::optional<long> ms;              // wait, sleep: 0 to 2147483647
};

struct ScriptParse {
    ScriptLine line;
    std::string error;  // empty when the line is good
};

ScriptParse ParseScriptLine(std::string_view raw);

inline constexpr long kDefaultWaitMs = 30000;
