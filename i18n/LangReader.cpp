// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "LangReader.h"

#include "AppPaths.h"
#include "CodePage.h"
#include "LangItemReader.h"

#include <QDir>
#include <QFile>

namespace mControlUI {
namespace {

// Language files are a few kilobytes; anything beyond this is not a language file, and
// reading it whole would only waste memory.
constexpr qint64 MaxLanguageFileBytes = 4 * 1024 * 1024;

bool sameText(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

// The value of an entry item when its key matches, else nothing. The key is the text before the
// "=" less one character (the blank), the value the text after it less one character.
std::optional<QString> matchEntry(const QString& item, const QString& key)
{
    const qsizetype equals = item.indexOf(QLatin1Char('='));
    if (equals < 0)
        return std::nullopt;
    const QStringView candidate = equals >= 2 ? QStringView(item).left(equals - 1) : QStringView();
    if (candidate.isEmpty() || !sameText(candidate, key))
        return std::nullopt;
    return equals + 2 < item.size() ? item.mid(equals + 2) : QString();
}

} // namespace

QString ReadLangKeyFromBytes(QByteArrayView fileBytes, const QString& section, const QString& key)
{
    const QString text = CodePage::toUnicode(fileBytes);
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    LangItemReader reader(text);
    QString item;
    while (reader.next(item)) {
        if (!sameText(item, header))
            continue;
        // The scan runs on past later headers on purpose: a key missing in its own section is
        // taken from a later one, as the shipped language files expect.
        while (reader.next(item)) {
            if (auto value = matchEntry(item, key))
                return *value;
        }
        break;
    }
    return QString();
}

std::optional<QString> ReadLangKey(const QString& filePath, const QString& section, const QString& key)
{
    QFile file(filePath);
    if (filePath.isEmpty() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(MaxLanguageFileBytes);
    file.close();
    return ReadLangKeyFromBytes(bytes, section, key);
}

bool CanOpenLanguageFile(const QString& filePath)
{
    QFile file(filePath);
    return !filePath.isEmpty() && file.open(QIODevice::ReadOnly);
}

QString DefaultLanguageFile()
{
    return QDir(AppPaths::programFolder()).filePath(QStringLiteral("Language/english.lng"));
}

QString MissingLanguageFileText(const QString& filePath)
{
    return QStringLiteral("Can't Find Language File.\r\n") + QDir::toNativeSeparators(filePath);
}

QString FixedWindowTitle() { return QStringLiteral("ZV-R3100 Audio Manager"); }

} // namespace mControlUI
