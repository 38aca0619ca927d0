#include "app/TrendCharts.h"

#include "app/TrendChartPart.h"
#include "core/LoadedPart.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

struct LoadedCharts
{
    TrendChartPart *part = nullptr;
    QString problem;
};

const LoadedCharts &Charts()
{
    static const LoadedCharts charts = [] {
        LoadedCharts loaded;
        loaded.part = LoadPartAs<TrendChartPart>(QLatin1String(TrendChartPart::kPartName), &loaded.problem);
        return loaded;
    }();
    return charts;
}

} // namespace

QWidget *NewTrendChart(QWidget *parent)
{
    if (TrendChartPart *part = Charts().part)
        return part->NewTrendChart(parent);
    auto *notice = new QLabel(QCoreApplication::translate("TrendCharts", "The chart cannot be shown: %1").arg(Charts().problem), parent);
    notice->setWordWrap(true);
    notice->setAlignment(Qt::AlignCenter);
    return notice;
}

void ShowTrend(QWidget *chart, const std::vector<TrendBucket> &buckets, int64_t spanMs, const QString &title)
{
    if (TrendChartPart *part = Charts().part)
        part->ShowTrend(chart, buckets, spanMs, title);
}
