#pragma once
// "Trends": for a chosen span, the chart of one module's error counters (increase per
// interval, faulty times, missed scans) and beside it the channels with the largest increase,
// largest first. A row's double-click (or Enter) charts its module and selects it in the
// other windows. Asks the history through the core; closed, it is only hidden.
#include <QWidget>
#include <cstdint>

class QComboBox;
class QLabel;
class QTableView;
class RingCore;
class WorstChannelsModel;

class frmTrends : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kClientWidthTwips = 13500;
    static constexpr int kClientHeightTwips = 6000;
    // Rows of the table at most.
    static constexpr size_t kRows = 50;

    explicit frmTrends(RingCore *core, QWidget *parent = nullptr);

    // Charts the module (and makes it the one chosen).
    void ShowModule(int id);
    int ShownModule() const { return mModuleID; }
    // Asks the history again for the chosen span, up to now.
    void Refresh();
    void tblWorst_Activated(int row);

    QComboBox *cboRange = nullptr;
    QComboBox *cboModule = nullptr;
    QLabel *lblState = nullptr;
    QWidget *chtTrend = nullptr;  // the chart part's TrendChart
    QTableView *tblWorst = nullptr;

signals:
    // A row's module was chosen: the other windows select it.
    void moduleChosen(int id);

private:
    struct Span
    {
        int64_t fromMs = 0;
        int64_t toMs = 0;
        int64_t widthMs = 0;
    };
    Span ChosenSpan(int64_t nowMs) const;
    void FillModules();

    RingCore *mCore;
    WorstChannelsModel *mWorst;
    int mModuleID = -1;
    bool mFilling = false;
};
