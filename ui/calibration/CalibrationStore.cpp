#include "ui/calibration/CalibrationStore.h"

#include "calibration/CalibrationFile.h"
#include "ui/record/RecordPlace.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

#include <algorithm>

CalibrationStore::CalibrationStore(QString directory)
    : m_Directory(directory.isEmpty() ? StateDirectory() + "/calibrations" : std::move(directory))
{
}

QString CalibrationStore::PathOf(const Calibration& calibration) const
{
    return m_Directory + "/" + QString::fromStdString(FileNameOf(calibration));
}

bool CalibrationStore::Save(const Calibration& calibration, QString& error) const
{
    if (!QDir().mkpath(m_Directory)) {
        error = "cannot make " + m_Directory;
        return false;
    }
    // Written whole or not at all: a crash mid-write keeps the last file.
    QSaveFile file(PathOf(calibration));
    const std::string json = ToJson(calibration);
    if (!file.open(QIODevice::WriteOnly) || file.write(json.data(), qint64(json.size())) != qint64(json.size()) ||
        !file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

std::vector<Calibration> CalibrationStore::Past(long deviceId, int manufacturerCode) const
{
    std::vector<Calibration> found;
    const QDir dir(m_Directory);
    for (const QString& name : dir.entryList({"*_" + QString::number(deviceId) + "_*.json"}, QDir::Files)) {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        auto read = CalibrationFromJson(file.readAll().toStdString());
        if (Calibration* c = std::get_if<Calibration>(&read);
            c && c->device.deviceId == deviceId && c->device.manufacturerCode == manufacturerCode)
            found.push_back(std::move(*c));
    }
    std::sort(found.begin(), found.end(), [](const Calibration& a, const Calibration& b) { return a.date > b.date; });
    return found;
}
