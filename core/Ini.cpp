#include "core/Ini.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <optional>

namespace {

// Files larger than this are not configuration files; reading them is refused.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

// The file's bytes as the reader sees them: without a byte-order mark, and UTF-16 little
// endian turned into 8-bit text (UTF-8, with a lone surrogate kept as its own three bytes,
// so that every line not written turns back into exactly the units it was read from).
struct Text
{
    enum Encoding { Bytes, Utf8Mark, Utf16Le };
    Encoding encoding = Bytes;
    QByteArray text;
    QByteArray tail;  // an odd last byte of a UTF-16 file, kept as it was
};

const QByteArray kUtf8Mark = "\xEF\xBB\xBF";
const QByteArray kUtf16LeMark = "\xFF\xFE";

QByteArray Utf16ToText(const char *data, qsizetype units)
{
    QByteArray out;
    out.reserve(units * 3);
    const auto unit = [data](qsizetype i) { return char16_t(uchar(data[2 * i]) | uchar(data[2 * i + 1]) << 8); };
    for (qsizetype i = 0; i < units; ++i) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units && unit(i + 1) >= 0xDC00 && unit(i + 1) < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (unit(++i) - 0xDC00);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The inverse of Utf16ToText; a byte that starts no sequence becomes U+FFFD.
QByteArray TextToUtf16(const QByteArray &text)
{
    QByteArray out;
    out.reserve(text.size() * 2);
    const auto put = [&out](uint32_t unit) {
        out += char(unit & 0xFF);
        out += char(unit >> 8);
    };
    const auto follow = [&text](qsizetype i) { return i < text.size() && (uchar(text[i]) & 0xC0) == 0x80; };
    for (qsizetype i = 0; i < text.size();) {
        const uchar b = uchar(text[i]);
        uint32_t c = 0xFFFD;
        qsizetype length = 1;
        if (b < 0x80) {
            c = b;
        } else if (b >= 0xC2 && b < 0xE0 && follow(i + 1)) {
            c = (b & 0x1Fu) << 6 | (uchar(text[i + 1]) & 0x3Fu);
            length = 2;
        } else if (b >= 0xE0 && b < 0xF0 && follow(i + 1) && follow(i + 2)) {
            const uint32_t v = (b & 0x0Fu) << 12 | (uchar(text[i + 1]) & 0x3Fu) << 6 | (uchar(text[i + 2]) & 0x3Fu);
            if (v >= 0x800) {
                c = v;
                length = 3;
            }
        } else if (b >= 0xF0 && b < 0xF5 && follow(i + 1) && follow(i + 2) && follow(i + 3)) {
            const uint32_t v = (b & 0x07u) << 18 | (uchar(text[i + 1]) & 0x3Fu) << 12
                | (uchar(text[i + 2]) & 0x3Fu) << 6 | (uchar(text[i + 3]) & 0x3Fu);
            if (v >= 0x10000 && v < 0x110000) {
                c = v;
                length = 4;
            }
        }
        i += length;
        if (c < 0x10000) {
            put(c);
        } else {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

Text Decode(const QByteArray &data)
{
    Text t;
    if (data.startsWith(kUtf16LeMark)) {
        t.encoding = Text::Utf16Le;
        const qsizetype units = (data.size() - 2) / 2;
        t.text = Utf16ToText(data.constData() + 2, units);
        t.tail = data.mid(2 + 2 * units);
    } else if (data.startsWith(kUtf8Mark)) {
        t.encoding = Text::Utf8Mark;
        t.text = data.mid(kUtf8Mark.size());
    } else {
        t.text = data;
    }
    return t;
}

QByteArray Encode(const Text &t, const QByteArray &text)
{
    switch (t.encoding) {
    case Text::Utf16Le:
        return kUtf16LeMark + TextToUtf16(text) + t.tail;
    case Text::Utf8Mark:
        return kUtf8Mark + text;
    case Text::Bytes:
        break;
    }
    return text;
}

// The value without one pair of enclosing quotes.
QByteArray Unquoted(const QByteArray &value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

struct IniLines
{
    QList<QByteArray> lines;  // without line ends
    QList<QByteArray> ends;  // each line's own end, empty for a last line without one
    QByteArray newline = "\n";  // for lines added

    void insert(qsizetype at, const QByteArray &line)
    {
        if (at == lines.size() && !ends.isEmpty() && ends.last().isEmpty())
            ends.last() = newline;
        lines.insert(at, line);
        ends.insert(at, newline);
    }
    QByteArray join() const
    {
        QByteArray out;
        for (qsizetype i = 0; i < lines.size(); ++i)
            out += lines[i] + ends[i];
        return out;
    }
};

IniLines Split(const QByteArray &data)
{
    IniLines ini;
    if (data.contains("\r\n"))
        ini.newline = "\r\n";
    qsizetype from = 0;
    while (from < data.size()) {
        const qsizetype lf = data.indexOf('\n', from);
        if (lf < 0) {
            ini.lines.append(data.mid(from));
            ini.ends.append(QByteArray());
            break;
        }
        const bool crlf = lf > from && data[lf - 1] == '\r';
        ini.lines.append(data.mid(from, lf - from - (crlf ? 1 : 0)));
        ini.ends.append(crlf ? QByteArray("\r\n") : QByteArray("\n"));
        from = lf + 1;
    }
    return ini;
}

std::optional<QByteArray> LoadFresh(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxFileSize)
        return std::nullopt;
    return f.read(kMaxFileSize);
}

// The file as last read, and what it looked like on disk then.
struct Cached
{
    QString path;
    QDateTime modified;
    QDateTime born;
    qint64 size = -1;
    std::optional<QByteArray> data;
};

Cached &LastRead()
{
    static Cached cached;
    return cached;
}

// Read once per change of the file: a look at its size and times tells whether it changed.
std::optional<QByteArray> Load(const QString &file)
{
    const QFileInfo info(file);
    Cached &cached = LastRead();
    if (cached.path == file && info.exists() && info.size() == cached.size
        && info.lastModified() == cached.modified && info.birthTime() == cached.born)
        return cached.data;
    cached = Cached{file, info.lastModified(), info.birthTime(), info.exists() ? info.size() : -1, LoadFresh(file)};
    if (!info.exists())
        cached.path.clear();
    return cached.data;
}

QByteArray Local8(const QString &text) { return text.toLocal8Bit(); }

bool SameName(const QByteArray &a, const QByteArray &b)
{
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QByteArray> SectionName(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (!trimmed.startsWith('['))
        return std::nullopt;
    const qsizetype close = trimmed.indexOf(']');
    return close < 0 ? trimmed.mid(1) : trimmed.mid(1, close - 1);
}

// The key name of a "key=value" line, or nothing for comments and other lines.
std::optional<QByteArray> KeyName(const QByteArray &line)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(';'))
        return std::nullopt;
    const qsizetype eq = line.indexOf('=');
    if (eq < 0)
        return std::nullopt;
    return line.left(eq).trimmed();
}

struct Place
{
    qsizetype section = -1;  // line of the section header
    qsizetype sectionEnd = -1;  // one past its last line
    qsizetype key = -1;  // line of the key
};

Place Find(const IniLines &ini, const QByteArray &section, const QByteArray &key)
{
    Place place;
    for (qsizetype i = 0; i < ini.lines.size(); ++i) {
        const auto name = SectionName(ini.lines[i]);
        if (place.section >= 0) {
            if (name) {
                place.sectionEnd = i;
                return place;
            }
            const auto k = KeyName(ini.lines[i]);
            if (place.key < 0 && k && SameName(*k, key))
                place.key = i;
        } else if (name && SameName(*name, section)) {
            place.section = i;
        }
    }
    if (place.section >= 0)
        place.sectionEnd = ini.lines.size();
    return place;
}

std::optional<QByteArray> RawValue(const QString &section, const QString &key, const QString &file)
{
    const auto data = Load(file);
    if (!data)
        return std::nullopt;
    return IniRawValue(*data, Local8(section), Local8(key));
}

} // namespace

std::optional<QByteArray> IniRawValue(const QByteArray &data, const QByteArray &section, const QByteArray &key)
{
    const IniLines ini = Split(Decode(data).text);
    const Place place = Find(ini, section, key);
    if (place.key < 0)
        return std::nullopt;
    const QByteArray &line = ini.lines[place.key];
    return line.mid(line.indexOf('=') + 1).trimmed();
}

QByteArray IniSetValue(const QByteArray &data, const QByteArray &section, const QByteArray &key,
                       const QByteArray &value, const QByteArray &newFileNewline)
{
    const Text text = Decode(data);
    IniLines ini = Split(text.text);
    if (text.text.isEmpty())
        ini.newline = newFileNewline;
    const Place place = Find(ini, section, key);
    if (place.key >= 0) {
        const QByteArray &old = ini.lines[place.key];
        ini.lines[place.key] = old.left(old.indexOf('=')).trimmed() + '=' + value;
    } else if (place.section >= 0) {
        // After the section's last line that is not blank.
        qsizetype at = place.sectionEnd;
        while (at - 1 > place.section && ini.lines[at - 1].trimmed().isEmpty())
            --at;
        ini.insert(at, key + '=' + value);
    } else {
        if (!ini.lines.isEmpty() && !ini.lines.last().trimmed().isEmpty())
            ini.insert(ini.lines.size(), QByteArray());
        ini.insert(ini.lines.size(), '[' + section + ']');
        ini.insert(ini.lines.size(), key + '=' + value);
    }
    return Encode(text, ini.join());
}

int32_t IniTextToInt(const QByteArray &text)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    uint32_t value = 0;  // wraps as the platform's 32-bit reading does
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + uint32_t(text[i] - '0');
    if (negative)
        value = 0u - value;
    return int32_t(value);
}

int32_t ReadIniInt(const QString &section, const QString &key, const QString &file)
{
    const auto value = RawValue(section, key, file);
    if (!value || Unquoted(*value).isEmpty())
        return -1;
    return IniTextToInt(Unquoted(*value));
}

QString ReadIniString(const QString &section, const QString &key, const QString &file,
                      const QString &fallback)
{
    const auto data = Load(file);
    const auto value = data ? IniRawValue(*data, Local8(section), Local8(key)) : std::nullopt;
    if (!value)
        return fallback;
    // A file in Unicode (UTF-16 or UTF-8, with its mark or without) holds its values as the
    // text they are; any other is in the system's 8-bit code page, as the platform reads it.
    const bool unicode = data->startsWith(kUtf16LeMark) || data->startsWith(kUtf8Mark)
        || data->isValidUtf8();
    return unicode ? QString::fromUtf8(Unquoted(*value)) : QString::fromLocal8Bit(Unquoted(*value));
}

QString ConfiguredFilePath(const QString &iniPath, const QString &key, const QString &fallback)
{
    const QString name = ReadIniString(kAppTitle, key, iniPath, fallback);
    return name.isEmpty() ? QString() : QFileInfo(iniPath).absoluteDir().absoluteFilePath(name);
}

bool WriteIniString(const QString &section, const QString &key, const QString &value,
                    const QString &file)
{
    QByteArray before;
    LastRead() = Cached{};
    if (QFile::exists(file)) {
        auto loaded = LoadFresh(file);
        if (!loaded)
            return false;
        before = *loaded;
    }
#ifdef Q_OS_WIN
    const QByteArray newline = "\r\n";
#else
    const QByteArray newline = "\n";
#endif
    const QByteArray data = IniSetValue(before, Local8(section), Local8(key), Local8(value), newline);
    QSaveFile out(file);
    out.setDirectWriteFallback(true);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(data) != data.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}
