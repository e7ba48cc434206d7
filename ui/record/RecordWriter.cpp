#include "ui/record/RecordWriter.h"

#include "dialog/ControlIds.h"

RecordWriter::RecordWriter(RecordFile& file, const DialogWindow& window, Clock now)
    : m_File(file), m_Window(window), m_Now(std::move(now))
{
}

void RecordWriter::OperationStarted(int controlId, std::string_view caption, std::span<const OperationInput> inputs)
{
    std::string what = std::to_string(controlId) + " \"" + std::string(caption) + "\"";
    std::string line = what;
    for (const OperationInput& input : inputs)
        line += " " + input.label + "=\"" + input.value + "\"";
    // A click while an operation runs acts on that one; its end stays the
    // end of the operation that runs.
    if (!m_Running.empty())
        return Write("click", line);
    m_Running = std::move(what);
    Write("start", line);
}

void RecordWriter::LogLine(std::string_view text) { Write("log", text); }

void RecordWriter::OperationEnded()
{
    Write("end", m_Running);
    m_Running.clear();
}

void RecordWriter::OperationInterrupted(std::string_view cause)
{
    Write("end", m_Running + (m_Running.empty() ? "" : " ") + "interrupted by " + std::string(cause));
    m_Running.clear();
}

void RecordWriter::Note(std::string_view text) { Write("note", text); }

void RecordWriter::Error(std::string_view text) { Write("error", text); }

void RecordWriter::Write(std::string_view event, std::string_view text)
{
    m_File.Append(m_Now(), Device(), event, text);
}

std::string RecordWriter::Device() const
{
    const std::string mfr = m_Window.GetText(IDC_MFR);
    const std::string type = m_Window.GetText(IDC_DEV_TYPE);
    const std::string id = m_Window.GetText(IDC_DEV_ID);
    if (mfr.empty() && type.empty() && id.empty())
        return "-";
    return mfr + "/" + type + "/" + id;
}
