// Configuration files on the virtual clock against the simulated transmitter:
// a file's round trip through compare and restore, the restore's order, its
// stops and refusals, and files this version does not fully know.
#include "configuration/ConfigurationProcedure.h"
#include "configuration/SnapshotFile.h"
#include "tests/modules/Scenario.h"

namespace {

struct ConfigScenario : Scenario {
    ConfigurationProcedure& config = dlg.Configuration();
    ConfigScenario() { Connect(); }
    Snapshot Read()
    {
        EXPECT_EQ(config.Read("2026-12-07 09:00:00"), "");
        RunUntilRest();
        EXPECT_EQ(config.Failure(), "");
        return config.Device();
    }
    std::string Restore(const Snapshot& file, bool clone = false)
    {
        Read();
        const std::string refused = config.Restore(file, clone);
        RunUntilRest();
        return refused.empty() ? config.Failure() : refused;
    }
    // The commands requested since mark, in order.
    std::vector<int> Requests(std::size_t mark) const
    {
        std::vector<int> commands;
        for (const std::string& e : LogFrom(mark))
            if (e.starts_with("82"))
                commands.push_back(std::stoi(e.substr(12, 2), nullptr, 16));
        return commands;
    }
};

std::vector<std::string> Differing(const Snapshot& device, const Snapshot& file)
{
    std::vector<std::string> keys;
    for (const Comparison& c : Compare(device, file))
        if (c.Differs())
            keys.push_back(c.key + " " + c.device + " " + c.file);
    return keys;
}

}  // namespace

TEST(Configuration, ARoundTripRestoresExactlyTheSettingThatChanged)
{
    ConfigScenario s;
    const Snapshot saved = std::get<Snapshot>(SnapshotFromJson(ToJson(s.Read())));
    EXPECT_EQ(saved.settings.at("damping").value, "0.5");
    EXPECT_EQ(saved.settings.at("range_unit").code, 12);
    s.device().damping = 2.5f;
    s.device().sensorUpperKpa = 300;  // read-only: shown, never restored
    EXPECT_EQ(Differing(s.Read(), saved), std::vector<std::string>{"damping 2.5 0.5"});
    const std::size_t mark = s.LogHistory().size();
    EXPECT_EQ(s.Restore(saved), "");
    EXPECT_EQ(s.config.Written(), std::vector<std::string>{"Damping (s) 2.5 -> 0.5"});
    EXPECT_EQ(s.device().damping, 0.5f);
    const std::vector<int> requests = s.Requests(mark);
    EXPECT_EQ(std::vector<int>(requests.end() - 2, requests.end()), (std::vector<int>{34, 15})) << "write, read-back";
}

// Units before the values that depend on them.
TEST(Configuration, TheUnitIsWrittenBeforeTheRange)
{
    ConfigScenario s;
    Snapshot file = s.Read();
    file.settings["pv_unit"] = {"psi", 6};
    file.settings["range_unit"] = {"psi", 6};
    file.settings["upper_range"] = {"20", {}};
    file.settings["damping"] = {"1", {}};
    const std::size_t mark = s.LogHistory().size();
    EXPECT_EQ(s.Restore(file), "");
    std::vector<int> writes;
    for (int command : s.Requests(mark))
        if (command == 44 || command == 35 || command == 34)
            writes.push_back(command);
    EXPECT_EQ(writes, (std::vector<int>{44, 35, 34}));
    EXPECT_EQ(s.device().rangeUnit, 6);
    EXPECT_EQ(s.device().upperRange, 20.0f);
}

TEST(Configuration, ARestoreStopsAtARefusedWriteSayingWhatWasNotWritten)
{
    ConfigScenario s;
    Snapshot file = s.Read();
    file.settings["damping"] = {"1", {}};
    file.settings["message"] = {"CHANGED", {}};
    s.Fault(F::kStatusOnly, 34);
    EXPECT_EQ(s.Restore(file), "Damping (s): the transmitter refused the write (response code 64)");
    EXPECT_TRUE(s.config.Written().empty());
    EXPECT_EQ(s.config.NotWritten(), (std::vector<std::string>{"Damping (s)", "Message"}));
}

