#include "ui/script/ScriptLine.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>

namespace {

std::string_view TrimLeft(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    return s;
}

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// Splits off the first word; s keeps the rest after one separating blank.
std::string_view NextWord(std::string_view& s)
{
    s = TrimLeft(s);
    std::size_t end = 0;
    while (end < s.size() && !std::isspace(static_cast<unsigned char>(s[end])))
        ++end;
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    if (!s.empty())
        s.remove_prefix(1);
    return word;
}

// A control id or a number of milliseconds: decimal, from 0 to the largest
// int, as far as the window's ids and the timers of a wait reach.
std::optional<long> ParseCount(std::string_view word)
{
    long value = 0;
    const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || value < 0 || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return value;
}

bool IsId(std::string_view word) { return ParseCount(word).has_value(); }

}  // namespace

ScriptParse ParseScriptLine(std::string_view raw, const std::vector<std::string>& extraVerbs)
{
    ScriptParse out;
    raw = TrimRight(raw);  // also drops a CR of a CR LF file
    std::string_view rest = raw;
    if (TrimLeft(rest).empty() || TrimLeft(rest).front() == '#')
        return out;

    const std::string_view verb = NextWord(rest);
    ScriptLine& line = out.line;
    if (verb == "click") {
        line.verb = ScriptVerb::Click;
        line.target = std::string(TrimLeft(rest));
        if (line.target.empty())
            out.error = "click needs a control id or caption";
    } else if (verb == "type" || verb == "choose" || verb == "expect") {
        line.verb = verb == "type" ? ScriptVerb::Type : verb == "choose" ? ScriptVerb::Choose : ScriptVerb::Expect;
        line.target = std::string(NextWord(rest));
        line.text = std::string(rest);
        if (!IsId(line.target))
            out.error = std::string(verb) + " needs a control id";
        else if (line.verb == ScriptVerb::Choose && line.text.empty())
            out.error = "choose needs an entry text or index";
    } else if (verb == "show") {
        line.verb = ScriptVerb::Show;
        line.target = std::string(NextWord(rest));
        if (!IsId(line.target) || !TrimLeft(rest).empty())
            out.error = "show needs one control id";
    } else if (verb == "wait" || verb == "sleep") {
        line.verb = verb == "wait" ? ScriptVerb::Wait : ScriptVerb::Sleep;
        const std::string_view word = NextWord(rest);
        if (!TrimLeft(rest).empty())
            out.error = std::string(verb) + " takes one number of milliseconds";
        else if (word.empty() && line.verb == ScriptVerb::Wait)
            line.ms = kDefaultWaitMs;
        else if (!(line.ms = ParseCount(word)))
            out.error = std::string(verb) + " needs a number of milliseconds from 0 to 2147483647";
    } else if (std::find(extraVerbs.begin(), extraVerbs.end(), verb) != extraVerbs.end()) {
        line.verb = ScriptVerb::Extra;
        line.target = std::string(verb);
        line.text = std::string(TrimLeft(rest));
    } else {
        out.error = "unknown action '" + std::string(verb) + "'";
    }
    if (!out.error.empty())
        out.line = ScriptLine{};
    return out;
}

std::vector<std::string> SplitWords(std::string_view text)
{
    std::vector<std::string> words;
    while (!TrimLeft(text).empty())
        words.emplace_back(NextWord(text));
    return words;
}
