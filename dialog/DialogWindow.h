// The window as the dialog object sees it: controls reached by id, timers,
// and the few window services the dialog asks for. Hosts implement it: the Qt
// window, and a headless control model for tests and the command line.
//
// Notification rules (the dialog relies on them):
//  - every change of an edit's text raises EditChange, program writes included,
//    synchronously inside SetText;
//  - a combo box raises SelChange only when the operator selects, never for
//    ComboSetCurSel;
//  - a button raises Clicked only when the operator clicks it.
#pragma once

#include <string>
#include <string_view>

enum class Notify { Clicked, EditChange, SelChange };
enum class Answer { Yes, No, Cancel };

// What the window reports to the dialog object.
class DialogEvents {
public:
    virtual ~DialogEvents() = default;
    virtual void OnCommand(int id, Notify notify) = 0;
    virtual void OnTimer(int timerId) = 0;
    virtual void OnSysCommand(unsigned id) = 0;
};

class DialogWindow {
public:
    virtual ~DialogWindow() = default;

    // Any control with a caption or text: edits, buttons, radio buttons.
    virtual std::string GetText(int id) const = 0;
    virtual void SetText(int id, std::string_view text) = 0;
    virtual void Enable(int id, bool enable) = 0;
    virtual bool IsEnabled(int id) const = 0;
    // Most characters the operator can type into an edit.
    virtual void SetLimitText(int id, int limit) = 0;

    // Radio buttons: 0 unchecked, 1 checked.
    virtual int GetCheck(int id) const = 0;
    virtual void SetCheck(int id, int check) = 0;

    // Drop-down lists. Indexes are places in the list; -1 is no selection.
    virtual void ComboResetContent(int id) = 0;
    virtual int ComboAddString(int id, std::string_view text) = 0;
    virtual void ComboSetItemData(int id, int index, int data) = 0;
    virtual int ComboGetItemData(int id, int index) const = 0;
    virtual int ComboGetCount(int id) const = 0;
    virtual int ComboGetCurSel(int id) const = 0;
    virtual void ComboSetCurSel(int id, int index) = 0;
    virtual std::string ComboGetText(int id, int index) const = 0;

    // The list box.
    virtual int ListAddString(int id, std::string_view text) = 0;
    virtual void ListDeleteString(int id, int index) = 0;
    virtual int ListGetCount(int id) const = 0;
    virtual void ListSetCurSel(int id, int index) = 0;
    virtual int ListGetCurSel(int id) const = 0;
    virtual std::string ListGetText(int id, int index) const = 0;

    // Timers: SetTimer arms (or re-arms, restarting the interval) a periodic
    // timer whose expiries reach DialogEvents::OnTimer until KillTimer.
    virtual void SetTimer(int timerId, int ms) = 0;
    virtual void KillTimer(int timerId) = 0;

    // Window services.
    virtual void AppendSystemMenuItem(unsigned commandId, std::string_view text) = 0;
    virtual void RunAboutBox() = 0;
    virtual void EndDialog(int result) = 0;
    // A question to the operator, answered before the call returns.
    virtual Answer AskYesNoCancel(std::string_view question) = 0;
};
