#include "app/RingReport.h"

#include "app/DurationText.h"
#include "core/Ini.h"
#include "core/RingLog.h"
#include "model/AppliedModes.h"
#include "model/ModeByte.h"
#include "model/ReportTable.h"
#include "ringview/RingVectorDrawing.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>

namespace {

// The report's words, in the language of the windows.
struct Words
{
    Q_DECLARE_TR_FUNCTIONS(RingReport)
};

// Page geometry in points (the writer runs at 72 dots per inch).
constexpr double kMargin = 28;
constexpr double kRowHeight = 9.5;
constexpr double kRingSide = 290;
constexpr int kProblemLines = 10;
// The last 24 hours: the ten channels' columns, and the shares in columns of this width.
const double kChannelColumns[] = {60, 50, 60, 90};
constexpr double kShareWidth = 67;
// Column widths of the module table, in points, in the order of its header.
const double kColumnWidths[] = {18, 26, 20, 30, 30, 26, 20, 118, 28, 44, 28, 44, 107};

QString LineSettings(uint8_t mode)
{
    return (ModeByte::HasTwoStopBits(mode) ? Words::tr("%1 baud, parity %2, 2 stop bits, rule %3")
                                           : Words::tr("%1 baud, parity %2, 1 stop bit, rule %3"))
        .arg(ModeByte::BaudText(mode), ModeByte::ParityText(mode), ModeByte::RuleText(mode));
}

// "2026-12-08 14:50:00+01:00" in English, "08.12.2026 14:50:00+01:00" in German.
QString DateText(const QDateTime &time)
{
    return QLocale().toString(time, Words::tr("yyyy-MM-dd HH:mm:ss")) + RingLog::TimeText(time).right(6);
}

// The programming record in the report: its page's paragraphs, and its CSV table.
class ProgrammingPart
{
    Q_DECLARE_TR_FUNCTIONS(ProgrammingPart)

public:
    static QString Title() { return tr("Programming record, last %1 days").arg(RingReport::kProgrammingDays); }

    // A heading per record, then one line per module; each wraps to the page's width.
    static QStringList Paragraphs(const RingReport &report)
    {
        QStringList paragraphs;
        if (!report.programmingsLasting)
            paragraphs << tr("No ring history is kept (the configuration's key \"history\"): the record covers this run only.");
        if (report.programmings.empty())
            paragraphs << tr("No module was programmed or verified.");
        for (const ProgrammingRecord &record : report.programmings) {
            const QString asked = ProgrammingTexts::Asked(record);
            paragraphs << tr("%1  %2 by %3 on %4, %5")
                              .arg(DateText(QDateTime::fromMSecsSinceEpoch(record.timeMs)), ProgrammingTexts::Kind(record.kind),
                                   record.user, record.computer, ProgrammingTexts::Port(record));
            paragraphs << (asked.isEmpty() ? QStringLiteral("    %1").arg(ProgrammingTexts::Outcome(record))
                                           : QStringLiteral("    %1: %2").arg(asked, ProgrammingTexts::Outcome(record)));
            for (const ProgrammedModule &module : record.modules)
                paragraphs << QStringLiteral("        ") + ModuleLine(record, module);
        }
        return paragraphs;
    }

