// The main window on Qt, offscreen: as built from the layout table, what the program's
// calls do (none reports anything), what the operator's acts report, timers, typing.
#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/qt/AboutBox.h"
#include "ui/qt/QtDialogWindow.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <malloc.h>
#include <set>
#include <string>
#include <vector>

namespace {

// The sink writes down what the window reports, one entry each: "clicked 1000",
// "changed 1083", "selected 1125", "timer 4", "system 16" (a window menu command),
// then lets a test act on it.
std::string Clicked(int id) { return "clicked " + std::to_string(id); }
std::string Changed(int id) { return "changed " + std::to_string(id); }
std::string Selected(int id) { return "selected " + std::to_string(id); }
std::string Tick(int id) { return "timer " + std::to_string(id); }
using Events = std::vector<std::string>;

struct RecordingSink : DialogEvents {
    void OnCommand(int id, Notify n) override
    {
        Report(n == Notify::Clicked ? Clicked(id) : n == Notify::EditChange ? Changed(id) : Selected(id), id);
    }
    void OnTimer(int id) override { Report(Tick(id), id); }
    void OnSysCommand(unsigned id) override { Report("system " + std::to_string(id), int(id)); }
    void Report(std::string event, int id)
    {
        events.push_back(std::move(event));
        if (then)
            then(id);
    }
    int Count(const std::string& e) const { return int(std::count(events.begin(), events.end(), e)); }

    Events events;
    std::function<void(int id)> then;
};

class WindowTest : public testing::Test {
protected:
    void SetUp() override
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    template <class T>
    T* W(int id)
    {
        T* w = qobject_cast<T*>(window.Widget(id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }

    RecordingSink sink;
    QtDialogWindow window{MainDialogLayout(), sink};
};

TEST_F(WindowTest, FrameTitleFixedSizeInDialogUnitsTenModulesAndTheWarning)
{
    EXPECT_EQ(window.windowTitle(), "Dravel HART Communication Tool (Ver1.0)");
    EXPECT_FALSE(window.windowIcon().isNull());
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_EQ(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Window);  // its own task bar entry
    // Base units from the window's font: its line height, its average letter width.
    const DialogUnits& u = window.Units();
    const QFontMetrics fm(window.font());
    EXPECT_EQ(u.baseY, fm.height());
    EXPECT_LE(std::abs(52 * u.baseX - fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")),
              52);
    EXPECT_EQ(window.size(), QSize((556 * u.baseX + 2) / 4, (351 * u.baseY + 4) / 8));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    // Each place and extent rounds half away from zero: 19.5 -> 20, 379.5 -> 380, 76.5 -> 77.
    EXPECT_EQ((DialogUnits{6, 12}.Rect({13, 253, 51, 64})), QRect(20, 380, 77, 96));
    QStringList titles;
    for (auto* g : window.findChildren<QGroupBox*>())
        titles << g->title();
    EXPECT_TRUE(titles.size() == 10 && titles.contains("Module 10 - Specific Settings"));
    const auto texts = window.findChildren<QLabel*>();
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(),
                            [](QLabel* l) { return l->text() == "Need proper pressure!!!" && l->isVisible(); }),
              1);
}

TEST_F(WindowTest, EveryControlOnceWithItsKindAndInitialState)
{
    std::set<int> ids;
    for (const ControlSpec& c : MainDialogLayout().controls) {
        if (c.id == IDC_STATIC)
            continue;
        SCOPED_TRACE(c.id);
        EXPECT_TRUE(ids.insert(c.id).second) << "listed twice";
        QWidget* w = window.Widget(c.id);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->isEnabled(), c.enabled);
        EXPECT_EQ(w->isVisible(), c.id != IDC_COMM && c.id != IDOK);  // only those two unseen
        const QRect r = window.Units().Rect(c.rect);                  // a combo box shows one line of its list
        EXPECT_EQ(w->geometry(),
                  c.kind == ControlKind::ComboBox ? r.adjusted(0, 0, 0, window.Units().Y(14) - r.height()) : r);
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            EXPECT_EQ(window.GetText(c.id), std::string(c.caption));
            EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()), b->width()) << "the caption fits";
        }
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            EXPECT_EQ(edit->isReadOnly(), c.kind == ControlKind::ReadOnlyEdit);
            EXPECT_TRUE(edit->text().isEmpty());
            EXPECT_EQ(bool(edit->alignment() & Qt::AlignHCenter), bool(c.style & kStyleCentered));
        }
        if (auto* combo = qobject_cast<QComboBox*>(w)) {
            EXPECT_FALSE(combo->isEditable());
            EXPECT_EQ(combo->currentIndex(), -1);
            ASSERT_EQ(combo->count(), int(c.entries.size()));
            for (int i = 0; i < combo->count(); ++i)
                EXPECT_EQ(window.ComboGetText(c.id, i), std::string(c.entries[size_t(i)]));
        }
        EXPECT_EQ(c.kind == ControlKind::Button, qobject_cast<QPushButton*>(w) != nullptr);
    }
}

