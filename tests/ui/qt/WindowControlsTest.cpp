// Lists, captions, states and the About box, reached by id.
#include "WindowFixture.h"

#include "ui/qt/AboutBox.h"
#include "ui/qt/DialogUnits.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

TEST_F(WindowTest, FillingAnEmptyComboLeavesItUnselected) {
    EXPECT_EQ(window.ComboAddString(IDC_PORT_LIST, "COM1"), 0);
    EXPECT_EQ(window.ComboAddString(IDC_PORT_LIST, "COM3"), 1);
    EXPECT_EQ(window.ComboGetCount(IDC_PORT_LIST), 2);
    EXPECT_EQ(window.ComboGetCurSel(IDC_PORT_LIST), -1);
    EXPECT_EQ(window.ComboGetText(IDC_PORT_LIST, 1), "COM3");
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, AddingKeepsTheSelection) {
    window.ComboSetCurSel(IDC_DISPLAY, 1);
    window.ComboAddString(IDC_DISPLAY, "extra");
    EXPECT_EQ(window.ComboGetCurSel(IDC_DISPLAY), 1);
    EXPECT_EQ(window.GetText(IDC_DISPLAY), "Percent of R.");
}

TEST_F(WindowTest, ComboItemDataStartsAtZeroAndOutOfRangeReadsMinusOne) {
    window.ComboAddString(IDC_PORT_LIST, "COM7");
    EXPECT_EQ(window.ComboGetItemData(IDC_PORT_LIST, 0), 0);
    window.ComboSetItemData(IDC_PORT_LIST, 0, 7);
    window.ComboSetItemData(IDC_PORT_LIST, 5, 9);  // no such entry: ignored
    EXPECT_EQ(window.ComboGetItemData(IDC_PORT_LIST, 0), 7);
    EXPECT_EQ(window.ComboGetItemData(IDC_PORT_LIST, 1), -1);
    EXPECT_EQ(window.ComboGetText(IDC_PORT_LIST, -1), "");
}

TEST_F(WindowTest, ComboSelectionOutOfRangeClearsIt) {
    window.ComboSetCurSel(IDC_ALARM, 2);
    window.ComboSetCurSel(IDC_ALARM, 3);
    EXPECT_EQ(window.ComboGetCurSel(IDC_ALARM), -1);
    window.ComboSetCurSel(IDC_ALARM, 0);
    window.ComboSetCurSel(IDC_ALARM, -1);
    EXPECT_EQ(window.ComboGetCurSel(IDC_ALARM), -1);
}

TEST_F(WindowTest, ResetEmptiesTheCombo) {
    window.ComboSetCurSel(IDC_UNIT_LIST, 4);
    window.ComboResetContent(IDC_UNIT_LIST);
    EXPECT_EQ(window.ComboGetCount(IDC_UNIT_LIST), 0);
    EXPECT_EQ(window.ComboGetCurSel(IDC_UNIT_LIST), -1);
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, LogAppendsSelectsAndDeletes) {
    for (const char* s : {"a", "b", "c"}) window.ListAddString(IDC_LOG, s);
    EXPECT_EQ(window.ListAddString(IDC_LOG, "d"), 3);
    window.ListSetCurSel(IDC_LOG, 3);
    EXPECT_EQ(window.ListGetCurSel(IDC_LOG), 3);
    window.ListSetCurSel(IDC_LOG, -1);
    EXPECT_EQ(window.ListGetCurSel(IDC_LOG), -1);
    window.ListDeleteString(IDC_LOG, 0);
    window.ListDeleteString(IDC_LOG, 9);  // no such entry: ignored
    EXPECT_EQ(window.ListGetCount(IDC_LOG), 3);
    EXPECT_EQ(window.ListGetText(IDC_LOG, 0), "b");
    EXPECT_EQ(window.ListGetText(IDC_LOG, 3), "");
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, SelectingTheNewestLogEntryScrollsItIntoView) {
    auto* log = W<QListWidget>(IDC_LOG);
    for (int i = 0; i < 30; ++i) window.ListAddString(IDC_LOG, "entry " + std::to_string(i));
    window.ListSetCurSel(IDC_LOG, 29);
    window.ListSetCurSel(IDC_LOG, -1);
    const QRect item = log->visualItemRect(log->item(29));
    EXPECT_TRUE(log->viewport()->rect().contains(item.center()));
}

TEST_F(WindowTest, ButtonCaptionCanBeRewritten) {
    window.SetText(IDC_OPEN_COM, "Close Com");
    EXPECT_EQ(window.GetText(IDC_OPEN_COM), "Close Com");
    EXPECT_EQ(W<QPushButton>(IDC_OPEN_COM)->text(), "Close Com");
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, EnableAndDisableById) {
    window.Enable(IDC_SEARCH_COM, false);
    window.Enable(IDC_SET_TAG, true);
    EXPECT_FALSE(window.IsEnabled(IDC_SEARCH_COM));
    EXPECT_TRUE(window.IsEnabled(IDC_SET_TAG));
    EXPECT_TRUE(W<QPushButton>(IDC_SET_TAG)->isEnabled());
}

TEST_F(WindowTest, UnknownIdsAreHarmless) {
    window.SetText(4711, "x");
    window.Enable(4711, true);
    window.SetLimitText(IDC_SEARCH_COM, 3);
    EXPECT_EQ(window.GetText(4711), "");
    EXPECT_FALSE(window.IsEnabled(4711));
    EXPECT_EQ(window.GetCheck(IDC_SEARCH_COM), 0);
    EXPECT_EQ(window.ComboGetCurSel(IDC_LOG), -1);
    EXPECT_EQ(window.ListGetCount(IDC_PORT_LIST), 0);
    EXPECT_TRUE(sink.events.empty());
}

TEST(AboutBoxTest, BuiltFromItsLayout) {
    AboutBox about;
    EXPECT_EQ(about.windowTitle(), QString::fromUtf8("关于 Tamsel"));
    const DialogUnits u = DialogUnits::FromFont(about.font());
    EXPECT_EQ(about.size(), QSize((235 * u.baseX + 2) / 4, (55 * u.baseY + 4) / 8));
    ASSERT_TRUE(about.OkButton());
    EXPECT_EQ(about.OkButton()->text(), QString::fromUtf8("确定"));
    int texts = 0, icons = 0;
    for (auto* l : about.findChildren<QLabel*>()) {
        texts += l->text() == QString::fromUtf8("Tamsel 1.0 版");
        icons += !l->pixmap().isNull();
    }
    EXPECT_EQ(texts, 1);
    EXPECT_EQ(icons, 1);
}

TEST(AboutBoxTest, ButtonClosesIt) {
    AboutBox about;
    QTimer::singleShot(0, &about, [&] { QTest::mouseClick(about.OkButton(), Qt::LeftButton); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

TEST_F(WindowTest, AboutBoxRunsModallyOverTheWindow) {
    bool shown = false;
    QTimer::singleShot(0, &window, [&] {
        auto* box = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
        shown = box != nullptr;
        if (box) box->OkButton()->click();
    });
    window.RunAboutBox();
    EXPECT_TRUE(shown);
}

}  // namespace
