// Where calibrations are filed: one JSON file a device and day under the
// state directory (calibrations/<tag>_<device id>_<date>.json), written anew
// after every change so that closing mid-run loses nothing.
#pragma once

#include "calibration/Calibration.h"

#include <QString>

#include <vector>

class CalibrationStore {
public:
    // The directory; by default <state directory>/calibrations.
    explicit CalibrationStore(QString directory = {});

    // False, with the reason, when the file cannot be written.
    bool Save(const Calibration& calibration, QString& error) const;
    QString PathOf(const Calibration& calibration) const;
    // The calibrations filed for a device, newest first.
    std::vector<Calibration> Past(long deviceId, int manufacturerCode) const;

private:
    QString m_Directory;
};
