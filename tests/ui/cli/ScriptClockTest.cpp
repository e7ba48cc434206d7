// The command line's clock lets the tool's events run while a script waits,
// the deletes asked for with deleteLater too.
#include "ui/cli/QtScriptClock.h"

#include <QCoreApplication>
#include <QPointer>
#include <gtest/gtest.h>

TEST(QtScriptClock, RunsTheDeletesAskedForOutsideTheLoop)
{
    const QPointer<QObject> object = new QObject;
    object->deleteLater();
    QtScriptClock clock;
    EXPECT_TRUE(clock.WaitUntil([&] { return object.isNull(); }, 1000));
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
