// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Only the part after the last NUL is decoded, so a large binary frame (a picture) costs one
// byte scan and not a conversion of its whole data.
#include "audio/ID3v2FrameText.h"

#include "audio/FileWindow.h"
#include "audio/GenreName.h"
#include "core/CodePage.h"

#include <algorithm>

namespace ID3v2FrameText
{
namespace
{

enum Encoding : unsigned char { CodePageText = 0, Utf16Bom = 1, Utf16BE = 2, Utf8 = 3 };

// Frames with a description (COMM, USLT, WXXX) always hold the NUL that ends it. descriptionStart
// is where that NUL may lie at the earliest (after a language code), or -1 for other frames: a
// NUL at the very end is the text's own terminator only when such a NUL precedes it; otherwise
// it ends the description and the text is empty.
bool endsTheDescription(qsizetype previousNul, qsizetype descriptionStart)
{
    return previousNul < descriptionStart;
}

// Code page text, characters paired by the double-byte rule. Returns the bytes after the last
// NUL character; with dropTerminator a NUL that is the very last character is ignored first.
QString codePageTail(QByteArrayView bytes, bool dropTerminator, qsizetype descriptionStart = -1)
{
    const bool paired = CodePage::isDoubleByte();
    if (!paired) {
        // Every byte is a character: the last zero byte is the last NUL.
        if (dropTerminator && bytes.endsWith('\0')) {
            bytes.chop(1);
            if (endsTheDescription(bytes.lastIndexOf('\0'), descriptionStart))
                return QString();
        }
        return CodePage::toUnicodePaired(bytesAt(bytes, bytes.lastIndexOf('\0') + 1));
    }
    qsizetype afterLastNul = 0;
    qsizetype lastCharStart = -1;
    qsizetype previousAfterNul = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const qsizetype width = (paired && b >= 0x80 && i + 1 < bytes.size()) ? 2 : 1;
        lastCharStart = i;
        if (b == 0 && width == 1) {
            previousAfterNul = afterLastNul;
            afterLastNul = i + 1;
        }
        i += width;
    }
    qsizetype end = bytes.size();
    if (dropTerminator && end > 0 && lastCharStart == end - 1 && bytes[end - 1] == '\0') {
        if (endsTheDescription(previousAfterNul - 1, descriptionStart))
            return QString();
        end -= 1;
        afterLastNul = previousAfterNul;
    }
    return CodePage::toUnicodePaired(bytesAt(bytes, afterLastNul, end - afterLastNul));
}

QString utf8Tail(QByteArrayView bytes, qsizetype descriptionStart)
{
    if (bytes.endsWith('\0')) {
        bytes.chop(1);
        if (endsTheDescription(bytes.lastIndexOf('\0'), descriptionStart))
            return QString();
    }
    const qsizetype lastNul = bytes.lastIndexOf('\0');
    return QString::fromUtf8(bytesAt(bytes, lastNul + 1));
}

bool isNulUnit(QByteArrayView bytes, qsizetype i)
{
    return bytes[i] == '\0' && bytes[i + 1] == '\0';
}

QString utf16Units(QByteArrayView bytes, bool bigEndian)
{
    QString text;
    text.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        text.append(QChar(static_cast<char16_t>(hi << 8 | lo)));
    }
    return text;
}

// Strips a byte-order mark and reports the byte order it names; fallback when there is none.
bool takeByteOrder(QByteArrayView& bytes, bool fallbackBigEndian)
{
    if (bytes.startsWith("\xFF\xFE")) {
        bytes = bytesAt(bytes, 2);
        return false;
    }
    if (bytes.startsWith("\xFE\xFF")) {
        bytes = bytesAt(bytes, 2);
        return true;
    }
    return fallbackBigEndian;
}

QString utf16Tail(QByteArrayView bytes, Encoding encoding, qsizetype descriptionStart = -1)
{
    bytes.truncate(bytes.size() & ~qsizetype(1));
    // Writers without a byte-order mark on later strings keep the first string's byte order;
    // with none at all, little-endian is what such writers produce.
    QByteArrayView first = bytes;
    const bool defaultBigEndian = encoding == Utf16BE || takeByteOrder(first, false);
    const bool terminated = bytes.size() >= 2 && isNulUnit(bytes, bytes.size() - 2);
    if (terminated)
        bytes.chop(2);
    qsizetype lastNul = -1;
    for (qsizetype i = bytes.size() - 2; i >= 0 && lastNul < 0; i -= 2)
        if (isNulUnit(bytes, i))
            lastNul = i;
    if (terminated && endsTheDescription(lastNul, descriptionStart))
        return QString();
    QByteArrayView tail = bytesAt(bytes, lastNul < 0 ? 0 : lastNul + 2);
    const bool bigEndian = takeByteOrder(tail, defaultBigEndian);
    return utf16Units(tail, bigEndian);
}

