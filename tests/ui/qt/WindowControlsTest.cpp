// Lists, captions, states and the About box, reached by id. None of these
// program calls may report anything.
#include "WindowFixture.h"

#include "ui/qt/AboutBox.h"
#include "ui/qt/DialogUnits.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

TEST_F(WindowTest, ComboEntriesDataAndSelection)
{
    EXPECT_EQ(window.ComboAddString(IDC_PORT_LIST, "COM1"), 0);
    EXPECT_EQ(window.ComboAddString(IDC_PORT_LIST, "COM3"), 1);
    EXPECT_EQ(window.ComboGetCurSel(IDC_PORT_LIST), -1);  // filling selects nothing
    EXPECT_EQ(window.ComboGetText(IDC_PORT_LIST, 1), "COM3");
    EXPECT_EQ(window.ComboGetText(IDC_PORT_LIST, -1), "");
    EXPECT_EQ(window.ComboGetItemData(IDC_PORT_LIST, 1), 0);  // 0 until set
    window.ComboSetItemData(IDC_PORT_LIST, 1, 7);
    window.ComboSetItemData(IDC_PORT_LIST, 5, 9);  // no such entry: ignored
    EXPECT_EQ(window.ComboGetItemData(IDC_PORT_LIST, 1), 7);
    EXPECT_EQ(window.ComboGetItemData(IDC_PORT_LIST, 2), -1);

    window.ComboSetCurSel(IDC_DISPLAY, 1);
    window.ComboAddString(IDC_DISPLAY, "extra");  // keeps the selection
    EXPECT_EQ(window.GetText(IDC_DISPLAY), "Percent of R.");
    window.ComboSetCurSel(IDC_DISPLAY, 4);  // out of range clears it
    EXPECT_EQ(window.ComboGetCurSel(IDC_DISPLAY), -1);
    window.ComboSetCurSel(IDC_UNIT_LIST, 4);
    window.ComboResetContent(IDC_UNIT_LIST);
    EXPECT_EQ(window.ComboGetCount(IDC_UNIT_LIST), 0);
    EXPECT_EQ(window.ComboGetCurSel(IDC_UNIT_LIST), -1);
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, LogAppendsSelectsDeletesAndShowsTheSelection)
{
    auto* log = W<QListWidget>(IDC_LOG);
    for (int i = 0; i < 30; ++i)
        window.ListAddString(IDC_LOG, "entry " + std::to_string(i));
    EXPECT_EQ(window.ListAddString(IDC_LOG, "last"), 30);
    window.ListSetCurSel(IDC_LOG, 30);
    EXPECT_EQ(window.ListGetCurSel(IDC_LOG), 30);
    window.ListSetCurSel(IDC_LOG, -1);
    EXPECT_EQ(window.ListGetCurSel(IDC_LOG), -1);
    EXPECT_TRUE(log->viewport()->rect().contains(log->visualItemRect(log->item(30)).center()));
    window.ListDeleteString(IDC_LOG, 0);
    window.ListDeleteString(IDC_LOG, 99);  // no such entry: ignored
    EXPECT_EQ(window.ListGetCount(IDC_LOG), 30);
    EXPECT_EQ(window.ListGetText(IDC_LOG, 0), "entry 1");
    EXPECT_EQ(window.ListGetText(IDC_LOG, 30), "");
    EXPECT_TRUE(sink.events.empty());
}

TEST_F(WindowTest, CaptionsAndStatesByIdAndUnknownIdsAreHarmless)
{
    window.SetText(IDC_OPEN_COM, "Close Com");
    EXPECT_EQ(W<QPushButton>(IDC_OPEN_COM)->text(), "Close Com");
    window.Enable(IDC_SEARCH_COM, false);
    window.Enable(IDC_SET_TAG, true);
    EXPECT_FALSE(W<QPushButton>(IDC_SEARCH_COM)->isEnabled());
    EXPECT_TRUE(window.IsEnabled(IDC_SET_TAG));
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

TEST_F(WindowTest, AboutBoxFromItsLayoutRunsModallyUntilItsButton)
{
    bool shown = false;
    QTimer::singleShot(0, &window, [&] {
        auto* about = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
        if (!about)
            return;
        shown = true;
        EXPECT_EQ(about->windowTitle(), QString::fromUtf8("关于 Tamsel"));
        const DialogUnits u = DialogUnits::FromFont(about->font());
        EXPECT_EQ(about->size(), QSize((235 * u.baseX + 2) / 4, (55 * u.baseY + 4) / 8));
        int texts = 0, icons = 0;
        for (auto* l : about->findChildren<QLabel*>()) {
            texts += l->text() == QString::fromUtf8("Tamsel 1.0 版");
            icons += !l->pixmap().isNull();
        }
        EXPECT_EQ(texts, 1);
        EXPECT_EQ(icons, 1);
        QPushButton* ok = about->OkButton();
        EXPECT_TRUE(ok && ok->text() == QString::fromUtf8("确定"));
        ok ? QTest::mouseClick(ok, Qt::LeftButton) : about->reject();
    });
    window.RunAboutBox();
    EXPECT_TRUE(shown);
}

}  // namespace
