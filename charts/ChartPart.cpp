#include "charts/ChartPart.h"

#include "app/TrendChart.h"

QWidget *ChartPart::NewTrendChart(QWidget *parent) { return new TrendChart(parent); }

void ChartPart::ShowTrend(QWidget *chart, const std::vector<TrendBucket> &buckets, int64_t spanMs, const QString &title)
{
    static_cast<TrendChart *>(chart)->Show(buckets, spanMs, title);
}
