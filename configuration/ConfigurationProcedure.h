// Configurations on the step machine: reading a snapshot of the connected
// transmitter with the commands the window uses (and command 105 for the
// burst configuration), restoring a file's settings, and surveying a loop.
#pragma once

#include "configuration/Snapshot.h"
#include "modules/Module.h"
#include "modules/Online.h"

#include <array>
#include <functional>
#include <string>

struct SurveyRow {
    int address = 0;
    DeviceIdentity identity;
    std::string tag;
};

class ConfigurationProcedure : public Module {
public:
    enum State : std::int16_t {
        kIdentity = 401,    // command 0 at the connected polling address
        kTexts = 404,       // 13: tag, descriptor, date
        kMessage = 407,     // 12
        kAssembly = 410,    // 16
        kSetting = 413,     // 15: range, unit, damping, transfer function, alarm, write protection
        kPvUnit = 416,      // 1
        kSensor = 419,      // 14: sensor limits, minimum span
        kDisplay = 422,     // 165
        kBurst = 425,       // 105: burst mode and command; a refusal leaves both unknown
        kVersion = 428,     // 172
        kWrite = 440,       // the plan's next write ...
        kReadBack = 443,    // ... and the read that must show the file's value
        kSurveyPoll = 461,  // command 0 at the next address, one try
        kSurveyTag = 463,   // 13 of a device that answered
    };

    ConfigurationProcedure(Shell& shell, StepMachine& machine, const Online& online)
        : Module(shell, machine), m_Online(online)
    {
    }
    std::vector<StepEntry> Steps() override;

    // Each returns "" when it started, else why not; the outcome comes with
    // onDone.
    std::string Read(const std::string& now);
    // Writes the file's settings that differ from the device (read just
    // before), each followed by its read-back; stops at the first failure.
    // clone: the file is of another device of the same type.
    std::string Restore(const Snapshot& file, bool clone);
    // Polls addresses 0 to last (at most 15): a user who knows the loop's
    // addresses need not wait out the silent ones above them.
    static constexpr int kHighestAddress = 15;
    std::string Survey(int last = kHighestAddress);

    const Snapshot& Device() const { return m_Device; }
    const std::vector<SurveyRow>& Surveyed() const { return m_Survey; }
    int LastAddress() const { return m_LastAddress; }
    // What the restore wrote ("<label> <old> -> <new>"), and what it did not.
    const std::vector<std::string>& Written() const { return m_Written; }
    const std::vector<std::string>& NotWritten() const { return m_NotWritten; }
    // Why the last job stopped short; "" when it went through.
    const std::string& Failure() const { return m_Failure; }
    std::function<void()> onDone;

private:
    struct Write {
        std::vector<std::string> keys;
        std::uint8_t command, readBack;
    };
    void Take(const char* key, std::string value, std::optional<int> code = std::nullopt);
    void TakeIdentity();
    void TakeReply(std::uint8_t command);
    void FoundAt();
    bool PrepareWrite();
    void CheckWrite();
    void CheckReadBack();
    void SurveyNext();
    void Finish(std::string failure);

    const Online& m_Online;
    Snapshot m_Device, m_File;
    std::vector<Write> m_Plan;
    std::size_t m_Next = 0;
    std::vector<std::string> m_Written, m_NotWritten;
    std::vector<SurveyRow> m_Survey;
    int m_Address = 0;
    int m_LastAddress = kHighestAddress;
    std::uint8_t m_SavedId[5] = {};
    std::array<std::uint8_t, 24> m_Block{};
    std::string m_Failure;
    bool m_Surveying = false;
};