// Every label shows its whole text, covers no control and stands inside
// exactly one group box.
TEST_F(WindowTest, LabelsAreLegible)
{
    const auto groups = window.findChildren<QGroupBox*>();
    int labels = 0;
    for (const ControlSpec& c : MainDialogLayout().controls)
        for (QLabel* label : {window.Label(c.id), window.UnitLabel(c.id)}) {
            if (!label)
                continue;
            ++labels;
            const QRect r = label->geometry();
            EXPECT_EQ(label->text().toStdString(), label == window.Label(c.id) ? c.label : c.unitLabel);
            EXPECT_TRUE(label->isVisible());
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), r.width()) << c.id;
            EXPECT_GE(r.height(), label->fontMetrics().height()) << c.id;
            for (const ControlSpec& other : MainDialogLayout().controls) {
                const QWidget* w = window.Widget(other.id);
                EXPECT_FALSE(w && w->isVisible() && r.intersects(w->geometry())) << c.id << " covers " << other.id;
            }
            EXPECT_EQ(std::count_if(groups.begin(), groups.end(), [&](auto* g) { return g->geometry().contains(r); }),
                      1)
                << c.id;
        }
    EXPECT_EQ(labels, 32);  // 31 field labels and the unit "s"
}

TEST_F(WindowTest, AboutBoxRunsModallyUntilItsButton)
{
    QString seen;
    QTimer::singleShot(0, &window, [&] {
        auto* about = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
        if (!about || !about->OkButton())
            return;
        seen = about->windowTitle() + " | " + about->OkButton()->text();
        for (auto* l : about->findChildren<QLabel*>())
            seen += " | " + (l->pixmap().isNull() ? l->text() : "icon");
        QTest::mouseClick(about->OkButton(), Qt::LeftButton);
    });
    window.RunAboutBox();
    EXPECT_EQ(seen, QString::fromUtf8("关于 Tamsel | 确定 | icon | Tamsel 1.0 版"));
}

// An X11 window looks up its icon's pixmaps when shown, and Qt caches each
// pixmap it hands out; the offscreen platform shows no icons, so the test
// looks them up as X11 would.
TEST_F(WindowTest, AboutBoxOpenedThreeHundredTimesKeepsTheHeapUnderAMegabyte)
{
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "mallinfo2 does not count AddressSanitizer's heap";
#endif
    const auto openAndClose = [this] {
        QTimer::singleShot(0, &window, [] {
            auto* about = qobject_cast<AboutBox*>(QApplication::activeModalWidget());
            ASSERT_NE(about, nullptr);
            const QIcon icon = about->windowIcon();
            for (const QSize& size : icon.availableSizes())
                EXPECT_FALSE(icon.pixmap(size).isNull());
            about->accept();
        });
        window.RunAboutBox();
    };
    openAndClose();  // the first box loads fonts and styles for good
    const size_t before = mallinfo2().uordblks;
    for (int i = 0; i < 300; ++i)
        openAndClose();
    const size_t after = mallinfo2().uordblks;
    EXPECT_LT(after, before + (1u << 20)) << (after - before) / 1024 << " KB more";
}

