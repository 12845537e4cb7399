// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "convert/ConvertibleFormats.h"

namespace ConvertibleFormats
{

const QStringList& extensions()
{
    static const QStringList words{QStringLiteral("FLAC"), QStringLiteral("M4A"), QStringLiteral("AAC"),
                                   QStringLiteral("OGG"),  QStringLiteral("OGA"), QStringLiteral("OPUS"),
                                   QStringLiteral("WAV")};
    return words;
}

bool conversionAvailable()
{
#ifdef ZVD_HAVE_CONVERSION
    return true;
#else
    return false;
#endif
}

} // namespace ConvertibleFormats

namespace
{

// The text after the last dot; empty for a name without one (such a name is no music file).
QStringView extensionOf(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QStringView() : QStringView(name).sliced(dot + 1);
}

} // namespace

bool needsConversion(const QString& path)
{
    const QStringView extension = extensionOf(path);
    if (extension.isEmpty() || extension.contains(QLatin1Char('/')) || extension.contains(QLatin1Char('\\')))
        return false;
    for (const QString& word : ConvertibleFormats::extensions()) {
        if (extension.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

QString playerNameFor(const QString& fileName)
{
    if (!needsConversion(fileName))
        return fileName;
    return fileName.left(fileName.lastIndexOf(QLatin1Char('.'))) + QLatin1String(".mp3");
}
