// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "i18n/LangReader.h"

#include "core/AppPaths.h"
#include "core/CodePage.h"
#include "core/LocalPath.h"
#include "core/RegularFile.h"
#include "i18n/LangItemReader.h"

#include <QDir>
#include <QFileInfo>

namespace mControlUI
{
namespace
{

bool sameText(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

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
    return FindLangKeyInBytes(fileBytes, section, key).value_or(QString());
}

std::optional<QString> FindLangKeyInBytes(QByteArrayView fileBytes, const QString& section,
                                          const QString& key)
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
    return std::nullopt;
}

std::optional<QByteArray> ReadLanguageFile(const QString& filePath, QString* error)
{
    QByteArray bytes;
    if (filePath.isEmpty()) {
        if (error)
            *error = QStringLiteral("no file named");
        return std::nullopt;
    }
    if (!RegularFile::readAll(filePath, MaxLanguageFileBytes, bytes, error))
        return std::nullopt;
    return bytes;
}

std::optional<QString> ReadLangKey(const QString& filePath, const QString& section, const QString& key)
{
    const auto bytes = ReadLanguageFile(filePath);
    if (!bytes)
        return std::nullopt;
    return ReadLangKeyFromBytes(*bytes, section, key);
}

std::optional<QString> ReadLangText(const QString& filePath, const QString& section, const QString& key)
{
    const auto bytes = ReadLanguageFile(filePath);
    if (!bytes)
        return std::nullopt;
    if (auto value = FindLangKeyInBytes(*bytes, section, key))
        return value;
    const QString english = DefaultLanguageFile();
    if (QFileInfo(english) == QFileInfo(filePath))
        return QString();
    const auto fallback = ReadLanguageFile(english);
    return fallback ? ReadLangKeyFromBytes(*fallback, section, key) : QString();
}

bool CanOpenLanguageFile(const QString& filePath)
{
    return ReadLanguageFile(filePath).has_value();
}

QString DefaultLanguageFile()
{
    return QDir(AppPaths::programFolder()).filePath(QStringLiteral("Language/english.lng"));
}

QString MissingLanguageFileText(const QString& filePath)
{
    QString text = QStringLiteral("Can't Find Language File.\r\n") + QDir::toNativeSeparators(filePath);
    QString why;
    if (!filePath.isEmpty() && LocalPath::exists(filePath) && !ReadLanguageFile(filePath, &why))
        text += QStringLiteral("\r\nThe file ") + why + QLatin1Char('.');
    return text;
}

QString FixedWindowTitle()
{
    return QStringLiteral("ZV-R3100 Audio Manager");
}

} // namespace mControlUI
