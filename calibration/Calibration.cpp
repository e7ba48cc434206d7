#include "calibration/Calibration.h"

#include <algorithm>
#include <cmath>

bool CalRun::Passed() const
{
    return !points.empty() && std::all_of(points.begin(), points.end(),
                                          [](const CalPoint& p) { return p.state == CalPoint::State::Done && p.pass; });
}

int CalRun::DoneCount() const
{
    return static_cast<int>(std::count_if(points.begin(), points.end(),
                                          [](const CalPoint& p) { return p.state == CalPoint::State::Done; }));
}

double PvErrorPct(double pv, double reference, double lrv, double urv)
{
    return (pv - reference) / (urv - lrv) * 100.0;
}

double MaErrorPct(double ma, double reference, double lrv, double urv)
{
    const double ideal = 4.0 + 16.0 * (reference - lrv) / (urv - lrv);
    return (ma - ideal) / 16.0 * 100.0;
}

void Judge(CalPoint& point, const DeviceSetting& device, double tolerancePct)
{
    point.pvErrorPct = PvErrorPct(point.pv, point.reference, device.lowerRange, device.upperRange);
    point.maErrorPct = MaErrorPct(point.ma, point.reference, device.lowerRange, device.upperRange);
    point.pass = std::max(std::fabs(point.pvErrorPct), std::fabs(point.maErrorPct)) <= tolerancePct;
}

std::vector<CalPoint> PlanPoints(const std::vector<double>& percents, bool updown)
{
    std::vector<CalPoint> points;
    for (double pct : percents)
        points.push_back({pct, false});
    if (updown)
        for (auto it = percents.rbegin() + (percents.empty() ? 0 : 1); it != percents.rend(); ++it)
            points.push_back({*it, true});
    return points;
}
