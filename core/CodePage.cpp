// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Conversion goes through lookup tables built once per code page from the platform converter,
// so reading thousands of tags costs no converter calls at all.
#include "core/CodePage.h"

#include <QHash>
#include <QMutex>

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace CodePage
{
namespace
{

constexpr char16_t kReplacement = 0xFFFD;

struct Table {
    QByteArray name;
    bool doubleByte = false;
    std::array<bool, 256> lead{};
    std::array<char16_t, 256> single{};
    std::vector<char16_t> pairs; // (lead - 0x80) * 256 + trail
    QHash<char16_t, quint16> reverse;
};

struct LeadRange {
    const char* name;
    unsigned char from1, to1, from2, to2;
};

// Lead-byte ranges of the double-byte Windows code pages.
constexpr LeadRange kLeadRanges[] = {
    {"CP932", 0x81, 0x9F, 0xE0, 0xFC},
    {"CP936", 0x81, 0xFE, 0x81, 0xFE},
    {"CP949", 0x81, 0xFE, 0x81, 0xFE},
    {"CP950", 0x81, 0xFE, 0x81, 0xFE},
};

#ifdef _WIN32
class Converter
{
public:
    explicit Converter(const QByteArray& name) : m_cp(name.mid(2).toUInt()) {}
    bool valid() const { return m_cp != 0 && IsValidCodePage(m_cp); }
    // Converts one or two bytes into one UTF-16 unit; false when they are not one character.
    bool convert(const char* bytes, int length, char16_t& out)
    {
        wchar_t buffer[4];
        const int n = MultiByteToWideChar(m_cp, MB_ERR_INVALID_CHARS, bytes, length, buffer, 4);
        if (n != 1)
            return false;
        out = static_cast<char16_t>(buffer[0]);
        return true;
    }

private:
    UINT m_cp;
};
#else
class Converter
{
public:
    explicit Converter(const QByteArray& name)
    {
        // glibc knows CP950 as BIG5 on some systems.
        for (const QByteArray& candidate : {name, name == "CP950" ? QByteArray("BIG5") : name}) {
            m_cd = iconv_open("UTF-16LE", candidate.constData());
            if (m_cd != reinterpret_cast<iconv_t>(-1))
                break;
        }
    }
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    bool convert(const char* bytes, int length, char16_t& out)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char input[2] = {bytes[0], length > 1 ? bytes[1] : '\0'};
        char output[8];
        char* in = input;
        char* outp = output;
        size_t inLeft = static_cast<size_t>(length);
        size_t outLeft = sizeof output;
        if (iconv(m_cd, &in, &inLeft, &outp, &outLeft) == static_cast<size_t>(-1) || inLeft != 0)
            return false;
        if (sizeof output - outLeft != 2)
            return false;
        out = static_cast<char16_t>(static_cast<unsigned char>(output[0]) |
                                    (static_cast<unsigned char>(output[1]) << 8));
        return true;
    }

private:
    iconv_t m_cd = reinterpret_cast<iconv_t>(-1);
};
#endif

std::unique_ptr<Table> buildTable(const QByteArray& name)
{
    Converter converter(name);
    if (!converter.valid())
        return nullptr;
    auto table = std::make_unique<Table>();
    table->name = name;
    for (const LeadRange& range : kLeadRanges) {
        if (name == range.name) {
            table->doubleByte = true;
            for (int b = 0; b < 256; ++b)
                table->lead[b] = (b >= range.from1 && b <= range.to1) || (b >= range.from2 && b <= range.to2);
        }
    }
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        char16_t out = 0;
        if (b < 0x80)
            table->single[b] = static_cast<char16_t>(b);
        else if (!table->lead[b] && converter.convert(&byte, 1, out))
            table->single[b] = out;
        else
            // Single-byte pages: Windows passes undefined bytes through as the same code point.
            table->single[b] = table->doubleByte ? kReplacement : static_cast<char16_t>(b);
    }
    for (int b = 255; b >= 0; --b)
        if (table->single[b] != kReplacement)
            table->reverse.insert(table->single[b], static_cast<quint16>(b));
    if (table->doubleByte) {
        table->pairs.assign(128 * 256, kReplacement);
        for (int lead = 0x80; lead < 256; ++lead) {
            if (!table->lead[lead])
                continue;
            for (int trail = 0x40; trail < 256; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                char16_t out = 0;
                if (converter.convert(pair, 2, out)) {
                    table->pairs[(lead - 0x80) * 256 + trail] = out;
                    if (!table->reverse.contains(out))
                        table->reverse.insert(out, static_cast<quint16>(lead << 8 | trail));
                }
            }
        }
    }
    return table;
}

QByteArray normalisedName(QByteArray name)
{
    name = name.trimmed().toUpper();
    if (name.startsWith("WINDOWS-"))
        name = "CP" + name.mid(8);
    if (!name.isEmpty() && !name.startsWith("CP") && name.toUInt() != 0)
        name = "CP" + name;
    return name;
}

