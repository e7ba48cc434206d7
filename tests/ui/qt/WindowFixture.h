// A shown main window whose sink writes down what it reports, for tests that
// act as the operator.
#pragma once

#include "dialog/ControlIds.h"
#include "dialog/Layout.h"
#include "ui/qt/QtDialogWindow.h"

#include <gtest/gtest.h>

#include <QTest>

#include <algorithm>
#include <functional>
#include <ostream>
#include <vector>

struct Event {
    enum Kind { Command, Timer, SysCommand } kind;
    int id;
    Notify notify;
    bool operator==(const Event&) const = default;
};
using Events = std::vector<Event>;

inline Event Cmd(int id, Notify n) { return {Event::Command, id, n}; }
inline Event Tick(int id) { return {Event::Timer, id, Notify::Clicked}; }
inline Event Sys(int id) { return {Event::SysCommand, id, Notify::Clicked}; }
inline std::ostream& operator<<(std::ostream& os, const Event& e)
{
    return os << "kind " << e.kind << " id " << e.id << " notify " << int(e.notify);
}

struct RecordingSink : DialogEvents {
    void OnCommand(int id, Notify n) override
    {
        events.push_back(Cmd(id, n));
        if (onCommand)
            onCommand(id, n);
    }
    void OnTimer(int id) override
    {
        events.push_back(Tick(id));
        if (onTimer)
            onTimer(id);
    }
    void OnSysCommand(unsigned id) override { events.push_back(Sys(int(id))); }
    int Count(const Event& e) const { return int(std::count(events.begin(), events.end(), e)); }

    Events events;
    std::function<void(int, Notify)> onCommand;
    std::function<void(int)> onTimer;
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
