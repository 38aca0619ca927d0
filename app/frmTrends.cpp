#include "app/frmTrends.h"

#include "app/TrendCharts.h"
#include "app/WorstChannelsModel.h"
#include "bus/SerialPort.h"
#include "core/RingCore.h"
#include "model/Clock.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QHBoxLayout>
#include <QTableView>
#include <algorithm>
#include <set>

namespace {

constexpr int64_t kMinuteMs = 60000;
constexpr int64_t kHourMs = 60 * kMinuteMs;
constexpr int64_t kDayMs = 24 * kHourMs;
// "All" is cut into about this many intervals of whole hours.
constexpr int64_t kAllIntervals = 120;

struct RangeChoice
{
    const char *text;
    int64_t spanMs;   // 0: everything kept
    int64_t widthMs;
};
const RangeChoice kRanges[] = {
    {QT_TRANSLATE_NOOP("frmTrends", "Last hour"), kHourMs, kMinuteMs},
    {QT_TRANSLATE_NOOP("frmTrends", "Last 24 hours"), kDayMs, 15 * kMinuteMs},
    {QT_TRANSLATE_NOOP("frmTrends", "Last 7 days"), 7 * kDayMs, 2 * kHourMs},
    {QT_TRANSLATE_NOOP("frmTrends", "Last 30 days"), 30 * kDayMs, 6 * kHourMs},
    {QT_TRANSLATE_NOOP("frmTrends", "All"), 0, 0},
};

QString WidthText(int64_t widthMs)
{
    return widthMs < kHourMs ? QCoreApplication::translate("frmTrends", "%1 min").arg(widthMs / kMinuteMs)
                             : QCoreApplication::translate("frmTrends", "%1 h").arg(widthMs / kHourMs);
}

// "last 24 hours" in a sentence; the nouns of other languages keep their capitals.
QString LowerFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toLower();
    return text;
}

} // namespace

frmTrends::frmTrends(RingCore *core, QWidget *parent)
    : QWidget(parent), mCore(core), mWorst(new WorstChannelsModel(this))
{
    setObjectName(QStringLiteral("frmTrends"));
    setWindowTitle(tr("Trends"));

    auto *rangeLabel = new QLabel(tr("&Range:"), this);
    cboRange = new QComboBox(this);
    cboRange->setObjectName(QStringLiteral("cboRange"));
    for (const RangeChoice &range : kRanges)
        cboRange->addItem(tr(range.text));
    cboRange->setCurrentIndex(1);
    rangeLabel->setBuddy(cboRange);
    auto *moduleLabel = new QLabel(tr("&Module:"), this);
    cboModule = new QComboBox(this);
    cboModule->setObjectName(QStringLiteral("cboModule"));
    cboModule->setMinimumContentsLength(6);
    moduleLabel->setBuddy(cboModule);
    lblState = new QLabel(this);
    lblState->setObjectName(QStringLiteral("lblState"));

    chtTrend = NewTrendChart(this);
    chtTrend->setObjectName(QStringLiteral("chtTrend"));
    chtTrend->setAccessibleName(tr("Chart"));
    chtTrend->setMinimumSize(320, 200);
    tblWorst = new QTableView(this);
    tblWorst->setObjectName(QStringLiteral("tblWorst"));
    tblWorst->setAccessibleName(tr("Channels with the largest increase"));
    tblWorst->setModel(mWorst);
    tblWorst->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblWorst->setSelectionMode(QAbstractItemView::SingleSelection);
    tblWorst->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblWorst->verticalHeader()->hide();
    tblWorst->horizontalHeader()->setStretchLastSection(true);
    tblWorst->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto *split = new QHBoxLayout;
    split->addWidget(chtTrend, 3);
    split->addWidget(tblWorst, 2);

    auto *grid = new QGridLayout(this);
    grid->addWidget(rangeLabel, 0, 0);
    grid->addWidget(cboRange, 0, 1);
    grid->addWidget(moduleLabel, 0, 2);
    grid->addWidget(cboModule, 0, 3);
    grid->addWidget(lblState, 0, 4);
    grid->setColumnStretch(4, 1);
    grid->addLayout(split, 1, 0, 1, 5);

    connect(cboRange, &QComboBox::currentIndexChanged, this, &frmTrends::Refresh);
    connect(cboModule, &QComboBox::currentIndexChanged, this, [this] {
        if (!mFilling && cboModule->currentIndex() >= 0)
            ShowModule(cboModule->currentData().toInt());
    });
    connect(tblWorst, &QTableView::activated, this, [this](const QModelIndex &index) { tblWorst_Activated(index.row()); });
}

frmTrends::Span frmTrends::ChosenSpan(int64_t nowMs) const
{
    const RangeChoice &range = kRanges[std::clamp(cboRange->currentIndex(), 0, int(std::size(kRanges)) - 1)];
    Span span;
    span.toMs = nowMs + 1;
    int64_t from = nowMs - range.spanMs;
    span.widthMs = range.widthMs;
    if (range.spanMs == 0) {
        const int64_t first = mCore->History().FirstScanMs();
        from = first >= 0 ? first : nowMs - kHourMs;
        const int64_t hours = (span.toMs - from + kAllIntervals * kHourMs - 1) / (kAllIntervals * kHourMs);
        span.widthMs = std::max<int64_t>(1, hours) * kHourMs;
    }
    // Intervals on whole minutes and hours, as the history sums them.
    span.fromMs = from - ((from % span.widthMs) + span.widthMs) % span.widthMs;
    return span;
}

void frmTrends::FillModules()
{
    std::set<int> ids;
    if (const RingScan *found = mCore->Keeper().LastFound())
        for (const ModuleSnapshot &module : found->modules)
            ids.insert(module.id);
    for (int row = 0; row < mWorst->rowCount(); ++row)
        ids.insert(mWorst->At(row).id);
    if (mModuleID >= 0)
        ids.insert(mModuleID);
    mFilling = true;
    cboModule->clear();
    for (int id : ids)
        cboModule->addItem(QString::number(id), id);
    cboModule->setCurrentIndex(cboModule->findData(mModuleID));
    mFilling = false;
}

void frmTrends::Refresh()
{
    RingHistory &history = mCore->History();
    lblState->setText(history.IsOpen() ? QString() : tr("The ring history is off: there is nothing to show."));
    const Span span = ChosenSpan(TheClock().EpochMs());
    const int port = mCore->Port().PortNumber();
    mWorst->SetChannels(history.WorstChannels(port, span.fromMs, span.toMs, kRows));
    if (mModuleID < 0) {
        if (mWorst->rowCount() > 0)
            mModuleID = mWorst->At(0).id;
        else if (const RingScan *found = mCore->Keeper().LastFound())
            mModuleID = found->modules.front().id;
    }
    FillModules();
    const QString title = mModuleID < 0 ? tr("No module") : tr("Module %1, %2, increase per %3")
                                                                            .arg(mModuleID)
                                                                            .arg(LowerFirst(cboRange->currentText()))
                                                                            .arg(WidthText(span.widthMs));
    ShowTrend(chtTrend,
              mModuleID < 0 ? std::vector<TrendBucket>()
                            : history.ModuleTrend(port, mModuleID, span.fromMs, span.toMs, span.widthMs),
              span.toMs - span.fromMs, title);
}

void frmTrends::ShowModule(int id)
{
    if (id == mModuleID)
        return;
    mModuleID = id;
    Refresh();
}

void frmTrends::tblWorst_Activated(int row)
{
    if (row < 0 || row >= mWorst->rowCount())
        return;
    const int id = mWorst->At(row).id;
    ShowModule(id);
    emit moduleChosen(id);
}
