#include "sim/ServeLoop.h"

#include <fcntl.h>
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

void WakePipe::Open()
{
    Close();
    int ends[2];
    if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0)
        throw SystemError("pipe2");
    m_Read = ends[0];
    m_Write = ends[1];
}

void WakePipe::Wake() const
{
    const char byte = 0;
    [[maybe_unused]] const ssize_t ignored = ::write(m_Write, &byte, 1);
}

void WakePipe::Close()
{
    CloseFd(m_Read);
    CloseFd(m_Write);
}

}  // namespace sim
