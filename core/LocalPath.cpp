// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/LocalPath.h"

#include "core/CodePage.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace LocalPath
{
namespace
{

// The code page's reading when it gives every byte back; a lossy reading would send the player
// (and every later open) a different name.
std::optional<QString> codePageReading(QByteArrayView raw)
{
    QString text = CodePage::toUnicode(raw);
    if (text.contains(QChar(QChar::ReplacementCharacter)) || CodePage::fromUnicode(text) != raw)
        return std::nullopt;
    return text;
}

#ifdef Q_OS_UNIX
bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::optional<QString> utf8Reading(QByteArrayView raw)
{
    // A leading byte-order mark is part of a name, not a marker to drop.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(raw);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

bool entryExists(const QByteArray& native)
{
    struct stat status = {};
    return ::lstat(native.constData(), &status) == 0;
}
#endif

} // namespace

std::optional<QString> decodeName(QByteArrayView raw)
{
#ifdef Q_OS_UNIX
    if (auto text = utf8Reading(raw))
        return text;
    return codePageReading(raw);
#else
    return QFile::decodeName(raw.toByteArray());
#endif
}

std::optional<QString> decodeEntryName(const QByteArray& folderNative, QByteArrayView raw, QString* why)
{
#ifdef Q_OS_UNIX
    if (auto text = utf8Reading(raw))
        return text;
    const auto text = codePageReading(raw);
    const QString page = QString::fromLatin1(CodePage::name());
    if (!text) {
        if (why)
            *why = QStringLiteral("its name is neither UTF-8 nor text of code page %1").arg(page);
        return std::nullopt;
    }
    QByteArray twin = folderNative;
    if (!twin.endsWith('/'))
        twin += '/';
    if (entryExists(twin + QFile::encodeName(*text))) {
        if (why)
            *why = QStringLiteral("its name, read in code page %1, is that of another file of the folder")
                       .arg(page);
        return std::nullopt;
    }
    return text;
#else
    Q_UNUSED(folderNative);
    Q_UNUSED(why);
    return decodeName(raw);
#endif
}

QString decodeArgument(const char* argument)
{
    const QByteArrayView raw(argument);
    if (auto text = decodeName(raw))
        return *text;
    return QString::fromLocal8Bit(raw);
}

QByteArray encode(const QString& path)
{
    const QByteArray utf8 = QFile::encodeName(path);
#ifdef Q_OS_UNIX
    // The common cases cost nothing more than before: plain ASCII, or a path that exists.
    if (isAscii(utf8) || entryExists(utf8))
        return utf8;
    // Component by component: the UTF-8 form wins where it exists, so a name that is UTF-8 on
    // disk is never mistaken for a code page one; a new name is written as UTF-8.
    const QStringList parts = path.split(QLatin1Char('/'));
    QByteArray result;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            result += '/';
        const QByteArray asUtf8 = QFile::encodeName(parts[i]);
        if (isAscii(asUtf8) || entryExists(result + asUtf8)) {
            result += asUtf8;
            continue;
        }
        const QByteArray asCodePage = CodePage::fromUnicode(parts[i]);
        const bool faithful = !asCodePage.contains('/') && codePageReading(asCodePage) == parts[i];
        result += faithful && entryExists(result + asCodePage) ? asCodePage : asUtf8;
    }
    return result;
#else
    return utf8;
#endif
}

bool exists(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat status = {};
    return ::stat(encode(path).constData(), &status) == 0;
#else
    return QFileInfo::exists(path);
#endif
}

bool isFolder(const QString& path)
{
#ifdef Q_OS_UNIX
    struct stat status = {};
    return ::stat(encode(path).constData(), &status) == 0 && S_ISDIR(status.st_mode);
#else
    return QFileInfo(path).isDir();
#endif
}

QString escaped(QByteArrayView raw)
{
    QString text;
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\')
            text += QLatin1Char(c);
        else
            text += QStringLiteral("\\x%1").arg(byte, 2, 16, QLatin1Char('0'));
    }
    return text;
}

QString playerNameProblem(const QString& name)
{
    if (codePageReading(CodePage::fromUnicode(name)) == name)
        return QString();
    return QStringLiteral("its name holds characters that the player's code page %1 cannot hold")
        .arg(QString::fromLatin1(CodePage::name()));
}

} // namespace LocalPath
