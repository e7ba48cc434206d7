// The trend: primary variable, percent of range and loop current against
// time, up to ten minutes back from the newest sample, on axes that follow
// the values; "Export CSV" writes every sample the model holds. It only
// reads the model, so it can be closed and opened again at any time.
//
// While shown, the new samples are added to their lines and the points that
// left the ten minutes are dropped from the front: the cost of a sample is
// that of the ten minutes shown, however long the tool has run. Opening the
// window builds the lines from the model once. The samples of kRepaintMs go
// on the charts together, so that a fast link (a HART-IP gateway answers
// some 20 times a second) costs a repaint of the charts twice a second, not
// at each sample.
#pragma once

#include "ui/trend/TrendModel.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>

class QChart;
class QLabel;
class QPushButton;

class TrendWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr qint64 kShownMs = 10 * 60 * 1000;
    static constexpr qint64 kLeastShownMs = 10 * 1000;  // while the samples span less
    // Each line shows the lowest and highest sample of each bucket: at most
    // 400 points a line, whatever the rate of samples.
    static constexpr qint64 kBucketMs = kShownMs / 200;
    static constexpr int kRepaintMs = 500;

    explicit TrendWindow(TrendModel& model, QWidget* parent = nullptr);

    // The charts: primary variable, percent of range, loop current.
    QChart* Chart(int i) const { return m_Charts.at(std::size_t(i)); }
    QPushButton* ExportButton() const { return m_Export; }

public slots:
    // A sample came: shown with the others of kRepaintMs.
    void AddNewest();
    // Puts the samples not yet shown on the charts.
    void ShowPending();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Rebuild();
    void AppendPv(const TrendModel::Sample& sample);
    // Drops the points before the ten minutes up to toMs and sets the axes.
    void Scroll(qint64 toMs);
    void ShowCount();
    void ExportCsv();

    TrendModel& m_Model;
    std::array<QChart*, 3> m_Charts{};
    QLabel* m_Count = nullptr;
    QPushButton* m_Export = nullptr;
    QTimer m_Repaint;
    std::uint64_t m_ShownCount = 0;  // of the model's AddedCount
};
