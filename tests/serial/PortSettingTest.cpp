// "Search Com" and "Open Com"/"Close Com" on the virtual serial port.
#include "dialog/ControlIds.h"
#include "ui/headless/HeadlessHost.h"

#include <gtest/gtest.h>

TEST(PortSetting, ListsPortsThatOpenInIncreasingOrder)
{
    HeadlessHost host;
    host.port.SetAvailablePorts({5, 3, 17, 0});
    ASSERT_TRUE(host.window.Click(IDC_SEARCH_COM));

    ASSERT_EQ(host.window.ComboGetCount(IDC_PORT_LIST), 2) << "ports 0 and 17 are never probed";
    EXPECT_EQ(host.window.ComboGetText(IDC_PORT_LIST, 0), "COM3");
    EXPECT_EQ(host.window.ComboGetText(IDC_PORT_LIST, 1), "COM5");
    EXPECT_EQ(host.window.ComboGetItemData(IDC_PORT_LIST, 0), 3);
    EXPECT_EQ(host.window.ComboGetItemData(IDC_PORT_LIST, 1), 5);
    EXPECT_EQ(host.window.ComboGetCurSel(IDC_PORT_LIST), 0);
    EXPECT_TRUE(host.window.IsEnabled(IDC_PORT_LIST));
    EXPECT_TRUE(host.window.IsEnabled(IDC_OPEN_COM));
    EXPECT_TRUE(host.window.IsEnabled(IDC_SEARCH_COM));
    EXPECT_FALSE(host.port.GetPortOpen()) << "probing leaves every port closed";
    EXPECT_TRUE(host.LogHistory().empty());
}

TEST(PortSetting, NoPortLeavesOpenDisabled)
{
    HeadlessHost host;
    ASSERT_TRUE(host.window.Click(IDC_SEARCH_COM));
    EXPECT_EQ(host.window.ComboGetCount(IDC_PORT_LIST), 0);
    EXPECT_FALSE(host.window.IsEnabled(IDC_OPEN_COM));
    EXPECT_FALSE(host.window.IsEnabled(IDC_PORT_LIST));
    EXPECT_TRUE(host.window.IsEnabled(IDC_SEARCH_COM));
    EXPECT_TRUE(host.LogHistory().empty());
}

TEST(PortSetting, SearchReplacesAnEarlierListAndClosesAnOpenPort)
{
    HeadlessHost host;
    host.port.SetAvailablePorts({2});
    host.window.Click(IDC_SEARCH_COM);
    host.port.SetAvailablePorts({2, 4});
    host.window.Click(IDC_SEARCH_COM);
    EXPECT_EQ(host.window.ComboGetCount(IDC_PORT_LIST), 2);

    host.port.SetCommPort(4);
    host.port.SetPortOpen(true);
    host.dlg.OnCommand(IDC_SEARCH_COM, Notify::Clicked);
    EXPECT_EQ(host.window.ComboGetCount(IDC_PORT_LIST), 2) << "the open port was closed and probed again";
}

TEST(PortSetting, OpenResetsReceiveAndEnablesConnect)
{
    HeadlessHost host;
    host.port.SetAvailablePorts({3, 5});
    host.window.Click(IDC_SEARCH_COM);
    host.window.Choose(IDC_PORT_LIST, 1);
    host.dlg.Receive().m_nRxCount = 7;
    host.dlg.Receive().m_nRxError = 2;
    host.dlg.Receive().m_bRxReady = 1;

    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_EQ(host.port.OpenPort(), 5);
    EXPECT_EQ(host.window.GetText(IDC_OPEN_COM), "Close Com");
    EXPECT_EQ(host.dlg.Receive().m_nRxCount, 0);
    EXPECT_EQ(host.dlg.Receive().m_nRxError, 0);
    EXPECT_EQ(host.dlg.Receive().m_bRxReady, 0);
    for (int id : {IDC_OPEN_COM, IDC_HART_COMM, IDC_SEARCH_ADDR})
        EXPECT_TRUE(host.window.IsEnabled(id)) << id;
    for (int id : {IDC_SEARCH_COM, IDC_PORT_LIST, IDC_POLL_ADDR, IDC_SET_ADDR, IDC_AUTO_READ})
        EXPECT_FALSE(host.window.IsEnabled(id)) << id;
}

TEST(PortSetting, FailedOpenLeavesOnlyOpenCom)
{
    HeadlessHost host;
    host.port.SetAvailablePorts({3});
    host.window.Click(IDC_SEARCH_COM);
    host.port.SetAvailablePorts({});  // taken by another program meanwhile

    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_FALSE(host.port.GetPortOpen());
    EXPECT_EQ(host.window.GetText(IDC_OPEN_COM), "Open Com");
    EXPECT_TRUE(host.window.IsEnabled(IDC_OPEN_COM));
    for (int id : {IDC_SEARCH_COM, IDC_PORT_LIST, IDC_HART_COMM, IDC_SEARCH_ADDR})
        EXPECT_FALSE(host.window.IsEnabled(id)) << id;
    EXPECT_TRUE(host.LogHistory().empty());

    host.port.SetAvailablePorts({3});
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_EQ(host.port.OpenPort(), 3) << "the same port can be tried again";
}

TEST(PortSetting, CloseGivesBackThePortListButNotTheOperations)
{
    HeadlessHost host;
    host.port.SetAvailablePorts({1});
    host.window.Click(IDC_SEARCH_COM);
    host.window.Click(IDC_OPEN_COM);
    ASSERT_TRUE(host.window.Click(IDC_OPEN_COM));
    EXPECT_FALSE(host.port.GetPortOpen());
    EXPECT_EQ(host.window.GetText(IDC_OPEN_COM), "Open Com");
    for (int id : {IDC_OPEN_COM, IDC_SEARCH_COM, IDC_PORT_LIST})
        EXPECT_TRUE(host.window.IsEnabled(id)) << id;
    for (int id : {IDC_HART_COMM, IDC_SEARCH_ADDR})
        EXPECT_FALSE(host.window.IsEnabled(id)) << id;
}
