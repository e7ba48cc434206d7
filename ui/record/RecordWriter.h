// The audit record: one line for every click that starts (or acts on) an
// operation with the inputs it took, every log entry, every end, every note
// of what the tool did on its own and every error beneath the log, each
// with the local time to the millisecond and the device the window names.
//
//   2026-12-06 09:15:02.120<TAB>Fenmarks/Harrow/66051<TAB>start<TAB>1139 "Set" Damping="1.25"
//
// The device column is "-" until a connect has filled the identity fields.
#pragma once

#include "dialog/DialogWindow.h"
#include "sequencer/OperationObserver.h"
#include "ui/record/RecordFile.h"

#include <QDateTime>

#include <functional>
#include <string>

class RecordWriter : public OperationObserver {
public:
    using Clock = std::function<QDateTime()>;  // local time

    RecordWriter(RecordFile& file, const DialogWindow& window, Clock now = &QDateTime::currentDateTime);

    void OperationStarted(int controlId, std::string_view caption, std::span<const OperationInput> inputs) override;
    void LogLine(std::string_view text) override;
    void OperationEnded() override;
    // The end line then says why: `end  1089 "Auto Read" interrupted by SIGTERM`.
    void OperationInterrupted(std::string_view cause) override;
    void Note(std::string_view text) override;
    void Error(std::string_view text) override;

private:
    void Write(std::string_view event, std::string_view text);
    std::string Device() const;

    RecordFile& m_File;
    const DialogWindow& m_Window;
    Clock m_Now;
    std::string m_Running;  // id and caption of the running operation; empty at rest
};
