#include "ui/trend/TrendModel.h"

#include "hart/Units.h"

#include <QSaveFile>

#include <cerrno>
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
    Add({m_Now().toMSecsSinceEpoch(), true, unitCode, value, 0, 0});
}

void TrendModel::LoopCurrentRead(float milliamps, float percent)
{
    Add({m_Now().toMSecsSinceEpoch(), false, 0, 0, milliamps, percent});
}

void TrendModel::Add(Sample sample)
{
    m_Samples.push_back(sample);
    ++m_AddedCount;
    // The oldest leave one at a time as the newest come: a deque frees its
    // blocks as they empty, so memory stays at the bound.
    while (m_Samples.size() > kMostSamples || m_Samples.front().atMs < sample.atMs - kKeptMs)
        m_Samples.pop_front();
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

// From the newest back, so that the cost is that of the samples shown, not
// of the day held.
std::deque<TrendModel::Sample>::const_iterator TrendModel::From(qint64 fromMs) const
{
    auto first = m_Samples.end();
    while (first != m_Samples.begin() && std::prev(first)->atMs >= fromMs)
        --first;
    return first;
}

std::vector<TrendModel::Series> TrendModel::PvSeries(qint64 fromMs) const
{
    std::vector<Series> runs;
    int lastUnit = -1;
    for (auto s = From(fromMs); s != m_Samples.end(); ++s) {
        if (!s->fromCommand1)
            continue;
        if (s->unitCode != lastUnit)
            runs.push_back({PvSeriesName(s->unitCode), {}});
        lastUnit = s->unitCode;
        runs.back().points.append(s->PvPoint());
    }
    return runs;
}

TrendModel::Series TrendModel::LoopSeries(qint64 fromMs, const QString& name, float Sample::*value) const
{
    Series series{name, {}};
    for (auto s = From(fromMs); s != m_Samples.end(); ++s)
        if (!s->fromCommand1)
            series.points.append(QPointF(double(s->atMs), double{(*s).*value}));
    return series;
}

TrendModel::Series TrendModel::PercentSeries(qint64 fromMs) const
{
    return LoopSeries(fromMs, kPercentName, &Sample::percent);
}

TrendModel::Series TrendModel::CurrentSeries(qint64 fromMs) const
{
    return LoopSeries(fromMs, kCurrentName, &Sample::milliamps);
}

std::string TrendModel::CsvText() const
{
    std::string csv = "time,PV,unit,percent,mA\n";
    for (const Sample& s : m_Samples) {
        csv += QDateTime::fromMSecsSinceEpoch(s.atMs).toString("yyyy-MM-dd HH:mm:ss.zzz").toStdString();
        if (s.fromCommand1)
            csv += "," + Number(s.pv) + "," + UnitText(s.unitCode).toStdString() + ",,\n";
        else
            csv += ",,," + Number(s.percent) + "," + Number(s.milliamps) + "\n";
    }
    return csv;
}

bool TrendModel::WriteCsv(const QString& path, QString& error) const
{
    // Unbuffered: a failed write must be seen before commit, which would put
    // a cut-off file in place of the old one. Without commit the temporary
    // file goes with the QSaveFile.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        error = file.errorString();
        return false;
    }
    const std::string csv = CsvText();
    const qint64 written = file.write(csv.data(), qint64(csv.size()));
    if (written != qint64(csv.size())) {
        // A short write leaves the reason in errno only (a full disk, a size limit).
        error = written < 0
                    ? file.errorString()
                    : QString("%1 of %2 bytes written: %3").arg(written).arg(csv.size()).arg(std::strerror(errno));
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}
