#include "configuration/ConfigurationProcedure.h"

#include "hart/DateAndAssembly.h"
#include "hart/Identity.h"
#include "hart/PackedAscii.h"
#include "hart/Units.h"
#include "text/Format.h"

#include <algorithm>
#include <map>

namespace {

constexpr int kProtected = 1;

const std::map<std::string, std::map<int, std::string>>& CodeNames()
{
    static const std::map<std::string, std::map<int, std::string>> names = {
        {"transfer_function", {{0, "Linear"}, {1, "Square Root"}}},
        {"alarm", {{0, "High Alarm"}, {1, "Low Alarm"}, {239, "Keep Last"}}},
        {"write_protect", {{0, "Writable"}, {1, "Protected"}}},
        {"display", {{0, "Primary Vari."}, {1, "Percent of R."}, {2, "D-Current"}}},
        {"burst_mode", {{0, "Off"}, {1, "On"}}},
    };
    return names;
}

std::string NameOf(const std::string& key, int code)
{
    if (key.ends_with("_unit")) {
        const int row = UnitRowOfCode(static_cast<std::uint8_t>(code));
        return row < 0 ? "code " + std::to_string(code) : UnitName(row);
    }
    if (const auto names = CodeNames().find(key); names != CodeNames().end())
        if (const auto name = names->second.find(code); name != names->second.end())
            return name->second;
    return std::to_string(code);
}

std::string Number(double value) { return FormatText("%.7g", value); }

std::string Trimmed(std::string text)
{
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}

double ValueOf(const Snapshot& s, const char* key) { return std::stod(s.settings.at(key).value); }
int CodeOf(const Snapshot& s, const char* key) { return s.settings.at(key).code.value_or(0); }

}  // namespace

std::vector<StepEntry> ConfigurationProcedure::Steps()
{
    using C = ConfigurationProcedure;
    const auto fails = [this](StepEntry row) {
        return std::move(row).WhenOutOfTries([this, command = row.command, chosen = row.commandOf] {
            Finish("no answer to command " + std::to_string(chosen ? chosen() : command));
        });
    };
    const auto read = [this, fails](std::int16_t state, std::uint8_t command, std::int16_t next) {
        return fails(ExchangeOf(state, command, [this, command, next] {
            TakeReply(command);
            GoOnTo(next);
        }));
    };
    return {
        fails(Exchange(kIdentity, 0, &C::TakeIdentity).Items(ItemRule::Exactly, 5).SendOnlyIf([this] {
            Machine().m_nReqCode[0] = m_Online.m_nScanAddr;
            return true;
        })),
        read(kTexts, 13, kMessage),
        read(kMessage, 12, kAssembly),
        read(kAssembly, 16, kSetting),
        read(kSetting, 15, kPvUnit),
        read(kPvUnit, 1, kSensor),
        read(kSensor, 14, kDisplay),
        read(kDisplay, 165, kBurst),
        // A transmitter without command 105 leaves its burst setting unknown.
        read(kBurst, 105, kVersion).WhenOutOfTries([this] { GoOnTo(kVersion); }),
        fails(ExchangeOf(kVersion, 172,
                         [this] {
                             TakeReply(172);
                             Finish({});
                         })),
        fails(ExchangeOf(
                  kWrite, [this] { return m_Plan[m_Next].command; }, [this] { CheckWrite(); })
                  .SendOnlyIf([this] { return PrepareWrite(); })),
        fails(ExchangeOf(
            kReadBack, [this] { return m_Plan[m_Next].readBack; }, [this] { CheckReadBack(); })),
        ExchangeOf(kSurveyPoll, 0, [this] { FoundAt(); })
            .WithoutPrepare()
            .Items(ItemRule::Exactly, 5)
            .SendOnlyIf([this] {
                Machine().m_nReqCode[0] = static_cast<std::int16_t>(m_Address);
                return true;
            })
            .WhenOutOfTries([this] { SurveyNext(); }),
        ExchangeOf(kSurveyTag, 13,
                   [this] {
                       m_Survey.back().tag = Trimmed(UnpackTextField(Reply().m_pReplyData, 8));
                       SurveyNext();
                   })
            .WithoutPrepare()
            .WhenOutOfTries([this] { SurveyNext(); }),
    };
}

std::string ConfigurationProcedure::Read(const std::string& now)
{
    if (Machine().IsOperationRunning())
        return "an operation is running";
    m_Device = {};
    m_Device.readAt = now;
    m_Failure.clear();
    StartScript(kIdentity);
    return {};
}

void ConfigurationProcedure::Take(const char* key, std::string value, std::optional<int> code)
{
    m_Device.settings[key] = {code ? NameOf(key, *code) : std::move(value), code};
}

