#pragma once
// The check's line as a test compares it: each channel's own data, one pair per channel of every
// module, is left out.
#include <QRegularExpression>
#include <QString>

// The check's line up to each channel's own data.
inline QString WithoutChannels(const QString &line)
{
    return line.left(line.indexOf(QRegularExpression(QStringLiteral(" m[0-9]+_ch1="))));
}
