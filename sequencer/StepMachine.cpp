#include "sequencer/StepMachine.h"

#include "dialog/ControlIds.h"
#include "dialog/Timing.h"
#include "hart/ResultCodes.h"
#include "sequencer/CommandStates.h"

#include <string>

StepMachine::StepMachine(Shell& shell, Link& link, OperationObserver& observers)
    : m_Shell(shell), m_Observers(observers), m_Link(link)
{
}

void StepMachine::AddSteps(std::vector<StepEntry> rows) { m_Steps.Add(std::move(rows)); }

void StepMachine::RunStep()
{
    if (m_nStep == kRestState)
        return;
    if (m_Interrupt == Interruption::Requested && AboutToSend())
        return EndInterrupted();
    if (const CommandInfo* cmd = CommandOfSendState(m_nStep))
        return SendCommand(*cmd);
    if (const CommandInfo* cmd = CommandOfParseState(m_nStep))
        return ParseReplyHead(*cmd);
    StepRole role = StepRole::Run;
    if (const StepEntry* step = m_Steps.Find(m_nStep, &role))
        return role == StepRole::Run ? step->run() : RunExchange(*step, role);
    // No table holds this state: a programming error. Say so where a
    // developer looks, and give the operator the window back.
    ReportError("step machine: no state " + std::to_string(m_nStep) + "; the operation is ended");
    EndOperation();
}

void StepMachine::Interrupt()
{
    if (!IsOperationRunning())
        return;
    m_Interrupt = Interruption::Requested;
    if (AboutToSend())
        EndInterrupted();
}

bool StepMachine::AboutToSend() const
{
    StepRole role = StepRole::Run;
    return CommandOfSendState(m_nStep) != nullptr || (m_Steps.Find(m_nStep, &role) && role == StepRole::Send);
}

void StepMachine::EndInterrupted()
{
    m_Shell.Window().KillTimer(m_nStepTimer);
    m_Interrupt = Interruption::Done;
    EndOperation();
}

void StepMachine::RunExchange(const StepEntry& row, StepRole role)
{
    switch (role) {
    case StepRole::Prepare:
        return GoOnTo(row.SendState());
    case StepRole::Send:
        if (!row.beforeSend || row.beforeSend())
            SendRequest(row.commandOf ? row.commandOf() : row.command, row.CheckState());
        return;
    case StepRole::Check:
        if (Succeeded() && row.items.Holds(m_nReplyItems))
            return row.run();
        ReportError("command " + std::to_string(m_InFlight.command) + ", try " + std::to_string(m_nTries + 1) + " of " +
                    std::to_string(m_nMaxTries) + ": " +
                    (Succeeded() ? "the reply lacks values" : ResultText(m_nResult)));
        if (TryAgain(row.SendState()))
            return;
        if (row.outOfTries)
            return row.outOfTries();
        return FinishWith("Communication fail!");
    case StepRole::Run:
        return row.run();
    }
}

void StepMachine::Arm(int ms) { m_Shell.Window().SetTimer(m_nStepTimer, ms); }

void StepMachine::StartScript(std::int16_t firstState, std::int16_t maxTries)
{
    m_Shell.DisableAllControls();
    m_Interrupt = Interruption::None;
    m_nMaxTries = maxTries;
    m_nTries = 0;
    m_nStep = firstState;
    m_nStepTimer = TIMER_STEP;
    Arm(STEP_DELAY);
}

void StepMachine::GoOnTo(std::int16_t state)
{
    m_nTries = 0;
    m_nStep = state;
    Arm(STEP_DELAY);
}

void StepMachine::SendRequest(std::uint8_t command, std::int16_t checkState)
{
    m_nReturnStep = checkState;
    m_nResult = kResultOk;
    m_nStep = SendStateOf(command);
    Arm(STEP_DELAY);
}

void StepMachine::ResumeAt(std::int16_t state, int ms)
{
    m_nStep = state;
    Arm(ms);
}

bool StepMachine::Succeeded() const { return m_nResult == kResultOk; }

bool StepMachine::TryAgain(std::int16_t sendState)
{
    ++m_nTries;
    if (m_nTries >= m_nMaxTries)
        return false;
    m_nStep = sendState;
    Arm(RETRY_DELAY);
    return true;
}

void StepMachine::CountFailure(std::int16_t sendState)
{
    if (!TryAgain(sendState))
        FinishWith("Communication fail!");
}

void StepMachine::FinishWith(std::string_view message)
{
    m_Shell.AppendLog(message);
    m_Shell.TrimLog();
    EndOperation();
}

void StepMachine::EndOperation()
{
    m_Shell.EnableAllControls();
    m_nStep = kRestState;
}

void StepMachine::EndConnect()
{
    DialogWindow& wnd = m_Shell.Window();
    wnd.Enable(IDC_HART_COMM, true);
    wnd.Enable(IDC_SEARCH_ADDR, true);
    wnd.Enable(IDC_OPEN_COM, true);
    m_nStep = kRestState;
}