TEST_F(WindowTest, ProgramCallsOnListsCaptionsAndStatesReportNothing)
{
    EXPECT_EQ(window.ComboAddString(IDC_PORT_LIST, "COM1") + window.ComboAddString(IDC_PORT_LIST, "COM3"), 1);
    window.ComboSetItemData(IDC_PORT_LIST, 1, 7);
    EXPECT_EQ(window.ComboGetCurSel(IDC_PORT_LIST), -1) << "filling selects nothing";
    EXPECT_EQ(window.ComboGetItemData(IDC_PORT_LIST, 0) + window.ComboGetItemData(IDC_PORT_LIST, 1), 7) << "0 unset";
    EXPECT_EQ(window.ComboGetItemData(IDC_PORT_LIST, -1), -1);
    window.ComboSetCurSel(IDC_DISPLAY, 1);
    EXPECT_EQ(window.GetText(IDC_DISPLAY), "Percent of R.");
    window.ComboSetCurSel(IDC_DISPLAY, 9);  // out of range clears it
    window.ComboResetContent(IDC_UNIT_LIST);
    EXPECT_EQ(window.ComboGetCurSel(IDC_DISPLAY) + window.ComboGetCount(IDC_UNIT_LIST), -1);

    auto* log = W<QListWidget>(IDC_LOG);
    for (int i = 0; i < 31; ++i)
        window.ListAddString(IDC_LOG, "entry " + std::to_string(i));
    window.ListSetCurSel(IDC_LOG, 30);
    window.ListSetCurSel(IDC_LOG, -1);
    EXPECT_EQ(window.ListGetCurSel(IDC_LOG), -1);
    EXPECT_TRUE(log->viewport()->rect().contains(log->visualItemRect(log->item(30)).center())) << "in view";
    window.ListDeleteString(IDC_LOG, 0);
    EXPECT_EQ(window.ListGetText(IDC_LOG, 0), "entry 1");

    window.SetText(IDC_OPEN_COM, "Close Com");
    window.Enable(IDC_SEARCH_COM, false);
    window.Enable(IDC_SET_TAG, true);
    EXPECT_EQ(W<QPushButton>(IDC_OPEN_COM)->text(), "Close Com");
    EXPECT_TRUE(!W<QPushButton>(IDC_SEARCH_COM)->isEnabled() && window.IsEnabled(IDC_SET_TAG));
    EXPECT_TRUE(sink.events.empty());
}

