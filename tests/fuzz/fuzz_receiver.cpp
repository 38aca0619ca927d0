// Feeds arbitrary bytes, cut at arbitrary read boundaries, through the poll and the parse
// pass, and checks the replies waiting after every read and the module table after every pass.
#include "bus/BusLink.h"
#include "MemorySerialPort.h"
#include "model/RingTable.h"

#include <QCoreApplication>
#include <QSet>
#include <cstdlib>
#include <cstdio>

namespace {

void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s\n", what);
        std::abort();
    }
}

void CheckTable(const RingTable &table)
{
    // Reads and writes outside the receive buffer are the address sanitizer's to catch.
    Check(table.Count() >= 0 && table.Count() <= kTableSize, "count within bounds");
    QSet<int> seen;
    for (const int id : table.Order()) {
        Check(IsTableID(id), "counted ID has a table slot");
        Check(!seen.contains(id), "counted IDs are distinct");
        seen.insert(id);
    }
    Check(IsTableID(table.LocalModuleID()), "local module has a table slot");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

// The input is a sequence of chunks: one control byte, then up to 255 bytes of line data.
// Control bits: low 7 bits + 1 is the chunk length; the top bit starts a new scan first.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    MemorySerialPort port;
    port.Open();
    RingTable table;
    BusLink link(&port, table);
    link.Receiver().SetEcho(size > 0 && (data[0] & 1));

    size_t at = 0;
    int reads = 0;
    while (at < size) {
        const uint8_t control = data[at++];
        if (control & 0x80)
            table.ClearOrder();
        const size_t length = std::min<size_t>((control & 0x7F) + 1u, size - at);
        port.Feed(QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(length)));
        at += length;
        link.PollPort();
        for (const ModuleSnapshot &waiting : link.Receiver().Waiting())
            Check(IsTableID(waiting.id), "a waiting reply has a table slot");
        // Every few reads a pass runs, as the timers would run it.
        if (++reads % 3 == 0 || at >= size) {
            link.ParseReceived();
            CheckTable(table);
        }
    }
    link.PollPort();
    link.ParseReceived();
    CheckTable(table);
    return 0;
}
