// Script waits in real time, letting Qt's event loop run meanwhile.
#pragma once

#include "ui/script/ScriptRunner.h"

class QtScriptClock : public ScriptClock {
public:
    bool WaitUntil(const std::function<bool()>& done, long ms) override;
};