// Every change of an edit's text is reported inside SetText, the new text in
// place; a combo box reports only the operator's selection, a button only the
// operator's click while enabled. Each radio button is a group of its own: a
// click checks it, never unchecks it, and leaves the others to the dialog.
TEST_F(WindowTest, ReportsFollowTheNotificationRules)
{
    std::string seen;
    sink.then = [&](int id) { seen += window.GetText(id) + ";"; };
    window.SetText(IDC_TAG, "PT-101");
    window.SetText(IDC_TAG, "PT-101");   // unchanged
    window.SetText(IDC_PV, "1.234");     // display field
    window.SetText(IDC_DAMPING, "0.5");  // disabled
    window.ComboSetCurSel(IDC_ALARM, 1);
    window.SetCheck(IDC_STATUS, 1);
    window.SetCheck(IDC_STATUS, 0);
    QTest::keyClick(W<QComboBox>(IDC_TRANS_FUNC), Qt::Key_Down);         // disabled
    QTest::mouseClick(W<QPushButton>(IDC_OPEN_COM), Qt::LeftButton);     // disabled
    QTest::mouseClick(W<QRadioButton>(IDC_BURST_CMD1), Qt::LeftButton);  // disabled
    QTest::keyClick(W<QComboBox>(IDC_ALARM), Qt::Key_Down);
    QTest::mouseClick(W<QPushButton>(IDC_SEARCH_COM), Qt::LeftButton);
    QTest::mouseClick(W<QRadioButton>(IDC_STATUS), Qt::LeftButton);
    QTest::mouseClick(W<QRadioButton>(IDC_STATUS), Qt::LeftButton);
    window.Enable(IDC_BURST_CMD1, true);
    QTest::mouseClick(W<QRadioButton>(IDC_BURST_CMD1), Qt::LeftButton);
    EXPECT_EQ(sink.events,
              (Events{Changed(IDC_TAG), Changed(IDC_TAG), Changed(IDC_PV), Changed(IDC_DAMPING), Selected(IDC_ALARM),
                      Clicked(IDC_SEARCH_COM), Clicked(IDC_STATUS), Clicked(IDC_STATUS), Clicked(IDC_BURST_CMD1)}));
    EXPECT_EQ(seen, "PT-101;PT-101;1.234;0.5;Keep Last;Search Com;Status;Status;Cmd 1;");
    EXPECT_EQ(window.ComboGetCurSel(IDC_TRANS_FUNC), -1);
    EXPECT_EQ(window.GetCheck(IDC_STATUS) + window.GetCheck(IDC_BURST_CMD1), 2);
}

// Esc, the close box, "Exit" and the window menu's close report Cancel and
// leave closing to the dialog; Enter reports OK unless a button has the focus.
TEST_F(WindowTest, KeysCloseBoxAndWindowMenuReportCommands)
{
    window.Enable(IDC_TAG, true);
    QTest::keyClick(&window, Qt::Key_Escape);
    window.close();
    QTest::mouseClick(W<QPushButton>(IDCANCEL), Qt::LeftButton);
    QTest::keyClick(W<QLineEdit>(IDC_TAG), Qt::Key_Return);
    QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(W<QPushButton>(IDC_SEARCH_COM), Qt::Key_Return);
    window.AppendSystemMenuItem(IDM_ABOUTBOX, "关于 Tamsel(&A)...");
    const auto menu = window.CreateWindowMenu();
    for (QAction* a : menu->actions())
        if (a->text() == "关于 Tamsel(&A)..." || a->text() == "关闭(&C)")
            a->trigger();
    EXPECT_EQ(sink.events, (Events{Clicked(IDCANCEL), Clicked(IDCANCEL), Clicked(IDCANCEL), Clicked(IDOK),
                                   Clicked(IDOK), Clicked(IDC_SEARCH_COM), Clicked(IDCANCEL), "system 16"}));
    EXPECT_TRUE(window.isVisible());
    sink.then = [&](int id) { window.EndDialog(id); };
    QTimer::singleShot(0, &window, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
    EXPECT_EQ(window.exec(), IDCANCEL);
}

// Real time, bounded waits, short intervals.
TEST_F(WindowTest, TimersArePreciseAndTickUntilKilled)
{
    window.SetTimer(4, 15);
    window.SetTimer(6, 1000);
    EXPECT_EQ(window.findChild<QTimer*>()->timerType(), Qt::PreciseTimer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.Count(Tick(4)) >= 3; }, 3000));
    window.KillTimer(4);
    window.KillTimer(3);  // never armed: nothing happens
    EXPECT_TRUE(!window.IsTimerActive(4) && window.IsTimerActive(6));
    const int fired = sink.Count(Tick(4));
    window.SetTimer(5, 45);  // a yardstick: three periods of the killed timer
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.Count(Tick(5)) >= 1; }, 3000));
    EXPECT_EQ(sink.Count(Tick(4)), fired);
}

TEST_F(WindowTest, ATimerKilledInItsOwnTickTicksOnce)
{
    sink.then = [&](int id) { id == 2 ? window.KillTimer(id) : void(); };
    window.SetTimer(2, 10);
    window.SetTimer(5, 45);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sink.Count(Tick(5)) >= 1; }, 3000));
    EXPECT_TRUE(!window.IsTimerActive(2) && sink.Count(Tick(2)) == 1);
}

