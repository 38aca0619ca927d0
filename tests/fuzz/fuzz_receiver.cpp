// Feeds arbitrary bytes, cut at arbitrary read boundaries, through the poll and the parse
// pass, and checks the module table after every pass.
#include "bus/BusLink.h"
#include "bus/MemorySerialPort.h"
#include "bus/SendCommand.h"
#include "model/Global.h"

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

void CheckTable()
{
    // Reads and writes outside the receive buffer are the address sanitizer's to catch.
    Check(gModuleCount >= 0 && gModuleCount <= kTableSize, "count within bounds");
    QSet<int> seen;
    for (int i = 0; i < gModuleCount; ++i) {
        const int id = gModuleOrder[size_t(i)];
        Check(IsTableID(id), "counted ID has a table slot");
        Check(!seen.contains(id), "counted IDs are distinct");
        seen.insert(id);
    }
    Check(IsTableID(gLocalModuleID), "local module has a table slot");
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
    ResetGlobals();
    MemorySerialPort port;
    port.Open();
    SetCommPort(&port);
    BusLink link(&port);
    gDebugMode = size > 0 && (data[0] & 1);

    size_t at = 0;
    int reads = 0;
    while (at < size) {
        const uint8_t control = data[at++];
        if (control & 0x80)
            gModuleCount = 0;
        const size_t length = std::min<size_t>((control & 0x7F) + 1u, size - at);
        port.Feed(QByteArray(reinterpret_cast<const char *>(data + at), qsizetype(length)));
        at += length;
        link.Timer1_Timer();
        // Every few reads a pass runs, as the timers would run it.
        if (++reads % 3 == 0 || at >= size) {
            link.Timer2_Timer();
            CheckTable();
        }
    }
    link.Timer1_Timer();
    link.Timer2_Timer();
    CheckTable();
    SetCommPort(nullptr);
    return 0;
}
