#include "app/TrendChart.h"

#include "app/DurationText.h"

#include <QAreaSeries>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLineSeries>
#include <QValueAxis>
#include <algorithm>
#include <functional>

namespace {

constexpr int64_t kDayMs = 86400000;

QLineSeries *Steps(const std::vector<TrendBucket> &buckets, const std::function<double(const TrendBucket &)> &value)
{
    auto *series = new QLineSeries;
    for (const TrendBucket &bucket : buckets) {
        series->append(double(bucket.startMs), value(bucket));
        series->append(double(bucket.endMs), value(bucket));
    }
    return series;
}

} // namespace

TrendChart::TrendChart(QWidget *parent)
    : QChartView(new QChart, parent)
{
    setRenderHint(QPainter::Antialiasing);
    chart()->legend()->setAlignment(Qt::AlignBottom);
    chart()->setMargins(QMargins(4, 4, 4, 4));
}

void TrendChart::Show(const std::vector<TrendBucket> &buckets, int64_t spanMs, const QString &title)
{
    QChart *chart = this->chart();
    chart->removeAllSeries();
    for (QAbstractAxis *axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(title);
    int64_t highest = 1;
    int64_t increase[2] = {0, 0};
    int64_t faulty[2] = {0, 0};
    int gaps = 0;
    for (const TrendBucket &bucket : buckets) {
        highest = std::max({highest, bucket.increase1, bucket.increase2});
        increase[0] += bucket.increase1;
        increase[1] += bucket.increase2;
        faulty[0] += bucket.faulty1Ms;
        faulty[1] += bucket.faulty2Ms;
        gaps += int(bucket.Gap());
    }

    // A span begins on a whole interval, up to one interval before the range asked for.
    const bool withinADay = spanMs <= kDayMs + kDayMs / 24;
    auto *time = new QDateTimeAxis;
    time->setFormat(withinADay ? QStringLiteral("HH:mm") : spanMs <= 8 * kDayMs ? QStringLiteral("ddd d.")
                                                                              : QStringLiteral("d.M."));
    time->setTickCount(withinADay ? 7 : 8);
    chart->addAxis(time, Qt::AlignBottom);
    auto *count = new QValueAxis;
    // At least 0 to 4, so that the five marks of the axis are whole numbers.
    count->setRange(0, std::max(4.0, double(highest) * 1.1));
    count->applyNiceNumbers();
    // The marks stand the axis' full height.
    const double top = count->max();
    count->setLabelFormat(QStringLiteral("%d"));
    count->setTitleText(tr("Increase per interval"));
    chart->addAxis(count, Qt::AlignLeft);

    // The marks first, so that the lines are drawn over them.
    const auto mark = [&](const QString &name, const QColor &colour, const std::function<bool(const TrendBucket &)> &marked) {
        if (std::none_of(buckets.begin(), buckets.end(), marked))
            return;
        auto *area = new QAreaSeries(Steps(buckets, [&](const TrendBucket &b) { return marked(b) ? top : 0.0; }));
        area->setName(name);
        area->setColor(colour);
        area->setBorderColor(Qt::transparent);
        chart->addSeries(area);
        area->attachAxis(time);
        area->attachAxis(count);
    };
    mark(tr("Channel 1 faulty"), QColor(230, 60, 60, 70), [](const TrendBucket &b) { return b.faulty1Ms > 0; });
    mark(tr("Channel 2 faulty"), QColor(240, 150, 30, 70), [](const TrendBucket &b) { return b.faulty2Ms > 0; });
    mark(tr("No answer"), QColor(120, 120, 120, 90), [](const TrendBucket &b) { return b.Gap(); });
    const QColor colours[2] = {QColor(20, 80, 200), QColor(0, 140, 60)};
    for (int channel = 0; channel < 2; ++channel) {
        QLineSeries *line = Steps(buckets, [channel](const TrendBucket &b) { return double(channel ? b.increase2 : b.increase1); });
        line->setName(tr("Channel %1").arg(channel + 1));
        line->setPen(QPen(colours[channel], 2));
        chart->addSeries(line);
        line->attachAxis(time);
        line->attachAxis(count);
    }
    if (!buckets.empty())
        time->setRange(QDateTime::fromMSecsSinceEpoch(buckets.front().startMs), QDateTime::fromMSecsSinceEpoch(buckets.back().endMs));
    setAccessibleDescription(tr("%1. Channel 1: increase %2, faulty %3. Channel 2: increase %4, faulty %5. "
                                            "No answer in %6 of %7 intervals.")
                                 .arg(title)
                                 .arg(increase[0])
                                 .arg(DurationText(faulty[0]))
                                 .arg(increase[1])
                                 .arg(DurationText(faulty[1]))
                                 .arg(gaps)
                                 .arg(buckets.size()));
}
