// The certificate of a calibration: a PDF (A4) with the device, the
// reference, both runs' tables and verdicts, a chart of the errors and lines
// to sign; or, for any other extension, the tables as CSV. Needs a
// QApplication: the chart is a Qt Charts scene.
#pragma once

#include "calibration/Calibration.h"

#include <QString>

// False, with the reason, when the file cannot be written.
bool WriteCertificate(const Calibration& calibration, const QString& path, QString& error);

// "PASS" or "FAIL" for a run; the overall verdict is the as-left run's, or
// the as-found one's when there is no as-left run.
QString Verdict(const CalRun& run);
QString OverallVerdict(const Calibration& calibration);