// WXXX: an encoded description, its terminator, then the URL as single-byte text.
QString linkUrl(QByteArrayView body, Encoding encoding)
{
    if (encoding == CodePageText || encoding == Utf8)
        return codePageTail(body, true, 0);
    for (qsizetype i = 0; i + 1 < body.size(); i += 2)
        if (isNulUnit(body, i))
            return codePageTail(bytesAt(body, i + 2), true);
    return utf16Tail(body, encoding);
}

} // namespace

QString value(QStringView frameId, QByteArrayView data)
{
    if (data.isEmpty())
        return QString();
    const auto first = static_cast<unsigned char>(data[0]);
    if (first > Utf8)
        return codePageTail(data, false);
    const auto encoding = static_cast<Encoding>(first);
    QByteArrayView body = bytesAt(data, 1);
    if (frameId == QLatin1String("WXXX"))
        return linkUrl(body, encoding);
    // The 3-byte language code of COMM and USLT would shift UTF-16 text out of step. In the
    // single-byte encodings it falls away with the description anyway, and this program's own
    // lyrics frames carry no language at all.
    const bool hasLanguage = frameId == QLatin1String("COMM") || frameId == QLatin1String("USLT");
    // A user-defined text's value is what follows its description, empty when nothing does.
    const bool hasDescription = hasLanguage || frameId == QLatin1String("TXXX");
    const bool utf16 = encoding == Utf16Bom || encoding == Utf16BE;
    if (hasLanguage && utf16)
        body = bytesAt(body, 3);
    // Where the language code is still in the body, the description's NUL comes after it. (This
    // program's own comments carry the language "\0nt", its lyrics none.)
    const qsizetype descriptionStart = !hasDescription ? -1 : (hasLanguage && !utf16) ? 3 : 0;
    switch (encoding) {
    case CodePageText:
        return codePageTail(body, true, descriptionStart);
    case Utf8:
        return utf8Tail(body, descriptionStart);
    case Utf16Bom:
    case Utf16BE:
        return utf16Tail(body, encoding, descriptionStart);
    }
    return QString();
}

QStringList values(QByteArrayView data)
{
    if (data.isEmpty())
        return {};
    const auto first = static_cast<unsigned char>(data[0]);
    const QByteArrayView body = bytesAt(data, 1);
    QStringList parts;
    if (first > Utf8 || first == CodePageText) {
        parts = CodePage::toUnicodePaired(first > Utf8 ? data : body).split(QChar(0));
    } else if (first == Utf8) {
        parts = QString::fromUtf8(body).split(QChar(0));
    } else {
        // Each UTF-16 value may carry its own byte-order mark; those without keep the first's.
        QByteArrayView firstValue = body;
        const bool defaultBigEndian = first == Utf16BE || takeByteOrder(firstValue, false);
        qsizetype start = 0;
        const qsizetype end = body.size() & ~qsizetype(1);
        for (qsizetype i = 0; i <= end; i += 2) {
            if (i < end && !isNulUnit(body, i))
                continue;
            QByteArrayView piece = bytesAt(body, start, i - start);
            const bool bigEndian = takeByteOrder(piece, defaultBigEndian);
            parts.append(utf16Units(piece, bigEndian));
            start = i + 2;
        }
    }
    parts.removeAll(QString());
    return parts;
}

namespace
{

// The genre number a value gives: "(17)...", or digits alone as version 2.4 writes them.
bool genreNumber(const QString& value, uint& number, qsizetype& close)
{
    bool ok = false;
    if (!value.isEmpty() && value.size() <= 3 &&
        std::all_of(value.begin(), value.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
        number = value.toUInt(&ok);
        close = value.size() - 1;
        return ok && number <= 255;
    }
    const qsizetype open = value.indexOf(QLatin1Char('('));
    close = value.indexOf(QLatin1Char(')'));
    if (open >= 0 && close > open)
        number = QStringView(value).mid(open + 1, close - open - 1).trimmed().toUInt(&ok);
    return ok && number <= 255;
}

} // namespace

QString genreText(const QString& value)
{
    uint number = 0;
    qsizetype close = 0;
    return genreNumber(value, number, close) ? GenreName(static_cast<quint8>(number)) : value;
}

QString genreColumn(const QStringList& values)
{
    QStringList names;
    for (const QString& value : values) {
        const QString name = genreText(value);
        if (!name.isEmpty())
            names.append(name);
    }
    return names.join(QLatin1String(" / "));
}

void applyContentType(const QStringList& values, quint8& genre, QString& otherGenreName)
{
    const QString value = values.value(0);
    uint number = 0;
    qsizetype close = 0;
    if (genreNumber(value, number, close)) {
        genre = static_cast<quint8>(number);
        otherGenreName = close >= value.size() - 2 ? GenreName(genre) : value.mid(close + 1);
    } else {
        otherGenreName = value;
    }
    // Further genres follow by name.
    for (qsizetype i = 1; i < values.size(); ++i)
        otherGenreName += QLatin1String(" / ") + genreText(values[i]);
}

} // namespace ID3v2FrameText
