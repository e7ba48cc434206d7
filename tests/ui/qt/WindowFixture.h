// A shown main window with a recording sink, for tests that act as the
// operator.
#pragma once

#include "RecordingSink.h"
#include "ui/dialog/ControlIds.h"
#include "ui/dialog/Layout.h"
#include "ui/qt/QtDialogWindow.h"

#include <gtest/gtest.h>

#include <QTest>

class WindowTest : public testing::Test {
protected:
    void SetUp() override {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    template <class T>
    T* W(int id) {
        T* w = qobject_cast<T*>(window.Widget(id));
        EXPECT_NE(w, nullptr) << "control " << id;
        return w;
    }

    RecordingSink sink;
    QtDialogWindow window{MainDialogLayout(), sink};
};
