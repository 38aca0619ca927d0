#include "metrics/MetricsPage.h"

#include <bitset>
#include <charconv>
#include <memory>
#include <vector>

namespace {

// Appends without a QString or a formatted number in between: a ring of 1000 modules is
// 6000 lines.
class PageText
{
public:
    explicit PageText(qsizetype expected) { mText.reserve(expected); }

    PageText &operator<<(const char *text)
    {
        mText.append(text);
        return *this;
    }
    PageText &operator<<(int64_t value)
    {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        mText.append(digits, end - digits);
        return *this;
    }
    PageText &operator<<(char c)
    {
        mText.append(c);
        return *this;
    }
    void Family(const char *name, const char *type, const char *help)
    {
        *this << "# HELP " << name << ' ' << help << "\n# TYPE " << name << ' ' << type << '\n';
    }
    // "4.1" and "0x13", as the ring log writes them.
    void Version(uint8_t version) { *this << int64_t(version / 10) << '.' << int64_t(version % 10); }
    void Mode(uint8_t mode)
    {
        static const char hex[] = "0123456789ABCDEF";
        *this << "0x" << hex[mode >> 4] << hex[mode & 15];
    }
    void Side(uint8_t side)
    {
        if (side >= 0x20 && side < 0x7f && side != '"' && side != '\\')
            *this << char(side);
    }
    QByteArray Take() { return std::move(mText); }

private:
    QByteArray mText;
};

void Channels(PageText &page, const RingSnapshot &ring, const std::vector<bool> &first, bool counters)
{
    for (size_t k = 0; k < ring.size(); ++k) {
        if (!first[k])
            continue;
        const ModuleSnapshot &module = ring[k];
        for (int channel = 1; channel <= 2; ++channel) {
            page << (counters ? "zephlink9_channel_errors_total{module=\"" : "zephlink9_channel_faulty{module=\"")
                 << int64_t(module.id) << "\",channel=\"" << char('0' + channel) << "\"} ";
            if (counters)
                page << int64_t(channel == 1 ? module.counter1 : module.counter2) << '\n';
            else
                page << ((channel == 1 ? module.faulty1 : module.faulty2) ? "1\n" : "0\n");
        }
    }
}

} // namespace

QByteArray MetricsPage(const MetricsSources &sources)
{
    static const RingSnapshot kNone;
    const RingKeeper &keeper = *sources.keeper;
    const RingScan &last = keeper.LastScan();
    // Each module as its newest reply told it: a break shows before the scan that read it is over.
    const RingSnapshot &ring = keeper.LastFound() ? keeper.Newest() : kNone;
    const RingSnapshot &reference = keeper.Reference() ? *keeper.Reference() : kNone;

    // A module that answered twice in one scan is one series: its first place counts.
    auto seen = std::make_unique<std::bitset<65536>>();
    std::vector<bool> first(ring.size());
    for (size_t k = 0; k < ring.size(); ++k) {
        const size_t id = size_t(ring[k].id) & 0xFFFF;
        first[k] = !seen->test(id);
        seen->set(id);
    }

    PageText page(qsizetype(2000 + ring.size() * 360 + reference.size() * 40));
    page.Family("zephlink9_port_open", "gauge", "Whether the serial port to the ring is open (1) or not (0).");
    page << "zephlink9_port_open " << (sources.portOpen ? "1\n" : "0\n");
    page.Family("zephlink9_ring_modules", "gauge",
                "Modules counted by the last finished scan; none after a scan cut by a lost port, which is no ring.");
    if (!last.cut)
        page << "zephlink9_ring_modules " << int64_t(last.modules.size()) << '\n';
    page.Family("zephlink9_scans_total", "counter",
                "Scans finished since the program started, by whether they found modules, found none, or were cut by a lost port.");
    page << "zephlink9_scans_total{result=\"found\"} " << int64_t(sources.scans.found) << '\n';
    page << "zephlink9_scans_total{result=\"none\"} " << int64_t(sources.scans.none) << '\n';
    page << "zephlink9_scans_total{result=\"cut\"} " << int64_t(sources.scans.cut) << '\n';
    page.Family("zephlink9_last_scan_timestamp_seconds", "gauge",
                "When the last finished scan was sent to the ring, in seconds since 1970 UTC.");
    if (last.serial != 0) {
        const int64_t ms = last.sentMs;
        page << "zephlink9_last_scan_timestamp_seconds " << ms / 1000 << '.' << char('0' + ms % 1000 / 100)
             << char('0' + ms % 100 / 10) << char('0' + ms % 10) << '\n';
    }

    page.Family("zephlink9_module_info", "gauge",
                "Each module of the last scan that found modules: ring position and reply letter in that scan, firmware and mode byte as its newest reply told them.");
    for (size_t k = 0; k < ring.size(); ++k) {
        if (!first[k])
            continue;
        const ModuleSnapshot &module = ring[k];
        page << "zephlink9_module_info{module=\"" << int64_t(module.id) << "\",position=\"" << int64_t(k)
             << "\",side=\"";
        page.Side(module.side);
        page << "\",version=\"";
        page.Version(module.version);
        page << "\",mode=\"";
        page.Mode(module.mode);
        page << "\"} 1\n";
    }

    page.Family("zephlink9_module_present", "gauge",
                "Whether a module of the last scan that found modules or of the reference answered that scan (1) or not (0).");
    for (size_t k = 0; k < ring.size(); ++k)
        if (first[k])
            page << "zephlink9_module_present{module=\"" << int64_t(ring[k].id) << "\"} 1\n";
    int64_t missing = 0;
    // Before the first scan nothing is known to be missing, nor after scans that were all cut.
    const bool compared = last.serial != 0 && (keeper.LastFound() || !last.cut);
    for (const ModuleSnapshot &module : compared ? reference : kNone) {
        const size_t id = size_t(module.id) & 0xFFFF;
        if (seen->test(id))
            continue;
        seen->set(id);
        ++missing;
        page << "zephlink9_module_present{module=\"" << int64_t(module.id) << "\"} 0\n";
    }

    page.Family("zephlink9_channel_faulty", "gauge",
                "Whether a module's channel reported a fault (1) or not (0) in the module's newest reply.");
    Channels(page, ring, first, false);
    page.Family("zephlink9_channel_errors_total", "counter",
                "A channel's error counter as the module last reported it; a power-cycled module counts from 0 again.");
    Channels(page, ring, first, true);

    page.Family("zephlink9_reference_modules_missing", "gauge",
                "Modules of the reference that the last scan that found modules did not find.");
    page << "zephlink9_reference_modules_missing " << missing << '\n';
    page.Family("zephlink9_events_unacknowledged", "gauge",
                "Events of this program's serial port not yet acknowledged in the Events window: those of this run"
                " and the newest of earlier runs that the history kept.");
    page << "zephlink9_events_unacknowledged " << int64_t(sources.eventsUnacknowledged) << '\n';
    page.Family("zephlink9_history_up", "gauge",
                "Whether the ring history file is open and keeping the scans (1) or not (0: none set, refused, or waiting to be tried again).");
    page << "zephlink9_history_up " << (sources.historyUp ? "1\n" : "0\n");
    page.Family("zephlink9_history_scans_missed_total", "counter",
                "Scans finished since the program started that the ring history did not keep (file locked, disk full, file out of reach or refused, clock far ahead).");
    page << "zephlink9_history_scans_missed_total " << int64_t(sources.historyScansMissed) << '\n';
    return page.Take();
}
