#pragma once
// The Module List's rows: one per module of the ring order, kept in step with the module
// table pass by pass; a pass repaints only the rows whose records changed.
#include "model/Global.h"
#include "model/RingScan.h"
#include "model/Verification.h"

#include <QAbstractTableModel>
#include <array>
#include <map>
#include <cstdint>
#include <vector>

class ModuleListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Pos, ID, Side, Version, Baud, Parity, Stop, ErrorRelais, CH1, CH1Errors, CH2, CH2Errors, Change,
                  LastReply, Verified, ColumnCount };
    // The value a column sorts by: numbers for the numeric columns, else the text.
    static constexpr int SortRole = Qt::UserRole;

    explicit ModuleListModel(QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The longest text a column usually shows, to size it by.
    static QString WidestText(int column);

    // The module at a ring position (= row), and the row of a module (-1: not in the ring).
    int ModuleIDAt(int row) const;
    int RowOf(int id) const;
    // A faulty channel, or no answer to the last locate.
    bool IsFaulty(int row) const;

    // After a parse pass: takes in the ring order as it stands and the records that changed.
    void Follow();
    // A scan is over: its order, and the counters' increase since the scan before.
    void TakeScan(const RingScan &scan);
    // Verify Settings is over: each module's result.
    void TakeVerification(const std::vector<VerifyResult> &results);

private:
    // What a row shows of its record; a row is repainted when this differs.
    struct Shown
    {
        float timeStamp;
        int16_t counter1, counter2;
        uint8_t version, mode, side;
        bool status1, status2, locateFailed;
        bool operator==(const Shown &) const = default;
    };
    struct Counters
    {
        int16_t channel1 = 0, channel2 = 0;
        bool inScan = false;
    };
    static Shown Snapshot(int id);
    void FollowOrder(const int16_t *order, int count);
    QString Text(int row, int column) const;
    QVariant SortKey(int row, int column) const;

    std::vector<int16_t> mOrder;
    std::vector<Shown> mShown;
    std::array<uint8_t, kTableSize> mScanSide{};  // by ID: G, L or R as a scan found it
    std::vector<Counters> mLastScan = std::vector<Counters>(kTableSize);  // by ID: the counters when the last scan was over
    std::array<int, kTableSize> mIncrease{};  // by ID: -1 when not in both scans
    std::array<int, kTableSize> mRowOf{};  // by ID: -1 when not in the ring
    std::map<int, QString> mVerified;  // by ID: the last verification's result
};
