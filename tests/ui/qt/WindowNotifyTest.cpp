// What the window reports to the dialog object, and when it stays silent.
#include "WindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

using Events = std::vector<Event>;

TEST_F(WindowTest, ProgramWriteReportsEditChangeInsideSetText) {
    std::string seen;
    sink.onCommand = [&](int id, Notify n) {
        if (id == IDC_TAG && n == Notify::EditChange) seen = window.GetText(IDC_TAG);
    };
    window.SetText(IDC_TAG, "PT-101");
    EXPECT_EQ(sink.events, (Events{Cmd(IDC_TAG, Notify::EditChange)}));
    EXPECT_EQ(seen, "PT-101");  // the new text is in place when the sink hears of it
}

TEST_F(WindowTest, WritingTheSameTextAgainStillReports) {
    window.SetText(IDC_MESSAGE, "same");
    window.SetText(IDC_MESSAGE, "same");
    EXPECT_EQ(sink.Count(Cmd(IDC_MESSAGE, Notify::EditChange)), 2);
}

TEST_F(WindowTest, DisplayFieldsAndDisabledEditsReportProgramWritesToo) {
    window.SetText(IDC_PV, "1.234");
    window.SetText(IDC_DAMPING, "0.5");  // disabled
    EXPECT_EQ(sink.events,
              (Events{Cmd(IDC_PV, Notify::EditChange), Cmd(IDC_DAMPING, Notify::EditChange)}));
}

TEST_F(WindowTest, OperatorTypingReportsEachChange) {
    window.Enable(IDC_DESCRIPTOR, true);
    QTest::keyClicks(W<QLineEdit>(IDC_DESCRIPTOR), "abc");
    EXPECT_EQ(sink.Count(Cmd(IDC_DESCRIPTOR, Notify::EditChange)), 3);
    EXPECT_EQ(window.GetText(IDC_DESCRIPTOR), "abc");
}

TEST_F(WindowTest, DisabledEditTakesNoTyping) {
    QTest::keyClicks(W<QLineEdit>(IDC_RANGE_UPPER), "12");
    EXPECT_EQ(window.GetText(IDC_RANGE_UPPER), "");
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, TypedLettersOfThePollingAddressAreUpperCase) {
    window.Enable(IDC_POLL_ADDR, true);
    window.SetLimitText(IDC_POLL_ADDR, 2);
    QTest::keyClicks(W<QLineEdit>(IDC_POLL_ADDR), "a1f");
    EXPECT_EQ(window.GetText(IDC_POLL_ADDR), "A1");
}

TEST_F(WindowTest, TextLimitHoldsTypingOnly) {
    window.Enable(IDC_TAG, true);
    window.SetLimitText(IDC_TAG, 8);
    auto* tag = W<QLineEdit>(IDC_TAG);
    QTest::keyClicks(tag, "ABCDEFGHIJ");
    EXPECT_EQ(window.GetText(IDC_TAG), "ABCDEFGH");
    EXPECT_EQ(sink.Count(Cmd(IDC_TAG, Notify::EditChange)), 8);
    window.SetText(IDC_TAG, "0123456789AB");
    EXPECT_EQ(window.GetText(IDC_TAG), "0123456789AB");
    tag->end(false);
    QTest::keyClicks(tag, "Z");
    EXPECT_EQ(window.GetText(IDC_TAG), "0123456789AB");
}

TEST_F(WindowTest, ProgramSelectionIsSilentOperatorSelectionReports) {
    window.ComboSetCurSel(IDC_ALARM, 1);
    EXPECT_EQ(window.ComboGetCurSel(IDC_ALARM), 1);
    EXPECT_TRUE(sink.events.empty());
    QTest::keyClick(W<QComboBox>(IDC_ALARM), Qt::Key_Down);
    EXPECT_EQ(window.ComboGetCurSel(IDC_ALARM), 2);
    EXPECT_EQ(sink.events, (Events{Cmd(IDC_ALARM, Notify::SelChange)}));
}

TEST_F(WindowTest, DisabledComboTakesNoSelection) {
    QTest::keyClick(W<QComboBox>(IDC_TRANS_FUNC), Qt::Key_Down);
    EXPECT_EQ(window.ComboGetCurSel(IDC_TRANS_FUNC), -1);
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, EnabledButtonReportsClickDisabledOneDoesNot) {
    QTest::mouseClick(W<QPushButton>(IDC_SEARCH_COM), Qt::LeftButton);
    QTest::mouseClick(W<QPushButton>(IDC_OPEN_COM), Qt::LeftButton);
    EXPECT_EQ(sink.events, (Events{Cmd(IDC_SEARCH_COM, Notify::Clicked)}));
    window.Enable(IDC_OPEN_COM, true);
    QTest::mouseClick(W<QPushButton>(IDC_OPEN_COM), Qt::LeftButton);
    EXPECT_EQ(sink.Count(Cmd(IDC_OPEN_COM, Notify::Clicked)), 1);
}

