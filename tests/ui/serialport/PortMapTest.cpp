#include "ui/serialport/PortMap.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Env = PortMap::Environment;
using Devices = std::vector<std::string>;

// A system enumeration that records whether it was asked.
struct FakeSystem {
    Devices devices;
    bool asked = false;
    PortMap::DeviceLister Lister()
    {
        return [this] {
            asked = true;
            return devices;
        };
    }
};

TEST(PortMapEnvironment, VariablesDefineExactlyTheirPorts)
{
    FakeSystem system{{"/dev/ttyS0", "/dev/ttyUSB0"}};
    const PortMap map = PortMap::Load(Env{{"TAMSEL_COM3", "/dev/ttyUSB0"}, {"TAMSEL_COM5", "/dev/pts/7"}, {"HOME", "/root"}},
                                      system.Lister());
    EXPECT_EQ(map.Ports(), (std::vector<int>{3, 5}));
    EXPECT_EQ(map.DeviceFor(3), "/dev/ttyUSB0");
    EXPECT_EQ(map.DeviceFor(5), "/dev/pts/7");
    EXPECT_EQ(map.DeviceFor(1), std::nullopt);
    EXPECT_FALSE(system.asked);
}

TEST(PortMapEnvironment, EmptyValueMeansNoSuchPortAndStillOverridesTheSystem)
{
    FakeSystem system{{"/dev/ttyS0"}};
    const PortMap map = PortMap::Load(Env{{"TAMSEL_COM1", ""}, {"TAMSEL_COM16", "/dev/ttyACM0"}}, system.Lister());
    EXPECT_EQ(map.Ports(), std::vector<int>{16});
    EXPECT_EQ(map.DeviceFor(1), std::nullopt);
    EXPECT_FALSE(system.asked);

    const auto onlyEmpty = PortMap::FromEnvironment(Env{{"TAMSEL_COM2", ""}});
    ASSERT_TRUE(onlyEmpty.has_value());
    EXPECT_TRUE(onlyEmpty->Ports().empty());
}

class PortMapWithoutVariables : public testing::TestWithParam<std::string> {};

// Names that are not TAMSEL_COM1..16 leave the choice to the system.
TEST_P(PortMapWithoutVariables, SystemEnumerationIsUsed)
{
    const Env env{{GetParam(), "/dev/ttyUSB9"}, {"PATH", "/usr/bin"}};
    EXPECT_EQ(PortMap::FromEnvironment(env), std::nullopt);

    FakeSystem system{{"/dev/ttyUSB1", "/dev/ttyACM0"}};
    const PortMap map = PortMap::Load(env, system.Lister());
    EXPECT_TRUE(system.asked);
    EXPECT_EQ(map.Ports(), (std::vector<int>{1, 2}));
    EXPECT_EQ(map.DeviceFor(1), "/dev/ttyACM0");
    EXPECT_EQ(map.DeviceFor(2), "/dev/ttyUSB1");
}

INSTANTIATE_TEST_SUITE_P(OtherNames, PortMapWithoutVariables,
                         testing::Values("TAMSEL_COM0", "TAMSEL_COM17", "TAMSEL_COM03", "tamsel_com3", "TAMSEL_COM",
                                         "XTAMSEL_COM3", "TAMSEL_COM3 "));

struct OrderRow {
    Devices found;
    Devices numbered; // device of port 1, 2, ...
};

class PortMapSystemOrder : public testing::TestWithParam<OrderRow> {};

TEST_P(PortMapSystemOrder, DevicesAreNumberedInNameOrder)
{
    const PortMap map = PortMap::FromDevices(GetParam().found);
    const Devices& expected = GetParam().numbered;
    std::vector<int> ports;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        ports.push_back(static_cast<int>(i) + 1);
        EXPECT_EQ(map.DeviceFor(static_cast<int>(i) + 1), expected[i]) << "port " << i + 1;
    }
    EXPECT_EQ(map.Ports(), ports);
}

Devices NumberedDevices(const std::string& stem, int from, int to)
{
    Devices devices;
    for (int i = from; i <= to; ++i)
        devices.push_back(stem + std::to_string(i));
    return devices;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PortMapSystemOrder,
    testing::Values(OrderRow{{}, {}},
                    OrderRow{{"/dev/ttyUSB0", "/dev/ttyACM1", "/dev/ttyACM0"}, {"/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyUSB0"}},
                    // Numbers by value: ttyS2 before ttyS10.
                    OrderRow{{"/dev/ttyS10", "/dev/ttyS2", "/dev/ttyS1"}, {"/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS10"}},
                    OrderRow{{"/dev/ttyS1", "", "/dev/ttyS1"}, {"/dev/ttyS1"}},
                    // Never beyond port 16: ttyS0..ttyS15 win over ttyS16..ttyS31.
                    OrderRow{NumberedDevices("/dev/ttyS", 0, 31), NumberedDevices("/dev/ttyS", 0, 15)}));

TEST(PortMapExplicit, SetReplacesAndEmptyRemoves)
{
    PortMap map = PortMap::Single(4, "/dev/a");
    EXPECT_EQ(map.Ports(), std::vector<int>{4});
    map.Set(4, "/dev/b");
    map.Set(9, "/dev/c");
    EXPECT_EQ(map.DeviceFor(4), "/dev/b");
    map.Set(4, "");
    EXPECT_EQ(map.Ports(), std::vector<int>{9});
}

TEST(PortMapExplicit, PortsOutsideOneToSixteenAreRefused)
{
    PortMap map;
    for (const int port : {0, -1, 17, 255}) {
        EXPECT_THROW(map.Set(port, "/dev/x"), std::out_of_range) << port;
        EXPECT_EQ(map.DeviceFor(port), std::nullopt) << port;
    }
    EXPECT_TRUE(map.Ports().empty());
}

} // namespace