QMutex g_mutex;
std::map<QByteArray, std::unique_ptr<Table>> g_tables;
std::atomic<const Table*> g_active{nullptr};

const Table* tableFor(const QByteArray& name)
{
    QMutexLocker lock(&g_mutex);
    auto it = g_tables.find(name);
    if (it != g_tables.end())
        return it->second.get();
    auto table = buildTable(name);
    if (!table)
        return nullptr;
    return g_tables.emplace(name, std::move(table)).first->second.get();
}

QByteArray defaultName()
{
    const QByteArray fromEnv = normalisedName(qgetenv("ZVD_CODEPAGE"));
    if (!fromEnv.isEmpty())
        return fromEnv;
#ifdef _WIN32
    return "CP" + QByteArray::number(static_cast<uint>(GetACP()));
#else
    for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return codePageForLocale(QString::fromLatin1(value));
    }
    return "CP1252";
#endif
}

const Table& active()
{
    const Table* table = g_active.load(std::memory_order_acquire);
    if (table)
        return *table;
    table = tableFor(defaultName());
    if (!table)
        table = tableFor("CP1252");
    if (!table)
        qFatal("No converter for CP1252 is available");
    g_active.store(table, std::memory_order_release);
    return *table;
}

char16_t pairAt(const Table& table, unsigned char lead, unsigned char trail)
{
    return table.pairs[(lead - 0x80) * 256 + trail];
}

} // namespace

QByteArray codePageForLocale(const QString& localeName)
{
    const QString language = localeName.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QString lang = language.section(QLatin1Char('_'), 0, 0).toLower();
    if (lang == QLatin1String("ko"))
        return "CP949";
    if (lang == QLatin1String("ja"))
        return "CP932";
    if (lang == QLatin1String("zh"))
        return language.section(QLatin1Char('_'), 1).toUpper() == QLatin1String("TW") ||
                       language.section(QLatin1Char('_'), 1).toUpper() == QLatin1String("HK")
                   ? "CP950"
                   : "CP936";
    if (lang == QLatin1String("ru") || lang == QLatin1String("uk") || lang == QLatin1String("bg"))
        return "CP1251";
    if (lang == QLatin1String("el"))
        return "CP1253";
    if (lang == QLatin1String("tr"))
        return "CP1254";
    if (lang == QLatin1String("he"))
        return "CP1255";
    if (lang == QLatin1String("ar"))
        return "CP1256";
    return "CP1252";
}

QByteArray name()
{
    return active().name;
}

bool setCodePage(const QByteArray& codePage)
{
    const Table* table = tableFor(normalisedName(codePage));
    if (!table)
        return false;
    g_active.store(table, std::memory_order_release);
    return true;
}

bool isDoubleByte()
{
    return active().doubleByte;
}

bool isLeadByte(unsigned char byte)
{
    return active().lead[byte];
}

QString toUnicode(QByteArrayView bytes)
{
    const Table& table = active();
    // Written straight into a buffer of the longest possible length and cut to what was used:
    // appending char by char costs more than the look-ups (a player list of 30,000 names).
    QString text(bytes.size(), Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (table.lead[b] && i + 1 < bytes.size()) {
            *out++ = QChar(pairAt(table, b, static_cast<unsigned char>(bytes[i + 1])));
            ++i;
        } else {
            *out++ = QChar(table.single[b]);
        }
    }
    text.truncate(out - text.constData());
    return text;
}

QString toUnicodePaired(QByteArrayView bytes)
{
    const Table& table = active();
    if (!table.doubleByte)
        return toUnicode(bytes);
    QString text;
    text.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b >= 0x80 && i + 1 < bytes.size()) {
            const auto trail = static_cast<unsigned char>(bytes[i + 1]);
            text.append(QChar(table.lead[b] ? pairAt(table, b, trail) : kReplacement));
            ++i;
        } else {
            text.append(QChar(table.single[b]));
        }
    }
    return text;
}

QByteArray fromUnicode(QStringView text)
{
    const Table& table = active();
    QByteArray bytes;
    bytes.reserve(text.size());
    for (QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80) {
            bytes.append(static_cast<char>(unit));
            continue;
        }
        const auto it = table.reverse.constFind(unit);
        if (it == table.reverse.constEnd()) {
            bytes.append('?');
        } else if (*it > 0xFF) {
            bytes.append(static_cast<char>(*it >> 8));
            bytes.append(static_cast<char>(*it & 0xFF));
        } else {
            bytes.append(static_cast<char>(*it));
        }
    }
    return bytes;
}

QByteArray truncated(const QByteArray& bytes, qsizetype maxBytes)
{
    if (bytes.size() <= maxBytes)
        return bytes;
    const Table& table = active();
    qsizetype end = 0;
    while (end < maxBytes) {
        const auto b = static_cast<unsigned char>(bytes[end]);
        const qsizetype width = table.lead[b] ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return bytes.left(end);
}

} // namespace CodePage
