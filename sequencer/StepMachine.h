// The step machine: runs every operation of the window as a script of
// numbered states, one state per tick of the step timer. It owns what one
// command exchange reads and writes (request parameters, transmit scratch,
// the reply record, the transmitter's address, the burst flag) and offers the
// modules the verbs their scripts are written in.
#pragma once

#include "hart/ReplyDecoder.h"
#include "hart/ReplyMatch.h"
#include "link/Link.h"
#include "sequencer/OperationObserver.h"
#include "sequencer/Shell.h"
#include "sequencer/StepTable.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The state in which the machine rests: nothing runs, nothing is armed.
inline constexpr std::int16_t kRestState = 0;
// Tries of a command before a script gives up; Search Addr allows one.
inline constexpr std::int16_t kDefaultTries = 3;

class StepMachine : public ReplyRecord {
public:
    // observers hear of the process values read and of errors.
    StepMachine(Shell& shell, Link& link, OperationObserver& observers);

    // Joins a module's script states to the table; throws StepTableError
    // when a row claims a state it may not.
    void AddSteps(std::vector<StepEntry> rows);
    // One tick: runs the state in m_nStep.
    void RunStep();
    bool IsOperationRunning() const { return m_nStep != kRestState; }
    // The program is ending: the operation ends before its next request
    // leaves, at once when none is under way; otherwise the reply under way
    // (or its time-out) is still taken and checked, so that what the
    // transmitter did is known.
    void Interrupt();
    // Whether the operation that ended last was cut short by Interrupt.
    bool WasInterrupted() const { return m_Interrupt == Interruption::Done; }
    // A line the receive path passed. The reply to the request in flight is
    // kept for the parse state, which then runs at once; any other frame only
    // tells whether the transmitter bursts.
    void OfferReply(const ModemReply& reply);

    // --- The verbs of the scripts

    // Starts the step timer: the next state runs after ms.
    void Arm(int ms);
    // Disables the window's operation controls and starts a script at its
    // first state with a fresh count of tries.
    void StartScript(std::int16_t firstState, std::int16_t maxTries = kDefaultTries);
    // Goes on to another state of the script with a fresh count of tries.
    void GoOnTo(std::int16_t state);
    // Goes on to another state after ms, keeping the count of tries.
    void ResumeAt(std::int16_t state, int ms);
    // The send state's work: send the command; its parse state returns to
    // checkState.
    void SendRequest(std::uint8_t command, std::int16_t checkState);
    // The last command was answered and its values are in the reply record.
    bool Succeeded() const;
    // Counts a failed try. True when the command is sent again from
    // sendState after the retry delay; false when the tries are used up.
    bool TryAgain(std::int16_t sendState);
    // Counts a failed try: sent again, or "Communication fail!" and the end.
    void CountFailure(std::int16_t sendState);
    // What went wrong that the window's log does not say, for the record.
    void ReportError(std::string_view text) { m_Observers.Error(text); }
    // What the tool did on its own, for the record.
    void ReportNote(std::string_view text) { m_Observers.Note(text); }
    // Logs the message, trims the log and ends the operation.
    void FinishWith(std::string_view message);
    // Ends the operation: the window's controls enabled, the machine at rest.
    void EndOperation();
    // The failed end of connect and search: only the ways to connect again.
    void EndConnect();

    // --- The primitive states: send one command; parse its reply into the
    // result code and the reply record.
    void SendCommand(const CommandInfo& cmd);
    void ParseReplyHead(const CommandInfo& cmd);

    // Step machine
    std::int16_t m_nStep = kRestState;
    std::int16_t m_nReturnStep = 0;
    std::int16_t m_nStepTimer = 2;
    std::int16_t m_nResult = 0;
    std::int16_t m_nMaxTries = 0;
    std::int16_t m_nTries = 0;

    // Request parameters of the next command; only the low byte of a code
    // goes into a frame. m_pReqBlock stays valid while its operation runs.
    std::int16_t m_nReqCode[3] = {};
    float m_fReqValue[2] = {};
    const std::uint8_t* m_pReqBlock = nullptr;

    // The connected transmitter's unique identifier, from command 0.
    std::uint8_t m_UniqueId[5] = {};
    // Burst mode as the last decoded reply showed it; drives the Status blink.
    std::uint8_t m_bBurst = 0;

    // Transmit scratch
    std::uint8_t m_TxFrame[1024] = {};
    std::uint8_t m_HexText[2048] = {};
    std::string m_strTx;
    std::string m_strRx;

private:
    Shell& m_Shell;
    OperationObserver& m_Observers;
    Link& m_Link;
    StepTable m_Steps;
    // The last request sent: a reply must answer it.
    RequestInFlight m_InFlight;
    // The reply accepted since the last send, until the parse takes it.
    std::optional<ModemReply> m_Reply;
    // The frame the parse decoded; the reply record points into it.
    std::uint8_t m_ReplyFrame[512] = {};

    enum class Interruption : std::uint8_t { None, Requested, Done };
    Interruption m_Interrupt = Interruption::None;

    void RunExchange(const StepEntry& row, StepRole role);
    // The next state sends a request (a command's own send state or the
    // send of an exchange row).
    bool AboutToSend() const;
    void EndInterrupted();
};
