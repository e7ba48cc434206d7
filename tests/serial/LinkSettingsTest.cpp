// What a port's value names, and why a value cannot be read.
#include "serial/LinkSettings.h"

#include <gtest/gtest.h>

TEST(PortValue, NamesItsLinkWithItsOptionsOrSaysWhyNot)
{
    const auto fsk = [](KeyLevel rts, int preambles, bool echo) {
        LinkSettings s;
        s.kind = LinkKind::BinaryModem, s.device = "/dev/ttyUSB0", s.rts = rts, s.preambles = preambles, s.echo = echo;
        return s;
    };
    const auto ip = [](LinkKind kind, const char* host, std::uint16_t port) {
        LinkSettings s;
        s.kind = kind, s.host = host, s.port = port;
        return s;
    };
    LinkSettings plain;
    plain.device = "/dev/ttyUSB0";
    const std::pair<const char*, std::variant<LinkSettings, std::string>> rows[] = {
        {"/dev/ttyUSB0", plain},
        {"fsk:/dev/ttyUSB0", fsk(KeyLevel::High, 5, false)},
        {"fsk:/dev/ttyUSB0?rts=low&preambles=20&echo=1", fsk(KeyLevel::Low, 20, true)},
        {"fsk:/dev/ttyUSB0?preambles=2&rts=none", fsk(KeyLevel::None, 2, false)},
        {"hartip://10.0.0.7", ip(LinkKind::HartIpUdp, "10.0.0.7", 5094)},
        {"hartip+tcp://gw.plant:20004", ip(LinkKind::HartIpTcp, "gw.plant", 20004)},
        {"fsk:/dev/ttyUSB0?preambles=1", "preambles must be 2 to 20, not \"1\""},
        {"fsk:/dev/ttyUSB0?preambles=21", "preambles must be 2 to 20, not \"21\""},
        {"fsk:/dev/ttyUSB0?echo=yes", "echo must be 0 or 1, not \"yes\""},
        {"fsk:/dev/ttyUSB0?baud=9600", "unknown option \"baud\""},
        {"fsk:?rts=none", "no device after fsk:"},
        {"hartip://gw:0", "port must be 1 to 65535, not \"0\""},
        {"hartip://gw:65536", "port must be 1 to 65535, not \"65536\""},
        {"hartip://:5094", "no host name in \":5094\""},
        {"modbus://gw", "unknown kind of port \"modbus\""},
    };
    for (const auto& [value, wanted] : rows)
        EXPECT_EQ(ParsePortValue(value), wanted) << value;
}
