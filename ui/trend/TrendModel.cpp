#include "ui/trend/TrendModel.h"

#include "hart/Units.h"

#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

std::string Number(float value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.7g", double{value});
    return text;
}

}  // namespace

TrendModel::TrendModel(Clock now) : m_Now(std::move(now)) {}

void TrendModel::PrimaryVariableRead(std::uint8_t unitCode, float value)
{
    Add({m_Now(), true, value, unitCode, 0, 0});
}

void TrendModel::LoopCurrentRead(float milliamps, float percent) { Add({m_Now(), false, 0, 0, milliamps, percent}); }

void TrendModel::Add(Sample sample)
{
    m_Samples.push_back(std::move(sample));
    emit SampleAdded();
}

// The table's name, as the window's PV Unit field shows it; looked up here
// without IsBadUnitCode, which moves the window's current unit row.
QString TrendModel::UnitText(std::uint8_t unitCode)
{
    for (const UnitRow& row : UnitTable)
        if (row.code == unitCode)
            return QString::fromLatin1(row.name, qsizetype(strnlen(row.name, sizeof row.name)));
    return QString("code %1").arg(unitCode);
}

std::vector<TrendModel::Series> TrendModel::PvSeries(qint64 fromMs) const
{
    std::vector<Series> runs;
    int lastUnit = -1;
    for (const Sample& s : m_Samples) {
        if (!s.fromCommand1)
            continue;
        if (s.unitCode != lastUnit)
            runs.push_back({"PV (" + UnitText(s.unitCode) + ")", {}});
        lastUnit = s.unitCode;
        if (s.at.toMSecsSinceEpoch() >= fromMs)
            runs.back().points.append(QPointF(double(s.at.toMSecsSinceEpoch()), double{s.pv}));
    }
    std::erase_if(runs, [](const Series& run) { return run.points.isEmpty(); });
    return runs;
}

TrendModel::Series TrendModel::LoopSeries(qint64 fromMs, const QString& name, float Sample::*value) const
{
    Series series{name, {}};
    for (const Sample& s : m_Samples)
        if (!s.fromCommand1 && s.at.toMSecsSinceEpoch() >= fromMs)
            series.points.append(QPointF(double(s.at.toMSecsSinceEpoch()), double{s.*value}));
    return series;
}

TrendModel::Series TrendModel::PercentSeries(qint64 fromMs) const
{
    return LoopSeries(fromMs, "Percent of range (%)", &Sample::percent);
}

TrendModel::Series TrendModel::CurrentSeries(qint64 fromMs) const
{
    return LoopSeries(fromMs, "Loop current (mA)", &Sample::milliamps);
}

std::string TrendModel::CsvText() const
{
    std::string csv = "time,PV,unit,percent,mA\n";
    for (const Sample& s : m_Samples) {
        csv += s.at.toString("yyyy-MM-dd HH:mm:ss.zzz").toStdString();
        if (s.fromCommand1)
            csv += "," + Number(s.pv) + "," + UnitText(s.unitCode).toStdString() + ",,\n";
        else
            csv += ",,," + Number(s.percent) + "," + Number(s.milliamps) + "\n";
    }
    return csv;
}

bool TrendModel::WriteCsv(const QString& path, QString& error) const
{
    QFile file(path);
    const std::string csv = CsvText();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(csv.data(), qint64(csv.size())) != qint64(csv.size()) || !file.flush()) {
        error = file.errorString();
        return false;
    }
    return true;
}
