#include "ui/record/RecordTarget.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

RecordTarget::RecordTarget(RecordPlace place, Warn warn) : m_Place(std::move(place)), m_Warn(std::move(warn)) {}

RecordTarget::~RecordTarget() { Close(); }

RecordTarget::Status RecordTarget::Write(const RecordLine& line, std::chrono::milliseconds wait)
{
    const QString path = m_Place.PathFor(line.day);
    if (m_Failed || path.isEmpty())
        return Status::Dropped;
    if (m_Fd >= 0 && path == m_OpenPath) {
        if (const char* why = Gone()) {
            m_Why = why;
            m_Warn("tamsel: the record " + path.toStdString() + " was " + m_Why + "; it is begun anew at its path");
            Close();
        }
    }
    if (m_Fd < 0 || path != m_OpenPath) {
        switch (Open(path)) {
        case Opened::Yes:
            break;
        case Opened::NoReader:
            return Status::NoReader;
        case Opened::Failed:
            return Status::Dropped;
        }
        // A line is written whole to the file it ends up in.
        m_Pending.clear();
        if (!m_Why.empty())
            m_Pending = line.stamp + "\tnote\tthe record is reopened: its file was " + std::exchange(m_Why, {}) + '\n';
        m_Pending += line.Text() + '\n';
        m_Done = 0;
    } else if (m_Pending.empty()) {
        m_Pending = line.Text() + '\n';
        m_Done = 0;
    }
    while (m_Done < m_Pending.size()) {
        const ssize_t n = ::write(m_Fd, m_Pending.data() + m_Done, m_Pending.size() - m_Done);
        if (n >= 0) {
            m_Done += static_cast<std::size_t>(n);
        } else if (errno == EAGAIN) {
            // A pipe that is full: wait for room, at most that long.
            pollfd room{m_Fd, POLLOUT, 0};
            if (::poll(&room, 1, static_cast<int>(wait.count())) == 0)
                return Status::Full;
        } else if (errno == EPIPE) {
            // Its reader went away: the line goes whole to the next one.
            Close();
            return Status::NoReader;
        } else if (errno != EINTR) {
            GiveUp(path, std::strerror(errno));
            return Status::Dropped;
        }
    }
    m_Pending.clear();
    return Status::Written;
}

RecordTarget::Opened RecordTarget::Open(const QString& path)
{
    Close();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        GiveUp(path, "cannot create its directory");
        return Opened::Failed;
    }
    // Without waiting: a FIFO that no one reads refuses (ENXIO) at once.
    m_Fd = ::open(QFile::encodeName(path).constData(),
                  O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (m_Fd < 0) {
        if (errno == ENXIO)
            return Opened::NoReader;
        GiveUp(path, std::strerror(errno));
        return Opened::Failed;
    }
    m_OpenPath = path;
    return Opened::Yes;
}

const char* RecordTarget::Gone() const
{
    struct stat open {};
    struct stat there {};
    if (::fstat(m_Fd, &open) != 0)
        return nullptr;
    if (::stat(QFile::encodeName(m_OpenPath).constData(), &there) == 0) {
        if (there.st_dev == open.st_dev && there.st_ino == open.st_ino)
            return nullptr;
    } else if (errno != ENOENT) {
        return nullptr;  // the path cannot be looked at: the file open stays
    }
    return open.st_nlink == 0 ? "deleted" : "moved away";
}

void RecordTarget::Close()
{
    if (m_Fd >= 0)
        ::close(m_Fd);
    m_Fd = -1;
    m_OpenPath.clear();
}

void RecordTarget::GiveUp(const QString& path, const char* reason)
{
    m_Warn("tamsel: cannot write the record " + path.toStdString() + ": " + reason + "; going on without it");
    Close();
    m_Failed = true;
}