    static ReportTable Table(const std::vector<ProgrammingRecord> &records)
    {
        ReportTable table;
        table.header = QStringList{tr("Time"), tr("Programming"), tr("User"), tr("Computer"), tr("Port"), tr("Asked"),
                                   tr("Module ID"), tr("Mode"), tr("E²PROM"), tr("Frame"), tr("Verified")};
        for (const ProgrammingRecord &record : records) {
            const QStringList head{RingLog::TimeText(QDateTime::fromMSecsSinceEpoch(record.timeMs)),
                                   ProgrammingTexts::Kind(record.kind), record.user, record.computer,
                                   ProgrammingTexts::Port(record), ProgrammingTexts::Asked(record)};
            const bool verify = record.kind == ProgrammingKind::Verify;
            if (record.modules.empty())
                table.rows.append(head + QStringList{QString(), QString(), QString(), QString(), QString()});
            for (const ProgrammedModule &module : record.modules)
                table.rows.append(head + QStringList{QString::number(module.id), ProgrammingTexts::Mode(module.mode),
                                                     verify ? QString() : ProgrammingTexts::Keep(module.keep),
                                                     verify ? QString() : ProgrammingTexts::Frame(module.frame),
                                                     ProgrammingTexts::Verified(module)});
        }
        return table;
    }

private:
    static QString ModuleLine(const ProgrammingRecord &record, const ProgrammedModule &module)
    {
        const QString verified = ProgrammingTexts::Verified(module);
        if (record.kind == ProgrammingKind::Verify)
            return tr("Module %1: %2").arg(module.id).arg(verified);
        const QString sent = tr("Module %1: %2 sent, %3, %4")
                                 .arg(QString::number(module.id), ProgrammingTexts::Mode(module.mode),
                                      ProgrammingTexts::Keep(module.keep), ProgrammingTexts::Frame(module.frame));
        return verified.isEmpty() ? sent : tr("%1; verified: %2").arg(sent, verified);
    }
};

QStringList FrontLines(const RingReport &report)
{
    const RingScan &scan = report.scan;
    QStringList lines{Words::tr("Date: %1").arg(DateText(report.time)),
                      Words::tr("Program: %1 %2").arg(kAppTitle, report.programVersion),
                      Words::tr("Port: COM%1, device %2").arg(scan.portNumber).arg(scan.device),
                      Words::tr("Scanned: %1").arg(DateText(QDateTime::fromMSecsSinceEpoch(scan.sentMs))),
                      Words::tr("Modules: %1").arg(scan.modules.size())};
    if (!scan.modules.empty() && scan.modules.front().side == 'G') {
        const ModuleSnapshot &attached = scan.modules.front();
        lines << Words::tr("Attached module: ID %1, %2").arg(attached.id).arg(LineSettings(attached.mode));
    }
    if (!report.verification) {
        lines << Words::tr("Verify Settings: not run");
    } else {
        const Verification &verification = *report.verification;
        lines << Words::tr("Verify Settings of %1: %2")
                     .arg(DateText(QDateTime::fromMSecsSinceEpoch(verification.timeMs)),
                          VerifyCounts(verification.results));
        int shown = 0;
        int problems = 0;
        int stale = 0;
        for (const VerifyResult &result : verification.results) {
            if (verification.IsStale(result.id, report.applied)) {
                ++stale;
                continue;
            }
            if (!result.IsProblem() && !verification.differsSinceMs.contains(result.id))
                continue;
            if (++problems <= kProblemLines)
                lines << Words::tr("    Module %1: %2").arg(result.id).arg(verification.TextFor(result.id, report.applied)),
                    ++shown;
        }
        if (problems > shown)
            lines << Words::tr("    and %1 more, see the table").arg(problems - shown);
        if (stale > 0)
            lines << (stale == 1 ? Words::tr("    1 module applied after the check, no longer verified")
                                 : Words::tr("    %1 modules applied after the check, no longer verified").arg(stale));
    }
    for (const QString &difference : report.referenceDifferences)
        lines << Words::tr("Reference ring: %1").arg(difference);
    return lines;
}

class PdfLayout
{
public:
    PdfLayout(QPainter &painter, const RingReport &report, const ReportTable &table, const QSizeF &page)
        : mPainter(painter), mReport(report), mTable(table), mPage(page), mFront(FrontLines(report))
    {
        mBodyFont = painter.font();
        mBodyFont.setPointSizeF(9);
        // Without ligatures: a search for "differs" must find what "ff" was drawn as.
        mBodyFont.setStyleStrategy(QFont::PreferNoShaping);
        mTableFont = mBodyFont;
        mTableFont.setPointSizeF(6);
        mTableTop = kMargin + 30 + mFront.size() * 12 + kRingSide + 16;
        LayOutProgramming(ProgrammingPart::Paragraphs(report));
    }

    int TablePages() const { return 1 + std::max<int>(0, (int(mTable.rows.size()) - FirstPageRows() + RowsPerPage() - 1) / RowsPerPage()); }
    int PageCount() const
    {
        const int shares = int(mReport.answered.size());
        const int first = SharesPerPage(SharesTop());
        return TablePages() + 1 + std::max(0, (shares - first + SharesPerPage(kMargin) - 1) / SharesPerPage(kMargin))
            + int(mProgrammingPages.size());
    }

