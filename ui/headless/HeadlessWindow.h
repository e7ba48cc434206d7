// The window without a platform: every control of the layout as plain state,
// with the same notification rules as the real window. Tests and the command
// line act on it as the operator would (Click, Type, Choose).
#pragma once

#include "dialog/DialogWindow.h"
#include "dialog/Layout.h"
#include "ui/headless/TimerBackend.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

class HeadlessWindow : public DialogWindow {
public:
    HeadlessWindow(const DialogSpec& layout, TimerBackend& timers);

    void SetEventSink(DialogEvents* sink) { m_Sink = sink; }
    // Each observer is called with every text appended to a list box (the
    // activity log), in the order added.
    void AddListObserver(std::function<void(int id, const std::string&)> observer)
    {
        m_ListObservers.push_back(std::move(observer));
    }

    // --- The operator. Each returns false, changing nothing, where the
    // operator could not act: unknown control, wrong kind, disabled, hidden.
    bool Click(int id);
    bool Type(int id, std::string_view text);  // replaces the whole text
    bool Choose(int id, int index);
    void PressEscape();  // the window's Cancel: Esc, the close box
    void PressEnter();
    bool ChooseSystemMenuItem(unsigned commandId);

    // --- Looking at the window
    bool Has(int id) const { return m_Controls.count(id) != 0; }
    ControlKind KindOf(int id) const { return At(id).kind; }
    // Index of the list entry last scrolled into view, or -1.
    int ListShown(int id) const { return At(id).shown; }
    // The most entries the list box ever held at once.
    int ListMostCount(int id) const { return At(id).most; }
    int AboutBoxRuns() const { return m_AboutRuns; }
    bool Ended() const { return m_Ended; }
    int EndResult() const { return m_EndResult; }
    const std::vector<std::pair<unsigned, std::string>>& SystemMenu() const { return m_SystemMenu; }
    // Questions put to the operator, and the answer each gets (Yes unless set).
    const std::vector<std::string>& Questions() const { return m_Questions; }
    void SetAnswer(Answer answer) { m_Answer = answer; }

    // --- DialogWindow
    std::string GetText(int id) const override;
    void SetText(int id, std::string_view text) override;
    void Enable(int id, bool enable) override;
    bool IsEnabled(int id) const override;
    void SetLimitText(int id, int limit) override;
    int GetCheck(int id) const override;
    void SetCheck(int id, int check) override;
    void ComboResetContent(int id) override;
    int ComboAddString(int id, std::string_view text) override;
    void ComboSetItemData(int id, int index, int data) override;
    int ComboGetItemData(int id, int index) const override;
    int ComboGetCount(int id) const override;
    int ComboGetCurSel(int id) const override;
    void ComboSetCurSel(int id, int index) override;
    std::string ComboGetText(int id, int index) const override;
    int ListAddString(int id, std::string_view text) override;
    void ListDeleteString(int id, int index) override;
    int ListGetCount(int id) const override;
    void ListSetCurSel(int id, int index) override;
    int ListGetCurSel(int id) const override;
    std::string ListGetText(int id, int index) const override;
    void SetTimer(int timerId, int ms) override;
    void KillTimer(int timerId) override;
    void AppendSystemMenuItem(unsigned commandId, std::string_view text) override;
    void RunAboutBox() override;
    void EndDialog(int result) override;
    Answer AskYesNoCancel(std::string_view question) override;

private:
    struct Item {
        std::string text;
        int data = 0;
    };
    struct Control {
        ControlKind kind = ControlKind::StaticText;
        unsigned style = 0;
        std::string text;
        bool enabled = true;
        int limit = 0;
        int check = 0;
        std::vector<Item> items;
        int curSel = -1;
        int shown = -1;
        int most = 0;
    };

    Control& At(int id);
    const Control& At(int id) const;
    Control* Operable(int id);
    void Notify(int id, ::Notify notify);

    std::map<int, Control> m_Controls;
    TimerBackend& m_Timers;
    DialogEvents* m_Sink = nullptr;
    std::vector<std::function<void(int, const std::string&)>> m_ListObservers;
    std::vector<std::pair<unsigned, std::string>> m_SystemMenu;
    int m_AboutRuns = 0;
    bool m_Ended = false;
    int m_EndResult = 0;
    std::vector<std::string> m_Questions;
    Answer m_Answer = Answer::Yes;
};
