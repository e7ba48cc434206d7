// The HART-IP client on the virtual clock: the session's opening, requests
// with their sequence numbers, responses in any pieces, refusals, the
// keep-alive and published frames.
#include "link/HartIpLink.h"
#include "tests/link/LinkBench.h"

using namespace hartip;

namespace {

const std::string kFrame = "82B57C01020301004A";
const std::string kReply = "86B57C01020301070000"
                           "0C41480000"
                           "4C";

LinkSettings Settings(LinkKind kind)
{
    LinkSettings linkSettings;
    linkSettings.kind = kind;
    linkSettings.host = "127.0.0.1";
    return linkSettings;
}

Bytes Wire(std::uint8_t type, std::uint8_t id, std::uint16_t sequence, const std::string& body = {},
           std::uint8_t status = 0)
{
    return Encode(Message{kVersion, type, id, status, sequence, FromHex(body)});
}

// A session opened over kind, and one request sent: its sequence number is 2.
struct Session : LinkBench<HartIpLink> {
    explicit Session(LinkKind kind = LinkKind::HartIpTcp) : LinkBench(Settings(kind))
    {
        link.Open();
        port.DeliverAfter(5, Wire(kResponse, kSessionInitiate, 1, "010000EA60"));
        clock.AdvanceTo(5);
        link.Send(FromHex(kFrame));
    }
};

}  // namespace

TEST(HartIpLink, OpensWithASessionInitiateAndSendsEachRequestWithTheNextSequenceNumber)
{
    Session s;
    EXPECT_EQ(s.opened, std::vector<bool>{true});
    EXPECT_EQ(s.port.Writes().at(0), Wire(kRequest, kSessionInitiate, 1, "010000EA60"));
    EXPECT_EQ(s.port.Writes().at(1), Wire(kRequest, kPdu, 2, kFrame));
}

TEST(HartIpLink, ARefusedOrUnansweredInitiateLeavesThePortUnusable)
{
    LinkBench<HartIpLink> refused(Settings(LinkKind::HartIpUdp)), silent(Settings(LinkKind::HartIpUdp));
    refused.link.Open();
    silent.link.Open();
    refused.port.DeliverAfter(5, Wire(kResponse, kSessionInitiate, 1, {}, 14));
    refused.clock.AdvanceTo(3000);
    silent.clock.AdvanceTo(1999);
    EXPECT_TRUE(silent.opened.empty());
    silent.clock.AdvanceTo(2000);
    EXPECT_EQ(refused.opened, std::vector<bool>{false});
    EXPECT_EQ(silent.opened, std::vector<bool>{false});
    EXPECT_EQ(refused.errors.at(0), "HART-IP: session refused: message type 1, status 14");
    EXPECT_THROW(silent.link.Send(FromHex(kFrame)), SerialPortError);
}

// Over TCP a response may come in pieces, or joined to a published frame.
TEST(HartIpLink, TcpMessagesSplitOrJoinedAreTakenWhole)
{
    Session split, joined;
    const Bytes response = Wire(kResponse, kPdu, 2, kReply);
    split.port.DeliverAfter(0, {response.begin(), response.begin() + 5});
    split.port.DeliverAfter(3, {response.begin() + 5, response.end()});
    Bytes both = Wire(kPublish, kPdu, 77,
                      "81F57C01020301070000"
                      "0C41480000"
                      "0B");
    both.insert(both.end(), response.begin(), response.end());
    joined.port.DeliverAfter(0, both);
    split.clock.AdvanceBy(5);
    joined.clock.AdvanceBy(5);
    EXPECT_EQ(split.Frames(), std::vector<std::string>{kReply});
    EXPECT_EQ(joined.Frames(), (std::vector<std::string>{"81F57C01020301070000"
                                                         "0C41480000"
                                                         "0B",
                                                         kReply}));
}

TEST(HartIpLink, OnlyTheResponseWithTheRequestsNumberAnswersAndARefusalIsAFailedTry)
{
    const struct {
        const char* name;
        Bytes response;
        std::vector<std::string> frames;
        std::string error;
    } rows[] = {
        {"WrongSequence",
         Wire(kResponse, kPdu, 9, kReply),
         {},
         "HART-IP: a response with sequence number 9 answers no request in flight"},
        {"ErrorStatus",
         Wire(kResponse, kPdu, 2, {}, 32),
         {"X"},
         "HART-IP: the request failed: message type 1, status 32"},
        {"ErrorMessage", Wire(kError, kPdu, 2), {"X"}, "HART-IP: the request failed: message type 3, status 0"},
        {"Nak", Wire(kNak, kSessionClose, 2), {"X"}, "HART-IP: the request failed: message type 15, status 0"},
    };
    for (const auto& row : rows) {
        Session s(LinkKind::HartIpUdp);
        s.port.DeliverAfter(1, row.response);
        s.clock.AdvanceBy(2);
        EXPECT_EQ(s.Frames(), row.frames) << row.name;
        EXPECT_EQ(s.errors, std::vector<std::string>{row.error}) << row.name;
    }
}

// Half the inactivity time after the last message the client sent; what
// the gateway publishes does not count.
TEST(HartIpLink, KeepAliveAfterHalfTheInactivityTimeOfQuiet)
{
    Session s;
    const std::int64_t sent = s.clock.Now();
    s.port.DeliverAfter(20000, Wire(kPublish, kPdu, 1, kReply));
    s.clock.AdvanceTo(sent + 29999);
    ASSERT_EQ(s.port.Writes().size(), 2u);
    s.clock.AdvanceTo(sent + 30000);
    ASSERT_EQ(s.port.Writes().size(), 3u);
    EXPECT_EQ(s.port.Writes()[2], Wire(kRequest, kKeepAlive, 3));
    s.clock.AdvanceTo(sent + 60000);
    EXPECT_EQ(s.port.Writes().size(), 4u);
    s.link.Close();
    EXPECT_EQ(s.port.Writes().back(), Wire(kRequest, kSessionClose, 5));
}

// A message past 255 bytes counts in both bytes of its byte count.
TEST(HartIpReader, AMessageLongerThan255BytesIsTakenWhole)
{
    const Message longOne{kVersion, kResponse, kPdu, 0, 7, Bytes(300, 0x55)};
    const Bytes wire = Encode(longOne);
    ASSERT_EQ(wire[6], 1);
    Reader reader;
    EXPECT_TRUE(reader.Feed(wire.data(), 200).empty());
    EXPECT_EQ(reader.Feed(wire.data() + 200, wire.size() - 200), std::vector<Message>{longOne});
}
