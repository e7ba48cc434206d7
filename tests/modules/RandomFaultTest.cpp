// Every operation ends, whatever the line does: the simulator spoils replies
// at random (every fault kind, half of all replies) and each operation must
// still come to rest with one of its own messages.
#include "tests/modules/Scenario.h"

#include <set>

namespace {

const std::set<std::string> kMessages = {"Not found!",
                                         "Or polling address is not 0!",
                                         "Please try <Search Addr>!",
                                         "Communication Fail",
                                         "Communication fail!",
                                         "Unit code not right!",
                                         "Trans-Func. code not right!",
                                         "Write Protect code not right!",
                                         "Alarm code not right!",
                                         "Command not implemented!",
                                         "Reply not right!",
                                         "Data reply not right!",
                                         "Setting succeed!"};

}  // namespace

class RandomFaultTest : public testing::TestWithParam<std::uint32_t> {};

TEST_P(RandomFaultTest, EveryOperationComesToRest)
{
    Scenario s;
    s.line.modem().SetRandomFaults(0.5, {}, GetParam());
    const auto runIfEnabled = [&](int id) {
        if (s.window.IsEnabled(id))
            s.Run(id);
        EXPECT_FALSE(s.dlg.IsOperationRunning()) << id;
        EXPECT_LE(s.dlg.Receive().m_nRxCount, 1023);
    };
    for (int round = 0; round < 3; ++round) {
        runIfEnabled(IDC_HART_COMM);
        runIfEnabled(IDC_READ_RANGE);
        runIfEnabled(IDC_READ_UNIT);
        for (int id : {IDC_READ_TAG, IDC_READ_MESSAGE, IDC_READ_ASSEMBLY, IDC_READ_DISPLAY, IDC_READ_VERSION})
            runIfEnabled(id);
        if (s.window.IsEnabled(IDC_DAMPING)) {
            s.window.Type(IDC_DAMPING, "1.5");
            runIfEnabled(IDC_SET_DAMPING);
        }
        if (s.window.IsEnabled(IDC_UNIT_LIST)) {
            s.window.Choose(IDC_UNIT_LIST, 6);
            runIfEnabled(IDC_SET_UNIT);
        }
    }
    EXPECT_GE(s.port.Writes().size(), 3u);
    for (const std::string& message : s.MessagesFrom(0))
        EXPECT_TRUE(kMessages.count(message)) << "unexpected log entry: " << message;
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomFaultTest, testing::Range<std::uint32_t>(1, 13));
