#pragma once
// The configuration file, read and written as the Windows private-profile functions do:
// names without regard to case, blanks around names and values ignored, one line
// changed per write and every other line, comment and key kept as it was. A file that
// begins with a UTF-8 byte-order mark keeps it; one in UTF-16 LE with its mark stays so.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

inline const QString kAppTitle = QStringLiteral("ZEPHLINK9 Setup Tool");

// The value of key (one pair of enclosing quotes taken off) as a whole number from its
// leading decimal digits (an optional sign first); -1 when the file, the section or the key is missing or the value is empty.
int32_t ReadIniInt(const QString &section, const QString &key, const QString &file);

// The value of key with blanks (and one pair of enclosing quotes) taken off; fallback
// when the file, the section or the key is missing.
QString ReadIniString(const QString &section, const QString &key, const QString &file,
                      const QString &fallback = QString());

// The file that key names, relative to the configuration file's folder or absolute; fallback
// when the key is missing, and empty when neither names a file.
QString ConfiguredFilePath(const QString &iniPath, const QString &key, const QString &fallback = QString());

// Replaces the value of key (adding the key to its section, or the section at the end of
// the file); true only when the file was written.
bool WriteIniString(const QString &section, const QString &key, const QString &value,
                    const QString &file);

// Whole-number reading of a value text, as ReadIniInt does it: 0 when it has no digits.
int32_t IniTextToInt(const QByteArray &text);

// The same on the file's bytes, without touching a file; the value as it stands in the
// file, quotes and all (UTF-8 when the file is UTF-16).
std::optional<QByteArray> IniRawValue(const QByteArray &data, const QByteArray &section, const QByteArray &key);
QByteArray IniSetValue(const QByteArray &data, const QByteArray &section, const QByteArray &key,
                       const QByteArray &value, const QByteArray &newFileNewline = "\n");
