// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SyncFormats.h"

#include "convert/ConvertibleFormats.h"

#include <QStringList>

namespace SyncFormats
{
namespace
{

QString lowerExtension(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1).toLower();
}

} // namespace

bool playsAsIs(const QString& name)
{
    const QString extension = lowerExtension(name);
    return extension == QLatin1String("mp3") || extension == QLatin1String("wma");
}

bool needsConversion(const QString& name)
{
    // One list of converted formats for the whole program: the one sending converts by.
    return ::needsConversion(name);
}

bool canConvert(const QString& name)
{
    return ::needsConversion(name) && ConvertibleFormats::conversionAvailable();
}

} // namespace SyncFormats
