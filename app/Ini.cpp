#include "app/Ini.h"

#include <QFile>
#include <QList>
#include <QSaveFile>
#include <optional>

namespace {

// Files larger than this are not configuration files; reading them is refused.
constexpr qint64 kMaxFileSize = 16 * 1024 * 1024;

struct IniLines
{
    QList<QByteArray> lines;  // without line ends
    QByteArray newline = "\n";
    bool endsWithNewline = true;
};

IniLines Split(const QByteArray &data)
{
    IniLines ini;
    if (data.contains("\r\n"))
        ini.newline = "\r\n";
    ini.endsWithNewline = data.isEmpty() || data.endsWith('\n');
    ini.lines = data.split('\n');
    if (!ini.lines.isEmpty() && ini.lines.last().isEmpty())
        ini.lines.removeLast();
    for (QByteArray &line : ini.lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    return ini;
}

std::optional<QByteArray> Load(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly) || f.size() > kMaxFileSize)
        return std::nullopt;
    return f.read(kMaxFileSize);
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
    const IniLines ini = Split(data);
    const Place place = Find(ini, section, key);
    if (place.key < 0)
        return std::nullopt;
    const QByteArray &line = ini.lines[place.key];
    return line.mid(line.indexOf('=') + 1).trimmed();
}

QByteArray IniSetValue(const QByteArray &data, const QByteArray &section, const QByteArray &key,
                       const QByteArray &value, const QByteArray &newFileNewline)
{
    IniLines ini = Split(data);
    if (data.isEmpty())
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
        ini.lines.insert(at, key + '=' + value);
    } else {
        if (!ini.lines.isEmpty() && !ini.lines.last().trimmed().isEmpty())
            ini.lines.append(QByteArray());
        ini.lines.append('[' + section + ']');
        ini.lines.append(key + '=' + value);
    }
    QByteArray out = ini.lines.join(ini.newline);
    if (ini.endsWithNewline || place.key < 0)
        out += ini.newline;
    return out;
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
    if (!value || value->isEmpty())
        return -1;
    return IniTextToInt(*value);
}

QString ReadIniString(const QString &section, const QString &key, const QString &file,
                      const QString &fallback)
{
    const auto value = RawValue(section, key, file);
    if (!value)
        return fallback;
    QByteArray text = *value;
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = text.mid(1, text.size() - 2);
    return QString::fromLocal8Bit(text);
}

bool WriteIniString(const QString &section, const QString &key, const QString &value,
                    const QString &file)
{
    QByteArray before;
    if (QFile::exists(file)) {
        auto loaded = Load(file);
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
