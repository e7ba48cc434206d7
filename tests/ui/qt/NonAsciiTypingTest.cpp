// Typing outside ASCII: the window hands the dialog the text as UTF-8, so
// every such character arrives as bytes of 0x80 or above.
#include "WindowFixture.h"

#include <QLineEdit>

TEST_F(WindowTest, TextOutsideAsciiReachesTheDialogAsUtf8)
{
    window.Enable(IDC_TAG, true);
    for (const QChar ch : QString::fromUtf8("TÄG测"))
        QTest::sendKeyEvent(QTest::Click, W<QLineEdit>(IDC_TAG), Qt::Key_unknown, QString(ch), Qt::NoModifier);
    EXPECT_EQ(sink.Count(Cmd(IDC_TAG, Notify::EditChange)), 4);
    EXPECT_EQ(window.GetText(IDC_TAG), "T\xC3\x84G\xE6\xB5\x8B");
}
