// What the window reports to the dialog object, and when it stays silent.
#include "WindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

TEST_F(WindowTest, EveryProgramWriteReportsEditChangeInsideSetText)
{
    std::string seen;
    sink.onCommand = [&](int id, Notify) { seen = window.GetText(id); };
    window.SetText(IDC_TAG, "PT-101");
    EXPECT_EQ(seen, "PT-101");           // the new text is in place when the sink hears of it
    window.SetText(IDC_TAG, "PT-101");   // unchanged: still reported
    window.SetText(IDC_PV, "1.234");     // display field
    window.SetText(IDC_DAMPING, "0.5");  // disabled
    EXPECT_EQ(sink.events, (Events{Cmd(IDC_TAG, Notify::EditChange), Cmd(IDC_TAG, Notify::EditChange),
                                   Cmd(IDC_PV, Notify::EditChange), Cmd(IDC_DAMPING, Notify::EditChange)}));
}

TEST_F(WindowTest, ProgramSelectionIsSilentOperatorSelectionReports)
{
    window.ComboSetCurSel(IDC_ALARM, 1);
    EXPECT_EQ(window.ComboGetCurSel(IDC_ALARM), 1);
    QTest::keyClick(W<QComboBox>(IDC_TRANS_FUNC), Qt::Key_Down);  // disabled
    EXPECT_EQ(window.ComboGetCurSel(IDC_TRANS_FUNC), -1);
    EXPECT_TRUE(sink.events.empty());
    QTest::keyClick(W<QComboBox>(IDC_ALARM), Qt::Key_Down);
    EXPECT_EQ(window.ComboGetCurSel(IDC_ALARM), 2);
    EXPECT_EQ(sink.events, (Events{Cmd(IDC_ALARM, Notify::SelChange)}));
}

TEST_F(WindowTest, EnabledButtonReportsClickDisabledOneDoesNot)
{
    QTest::mouseClick(W<QPushButton>(IDC_SEARCH_COM), Qt::LeftButton);
    QTest::mouseClick(W<QPushButton>(IDC_OPEN_COM), Qt::LeftButton);
    EXPECT_EQ(sink.events, (Events{Cmd(IDC_SEARCH_COM, Notify::Clicked)}));
    window.Enable(IDC_OPEN_COM, true);
    QTest::mouseClick(W<QPushButton>(IDC_OPEN_COM), Qt::LeftButton);
    EXPECT_EQ(sink.Count(Cmd(IDC_OPEN_COM, Notify::Clicked)), 1);
}

TEST_F(WindowTest, RadioClickAlwaysChecksAndOnlyItself)
{
    window.SetCheck(IDC_STATUS, 1);  // the program's checks are silent
    window.SetCheck(IDC_STATUS, 0);
    QTest::mouseClick(W<QRadioButton>(IDC_BURST_CMD1), Qt::LeftButton);  // disabled
    EXPECT_EQ(window.GetCheck(IDC_BURST_CMD1), 0);
    EXPECT_TRUE(sink.events.empty());
    auto* status = W<QRadioButton>(IDC_STATUS);
    QTest::mouseClick(status, Qt::LeftButton);
    QTest::mouseClick(status, Qt::LeftButton);
    EXPECT_EQ(window.GetCheck(IDC_STATUS), 1);  // a click never unchecks
    EXPECT_EQ(sink.Count(Cmd(IDC_STATUS, Notify::Clicked)), 2);
    // Each radio is a group of its own: unchecking is the dialog's business.
    window.Enable(IDC_BURST_CMD1, true);
    window.Enable(IDC_BURST_CMD2, true);
    QTest::mouseClick(W<QRadioButton>(IDC_BURST_CMD1), Qt::LeftButton);
    QTest::mouseClick(W<QRadioButton>(IDC_BURST_CMD2), Qt::LeftButton);
    EXPECT_EQ(window.GetCheck(IDC_BURST_CMD1) + window.GetCheck(IDC_BURST_CMD2) + window.GetCheck(IDC_STATUS), 3);
}

TEST_F(WindowTest, EscCloseAndExitReportCancelAndLeaveClosingToTheDialog)
{
    QTest::keyClick(&window, Qt::Key_Escape);
    window.close();
    QTest::mouseClick(W<QPushButton>(IDCANCEL), Qt::LeftButton);
    EXPECT_EQ(sink.events, Events(3, Cmd(IDCANCEL, Notify::Clicked)));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowTest, EnterReportsOkAndTheWindowStaysButAFocusedButtonTakesIt)
{
    window.Enable(IDC_TAG, true);
    QTest::keyClick(W<QLineEdit>(IDC_TAG), Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(W<QPushButton>(IDC_SEARCH_COM), Qt::Key_Return);
    EXPECT_EQ(sink.events,
              (Events{Cmd(IDOK, Notify::Clicked), Cmd(IDOK, Notify::Clicked), Cmd(IDC_SEARCH_COM, Notify::Clicked)}));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowTest, EndDialogEndsTheModalRunWithItsResult)
{
    sink.onCommand = [&](int id, Notify) { window.EndDialog(id); };
    QTimer::singleShot(0, &window, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
    EXPECT_EQ(window.exec(), IDCANCEL);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, WindowMenuCarriesAppendedItems)
{
    window.AppendSystemMenuItem(IDM_ABOUTBOX, "关于 Tamsel(&A)...");
    const auto menu = window.CreateWindowMenu();
    const auto actions = menu->actions();
    const auto find = [&](const char* text) {
        const auto it = std::find_if(actions.begin(), actions.end(), [&](QAction* a) { return a->text() == text; });
        return it == actions.end() ? nullptr : *it;
    };
    QAction* about = find("关于 Tamsel(&A)...");
    QAction* close = find("关闭(&C)");
    ASSERT_TRUE(about && close);
    about->trigger();
    close->trigger();
    EXPECT_EQ(sink.events, (Events{Sys(IDM_ABOUTBOX), Cmd(IDCANCEL, Notify::Clicked)}));
}

}  // namespace
