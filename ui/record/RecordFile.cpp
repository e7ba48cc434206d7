#include "ui/record/RecordFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

QString StateDirectory()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    const QString state = QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation);
#else
    // The XDG rule that Qt follows from 6.7 on.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + "/.local/state";
#endif
    return state + "/tamsel";
}

RecordPlace RecordPlace::DefaultDaily() { return {Kind::Daily, StateDirectory() + "/records"}; }

RecordFile::RecordFile(RecordPlace place, std::ostream& warnings) : m_Place(std::move(place)), m_Warnings(warnings) {}

RecordFile::~RecordFile()
{
    if (m_File)
        std::fclose(m_File);
}

QString RecordFile::PathFor(const QDate& day) const
{
    switch (m_Place.kind) {
    case RecordPlace::Kind::Daily:
        return m_Place.path + "/" + day.toString("yyyy-MM-dd") + ".log";
    case RecordPlace::Kind::File:
        return m_Place.path;
    case RecordPlace::Kind::None:
        break;
    }
    return {};
}

void RecordFile::Append(const QDate& day, std::string_view text)
{
    const QString path = PathFor(day);
    if (m_Failed || path.isEmpty())
        return;
    if (path != m_OpenPath && !Open(path))
        return;
    const bool written = std::fwrite(text.data(), 1, text.size(), m_File) == text.size() &&
                         std::fputc('\n', m_File) != EOF && std::fflush(m_File) == 0;
    if (!written)
        GiveUp(path, std::strerror(errno));
}

bool RecordFile::Open(const QString& path)
{
    if (m_File)
        std::fclose(m_File);
    m_File = nullptr;
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) {
        GiveUp(path, "cannot create its directory");
        return false;
    }
    m_File = std::fopen(QFile::encodeName(path).constData(), "a");
    if (!m_File) {
        GiveUp(path, std::strerror(errno));
        return false;
    }
    m_OpenPath = path;
    return true;
}

void RecordFile::GiveUp(const QString& path, const char* reason)
{
    m_Warnings << "tamsel: cannot write the record " << path.toStdString() << ": " << reason
               << "; going on without it\n"
               << std::flush;
    if (m_File)
        std::fclose(m_File);
    m_File = nullptr;
    m_Failed = true;
}
