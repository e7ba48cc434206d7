#include "ui/serialport/PortMap.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Env = PortMap::Environment;
using Devices = std::vector<std::string>;

// A system enumeration that records whether it was asked.
PortMap::DeviceLister System(bool& asked, Devices devices)
{
    return [&asked, devices] { return asked = true, devices; };
}

TEST(PortMapEnvironment, VariablesDefineExactlyTheirPortsAndEmptyMeansNone)
{
    bool asked = false;
    const PortMap map = PortMap::Load(
        Env{{"TAMSEL_COM3", "/dev/ttyUSB0"}, {"TAMSEL_COM5", "/dev/pts/7"}, {"TAMSEL_COM1", ""}, {"HOME", "/root"}},
        System(asked, {"/dev/ttyS0", "/dev/ttyUSB0"}));
    EXPECT_EQ(map.Ports(), (std::vector<int>{3, 5}));
    EXPECT_EQ(map.DeviceFor(3), "/dev/ttyUSB0");
    EXPECT_EQ(map.DeviceFor(5), "/dev/pts/7");
    EXPECT_EQ(map.DeviceFor(1), std::nullopt);
    // Only empty values: no ports at all, and still no system enumeration.
    EXPECT_TRUE(PortMap::Load(Env{{"TAMSEL_COM2", ""}}, System(asked, {"/dev/ttyS0"})).Ports().empty());
    EXPECT_FALSE(asked);
}

class PortMapWithoutVariables : public testing::TestWithParam<std::string> {};

// Names that are not TAMSEL_COM1..16 leave the choice to the system.
TEST_P(PortMapWithoutVariables, SystemEnumerationIsUsed)
{
    bool asked = false;
    const PortMap map = PortMap::Load(Env{{GetParam(), "/dev/ttyUSB9"}, {"PATH", "/usr/bin"}},
                                      System(asked, {"/dev/ttyUSB1", "/dev/ttyACM0"}));
    EXPECT_TRUE(asked);
    EXPECT_EQ(map.Ports(), (std::vector<int>{1, 2}));
    EXPECT_EQ(map.DeviceFor(1), "/dev/ttyACM0");
    EXPECT_EQ(map.DeviceFor(2), "/dev/ttyUSB1");
}

INSTANTIATE_TEST_SUITE_P(OtherNames, PortMapWithoutVariables,
                         testing::Values("TAMSEL_COM0", "TAMSEL_COM17", "TAMSEL_COM03", "tamsel_com3", "TAMSEL_COM",
                                         "XTAMSEL_COM3", "TAMSEL_COM3 "));

struct OrderRow {
    Devices found;
    Devices numbered;  // device of port 1, 2, ...
};

class PortMapSystemOrder : public testing::TestWithParam<OrderRow> {};

TEST_P(PortMapSystemOrder, DevicesAreNumberedInNameOrder)
{
    PortMap expected;
    for (std::size_t i = 0; i < GetParam().numbered.size(); ++i)
        expected.Set(static_cast<int>(i) + 1, GetParam().numbered[i]);
    EXPECT_EQ(PortMap::FromDevices(GetParam().found), expected);
}

Devices TtyS(int from, int to)
{
    Devices devices;
    while (from <= to)
        devices.push_back("/dev/ttyS" + std::to_string(from++));
    return devices;
}

INSTANTIATE_TEST_SUITE_P(Rows, PortMapSystemOrder,
                         testing::Values(OrderRow{{}, {}},
                                         OrderRow{{"/dev/ttyUSB0", "/dev/ttyACM1", "/dev/ttyACM0"},
                                                  {"/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyUSB0"}},
                                         // Numbers by value: ttyS2 before ttyS10.
                                         OrderRow{{"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS1"},
                                                  {"/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"}},
                                         OrderRow{{"/dev/ttyS1", "", "/dev/ttyS1"}, {"/dev/ttyS1"}},
                                         // Never beyond port 16: ttyS0..ttyS15 win over ttyS16..ttyS31.
                                         OrderRow{TtyS(0, 31), TtyS(0, 15)}));

TEST(PortMapExplicit, OnlyPortsOneToSixteen)
{
    PortMap map = PortMap::Single(9, "/dev/c");
    for (const int port : {0, -1, 17, 255}) {
        EXPECT_THROW(map.Set(port, "/dev/x"), std::out_of_range) << port;
        EXPECT_EQ(map.DeviceFor(port), std::nullopt) << port;
    }
    EXPECT_EQ(map.Ports(), std::vector<int>{9});
}

}  // namespace
