#include "history/StoredRow.h"

#include <QMetaType>
#include <cmath>

namespace {

constexpr double kLargestTotal = 9007199254740992.0;

bool IsInteger(const QVariant &value)
{
    const int type = value.typeId();
    return !value.isNull() && (type == QMetaType::LongLong || type == QMetaType::Int);
}

} // namespace

QString StoredValueText(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("empty");
    if (value.typeId() == QMetaType::QByteArray)
        return QStringLiteral("%1 bytes of data").arg(value.toByteArray().size());
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        return QStringLiteral("the text \"%1\"").arg(text.size() > 20 ? text.left(20) + QStringLiteral("...") : text);
    }
    return value.toString();
}

StoredRow::StoredRow(QString name)
    : mName(std::move(name))
{
}

qint64 StoredRow::Int(const QVariant &value, const char *column, qint64 low, qint64 high)
{
    if (IsInteger(value)) {
        const qint64 number = value.toLongLong();
        if (number >= low && number <= high)
            return number;
    }
    Fail(QStringLiteral("%1 is %2, not a whole number from %3 to %4")
             .arg(QLatin1String(column), StoredValueText(value), QString::number(low), QString::number(high)));
    return low;
}

qint64 StoredRow::IntOrNone(const QVariant &value, const char *column, qint64 low, qint64 high, qint64 none)
{
    return value.isNull() ? none : Int(value, column, low, high);
}

void StoredRow::Fail(const QString &what)
{
    if (mProblem.isEmpty())
        mProblem = mName + QStringLiteral(": ") + what;
}

qint64 StoredTotal(const QVariant &total)
{
    const double value = total.toDouble();
    if (!std::isfinite(value) || value <= 0)
        return 0;
    return qint64(std::min(value, kLargestTotal));
}
