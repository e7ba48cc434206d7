#include "ui/serialport/LineErrorCounters.h"

#include "serial/SerialPort.h"

#include <algorithm>

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

std::vector<std::int16_t> LineErrorEvents(const LineErrorCounts& before, const LineErrorCounts& after,
                                          std::size_t maxEvents)
{
    struct Kind {
        std::uint32_t LineErrorCounts::*counter;
        std::int16_t code;
    };
    static constexpr Kind kKinds[] = {
        {&LineErrorCounts::frame, CommEvent::kFrameError},
        {&LineErrorCounts::overrun, CommEvent::kOverrun},
        {&LineErrorCounts::bufferOverrun, CommEvent::kRxOverflow},
        {&LineErrorCounts::parity, CommEvent::kParityError},
    };

    std::vector<std::int16_t> events;
    for (const Kind& kind : kKinds) {
        // Unsigned subtraction: a counter that wrapped still gives its increase.
        const std::uint32_t increase = after.*kind.counter - before.*kind.counter;
        const std::size_t room = maxEvents - events.size();
        events.insert(events.end(), std::min<std::size_t>(increase, room), kind.code);
    }
    return events;
}

std::optional<LineErrorCounts> ReadLineErrorCounts(int fd)
{
#if defined(__linux__) && defined(TIOCGICOUNT)
    if (fd < 0)
        return std::nullopt;
    serial_icounter_struct counters{};
    if (::ioctl(fd, TIOCGICOUNT, &counters) != 0)
        return std::nullopt;
    LineErrorCounts counts;
    counts.frame = static_cast<std::uint32_t>(counters.frame);
    counts.overrun = static_cast<std::uint32_t>(counters.overrun);
    counts.parity = static_cast<std::uint32_t>(counters.parity);
    counts.bufferOverrun = static_cast<std::uint32_t>(counters.buf_overrun);
    return counts;
#else
    (void)fd;
    return std::nullopt;
#endif
}