void ConfigurationProcedure::TakeIdentity()
{
    const std::uint8_t* id = Machine().m_UniqueId;
    m_Device.identity = {
        MfrName(id[0]),      DevTypeName(id[0], id[1]), id[0], id[1], id[2] * 65536L + id[3] * 256L + id[4],
        m_Online.m_nScanAddr};
    GoOnTo(kTexts);
}

// What a read reply says of the settings, for the snapshot and for the
// read-back after a write.
void ConfigurationProcedure::TakeReply(std::uint8_t command)
{
    const ReplyRecord& r = Reply();
    const std::int16_t* code = r.m_nReplyCode;
    const float* value = r.m_fReplyValue;
    switch (command) {
    case 13:
        Take("tag", Trimmed(UnpackTextField(r.m_pReplyData, 8)));
        Take("descriptor", Trimmed(UnpackTextField(r.m_pReplyData + 6, 16)));
        Take("date", DateToText(r.m_pReplyData + 18));
        break;
    case 12:
        Take("message", Trimmed(UnpackTextField(r.m_pReplyData, 32)));
        break;
    case 16: {
        const std::uint8_t bytes[3] = {std::uint8_t(code[0]), std::uint8_t(code[1]), std::uint8_t(code[2])};
        Take("final_assembly", AssemblyToText(bytes));
        break;
    }
    case 15:
        Take("range_unit", {}, code[2]);
        Take("upper_range", Number(value[0]));
        Take("lower_range", Number(value[1]));
        Take("damping", Number(value[2]));
        Take("transfer_function", {}, code[1]);
        Take("alarm", {}, code[0]);
        Take("write_protect", {}, code[3]);
        break;
    case 1:
        Take("pv_unit", {}, code[0]);
        break;
    case 14:
        Take("sensor_unit", {}, code[3]);
        Take("sensor_upper", Number(value[0]));
        Take("sensor_lower", Number(value[1]));
        Take("min_span", Number(value[2]));
        break;
    case 165:
        Take("display", {}, code[0]);
        break;
    case 105:
        Take("burst_mode", {}, code[0]);
        Take("burst_command", std::to_string(code[1]), code[1]);
        break;
    case 172: {
        const std::uint8_t* text = r.m_pReplyData;
        Take("version", Latin1ToUtf8(std::string(text, std::find(text, text + 6, 0))));
        break;
    }
    default:
        break;
    }
}

void ConfigurationProcedure::Finish(std::string failure)
{
    m_Failure = std::move(failure);
    if (!m_Failure.empty())
        ReportNote("configuration: " + m_Failure);
    if (m_Surveying) {
        std::copy(m_SavedId, m_SavedId + 5, Machine().m_UniqueId);
        m_Surveying = false;
    }
    if (m_Failure.rfind("no answer", 0) == 0)
        FinishWith("Communication fail!");
    else
        EndOperation();
    if (onDone)
        onDone();
}

// --- Restore

std::string ConfigurationProcedure::Restore(const Snapshot& file, bool clone)
{
    if (Machine().IsOperationRunning())
        return "an operation is running";
    const DeviceIdentity& d = m_Device.identity;
    const DeviceIdentity& f = file.identity;
    if (d.deviceId < 0)
        return "read the device first";
    if (d.manufacturerCode != f.manufacturerCode || d.deviceTypeCode != f.deviceTypeCode)
        return "the file is of " + f.manufacturer + " " + f.deviceType + ", the device " + d.manufacturer + " " +
               d.deviceType + ": another type of device";
    if (d.deviceId != f.deviceId && !clone)
        return "the file is of device " + std::to_string(f.deviceId) + ", not " + std::to_string(d.deviceId) +
               ": restoring onto a replacement needs a confirmation (--clone)";
    if (CodeOf(m_Device, "write_protect") == kProtected)
        return "the transmitter is write-protected";
    // Units before the values that depend on them.
    static const std::vector<Write> kOrder = {
        {{"pv_unit"}, 44, 1},
        {{"range_unit", "upper_range", "lower_range"}, 35, 15},
        {{"damping"}, 34, 15},
        {{"transfer_function"}, 47, 15},
        {{"alarm"}, 135, 15},
        {{"display"}, 134, 165},
        {{"tag", "descriptor", "date"}, 18, 13},
        {{"message"}, 17, 12},
        {{"final_assembly"}, 19, 16},
        {{"burst_command"}, 108, 105},
        {{"burst_mode"}, 109, 105},
    };
    std::vector<std::string> differ;
    for (const Comparison& c : Compare(m_Device, file))
        if (c.Differs())
            differ.push_back(c.key);
    m_Plan.clear();
    for (const Write& w : kOrder)
        if (std::any_of(w.keys.begin(), w.keys.end(),
                        [&](const std::string& k) { return std::count(differ.begin(), differ.end(), k) > 0; }) &&
            std::all_of(w.keys.begin(), w.keys.end(),
                        [&](const std::string& k) { return file.settings.count(k) && file.settings.at(k).Known(); }))
            m_Plan.push_back(w);
    m_File = file;
    m_Next = 0;
    m_Written.clear();
    m_NotWritten.clear();
    m_Failure.clear();
    for (const Write& w : m_Plan)
        m_NotWritten.push_back(FindSetting(w.keys[0])->label);
    if (m_Plan.empty()) {
        if (onDone)
            onDone();
        return {};
    }
    StartScript(kWrite);
    return {};
}

