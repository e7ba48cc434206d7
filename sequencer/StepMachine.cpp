// One tick of the step machine: runs the state in m_nStep.
#include "app/CTamselDlg.h"

#include "app/Timing.h"
#include "hart/CommandTable.h"
#include "sequencer/StepTable.h"
#include "ui/dialog/ControlIds.h"

void CTamselDlg::RunStep()
{
    // 501 to 622: the send and parse state of one HART command.
    if (const CommandInfo* cmd = FindCommandBySendState(m_nStep)) {
        SendCommand(*cmd);
        return;
    }
    if (const CommandInfo* cmd = FindCommandByParseState(m_nStep)) {
        ParseReplyHead(*cmd);
        return;
    }
    // 1 to 206: the scripts of the modules.
    if (const StepEntry* step = FindScriptStep(m_nStep)) {
        switch (step->kind) {
        case StepKind::Prepare:
            m_nTries = 0;
            m_nStep = step->next;
            ArmStep(STEP_DELAY);
            return;
        case StepKind::Send:
            m_nReturnStep = step->next;
            m_nResult = 0;
            m_nStep = FindCommand(step->command)->sendState;
            ArmStep(STEP_DELAY);
            return;
        case StepKind::Run:
            (this->*step->run)();
            return;
        }
    }
    // Any other number, the rest state 0 included, runs nothing and arms
    // nothing: the machine rests until a handler starts a script.
}

bool CTamselDlg::IsOperationRunning() const { return m_nStep != kRestState; }

void CTamselDlg::ArmStep(int ms) { m_Wnd.SetTimer(m_nStepTimer, ms); }

void CTamselDlg::StartScript(std::int16_t firstState, std::int16_t maxTries)
{
    m_nMaxTries = maxTries;
    m_nStep = firstState;
    m_nStepTimer = TIMER_STEP;
    ArmStep(STEP_DELAY);
}

bool CTamselDlg::RetryCommand(std::int16_t sendState)
{
    ++m_nTries;
    if (m_nTries >= m_nMaxTries)
        return false;
    m_nStep = sendState;
    ArmStep(RETRY_DELAY);
    return true;
}

void CTamselDlg::EndScript()
{
    EnableAllControls();
    m_nStep = kRestState;
}

void CTamselDlg::EndScriptWith(std::string_view message)
{
    AppendLog(message);
    TrimLog();
    EndScript();
}

// The failed ends of connect and search leave only the ways to connect again.
void CTamselDlg::EndConnectScript()
{
    m_Wnd.Enable(IDC_HART_COMM, true);
    m_Wnd.Enable(IDC_SEARCH_ADDR, true);
    m_Wnd.Enable(IDC_OPEN_COM, true);
    m_nStep = kRestState;
}
