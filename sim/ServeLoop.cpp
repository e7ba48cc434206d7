#include "sim/ServeLoop.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace sim {

std::runtime_error SystemError(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

}  // namespace sim
