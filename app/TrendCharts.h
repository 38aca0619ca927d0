#pragma once
// The Trends window's chart, from the chart part loaded at its first use; where the part
// cannot be loaded, a notice in the chart's place, and the rest of Trends works without it.
#include "history/HistoryTypes.h"

#include <QString>
#include <vector>

class QWidget;

QWidget *NewTrendChart(QWidget *parent);
void ShowTrend(QWidget *chart, const std::vector<TrendBucket> &buckets, int64_t spanMs, const QString &title);
