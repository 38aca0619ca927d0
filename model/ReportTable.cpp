#include "model/ReportTable.h"

#include "model/Global.h"
#include "model/ModeByte.h"

namespace {

QString StateText(bool faulty) { return faulty ? QStringLiteral("fault") : QStringLiteral("ok"); }

QString SideText(uint8_t side)
{
    return side >= 0x20 && side < 0x7f ? QString(QLatin1Char(char(side))) : QString();
}

} // namespace

ReportTable BuildReportTable(const std::vector<int16_t> &order, const std::vector<VerifyResult> &verification)
{
    ReportTable table;
    table.header = {QStringLiteral("Pos."), QStringLiteral("ID"), QStringLiteral("Side"), QStringLiteral("Version"),
                    QStringLiteral("Baud"), QStringLiteral("Parity"), QStringLiteral("Stop bits"),
                    QStringLiteral("Rule"), QStringLiteral("CH1"), QStringLiteral("CH1 counter"),
                    QStringLiteral("CH2"), QStringLiteral("CH2 counter"), QStringLiteral("Verified")};
    for (size_t position = 0; position < order.size(); ++position) {
        const int id = order[position];
        if (!IsTableID(id))
            continue;
        const ModuleData &record = gModules[size_t(id)];
        const uint8_t mode = record.GetMode();
        const VerifyResult *result = FindResult(verification, id);
        table.rows.append({QString::number(position), QString::number(id), SideText(record.GetSide()),
                           QStringLiteral("%1.%2").arg(record.GetVersion() / 10).arg(record.GetVersion() % 10),
                           ModeByte::BaudText(mode), ModeByte::ParityText(mode),
                           ModeByte::HasTwoStopBits(mode) ? QStringLiteral("2") : QStringLiteral("1"),
                           ModeByte::RuleText(mode), StateText(record.GetStatusChannel1()),
                           QString::number(record.GetErrorCounterChannel1()), StateText(record.GetStatusChannel2()),
                           QString::number(record.GetErrorCounterChannel2()), result ? result->Text() : QString()});
    }
    return table;
}

QString CsvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\r'))
        && !text.contains(QLatin1Char('\n')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray CsvText(const ReportTable &table)
{
    QByteArray text;
    const auto line = [&text](const QStringList &fields) {
        QStringList quoted;
        for (const QString &field : fields)
            quoted << CsvField(field);
        text += (quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
    };
    line(table.header);
    for (const QStringList &row : table.rows)
        line(row);
    return text;
}
