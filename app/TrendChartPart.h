#pragma once
// What the chart part, loaded when Trends is first opened, gives the Trends window: its chart
// (TrendChart, on Qt Charts, which the program itself does not load).
#include "history/HistoryTypes.h"

#include <QObject>
#include <QString>
#include <vector>

class QWidget;

class TrendChartPart
{
public:
    static constexpr char kPartName[] = "zephlink9-charts";

    virtual ~TrendChartPart() = default;

    virtual QWidget *NewTrendChart(QWidget *parent) = 0;
    // chart: one this part made. spanMs: the whole span (for the time axis); title: what it shows.
    virtual void ShowTrend(QWidget *chart, const std::vector<TrendBucket> &buckets, int64_t spanMs,
                           const QString &title) = 0;
};

#define ZephTrendChartPart_iid "zephlink9.TrendChartPart/1"
Q_DECLARE_INTERFACE(TrendChartPart, ZephTrendChartPart_iid)
