#include "model/ReportTable.h"

#include "model/CsvField.h"
#include "model/ModeByte.h"
#include "model/ModuleListModel.h"
#include "model/ModuleTexts.h"

ReportTable BuildReportTable(const RingSnapshot &ring, const std::optional<Verification> &verification,
                             const AppliedModes &applied)
{
    using Column = ModuleListModel::Column;
    ReportTable table;
    for (const Column column : {Column::Pos, Column::ID, Column::Side, Column::Version, Column::Baud, Column::Parity,
                                Column::Stop, Column::ErrorRelais, Column::CH1, Column::CH1Errors, Column::CH2,
                                Column::CH2Errors, Column::Verified})
        table.header << ModuleListModel::Caption(column);
    for (size_t position = 0; position < ring.size(); ++position) {
        const ModuleSnapshot &module = ring[position];
        const uint8_t mode = module.mode;
        table.rows.append({QString::number(position), QString::number(module.id), SideText(module.side),
                           VersionText(module.version), ModeByte::BaudText(mode), ModeByte::ParityText(mode),
                           ModeByte::HasTwoStopBits(mode) ? QStringLiteral("2") : QStringLiteral("1"),
                           ModeByte::RuleText(mode), ChannelStateText(module.faulty1), QString::number(module.counter1),
                           ChannelStateText(module.faulty2), QString::number(module.counter2),
                           verification ? verification->TextFor(module.id, applied) : QString()});
    }
    return table;
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
