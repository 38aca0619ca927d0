// Feeds arbitrary files to the configuration file reader and writer.
#include "core/Ini.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray file(reinterpret_cast<const char *>(data), qsizetype(size));
    const QByteArray section = "ZEPHLINK9 Setup Tool";
    const auto debugBefore = IniRawValue(file, section, "debug");
    if (const auto value = IniRawValue(file, section, "comport"))
        IniTextToInt(*value);
    // What was written reads back, whatever the file held before, and the other key keeps
    // its value.
    const QByteArray written = IniSetValue(file, section, "comport", " 3");
    const auto back = IniRawValue(written, section, "comport");
    if (!back || IniTextToInt(*back) != 3) {
        std::fprintf(stderr, "comport did not read back after writing\n");
        std::abort();
    }
    if (IniRawValue(written, section, "debug") != debugBefore) {
        std::fprintf(stderr, "writing comport changed debug\n");
        std::abort();
    }
    return 0;
}