TEST_F(WindowTest, RadioClickAlwaysChecks) {
    auto* status = W<QRadioButton>(IDC_STATUS);
    QTest::mouseClick(status, Qt::LeftButton);
    EXPECT_EQ(window.GetCheck(IDC_STATUS), 1);
    QTest::mouseClick(status, Qt::LeftButton);
    EXPECT_EQ(window.GetCheck(IDC_STATUS), 1);  // a click never unchecks
    EXPECT_EQ(sink.Count(Cmd(IDC_STATUS, Notify::Clicked)), 2);
}

TEST_F(WindowTest, RadiosAreGroupsOfTheirOwn) {
    for (int id : {IDC_BURST_CMD1, IDC_BURST_CMD2, IDC_BURST_CMD3}) window.Enable(id, true);
    QTest::mouseClick(W<QRadioButton>(IDC_BURST_CMD1), Qt::LeftButton);
    QTest::mouseClick(W<QRadioButton>(IDC_BURST_CMD2), Qt::LeftButton);
    EXPECT_EQ(window.GetCheck(IDC_BURST_CMD1), 1);  // unchecking is the dialog's business
    EXPECT_EQ(window.GetCheck(IDC_BURST_CMD2), 1);
}

TEST_F(WindowTest, ProgramCheckIsSilentAndDisabledRadioIgnoresClicks) {
    window.SetCheck(IDC_STATUS, 1);
    window.SetCheck(IDC_STATUS, 0);
    QTest::mouseClick(W<QRadioButton>(IDC_BURST_CMD1), Qt::LeftButton);
    EXPECT_EQ(window.GetCheck(IDC_BURST_CMD1), 0);
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, EscAndCloseAndExitReportCancelAndLeaveClosingToTheDialog) {
    QTest::keyClick(&window, Qt::Key_Escape);
    window.close();
    QTest::mouseClick(W<QPushButton>(IDCANCEL), Qt::LeftButton);
    EXPECT_EQ(sink.events, (Events{Cmd(IDCANCEL, Notify::Clicked), Cmd(IDCANCEL, Notify::Clicked),
                                   Cmd(IDCANCEL, Notify::Clicked)}));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowTest, EnterInAFieldReportsOkAndTheWindowStays) {
    window.Enable(IDC_TAG, true);
    QTest::keyClick(W<QLineEdit>(IDC_TAG), Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(sink.events, (Events{Cmd(IDOK, Notify::Clicked), Cmd(IDOK, Notify::Clicked)}));
    EXPECT_TRUE(window.isVisible());
}

TEST_F(WindowTest, EnterOnAFocusedButtonPressesThatButton) {
    QTest::keyClick(W<QPushButton>(IDC_SEARCH_COM), Qt::Key_Return);
    EXPECT_EQ(sink.events, (Events{Cmd(IDC_SEARCH_COM, Notify::Clicked)}));
}

TEST_F(WindowTest, EndDialogEndsTheModalRunWithItsResult) {
    sink.onCommand = [&](int id, Notify) {
        if (id == IDCANCEL) window.EndDialog(IDCANCEL);
    };
    QTimer::singleShot(0, &window, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
    EXPECT_EQ(window.exec(), IDCANCEL);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(WindowTest, WindowMenuCarriesAppendedItems) {
    window.AppendSystemMenuItem(IDM_ABOUTBOX, LoadResourceString(IDS_ABOUTBOX));
    const auto menu = window.CreateWindowMenu();
    QAction* about = nullptr;
    QAction* close = nullptr;
    for (QAction* a : menu->actions()) {
        if (a->text() == QString::fromUtf8("关于 Tamsel(&A)...")) about = a;
        if (a->text().startsWith(QString::fromUtf8("关闭"))) close = a;
    }
    ASSERT_TRUE(about);
    ASSERT_TRUE(close);
    about->trigger();
    close->trigger();
    EXPECT_EQ(sink.events, (Events{Sys(IDM_ABOUTBOX), Cmd(IDCANCEL, Notify::Clicked)}));
}

}  // namespace
