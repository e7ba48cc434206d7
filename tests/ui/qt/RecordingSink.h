// A DialogEvents sink that writes down what the window reports, and can end
// the dialog on "Exit" like the dialog object does.
#pragma once

#include "ui/dialog/DialogWindow.h"

#include <functional>
#include <ostream>
#include <vector>

struct Event {
    enum Kind { Command, Timer, SysCommand } kind;
    int id;
    Notify notify;
    bool operator==(const Event&) const = default;
};

inline Event Cmd(int id, Notify n) { return {Event::Command, id, n}; }
inline Event Tick(int id) { return {Event::Timer, id, Notify::Clicked}; }
inline Event Sys(int id) { return {Event::SysCommand, id, Notify::Clicked}; }

inline std::ostream& operator<<(std::ostream& os, const Event& e) {
    static const char* kinds[] = {"Command", "Timer", "SysCommand"};
    static const char* notes[] = {"Clicked", "EditChange", "SelChange"};
    return os << kinds[e.kind] << '(' << e.id << ", " << notes[int(e.notify)] << ')';
}

class RecordingSink : public DialogEvents {
public:
    void OnCommand(int id, Notify notify) override {
        events.push_back(Cmd(id, notify));
        if (onCommand) onCommand(id, notify);
    }
    void OnTimer(int timerId) override {
        events.push_back(Tick(timerId));
        if (onTimer) onTimer(timerId);
    }
    void OnSysCommand(unsigned id) override { events.push_back(Sys(int(id))); }

    int Count(const Event& e) const {
        int n = 0;
        for (const Event& x : events) n += (x == e);
        return n;
    }

    std::vector<Event> events;
    std::function<void(int, Notify)> onCommand;
    std::function<void(int)> onTimer;
};
