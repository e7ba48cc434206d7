// What the operator can type into an edit: the text limit holds typing only,
// every accepted keystroke is reported, a refused one stays silent.
#include "WindowFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

namespace {

struct Typing {
    const char* name;
    int id;
    int limit;
    const char* written;  // by the program first, never cut
    int selFrom, selLen;  // -1: cursor at the end
    const char* keys;     // '\b' is Backspace
    const char* want;
    int reports;
};

void PrintTo(const Typing& t, std::ostream* os) { *os << t.name; }

class WindowTyping : public WindowTest, public testing::WithParamInterface<Typing> {};

TEST_P(WindowTyping, KeepsWhatFitsAndReportsEachChange)
{
    const Typing& t = GetParam();
    window.Enable(t.id, t.id != IDC_RANGE_UPPER);
    window.SetLimitText(t.id, t.limit);
    window.SetText(t.id, t.written);
    ASSERT_EQ(window.GetText(t.id), t.written);
    auto* edit = W<QLineEdit>(t.id);
    t.selFrom >= 0 ? edit->setSelection(t.selFrom, t.selLen) : edit->end(false);
    std::vector<std::string> reported;
    sink.onCommand = [&](int id, Notify) { reported.push_back(window.GetText(id)); };
    QTest::keyClicks(edit, t.keys);
    EXPECT_EQ(window.GetText(t.id), t.want);
    EXPECT_EQ(int(reported.size()), t.reports);
    for (const std::string& text : reported)  // the upper-case field never shows lower case
        EXPECT_TRUE(t.id != IDC_POLL_ADDR || QString::fromStdString(text).isUpper()) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WindowTyping,
    testing::Values(Typing{"StopsAtTheLimit", IDC_TAG, 8, "", -1, 0, "ABCDEFGHIJ", "ABCDEFGH", 8},
                    Typing{"OverlongOnlyShortens", IDC_TAG, 3, "abcdefgh", -1, 0, "x\by", "abcdefg", 1},
                    Typing{"OverASelection", IDC_TAG, 3, "abc", 1, 1, "Z", "aZc", 1},
                    Typing{"NoLimit", IDC_MESSAGE, 0, "", -1, 0, "0123456789012345678901234567890123456789",
                           "0123456789012345678901234567890123456789", 40},
                    Typing{"UpperCase", IDC_POLL_ADDR, 2, "", -1, 0, "a1f", "A1", 2},
                    Typing{"Disabled", IDC_RANGE_UPPER, 0, "", -1, 0, "12", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, PasteIsCutToWhatFits)
{
    window.Enable(IDC_TAG, true);
    window.SetLimitText(IDC_TAG, 4);
    window.SetText(IDC_TAG, "ab");
    QApplication::clipboard()->setText("12345");
    W<QLineEdit>(IDC_TAG)->paste();
    EXPECT_EQ(window.GetText(IDC_TAG), "ab12");
}

TEST_F(WindowTest, NoScrollFieldStopsAtItsRightEdgeForTypingOnly)
{
    window.Enable(IDC_TRIM_UPPER, true);
    auto* edit = W<QLineEdit>(IDC_TRIM_UPPER);
    QTest::keyClicks(edit, QString(40, QChar('W')));
    EXPECT_GT(edit->text().size(), 0);
    EXPECT_LT(edit->text().size(), 40);
    EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width());
    window.SetText(IDC_TRIM_UPPER, std::string(40, 'W'));
    EXPECT_EQ(edit->text().size(), 40);
}

}  // namespace