    void Draw(QPdfWriter &writer)
    {
        const int pages = PageCount();
        DrawFront();
        qsizetype row = 0;
        size_t share = 0;
        const int firstProgrammingPage = pages - int(mProgrammingPages.size()) + 1;
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                writer.newPage();
            if (page >= firstProgrammingPage) {
                DrawProgramming(page - firstProgrammingPage);
            } else if (page <= TablePages()) {
                const int rows = page == 1 ? FirstPageRows() : RowsPerPage();
                DrawTable(page == 1 ? mTableTop : kMargin, row, std::min<qsizetype>(mTable.rows.size(), row + rows));
                row += rows;
            } else {
                const double top = page == TablePages() + 1 ? DrawLastDay() : kMargin;
                share = DrawShares(top, share);
            }
            mPainter.setFont(mTableFont);
            mPainter.drawText(QRectF(kMargin, mPage.height() - kMargin + 6, mPage.width() - 2 * kMargin, 12),
                              Qt::AlignRight, Words::tr("Page %1 of %2").arg(page).arg(pages));
        }
    }

private:
    struct Placed
    {
        QString text;
        QRectF rect;
    };
    static constexpr int kWrap = Qt::TextWordWrap | Qt::TextWrapAnywhere;

    // The paragraphs in pages, each whole on one page, the first page below its heading.
    void LayOutProgramming(const QStringList &paragraphs)
    {
        const QFontMetricsF metrics(mBodyFont, mPainter.device());
        const double width = mPage.width() - 2 * kMargin;
        double y = kMargin + 30;
        mProgrammingPages.emplace_back();
        for (const QString &text : paragraphs) {
            const double height = std::min(Bottom() - kMargin - 30,
                                           metrics.boundingRect(QRectF(0, 0, width, 1e6), kWrap, text).height() + 2);
            if (y + height > Bottom() && !mProgrammingPages.back().empty()) {
                mProgrammingPages.emplace_back();
                y = kMargin;
            }
            mProgrammingPages.back().push_back({text, QRectF(kMargin, y, width, height)});
            y += height;
        }
    }

    void DrawProgramming(int index)
    {
        if (index == 0)
            DrawTitle(ProgrammingPart::Title(), 13);
        mPainter.setFont(mBodyFont);
        for (const Placed &placed : mProgrammingPages[size_t(index)])
            mPainter.drawText(placed.rect, kWrap, placed.text);
    }

    double Bottom() const { return mPage.height() - kMargin; }
    int RowsFrom(double top) const { return std::max(0, int((Bottom() - top - kRowHeight) / kRowHeight)); }
    int FirstPageRows() const { return RowsFrom(mTableTop); }
    int RowsPerPage() const { return RowsFrom(kMargin); }
    int ShareColumns() const { return std::max(1, int((mPage.width() - 2 * kMargin) / kShareWidth)); }
    int SharesPerPage(double top) const { return RowsFrom(top) * ShareColumns(); }
    // Where the shares begin below the ten channels on the first page of the last 24 hours.
    double SharesTop() const { return kMargin + 30 + (3 + std::max<size_t>(1, mReport.largestIncrease.size())) * 12 + 24; }

    // The heading, the ten channels and the heading of the shares; returns where the shares go.
    double DrawLastDay()
    {
        DrawTitle(Words::tr("Last 24 hours"), 13);
        double y = kMargin + 30;
        const auto line = [&](const QStringList &cells, const double *widths) {
            y += 12;
            double x = kMargin;
            for (qsizetype c = 0; c < cells.size(); ++c) {
                mPainter.drawText(QPointF(x, y), cells[c]);
                x += widths ? widths[c] : 0;
            }
        };
        if (!mReport.historyKept) {
            line({Words::tr("No ring history is kept (the configuration's key \"history\").")}, nullptr);
            return y + 12;
        }
        line({Words::tr("Largest error-counter increase")}, nullptr);
        line({Words::tr("Module ID"), Words::tr("Channel"), Words::tr("Increase"), Words::tr("Time faulty")},
             kChannelColumns);
        if (mReport.largestIncrease.empty())
            line({Words::tr("No channel counted errors or was faulty.")}, nullptr);
        for (const ChannelTotal &channel : mReport.largestIncrease)
            line({QString::number(channel.id), QString::number(channel.channel), QStringLiteral("+%1").arg(channel.increase),
                  DurationText(channel.faultyMs)},
                 kChannelColumns);
        y = SharesTop() - 12;
        const int scans = mReport.answered.empty() ? 0 : mReport.answered.front().scans;
        mPainter.drawText(QPointF(kMargin, y), Words::tr("Share of the %1 scans each module answered").arg(scans));
        return SharesTop();
    }