// The write's data from the file, before each try.
bool ConfigurationProcedure::PrepareWrite()
{
    StepMachine& m = Machine();
    const Write& w = m_Plan[m_Next];
    const std::string& key = w.keys[0];
    if (w.command == 35) {
        m.m_nReqCode[0] = static_cast<std::int16_t>(CodeOf(m_File, "range_unit"));
        m.m_fReqValue[0] = static_cast<float>(ValueOf(m_File, "upper_range"));
        m.m_fReqValue[1] = static_cast<float>(ValueOf(m_File, "lower_range"));
    } else if (w.command == 34) {
        m.m_fReqValue[0] = static_cast<float>(ValueOf(m_File, "damping"));
    } else if (w.command == 18) {
        PackTextField(m_File.settings.at("tag").value.substr(0, 8), 8, &m_Block[0]);
        PackTextField(m_File.settings.at("descriptor").value.substr(0, 16), 16, &m_Block[6]);
        TextToDate(m_File.settings.at("date").value.c_str(), &m_Block[18]);
        m.m_pReqBlock = m_Block.data();
    } else if (w.command == 17) {
        PackTextField(m_File.settings.at("message").value.substr(0, 32), 32, m_Block.data());
        m.m_pReqBlock = m_Block.data();
    } else if (w.command == 19) {
        std::uint8_t bytes[3];
        AssemblyToBytes(static_cast<std::uint32_t>(std::stoul(m_File.settings.at(key).value)), bytes);
        for (int i = 0; i < 3; ++i)
            m.m_nReqCode[i] = bytes[i];
    } else {
        m.m_nReqCode[0] = static_cast<std::int16_t>(CodeOf(m_File, key.c_str()));
    }
    return true;
}

void ConfigurationProcedure::CheckWrite()
{
    if (Reply().StatusOnly() || Reply().ResponseCode() >= 16 ||
        (Reply().ResponseCode() > 0 && Reply().ResponseCode() < 8))
        return Finish(std::string(FindSetting(m_Plan[m_Next].keys[0])->label) +
                      ": the transmitter refused the write (response code " + std::to_string(Reply().ResponseCode()) +
                      ")");
    GoOnTo(kReadBack);
}

// The read-back must show the file's value; then the next write.
void ConfigurationProcedure::CheckReadBack()
{
    const Write& w = m_Plan[m_Next];
    const Snapshot before = m_Device;
    TakeReply(w.readBack);
    for (const std::string& key : w.keys) {
        const SettingValue& now = m_Device.settings[key];
        const SettingValue& want = m_File.settings.at(key);
        if (want.code ? now.code != want.code : now.value != want.value)
            return Finish(std::string(FindSetting(key)->label) + ": read back " + now.value + ", not " + want.value);
    }
    for (const std::string& key : w.keys) {
        const std::string old = before.settings.count(key) ? before.settings.at(key).value : "?";
        const std::string line =
            std::string(FindSetting(key)->label) + " " + old + " -> " + m_Device.settings[key].value;
        if (old != m_Device.settings[key].value)
            m_Written.push_back(line);
    }
    m_NotWritten.erase(m_NotWritten.begin());
    if (++m_Next == m_Plan.size())
        return Finish({});
    GoOnTo(kWrite);
}

// --- Survey

std::string ConfigurationProcedure::Survey(int last)
{
    if (Machine().IsOperationRunning())
        return "an operation is running";
    if (last < 0 || last > kHighestAddress)
        return "the last address must be 0 to 15";
    m_LastAddress = last;
    std::copy(Machine().m_UniqueId, Machine().m_UniqueId + 5, m_SavedId);
    m_Surveying = true;
    m_Survey.clear();
    m_Failure.clear();
    m_Address = 0;
    StartScript(kSurveyPoll, 1);
    return {};
}

void ConfigurationProcedure::FoundAt()
{
    const std::uint8_t* id = Machine().m_UniqueId;
    m_Survey.push_back(
        {m_Address,
         {MfrName(id[0]), DevTypeName(id[0], id[1]), id[0], id[1], id[2] * 65536L + id[3] * 256L + id[4], m_Address},
         {}});
    GoOnTo(kSurveyTag);
}

void ConfigurationProcedure::SurveyNext()
{
    if (++m_Address > m_LastAddress)
        return Finish({});
    GoOnTo(kSurveyPoll);
}
