#include "ui/script/ScriptRunner.h"

#include "dialog/Layout.h"
#include "ui/script/ScriptLine.h"

#include <algorithm>
#include <charconv>
#include <sstream>

struct ScriptRunner::Action {
    int lineNumber;
    ScriptLine line;
    int id;  // resolved control id (click, type, choose, show, expect)
};

namespace {

bool IsClickable(ControlKind kind) { return kind == ControlKind::Button || kind == ControlKind::RadioButton; }

std::string Quote(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

std::optional<int> ParseInt(const std::string& s)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size())
        return std::nullopt;
    return value;
}

}  // namespace

ScriptRunner::ScriptRunner(HeadlessWindow& window, std::function<bool()> operationRunning, ScriptClock& clock,
                           std::ostream& out)
    : m_Window(window), m_OperationRunning(std::move(operationRunning)), m_Clock(clock), m_Out(out)
{
    m_Window.AddListObserver([this](int, const std::string& text) { Out() << "log: " << text << '\n' << std::flush; });
}

int ScriptRunner::ResolveClickTarget(const std::string& target, std::string& error) const
{
    if (const auto id = ParseInt(target)) {
        if (!m_Window.Has(*id) || !IsClickable(m_Window.KindOf(*id)))
            error = "no button with id " + target;
        return *id;
    }
    std::vector<int> matches;
    for (const ControlSpec& c : MainDialogLayout().controls)
        if (c.caption == target && m_Window.Has(c.id) && IsClickable(c.kind))
            matches.push_back(c.id);
    if (matches.empty()) {
        error = "no button captioned \"" + target + "\"";
        return 0;
    }
    if (matches.size() > 1) {
        error = "\"" + target + "\" names " + std::to_string(matches.size()) + " controls (";
        for (std::size_t i = 0; i < matches.size(); ++i)
            error += (i ? ", " : "") + std::to_string(matches[i]);
        error += "): use the id";
    }
    return matches.front();
}

bool ScriptRunner::Prepare(std::istream& script, std::vector<Action>& actions)
{
    bool good = true;
    std::string raw;
    for (int number = 1; std::getline(script, raw); ++number) {
        std::vector<std::string> extra;
        for (const auto& [name, verb] : m_Verbs)
            extra.push_back(name);
        ScriptParse parsed = ParseScriptLine(raw, extra);
        Action action{number, parsed.line, 0};
        std::string error = parsed.error;
        if (error.empty() && action.line.verb == ScriptVerb::Extra)
            error = FindVerb(action.line.target).check(action.line.text);
        else if (error.empty() && action.line.verb == ScriptVerb::Click)
            action.id = ResolveClickTarget(action.line.target, error);
        else if (error.empty() && !action.line.target.empty()) {
            const std::optional<int> id = ParseInt(action.line.target);
            if (id && m_Window.Has(*id))
                action.id = *id;
            else
                error = "no control with id " + action.line.target;
        }
        if (!error.empty()) {
            Out() << "line " << number << ": " << error << '\n';
            good = false;
        } else if (action.line.verb != ScriptVerb::None) {
            actions.push_back(std::move(action));
        }
    }
    return good;
}

std::string ScriptRunner::Describe(int id) const
{
    std::ostringstream line;
    std::string text = m_Window.GetText(id);
    int sel = -1;
    const ControlKind kind = m_Window.KindOf(id);
    if (kind == ControlKind::ComboBox) {
        sel = m_Window.ComboGetCurSel(id);
        text = m_Window.ComboGetText(id, sel);
    } else if (kind == ControlKind::ListBox) {
        const int n = m_Window.ListGetCount(id);
        text = n > 0 ? m_Window.ListGetText(id, n - 1) : "";
        sel = m_Window.ListGetCurSel(id);
    }
    line << "show " << id << ": text=" << Quote(text) << " enabled=" << (m_Window.IsEnabled(id) ? 1 : 0)
         << " check=" << m_Window.GetCheck(id) << " sel=" << sel;
    if (kind == ControlKind::ListBox)
        line << " count=" << m_Window.ListGetCount(id) << " most=" << m_Window.ListMostCount(id);
    return line.str();
}

int ScriptRunner::Execute(const Action& action)
{
    const ScriptLine& line = action.line;
    const auto where = [&] { return "line " + std::to_string(action.lineNumber) + ": "; };
    switch (line.verb) {
    case ScriptVerb::Click:
        if (!m_Window.Click(action.id))
            Out() << where() << "click " << action.id << ": the control is disabled\n";
        break;
    case ScriptVerb::Type:
        if (!m_Window.Type(action.id, line.text))
            Out() << where() << "type " << action.id << ": the field does not take input now\n";
        break;
    case ScriptVerb::Choose: {
        int index = -1;
        for (int i = 0; i < m_Window.ComboGetCount(action.id); ++i)
            if (m_Window.ComboGetText(action.id, i) == line.text)
                index = i;
        if (index < 0)
            index = ParseInt(line.text).value_or(-1);
        if (!m_Window.Choose(action.id, index))
            Out() << where() << "choose " << action.id << ": no entry '" << line.text << "' to choose now\n";
        break;
    }
    case ScriptVerb::Wait:
        if (!m_Clock.WaitUntil([this] { return !m_OperationRunning() || Stopping(); }, *line.ms))
            Out() << where() << "wait: still running after " << *line.ms << " ms\n";
        break;
    case ScriptVerb::Sleep:
        m_Clock.WaitUntil([this] { return Stopping(); }, *line.ms);
        break;
    case ScriptVerb::Show:
        Out() << Describe(action.id) << '\n';
        break;
    case ScriptVerb::Expect: {
        const std::string shown = m_Window.KindOf(action.id) == ControlKind::ComboBox
                                      ? m_Window.ComboGetText(action.id, m_Window.ComboGetCurSel(action.id))
                                      : m_Window.GetText(action.id);
        if (shown != line.text) {
            Out() << where() << "expect " << action.id << ": wanted " << Quote(line.text) << ", found " << Quote(shown)
                  << '\n';
            return 1;
        }
        break;
    }
    case ScriptVerb::Extra: {
        const int status = FindVerb(line.target).run(line.text, Out());
        m_Out << std::flush;
        if (status != 0)
            return status;
        break;
    }
    case ScriptVerb::None:
        break;
    }
    m_Out << std::flush;
    return 0;
}

void ScriptRunner::AddVerb(const std::string& name, Verb verb) { m_Verbs.emplace_back(name, std::move(verb)); }

const ScriptRunner::Verb& ScriptRunner::FindVerb(const std::string& name) const
{
    return std::find_if(m_Verbs.begin(), m_Verbs.end(), [&](const auto& v) { return v.first == name; })->second;
}

std::ostream& ScriptRunner::Out()
{
    if (m_LinePrefix)
        m_Out << m_LinePrefix();
    return m_Out;
}

int ScriptRunner::Run(std::istream& script)
{
    std::vector<Action> actions;
    if (!Prepare(script, actions))
        return 2;
    for (const Action& action : actions) {
        if (Stopping())
            break;
        if (const int status = Execute(action); status != 0)
            return status;
    }
    return 0;
}
