// The process values the transmitter reported over the last day, with the
// local time each arrived: the primary variable from each reply to command
// 1, the loop current and percent of range from each reply to command 2,
// whichever operation read them. The trend window plots the newest of them;
// the CSV export writes them all. Nothing is lost when that window closes.
//
// What is held is bounded, so that a watch of days costs the same memory and
// time per sample as one of minutes: the samples of the last 24 hours, and
// never more than kMostSamples (auto read gives some 600,000 a day). Each
// sample costs amortised constant time, whatever has been held before.
#pragma once

#include "sequencer/OperationObserver.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointF>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class TrendModel : public QObject, public OperationObserver {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;  // local time

    static constexpr qint64 kKeptMs = 24 * 60 * 60 * 1000;
    static constexpr std::size_t kMostSamples = 1'000'000;

    struct Sample {
        qint64 atMs = 0;            // since the epoch
        bool fromCommand1 = false;  // primary variable and unit; else current and percent
        std::uint8_t unitCode = 0;
        float pv = 0;
        float milliamps = 0;
        float percent = 0;

        QPointF PvPoint() const { return {double(atMs), double{pv}}; }
    };
    // One line of the plot; x is milliseconds since the epoch.
    struct Series {
        QString name;
        QList<QPointF> points;
    };

    explicit TrendModel(Clock now = &QDateTime::currentDateTime);

    void PrimaryVariableRead(std::uint8_t unitCode, float value) override;
    void LoopCurrentRead(float milliamps, float percent) override;

    // Oldest first.
    const std::deque<Sample>& Samples() const { return m_Samples; }
    // How many were ever added, those gone from Samples() too.
    std::uint64_t AddedCount() const { return m_AddedCount; }
    // From fromMs on: the primary variable, one series for each stretch in
    // one unit, so that a unit change starts a new one; then percent and
    // current.
    std::vector<Series> PvSeries(qint64 fromMs) const;
    Series PercentSeries(qint64 fromMs) const;
    Series CurrentSeries(qint64 fromMs) const;

    // Every sample held: time, PV, unit, percent, mA; a reply fills its own columns.
    std::string CsvText() const;
    // Through a temporary file: a failed export leaves what was at path whole.
    bool WriteCsv(const QString& path, QString& error) const;

    static QString UnitText(std::uint8_t unitCode);
    static QString PvSeriesName(std::uint8_t unitCode) { return "PV (" + UnitText(unitCode) + ")"; }
    static inline const QString kPercentName = "Percent of range (%)";
    static inline const QString kCurrentName = "Loop current (mA)";

signals:
    // The newest sample is Samples().back().
    void SampleAdded();

private:
    void Add(Sample sample);
    // The first sample at or after fromMs.
    std::deque<Sample>::const_iterator From(qint64 fromMs) const;
    Series LoopSeries(qint64 fromMs, const QString& name, float Sample::*value) const;

    Clock m_Now;
    std::deque<Sample> m_Samples;
    std::uint64_t m_AddedCount = 0;
};
