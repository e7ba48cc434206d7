// Every process value the transmitter reported since the tool started, with
// the local time it arrived: the primary variable from each reply to command
// 1, the loop current and percent of range from each reply to command 2,
// whichever operation read them. The trend window plots it; nothing is lost
// when that window closes.
#pragma once

#include "sequencer/OperationObserver.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TrendModel : public QObject, public OperationObserver {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;  // local time

    struct Sample {
        QDateTime at;
        bool fromCommand1 = false;  // primary variable and unit; else current and percent
        float pv = 0;
        std::uint8_t unitCode = 0;
        float milliamps = 0;
        float percent = 0;
    };
    // One line of the plot; x is milliseconds since the epoch.
    struct Series {
        QString name;
        QList<QPointF> points;
    };

    explicit TrendModel(Clock now = &QDateTime::currentDateTime);

    void PrimaryVariableRead(std::uint8_t unitCode, float value) override;
    void LoopCurrentRead(float milliamps, float percent) override;

    const std::vector<Sample>& Samples() const { return m_Samples; }
    // From fromMs on: the primary variable, one series for each stretch in
    // one unit, so that a unit change starts a new one; then percent and
    // current.
    std::vector<Series> PvSeries(qint64 fromMs) const;
    Series PercentSeries(qint64 fromMs) const;
    Series CurrentSeries(qint64 fromMs) const;

    // Every sample: time, PV, unit, percent, mA; a reply fills its own columns.
    std::string CsvText() const;
    bool WriteCsv(const QString& path, QString& error) const;

    static QString UnitText(std::uint8_t unitCode);

signals:
    void SampleAdded();

private:
    void Add(Sample sample);
    Series LoopSeries(qint64 fromMs, const QString& name, float Sample::*value) const;

    Clock m_Now;
    std::vector<Sample> m_Samples;
};