TEST(Configuration, RefusedUnderWriteProtectionOrForAnotherDevice)
{
    ConfigScenario s;
    Snapshot file = s.Read();
    file.settings["damping"] = {"1", {}};
    Snapshot otherType = file, replacement = file;
    otherType.identity.deviceTypeCode = 99;
    replacement.identity.deviceId = 4242;
    EXPECT_NE(s.Restore(otherType, true).find("another type of device"), std::string::npos);
    EXPECT_NE(s.Restore(replacement).find("needs a confirmation (--clone)"), std::string::npos);
    EXPECT_EQ(s.Restore(replacement, true), "") << "a replacement, confirmed";
    s.device().writeProtected = true;
    file.settings["damping"] = {"2", {}};
    EXPECT_EQ(s.Restore(file), "the transmitter is write-protected");
    EXPECT_EQ(s.device().damping, 1.0f);
}

TEST(Configuration, UnknownFieldsAreKeptAndANewerFormatRefused)
{
    const std::string known = R"({"format": "tamsel-configuration", "format_version": 1, "identity": {},
        "settings": {"damping": {"value": "1"}, "zero_offset": {"value": "3", "code": 7}}, "site": "north"})";
    const Snapshot s = std::get<Snapshot>(SnapshotFromJson(known));
    EXPECT_EQ(s.unknownSettings.at("zero_offset"), R"({"code":7,"value":"3"})");
    EXPECT_EQ(s.unknownFields.at("site"), R"("north")");
    const std::string again = ToJson(s);
    EXPECT_NE(again.find("\"zero_offset\""), std::string::npos);
    EXPECT_NE(again.find("\"site\": \"north\""), std::string::npos);
    std::string newer = known;
    newer.replace(newer.find("\"format_version\": 1"), 19, "\"format_version\": 2");
    EXPECT_EQ(std::get<std::string>(SnapshotFromJson(newer)),
              "the file's format version 2 is newer than this tool's 1: use a newer tool");
}

// Three transmitters in multidrop at addresses 1 to 3; the window stays with
// the one it connected to.
TEST(Configuration, TheSurveyListsEveryTransmitterOfTheLoopAndGivesTheConnectionBack)
{
    sim::ModemOptions loop;
    loop.multidrop = 3;
    Scenario s(SimLink::HexLine, loop);
    s.Run(IDC_SEARCH_ADDR);
    const std::int64_t start = s.clock.Now();
    s.dlg.Configuration().Survey();
    s.RunUntilRest();
    std::vector<std::string> found;
    for (const SurveyRow& row : s.dlg.Configuration().Surveyed())
        found.push_back(std::to_string(row.address) + " " + row.identity.manufacturer + " " +
                        std::to_string(row.identity.deviceId) + " " + row.tag);
    EXPECT_EQ(found, (std::vector<std::string>{"1 Fenmarks 66051 PT-101", "2 Fenmarks 66052 PT-102",
                                               "3 Fenmarks 66053 PT-103"}));
    EXPECT_LT(s.clock.Now() - start, 16 * 2100) << "about sixteen polls";
    EXPECT_EQ(s.dlg.Configuration().Survey(16), "the last address must be 0 to 15");
    const std::int64_t shorter = s.clock.Now();
    s.dlg.Configuration().Survey(2);
    s.RunUntilRest();
    ASSERT_EQ(s.dlg.Configuration().Surveyed().size(), 2u);
    EXPECT_EQ(s.dlg.Configuration().Surveyed().back().address, 2);
    EXPECT_LT(s.clock.Now() - shorter, 3 * 2100) << "three polls, 0 to 2";
    s.window.Type(IDC_DAMPING, "3");
    s.Run(IDC_SET_DAMPING);
    EXPECT_EQ(s.device().damping, 3.0f) << "the window still talks to the transmitter at address 1";
}
