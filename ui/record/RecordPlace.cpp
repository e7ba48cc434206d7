#include "ui/record/RecordPlace.h"

#include <QDir>
#include <QStandardPaths>

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

QString RecordPlace::PathFor(const QDate& day) const
{
    switch (kind) {
    case Kind::Daily:
        return path + "/" + day.toString("yyyy-MM-dd") + ".log";
    case Kind::File:
        return path;
    case Kind::None:
        break;
    }
    return {};
}
