// What every device module works with: the window, the activity log and the
// control groups through the shell, and the step machine with its verbs, the
// request parameters of the next command and the reply record of the last.
#pragma once

#include "sequencer/Shell.h"
#include "sequencer/StepMachine.h"

#include <functional>
#include <string_view>
#include <vector>

// A notification of a control that a module answers: the control, the
// notification, the handler, and the fields whose values the record keeps
// beside the click (they change afterwards).
struct Handler {
    int id = 0;
    Notify notify = Notify::Clicked;
    std::function<void()> run;
    std::vector<int> inputs = {};
};

class Module {
public:
    Module(Shell& shell, StepMachine& machine) : m_Shell(shell), m_Machine(machine) {}
    virtual ~Module() = default;
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    // The module's script states, for the step machine's table.
    virtual std::vector<StepEntry> Steps() { return {}; }
    // The notifications the module answers, for the dialog's message map.
    virtual std::vector<Handler> Handlers() { return {}; }

protected:
    DialogWindow& Wnd() const { return m_Shell.Window(); }
    StepMachine& Machine() const { return m_Machine; }
    const ReplyRecord& Reply() const { return m_Machine; }

    void DisableAllControls() const { m_Shell.DisableAllControls(); }
    void EnableAllControls() const { m_Shell.EnableAllControls(); }

    // Appends one entry; TrimLog follows the caller's entries.
    void AppendLog(std::string_view text) const { m_Shell.AppendLog(text); }
    void TrimLog() const { m_Shell.TrimLog(); }
    // Appends one entry and trims the log.
    void Log(std::string_view text) const
    {
        AppendLog(text);
        TrimLog();
    }

    // The step machine's verbs, as the scripts use them.
    void StartScript(std::int16_t firstState, std::int16_t maxTries = kDefaultTries) const
    {
        m_Machine.StartScript(firstState, maxTries);
    }
    void GoOnTo(std::int16_t state) const { m_Machine.GoOnTo(state); }
    void FinishWith(std::string_view message) const { m_Machine.FinishWith(message); }
    void EndOperation() const { m_Machine.EndOperation(); }
    void ReportError(std::string_view text) const { m_Machine.ReportError(text); }
    void ReportNote(std::string_view text) const { m_Machine.ReportNote(text); }

    // The verdict on a list setting's write: only the status bytes came back,
    // or the echoed code names an entry of the list, or it does not (the list
    // is cleared).
    void FinishListWrite(int listId, int (*entryOf)(std::int16_t code)) const
    {
        if (Reply().StatusOnly())
            return FinishWith("Command not implemented!");
        const int entry = entryOf(Reply().EchoedCode());
        Wnd().ComboSetCurSel(listId, entry);
        FinishWith(entry >= 0 ? "Setting succeed!" : "Data reply not right!");
    }

    // A row of a state that runs a member operation of the module.
    template <class M>
    StepEntry Run(std::int16_t state, void (M::*operation)())
    {
        return RunStepOf(state, Bound(operation));
    }
    // The row of an exchange: prepare at first, send at first + 1, and the
    // check at first + 2, which runs with a reply only.
    template <class M>
    StepEntry Exchange(std::int16_t first, std::uint8_t command, void (M::*check)())
    {
        return ExchangeOf(first, command, Bound(check));
    }
    // A message map row: a click, or another notification.
    template <class M>
    Handler On(int id, void (M::*handler)(), std::vector<int> inputs = {})
    {
        return {id, Notify::Clicked, Bound(handler), std::move(inputs)};
    }
    template <class M>
    Handler On(int id, Notify notify, void (M::*handler)())
    {
        return {id, notify, Bound(handler)};
    }

private:
    template <class M>
    std::function<void()> Bound(void (M::*member)())
    {
        return [self = static_cast<M*>(this), member] { (self->*member)(); };
    }

    Shell& m_Shell;
    StepMachine& m_Machine;
};
