#pragma once
// The mode byte's fields (baud-rate code, stop bits, error-relay rule, parity) and their display texts.
#include <QString>
#include <QStringList>
#include <cstdint>

namespace ModeByte {

inline constexpr uint8_t kBaudMask = 0x07;
inline constexpr uint8_t kTwoStopBits = 0x08;
inline constexpr uint8_t kRuleMask = 0x30;
inline constexpr uint8_t kParityEven = 0x40;
inline constexpr uint8_t kParityOdd = 0x80;

enum class Parity { None, Even, Odd };

// "1200" .. "115200", list position = baud-rate code.
const QStringList &BaudTexts();
// The four error-relay rules, list position = rule code (bits 4 and 5 shifted down).
const QStringList &RuleTexts();

QString BaudText(uint8_t mode);
QString RuleText(uint8_t mode);
// Bit 7 wins over bit 6: both set reads as odd.
Parity ParityOf(uint8_t mode);
// "none", "even" or "odd", as the Global Settings window names them.
QString ParityText(uint8_t mode);
bool HasTwoStopBits(uint8_t mode);

// Exact, case-sensitive matches; any other text gives 0.
uint8_t BaudCodeFromText(const QString &text);
uint8_t RuleBitsFromText(const QString &text);

} // namespace ModeByte
