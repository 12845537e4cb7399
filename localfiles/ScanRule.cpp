// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "localfiles/ScanRule.h"

#include "convert/ConvertibleFormats.h"
#include "localfiles/FileAttributes.h"
#include "localfiles/FileExtension.h"

namespace mFileAPI
{
namespace
{

QStringList upperWords(const QString& ext1, const QString& ext2, const QString& ext3)
{
    QStringList words;
    for (const QString& word : {ext1, ext2, ext3}) {
        if (!word.isEmpty())
            words.append(word.toUpper());
    }
    return words;
}

} // namespace

ScanRule ScanRule::include(const QString& ext1, const QString& ext2, const QString& ext3)
{
    return ScanRule{false, upperWords(ext1, ext2, ext3)};
}

ScanRule ScanRule::exclude(const QString& ext1, const QString& ext2, const QString& ext3)
{
    return ScanRule{true, upperWords(ext1, ext2, ext3)};
}

ScanRule ScanRule::forView(ViewTab tab)
{
    switch (tab) {
    case ViewTab::Audio: {
        // The formats converted to MP3 on send are music too.
        ScanRule rule = include(QStringLiteral("MP3"), QStringLiteral("WMA"), QString());
        rule.words += ConvertibleFormats::extensions();
        return rule;
    }
    case ViewTab::Record:
        return include(QStringLiteral("ZVD"), QString(), QString());
    case ViewTab::Hdd:
        break;
    }
    return exclude(QStringLiteral("MP3"), QStringLiteral("WMA"), QStringLiteral("ZVD"));
}

bool ScanRule::accepts(const QString& name, bool isFile, quint32 attributes) const
{
    return acceptsListed(isFile, attributes) && words.contains(extensionOf(name)) != except;
}

bool ScanRule::acceptsListed(bool isFile, quint32 attributes) const
{
    // An equality test on the whole word: hidden, system or "normal" files stay out.
    if (except)
        return attributes == AttrReadOnly || attributes == AttrArchive;
    return isFile;
}

bool ScanRule::mayAccept(const QString& name) const
{
    if (except && name.startsWith(QLatin1Char('.')))
        return false;
    return words.contains(extensionOf(name)) != except;
}

bool parseViewTab(const QString& text, ViewTab& tab)
{
    const QString word = text.toLower();
    if (word == QLatin1String("audio"))
        tab = ViewTab::Audio;
    else if (word == QLatin1String("record"))
        tab = ViewTab::Record;
    else if (word == QLatin1String("hdd"))
        tab = ViewTab::Hdd;
    else
        return false;
    return true;
}

} // namespace mFileAPI
