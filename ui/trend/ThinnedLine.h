// A line thinned to at most two points a bucket of time: the lowest and the
// highest value in it, in time order. Ten minutes of auto read at its fastest
// are some 2,000 points a line, more than the plot has pixels across; kept to
// two a bucket, a spike still shows, and drawing and holding the line cost
// the same at any rate of samples.
//
// Line is a QList<QPointF> or a QXYSeries: both count, at, replace and
// append. Points come in time order; x is milliseconds.
#pragma once

#include <QPointF>

#include <algorithm>
#include <cmath>

template <class Line>
void AddThinned(Line& line, const QPointF& point, double bucketMs)
{
    const auto bucket = [bucketMs](const QPointF& p) { return std::floor(p.x() / bucketMs); };
    const int n = int(line.count());
    int inBucket = 0;
    while (inBucket < 2 && inBucket < n && bucket(line.at(n - 1 - inBucket)) == bucket(point))
        ++inBucket;
    if (inBucket < 2) {
        line.append(point);
        return;
    }
    // The newest replaces the bucket's low or high when it goes beyond it;
    // of two alike the earlier stays.
    const QPointF first = line.at(n - 2), second = line.at(n - 1);
    QPointF kept;
    if (point.y() < std::min(first.y(), second.y()))
        kept = first.y() >= second.y() ? first : second;  // the high
    else if (point.y() > std::max(first.y(), second.y()))
        kept = first.y() <= second.y() ? first : second;  // the low
    else
        return;
    line.replace(n - 2, kept);
    line.replace(n - 1, point);
}