TEST_F(WindowTest, RearmingATimerRestartsItsInterval)
{
    QElapsedTimer clock;
    qint64 rearmedAt = -1, firedAt = -1;
    sink.then = [&](int) { firedAt = firedAt < 0 ? clock.elapsed() : firedAt; };
    clock.start();
    window.SetTimer(9, 300);
    QTimer::singleShot(100, &window, [&] { window.SetTimer(9, 300), rearmedAt = clock.elapsed(); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return firedAt >= 0; }, 3000));
    ASSERT_TRUE(rearmedAt >= 0 && rearmedAt < 300) << "the machine was too busy to re-arm in time";
    EXPECT_GE(firedAt, rearmedAt + 295);
}

// The text limit holds typing and pasting only; every accepted keystroke is
// reported, a refused one stays silent; typed text reaches the dialog as UTF-8.
TEST_F(WindowTest, TypingKeepsWhatFitsAndReportsEachChange)
{
    const struct {
        const char* name;
        int id, limit;
        const char* written;      // by the program first, never cut
        int selFrom, selLen;      // -1: cursor at the end
        const char *keys, *want;  // '\b' is Backspace
        int reports;
    } rows[] = {{"StopsAtTheLimit", IDC_TAG, 8, "", -1, 0, "ABCDEFGHIJ", "ABCDEFGH", 8},
                {"OverlongOnlyShortens", IDC_TAG, 3, "abcdefgh", -1, 0, "x\by", "abcdefg", 1},
                {"OverASelection", IDC_TAG, 3, "abc", 1, 1, "Z", "aZc", 1},
                {"UpperCase", IDC_POLL_ADDR, 2, "", -1, 0, "a1f", "A1", 2},
                {"OutsideAscii", IDC_TAG, 8, "", -1, 0, "T\xC3\x84G\xE6\xB5\x8B", "T\xC3\x84G\xE6\xB5\x8B", 4}};
    std::vector<std::string> reported;
    sink.then = [&](int id) { reported.push_back(window.GetText(id)); };
    for (const auto& t : rows) {
        SCOPED_TRACE(t.name);
        window.Enable(t.id, true);
        window.SetLimitText(t.id, t.limit);
        window.SetText(t.id, t.written);
        auto* edit = W<QLineEdit>(t.id);
        t.selFrom >= 0 ? edit->setSelection(t.selFrom, t.selLen) : edit->end(false);
        reported.clear();
        for (const QChar ch : QString::fromUtf8(t.keys))
            QTest::sendKeyEvent(QTest::Click, edit, ch == '\b' ? Qt::Key_Backspace : Qt::Key_unknown, QString(ch),
                                Qt::NoModifier);
        EXPECT_EQ(window.GetText(t.id), t.want);
        EXPECT_EQ(int(reported.size()), t.reports);
        for (const std::string& text : reported)  // the upper-case field never shows lower case
            EXPECT_TRUE(t.id != IDC_POLL_ADDR || QString::fromStdString(text).isUpper()) << text;
    }
    window.SetLimitText(IDC_TAG, 4);
    window.SetText(IDC_TAG, "ab");
    QApplication::clipboard()->setText("12345");
    W<QLineEdit>(IDC_TAG)->paste();
    EXPECT_EQ(window.GetText(IDC_TAG), "ab12");
}

// A field that does not scroll takes typing up to its edge.
TEST_F(WindowTest, AFieldWithoutScrollingStopsAtItsEdge)
{
    window.Enable(IDC_TRIM_UPPER, true);
    auto* edit = W<QLineEdit>(IDC_TRIM_UPPER);
    QTest::keyClicks(edit, QString(40, QChar('W')));
    EXPECT_TRUE(edit->text().size() > 0 && edit->text().size() < 40);
    EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width());
}

}  // namespace
