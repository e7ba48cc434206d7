// What a host may follow of the tool's work without taking part in it (the
// record, the trend): the clicks that start operations, every log entry, the
// ends, and the process values the transmitter reports. Every call comes on
// the tool's one thread as it happens; an observer changes nothing.
#pragma once

#include "dialog/OperationInputs.h"
#include "hart/ReplyDecoder.h"

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

class OperationObserver {
public:
    virtual ~OperationObserver() = default;

    // The operator clicked a button, before its handler runs. At rest this
    // starts an operation; while one runs (Stop Read, Exit) it acts on it.
    virtual void OperationStarted(int /*controlId*/, std::string_view /*caption*/,
                                  std::span<const OperationInput> /*inputs*/)
    {
    }
    // Every entry of the activity log, the request and reply hex included,
    // also those the window's short log drops.
    virtual void LogLine(std::string_view /*text*/) {}
    // The tool has come back to rest: the operation has ended.
    virtual void OperationEnded() {}
    // The operation was cut short because the program is ending; cause names
    // why ("SIGTERM"). An observer that does not tell the two apart sees an end.
    virtual void OperationInterrupted(std::string_view /*cause*/) { OperationEnded(); }
    // What the tool did or met on its own, for the record only: the window's
    // log keeps its fixed messages.
    virtual void Note(std::string_view /*text*/) {}
    // What went wrong beneath the window's messages (a port's own error, a
    // failed try and why, a reply line refused, a programming error), for
    // the record only.
    virtual void Error(std::string_view /*text*/) {}
    // Every reply accepted and decoded, with the command it answers.
    virtual void ReplyRead(std::uint8_t /*command*/, const ReplyRecord& /*reply*/) {}
    // A decoded reply to command 1: the primary variable and its unit code.
    virtual void PrimaryVariableRead(std::uint8_t /*unitCode*/, float /*value*/) {}
    // A decoded reply to command 2: the loop current and the percent of range.
    virtual void LoopCurrentRead(float /*milliamps*/, float /*percent*/) {}
};

// The process values of an accepted reply, for commands 1 and 2.
void ReportProcessValues(OperationObserver& observer, std::uint8_t command, const ReplyRecord& reply);

// Hands every call on to each observer added, in the order added.
class OperationObservers final : public OperationObserver {
public:
    // The observer must outlive the dialog object.
    void Add(OperationObserver& observer) { m_List.push_back(&observer); }

    void OperationStarted(int controlId, std::string_view caption, std::span<const OperationInput> inputs) override;
    void LogLine(std::string_view text) override;
    void OperationEnded() override;
    void OperationInterrupted(std::string_view cause) override;
    void Note(std::string_view text) override;
    void Error(std::string_view text) override;
    void ReplyRead(std::uint8_t command, const ReplyRecord& reply) override;
    void PrimaryVariableRead(std::uint8_t unitCode, float value) override;
    void LoopCurrentRead(float milliamps, float percent) override;

private:
    std::vector<OperationObserver*> m_List;
};
