// What the operator can type into an edit, and that program writes pass
// whole. Every refused keystroke must also stay silent.
#include "ui/qt/EditInputValidator.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

class EditInput : public testing::Test {
protected:
    void Make(bool upper, bool noHScroll, int limit) {
        input = new EditInputValidator(edit, upper, noHScroll);
        edit.setValidator(input);
        input->SetLimit(limit);
        edit.resize(200, 24);
    }

    QLineEdit edit;
    EditInputValidator* input = nullptr;  // owned by the edit
};

TEST_F(EditInput, TypingStopsAtTheLimit) {
    Make(false, false, 3);
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    QTest::keyClicks(&edit, "abcdef");
    EXPECT_EQ(edit.text(), "abc");
    EXPECT_EQ(changes.count(), 3);  // the refused keys changed nothing
}

TEST_F(EditInput, ProgramWriteKeepsTheWholeText) {
    Make(false, false, 3);
    input->WriteText("abcdefgh");
    EXPECT_EQ(edit.text(), "abcdefgh");
}

TEST_F(EditInput, OverlongTextTakesNoMoreTypingButCanBeShortened) {
    Make(false, false, 3);
    input->WriteText("abcdefgh");
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    edit.end(false);
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(edit.text(), "abcdefgh");
    EXPECT_EQ(changes.count(), 0);
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "abcdefg");
    QTest::keyClicks(&edit, "y");  // still over the limit: refused
    EXPECT_EQ(edit.text(), "abcdefg");
}

TEST_F(EditInput, TypingOverASelectionWithinTheLimit) {
    Make(false, false, 3);
    input->WriteText("abc");
    edit.setSelection(1, 1);
    QTest::keyClicks(&edit, "Z");
    EXPECT_EQ(edit.text(), "aZc");
}

TEST_F(EditInput, PasteIsCutToWhatFits) {
    Make(false, false, 4);
    QTest::keyClicks(&edit, "ab");
    QApplication::clipboard()->setText("12345");
    edit.paste();
    EXPECT_EQ(edit.text(), "ab12");
}

TEST_F(EditInput, NoLimitMeansAnyLength) {
    Make(false, false, 0);
    QTest::keyClicks(&edit, "0123456789012345678901234567890123456789");
    EXPECT_EQ(edit.text().size(), 40);
}

TEST_F(EditInput, UpperCaseFieldTurnsTypedLettersUp) {
    Make(true, false, 2);
    QSignalSpy changes(&edit, &QLineEdit::textChanged);
    QTest::keyClicks(&edit, "a1b");
    EXPECT_EQ(edit.text(), "A1");
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(changes.at(0).at(0).toString(), "A");  // never reported in lower case
}

TEST_F(EditInput, NoScrollFieldStopsAtItsRightEdge) {
    Make(false, true, 0);
    edit.resize(60, 24);
    QTest::keyClicks(&edit, QString(40, QChar('W')));
    EXPECT_GT(edit.text().size(), 0);
    EXPECT_LT(edit.text().size(), 40);
    EXPECT_LE(edit.fontMetrics().horizontalAdvance(edit.text()), 60);
    input->WriteText(QString(40, QChar('W')));  // the program is not stopped
    EXPECT_EQ(edit.text().size(), 40);
}

}  // namespace
