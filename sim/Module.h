// One converter module of the simulated ring: what it reports on the wire and
// which mode byte it keeps in its EEPROM.
#pragma once

#include <cstdint>

namespace zephsim {

struct Channel {
    bool fault = false;
    std::uint16_t counter = 0; // 15 bit
};

struct Module {
    static constexpr std::uint8_t kDefaultVersion = 41;
    static constexpr std::uint8_t kDefaultMode = 0x13; // 9600 baud, 1 stop bit, no parity, relay rule 16
    static constexpr std::uint16_t kMaxCounter = 0x7FFF;

    std::uint16_t id = 0;
    char side = 'L'; // 'G' attached to the PC, 'L' or 'R' by its side of the ring
    std::uint8_t version = kDefaultVersion;
    std::uint8_t mode = kDefaultMode;       // running mode byte
    std::uint8_t storedMode = kDefaultMode; // mode byte kept in EEPROM
    Channel ch1;
    Channel ch2;
    bool silent = false; // never answers, still takes S and W
    bool ignoresWrites = false; // answers, but S and W leave its mode byte as it was
};

} // namespace zephsim
