#pragma once
// The chart part's entry: the Trends window's chart on Qt Charts, loaded at Trends' first use.
#include "app/TrendChartPart.h"

#include <QObject>

class ChartPart : public QObject, public TrendChartPart
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZephTrendChartPart_iid)
    Q_INTERFACES(TrendChartPart)

public:
    QWidget *NewTrendChart(QWidget *parent) override;
    void ShowTrend(QWidget *chart, const std::vector<TrendBucket> &buckets, int64_t spanMs,
                   const QString &title) override;
};
