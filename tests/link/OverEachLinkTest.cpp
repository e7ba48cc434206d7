// The window over each link, on the virtual clock against the simulated
// transmitter: the same requests and replies in the log whichever link
// carries them, the burst indicator as the replies show burst mode, and a
// gateway's published burst frames driving it between requests.
#include "link/HartIpMessage.h"
#include "tests/modules/Scenario.h"

namespace {

struct OverLink : Scenario {
    using Scenario::Scenario;
    // The Status indicator over the next three seconds, once a second.
    std::string Blinks()
    {
        std::string seen;
        for (int i = 0; i < 3; ++i) {
            clock.AdvanceBy(1000);
            seen += std::to_string(window.GetCheck(IDC_STATUS));
        }
        return seen;
    }
};

}  // namespace

TEST(OverEachLink, TheSameLogAndTheBurstIndicator)
{
    std::vector<std::string> logs;
    for (const SimLink link : {SimLink::HexLine, SimLink::Binary, SimLink::HartIp}) {
        OverLink host(link);
        host.Run(IDC_HART_COMM);
        host.window.Type(IDC_DAMPING, "1.25");
        host.Run(IDC_SET_DAMPING);
        EXPECT_EQ(host.device().damping, 1.25f) << int(link);
        host.Run(IDC_ENTER_BURST);
        const std::string bursting = host.Blinks();
        EXPECT_TRUE(bursting == "101" || bursting == "010") << int(link) << ": " << bursting;
        host.Run(IDC_EXIT_BURST);
        host.clock.AdvanceBy(1000);
        EXPECT_EQ(host.Blinks(), "000") << int(link);
        std::string log;
        for (const std::string& line : host.LogHistory())
            log += line + "\n";
        logs.push_back(log);
    }
    EXPECT_EQ(logs[1], logs[0]) << "binary modem";
    EXPECT_EQ(logs[2], logs[0]) << "HART-IP";
}

// A frame the gateway publishes, in a header of another version, is a burst
// frame of the connected transmitter: the indicator blinks with nothing asked.
TEST(OverEachLink, APublishedBurstFrameDrivesTheIndicator)
{
    OverLink host(SimLink::HartIp);
    host.Run(IDC_HART_COMM);
    const std::vector<std::uint8_t> burst = {0x81, 0xF5, 0x7C, 0x01, 0x02, 0x03, 0x01, 0x07,
                                             0x00, 0x00, 0x0C, 0x41, 0x48, 0x00, 0x00, 0x0B};
    host.port.DeliverAfter(0, hartip::Encode({2, hartip::kPublish, hartip::kPdu, 0, 40, burst}));
    EXPECT_EQ(host.Blinks(), "101");
}
