#pragma once
// One row of the history file as it is read: each value checked before it reaches the
// program, since a damaged or crafted file can hold anything of any type in any column. The
// first value that does not fit is remembered, in the words the history's message uses.
#include <QString>
#include <QVariant>

// The last millisecond of the year 9999: times in the history lie from 1970 up to it.
inline constexpr qint64 kLastStoredMs = 253402300799999;

class StoredRow
{
public:
    // name: the row as the message calls it, "Event 12", "Ring 3 of port 1".
    explicit StoredRow(QString name);

    // The value when it is a whole number from low to high; else low, and the row is bad.
    qint64 Int(const QVariant &value, const char *column, qint64 low, qint64 high);
    // The same, except that an empty value (NULL) gives none.
    qint64 IntOrNone(const QVariant &value, const char *column, qint64 low, qint64 high, qint64 none);
    // The row is bad: "ids is 5 bytes long, not two bytes for each module".
    void Fail(const QString &what);

    bool Ok() const { return mProblem.isEmpty(); }
    // "Event 12: module is 32001, not a whole number from 0 to 32000"; empty while Ok().
    QString Problem() const { return mProblem; }

private:
    QString mName;
    QString mProblem;
};

// A stored value as the message shows it: "empty", "32001", "the text \"abc\"", "5 bytes of data".
QString StoredValueText(const QVariant &value);

// A sum SQL's total() gave, as a count: 0 when it is not a number or below 0, and at most
// 2^53 (where a double still holds every whole number).
qint64 StoredTotal(const QVariant &total);