    // The shares from index first on, in columns down the page; returns the next index.
    size_t DrawShares(double top, size_t first)
    {
        mPainter.setFont(mTableFont);
        const int rows = RowsFrom(top);
        size_t index = first;
        for (int column = 0; column < ShareColumns() && index < mReport.answered.size(); ++column) {
            for (int row = 0; row < rows && index < mReport.answered.size(); ++row, ++index) {
                const ModuleShare &share = mReport.answered[index];
                mPainter.drawText(QPointF(kMargin + column * kShareWidth, top + (row + 1) * kRowHeight),
                                  QStringLiteral("%1: %2 %").arg(share.id).arg(QLocale().toString(share.Percent(), 'f', 1)));
            }
        }
        return index;
    }

    // A page's heading in bold at the top; the body's font afterwards.
    void DrawTitle(const QString &text, double points)
    {
        QFont title = mBodyFont;
        title.setPointSizeF(points);
        title.setBold(true);
        mPainter.setFont(title);
        mPainter.drawText(QPointF(kMargin, kMargin + points), text);
        mPainter.setFont(mBodyFont);
    }

    void DrawFront()
    {
        DrawTitle(Words::tr("ZEPHLINK9 Ring Report"), 18);
        double y = kMargin + 30;
        for (const QString &line : mFront) {
            y += 12;
            mPainter.drawText(QPointF(kMargin, y), line);
        }
        DrawRingVector(mPainter, QRectF((mPage.width() - kRingSide) / 2, y + 8, kRingSide, kRingSide), mReport.scan.modules);
    }

    void DrawRow(double y, const QStringList &cells)
    {
        const QFontMetricsF metrics(mPainter.font());
        double x = kMargin;
        for (qsizetype c = 0; c < cells.size() && c < qsizetype(std::size(kColumnWidths)); ++c) {
            const double width = kColumnWidths[c];
            mPainter.drawText(QPointF(x, y), metrics.elidedText(cells[c], Qt::ElideRight, width - 2));
            x += width;
        }
    }

    void DrawTable(double top, qsizetype from, qsizetype to)
    {
        QFont header = mTableFont;
        header.setBold(true);
        mPainter.setFont(header);
        double y = top + kRowHeight;
        DrawRow(y - 2, mTable.header);
        mPainter.drawLine(QPointF(kMargin, y), QPointF(mPage.width() - kMargin, y));
        mPainter.setFont(mTableFont);
        for (qsizetype row = from; row < to; ++row) {
            y += kRowHeight;
            DrawRow(y - 2, mTable.rows[row]);
        }
    }

    QPainter &mPainter;
    const RingReport &mReport;
    const ReportTable &mTable;
    QSizeF mPage;
    QStringList mFront;
    std::vector<std::vector<Placed>> mProgrammingPages;
    QFont mBodyFont;
    QFont mTableFont;
    double mTableTop = 0;
};

bool WritePdf(QIODevice &device, const RingReport &report, const ReportTable &table)
{
    QPdfWriter writer(&device);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(Words::tr("ZEPHLINK9 Ring Report"));
    writer.setCreator(kAppTitle + QLatin1Char(' ') + report.programVersion);
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    PdfLayout layout(painter, report, table, QSizeF(writer.width(), writer.height()));
    layout.Draw(writer);
    return painter.end();
}

} // namespace

QString ProposedReportName(const QDateTime &time)
{
    return time.toString(QStringLiteral("'ring-report-'yyyy-MM-dd-HHmm'.pdf'"));
}

QString SaveRingReport(const RingReport &report, const QString &path)
{
    const ReportTable table = BuildReportTable(report.scan.modules, report.verification, report.applied);
    QSaveFile file(path);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) {
            QByteArray text = CsvText(table);
            if (!report.programmings.empty())
                text += "\r\n" + CsvText(ProgrammingPart::Table(report.programmings));
            written = file.write(text) == text.size();
        } else {
            written = WritePdf(file, report, table);
        }
        written = written && file.commit();
    }
    if (written)
        return {};
    return Words::tr("The report cannot be written:\r\n%1\r\n%2")
        .arg(QDir::toNativeSeparators(path), file.errorString());
}
