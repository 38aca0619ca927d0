#pragma once
// The Module List's rows: one per module of the ring order. A finished scan's rows are what its
// replies said; between scans they follow the ring table pass by pass (late replies, a
// locate's answer), and a pass repaints only the rows whose records changed. "Change" and
// "Verified" are the keeper's.
#include "model/Global.h"
#include "model/RingKeeper.h"
#include "model/RingScan.h"
#include "model/RingTable.h"

#include <QAbstractTableModel>
#include <array>
#include <functional>
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

    ModuleListModel(const RingKeeper *keeper, const RingTable *table, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // A column's caption, and the longest text it usually shows, to size it by.
    static QString Caption(int column);
    static QString WidestText(int column);

    // The module at a ring position (= row), and the row of a module (-1: not in the ring).
    int ModuleIDAt(int row) const;
    int RowOf(int id) const;
    // A faulty channel, or no answer to the last locate.
    bool IsFaulty(int row) const;

    // After a parse pass: takes in the ring order as it stands and the records that changed.
    void Follow();
    // A scan is over and the keeper has taken it: its modules as its replies said them.
    void TakeScan(const RingScan &scan);
    // A verification is over, or an Apply changed what it still vouches for.
    void ShowVerification();

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
    Shown Snapshot(int id) const;
    void FollowOrder(const int16_t *order, int count, const std::function<Shown(int row, int id)> &shown);
    QString Text(int row, int column) const;
    QVariant SortKey(int row, int column) const;

    const RingKeeper *mKeeper;
    const RingTable *mTable;
    std::vector<int16_t> mOrder;
    std::vector<Shown> mShown;
    std::array<uint8_t, kTableSize> mScanSide{};  // by ID: G, L or R as a scan found it
    std::array<int, kTableSize> mRowOf{};  // by ID: -1 when not in the ring
};
