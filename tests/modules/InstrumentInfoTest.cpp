// What the connect shows of the transmitter: names, number, sensor limits.
#include "tests/modules/Scenario.h"

using Log = std::vector<std::string>;

TEST(InstrumentInfo, UnknownCodesAndTheLargestDeviceNumber)
{
    Scenario s;
    s.device().identity.deviceType = 0x7D;
    s.device().identity.deviceId = {0xFF, 0xFF, 0xFF};
    // The request is addressed by what command 0 reported.
    s.Connect();
    EXPECT_EQ(s.window.GetText(IDC_MFR), "Fenmarks");
    EXPECT_EQ(s.window.GetText(IDC_DEV_TYPE), "Unknow");
    EXPECT_EQ(s.window.GetText(IDC_DEV_ID), "16777215");
    EXPECT_EQ(s.window.GetText(IDC_SENSOR_UPPER), "200.000 kPa") << "connecting went on";
}

TEST(InstrumentInfo, LimitsInKgPerSquareCentimetre)
{
    Scenario s;
    s.device().pvUnit = 10;
    s.device().rangeUnit = 10;
    s.Connect();
    // 200 kPa = 2.039 kg/cm2: shown with the table's five-letter name.
    EXPECT_EQ(s.window.GetText(IDC_SENSOR_UPPER).substr(5), " kg/c2");
}

TEST(InstrumentInfo, ShortReplyToCommand14IsAFailedTry)
{
    Scenario s;
    s.Fault(sim::FaultKind::kShortCount, 14);
    s.Connect();
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Communication Fail"}));
    EXPECT_EQ(s.port.Writes().size(), 4u) << "command 14 tried three times";
}

TEST(InstrumentInfo, DuringSearchOneFailedCommand14EndsTheConnect)
{
    Scenario s;
    s.device().identity.pollingAddress = 1;
    s.Fault(sim::FaultKind::kNoAnswer, 14);
    s.Run(IDC_SEARCH_ADDR);
    EXPECT_EQ(s.MessagesFrom(0), (Log{"Communication Fail"}));
    EXPECT_EQ(s.port.Writes().size(), 2u) << "command 0 at address 1, command 14 once";
    for (int id : {IDC_HART_COMM, IDC_SEARCH_ADDR, IDC_OPEN_COM})
        EXPECT_TRUE(s.window.IsEnabled(id)) << id;
}
