#pragma once
// The chart of one module in the Trends window: each channel's error-counter increase per
// interval as steps, behind them the intervals in which a channel was faulty and those in
// which the module missed scans. Its accessible description says the same in words.
#include "history/HistoryTypes.h"

#include <QChartView>
#include <vector>

class TrendChart : public QChartView
{
    Q_OBJECT

public:
    explicit TrendChart(QWidget *parent = nullptr);

    // spanMs: how long the whole span is (for the time axis' labels); title: what it shows.
    void Show(const std::vector<TrendBucket> &buckets, int64_t spanMs, const QString &title);
};
