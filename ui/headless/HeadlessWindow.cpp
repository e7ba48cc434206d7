#include "ui/headless/HeadlessWindow.h"

#include <algorithm>

#include "dialog/ControlIds.h"

#include <cctype>
#include <stdexcept>

HeadlessWindow::HeadlessWindow(const DialogSpec& layout, TimerBackend& timers) : m_Timers(timers)
{
    for (const ControlSpec& c : layout.controls) {
        if (c.id == IDC_STATIC)
            continue;
        Control control;
        control.kind = c.kind;
        control.style = c.style;
        control.text = std::string(c.caption);
        control.enabled = c.enabled;
        for (std::string_view entry : c.entries)
            control.items.push_back(Item{std::string(entry), 0});
        m_Controls.emplace(c.id, std::move(control));
    }
    m_Timers.SetCallback([this](int timerId) {
        if (m_Sink)
            m_Sink->OnTimer(timerId);
    });
}

HeadlessWindow::Control& HeadlessWindow::At(int id)
{
    const auto it = m_Controls.find(id);
    if (it == m_Controls.end())
        throw std::out_of_range("no control with id " + std::to_string(id));
    return it->second;
}

const HeadlessWindow::Control& HeadlessWindow::At(int id) const { return const_cast<HeadlessWindow*>(this)->At(id); }

HeadlessWindow::Control* HeadlessWindow::Operable(int id)
{
    const auto it = m_Controls.find(id);
    if (it == m_Controls.end())
        return nullptr;
    Control& c = it->second;
    if (!c.enabled || (c.style & kStyleHidden))
        return nullptr;
    return &c;
}

void HeadlessWindow::Notify(int id, ::Notify notify)
{
    if (m_Sink)
        m_Sink->OnCommand(id, notify);
}

// --- The operator

bool HeadlessWindow::Click(int id)
{
    Control* c = Operable(id);
    if (!c || (c->kind != ControlKind::Button && c->kind != ControlKind::RadioButton))
        return false;
    if (c->kind == ControlKind::RadioButton)
        c->check = 1;  // an automatic radio button is checked by a click
    Notify(id, Notify::Clicked);
    return true;
}

bool HeadlessWindow::Type(int id, std::string_view text)
{
    Control* c = Operable(id);
    if (!c || c->kind != ControlKind::Edit)
        return false;
    std::string typed(text);
    if (c->limit > 0 && typed.size() > static_cast<std::size_t>(c->limit))
        typed.resize(static_cast<std::size_t>(c->limit));
    if (c->style & kStyleUpperCase)
        for (char& ch : typed)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    SetText(id, typed);
    return true;
}

bool HeadlessWindow::Choose(int id, int index)
{
    Control* c = Operable(id);
    if (!c || c->kind != ControlKind::ComboBox || index < 0 || index >= static_cast<int>(c->items.size()))
        return false;
    c->curSel = index;
    Notify(id, Notify::SelChange);
    return true;
}

void HeadlessWindow::PressEscape() { Notify(IDCANCEL, Notify::Clicked); }

void HeadlessWindow::PressEnter() { Notify(IDOK, Notify::Clicked); }

bool HeadlessWindow::ChooseSystemMenuItem(unsigned commandId)
{
    for (const auto& item : m_SystemMenu)
        if (item.first == commandId) {
            if (m_Sink)
                m_Sink->OnSysCommand(commandId);
            return true;
        }
    return false;
}

// --- Text, state

std::string HeadlessWindow::GetText(int id) const { return At(id).text; }

void HeadlessWindow::SetText(int id, std::string_view text)
{
    // Every write to an edit notifies, also one that leaves the text as it
    // was: the handlers count on hearing of each write.
    Control& c = At(id);
    c.text = std::string(text);
    if (c.kind == ControlKind::Edit || c.kind == ControlKind::ReadOnlyEdit)
        Notify(id, Notify::EditChange);
}

void HeadlessWindow::Enable(int id, bool enable) { At(id).enabled = enable; }

bool HeadlessWindow::IsEnabled(int id) const { return At(id).enabled; }

void HeadlessWindow::SetLimitText(int id, int limit) { At(id).limit = limit; }

int HeadlessWindow::GetCheck(int id) const { return At(id).check; }

void HeadlessWindow::SetCheck(int id, int check) { At(id).check = check ? 1 : 0; }

// --- Combo boxes

void HeadlessWindow::ComboResetContent(int id)
{
    Control& c = At(id);
    c.items.clear();
    c.curSel = -1;
}

int HeadlessWindow::ComboAddString(int id, std::string_view text)
{
    Control& c = At(id);
    c.items.push_back(Item{std::string(text), 0});
    return static_cast<int>(c.items.size()) - 1;
}

void HeadlessWindow::ComboSetItemData(int id, int index, int data)
{
    Control& c = At(id);
    if (index >= 0 && index < static_cast<int>(c.items.size()))
        c.items[static_cast<std::size_t>(index)].data = data;
}

int HeadlessWindow::ComboGetItemData(int id, int index) const
{
    const Control& c = At(id);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        return -1;
    return c.items[static_cast<std::size_t>(index)].data;
}

int HeadlessWindow::ComboGetCount(int id) const { return static_cast<int>(At(id).items.size()); }

int HeadlessWindow::ComboGetCurSel(int id) const { return At(id).curSel; }

void HeadlessWindow::ComboSetCurSel(int id, int index)
{
    Control& c = At(id);
    c.curSel = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
}

std::string HeadlessWindow::ComboGetText(int id, int index) const
{
    const Control& c = At(id);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        return {};
    return c.items[static_cast<std::size_t>(index)].text;
}

// --- The list box

int HeadlessWindow::ListAddString(int id, std::string_view text)
{
    Control& c = At(id);
    c.items.push_back(Item{std::string(text), 0});
    c.most = std::max(c.most, static_cast<int>(c.items.size()));
    const std::string added = c.items.back().text;
    for (const auto& observer : m_ListObservers)
        observer(id, added);
    return static_cast<int>(c.items.size()) - 1;
}

void HeadlessWindow::ListDeleteString(int id, int index)
{
    Control& c = At(id);
    if (index < 0 || index >= static_cast<int>(c.items.size()))
        return;
    c.items.erase(c.items.begin() + index);
    if (c.curSel >= static_cast<int>(c.items.size()))
        c.curSel = -1;
}

int HeadlessWindow::ListGetCount(int id) const { return static_cast<int>(At(id).items.size()); }

void HeadlessWindow::ListSetCurSel(int id, int index)
{
    Control& c = At(id);
    if (index >= 0 && index < static_cast<int>(c.items.size())) {
        c.curSel = index;
        c.shown = index;
    } else {
        c.curSel = -1;
    }
}

int HeadlessWindow::ListGetCurSel(int id) const { return At(id).curSel; }

std::string HeadlessWindow::ListGetText(int id, int index) const { return ComboGetText(id, index); }

// --- Timers and window services

void HeadlessWindow::SetTimer(int timerId, int ms) { m_Timers.Start(timerId, ms); }

void HeadlessWindow::KillTimer(int timerId) { m_Timers.Stop(timerId); }

void HeadlessWindow::AppendSystemMenuItem(unsigned commandId, std::string_view text)
{
    m_SystemMenu.emplace_back(commandId, std::string(text));
}

void HeadlessWindow::RunAboutBox() { ++m_AboutRuns; }

void HeadlessWindow::EndDialog(int result)
{
    m_Ended = true;
    m_EndResult = result;
}

Answer HeadlessWindow::AskYesNoCancel(std::string_view question)
{
    m_Questions.emplace_back(question);
    return m_Answer;
}
