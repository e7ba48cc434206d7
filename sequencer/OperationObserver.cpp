#include "sequencer/OperationObserver.h"

void ReportProcessValues(OperationObserver& observer, std::uint8_t command, const ReplyRecord& reply)
{
    // The reply record as the parse of each command fills it.
    if (command == 1)
        observer.PrimaryVariableRead(static_cast<std::uint8_t>(reply.m_nReplyCode[0]), reply.m_fReplyValue[0]);
    else if (command == 2)
        observer.LoopCurrentRead(reply.m_fReplyValue[0], reply.m_fReplyValue[1]);
}

void OperationObservers::OperationStarted(int controlId, std::string_view caption,
                                          std::span<const OperationInput> inputs)
{
    for (OperationObserver* o : m_List)
        o->OperationStarted(controlId, caption, inputs);
}

void OperationObservers::LogLine(std::string_view text)
{
    for (OperationObserver* o : m_List)
        o->LogLine(text);
}

void OperationObservers::OperationEnded()
{
    for (OperationObserver* o : m_List)
        o->OperationEnded();
}

void OperationObservers::OperationInterrupted(std::string_view cause)
{
    for (OperationObserver* o : m_List)
        o->OperationInterrupted(cause);
}

void OperationObservers::Note(std::string_view text)
{
    for (OperationObserver* o : m_List)
        o->Note(text);
}

void OperationObservers::ReplyRead(std::uint8_t command, const ReplyRecord& reply)
{
    for (OperationObserver* o : m_List)
        o->ReplyRead(command, reply);
}

void OperationObservers::Error(std::string_view text)
{
    for (OperationObserver* o : m_List)
        o->Error(text);
}

void OperationObservers::PrimaryVariableRead(std::uint8_t unitCode, float value)
{
    for (OperationObserver* o : m_List)
        o->PrimaryVariableRead(unitCode, value);
}

void OperationObservers::LoopCurrentRead(float milliamps, float percent)
{
    for (OperationObserver* o : m_List)
        o->LoopCurrentRead(milliamps, percent);
}
