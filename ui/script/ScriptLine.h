// One line of an action script, parsed. The script drives the window as the
// operator would, one action a line; '#' starts a comment.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class ScriptVerb { None, Click, Type, Choose, Wait, Sleep, Show, Expect, Extra };

struct ScriptLine {
    ScriptVerb verb = ScriptVerb::None;  // None: blank or comment line
    std::string target;                  // id or caption (click), id otherwise; Extra: the verb
    std::string text;                    // type, choose, expect, Extra: the rest of the line
    std::optional<long> ms;              // wait, sleep: 0 to 2147483647
};

struct ScriptParse {
    ScriptLine line;
    std::string error;  // empty when the line is good
};

// extraVerbs: verbs a host adds (such as "cal"), each taking the rest of
// its line.
// The blank-separated words of a text.
std::vector<std::string> SplitWords(std::string_view text);

ScriptParse ParseScriptLine(std::string_view raw, const std::vector<std::string>& extraVerbs = {});

inline constexpr long kDefaultWaitMs = 30000;
