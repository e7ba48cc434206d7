// Timer ids and the delays that make up the tool's timeline (milliseconds).
#pragma once

inline constexpr int TIMER_RX = 1;     // quiet time after the last received piece
inline constexpr int TIMER_STEP = 2;   // one tick of the step machine
inline constexpr int TIMER_BLINK = 3;  // the Status indicator, from start-up
// The links' own: a binary modem's keying, a HART-IP session's opening;
// a binary frame that stalls, a HART-IP session's keep-alive.
inline constexpr int TIMER_LINK = 4;
inline constexpr int TIMER_LINK_IDLE = 5;

inline constexpr int RX_QUIET_TIME = 100;
inline constexpr int STEP_DELAY = 10;
inline constexpr int RETRY_DELAY = 1000;
inline constexpr int REPLY_TIMEOUT = 2000;
inline constexpr int BLINK_PERIOD = 1000;
