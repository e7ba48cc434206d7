#include "ui/record/RecordFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>

RecordPlace RecordPlace::DefaultDaily()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 7, 0)
    const QString state = QStandardPaths::writableLocation(QStandardPaths::GenericStateLocation);
#else
    // The XDG rule that Qt follows from 6.7 on.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QStandardPaths::writableLocation(QStandardPaths::HomeLocation) + "/.local/state";
#endif
    return {Kind::Daily, state + "/tamsel/records"};
}

RecordFile::RecordFile(RecordPlace place, std::ostream& warnings) : m_place(std::move(place)), m_warnings(warnings) {}

RecordFile::~RecordFile()
{
    if (m_file)
        std::fclose(m_file);
}

QString RecordFile::PathFor(const QDate& day) const
{
    switch (m_place.kind) {
    case RecordPlace::Kind::Daily:
        return m_place.path + "/" + day.toString("yyyy-MM-dd") + ".log";
    case RecordPlace::Kind::File:
        return m_place.path;
    case RecordPlace::Kind::None:
        break;
    }
    return {};
}

void RecordFile::Append(const QDate& day, std::string_view text)
{
    const QString path = PathFor(day);
    if (m_failed || path.isEmpty())
        return;
    if (path != m_openPath && !Open(path))
        return;
    const bool written = std::fwrite(text.data(), 1, text.size(), m_file) == text.size() &&
                         std::fputc('\n', m_file) != EOF && std::fflush(m_file) == 0;
    if (!written)
        GiveUp(path, std::strerror(errno));
}

bool RecordFile::Open(const QString& path)
{
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    const QString dir = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(dir)) {
        GiveUp(path, "cannot create its directory");
        return false;
    }
    m_file = std::fopen(QFile::encodeName(path).constData(), "a");
    if (!m_file) {
        GiveUp(path, std::strerror(errno));
        return false;
    }
    m_openPath = path;
    return true;
}

void RecordFile::GiveUp(const QString& path, const char* reason)
{
    m_warnings << "tamsel: cannot write the record " << path.toStdString() << ": " << reason
               << "; going on without it\n"
               << std::flush;
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_failed = true;
}
