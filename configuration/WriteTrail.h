// The old-and-new trail of every write: each setting's value as last read
// (or written), and for each write the transmitter confirms, one note for
// the record, "write <setting> <before> -> <after>", whichever operation
// made it.
#pragma once

#include "sequencer/OperationObserver.h"

#include <map>
#include <string>

class WriteTrail : public OperationObserver {
public:
    explicit WriteTrail(OperationObserver& record) : m_Record(record) {}
    void ReplyRead(std::uint8_t command, const ReplyRecord& reply) override;

private:
    void Known(const std::string& setting, std::string value) { m_Known[setting] = std::move(value); }
    void Wrote(const std::string& setting, const std::string& value);

    OperationObserver& m_Record;
    std::map<std::string, std::string> m_Known;
};
