// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/AppSettings.h"

#include "core/AppPaths.h"
#include "core/StoredSettings.h"

#include <QSettings>

namespace
{

// The shared values, seeded with the window's current ones so an unreadable key keeps them.
StoredSettings::Values valuesOf(const AppSettings& settings)
{
    StoredSettings::Values values;
    values.font = {settings.titleFont.family(), settings.titleFont.pointSizeF(), settings.titleFont.bold()};
    values.displayName = settings.displayName;
    values.sizeUnit = settings.sizeUnit;
    values.hsplit = settings.hsplit;
    values.vsplit = settings.vsplit;
    values.language = settings.language;
    values.path = settings.path;
    values.geometry = settings.geometry;
    values.displayStyle = settings.displayStyle;
    values.conversionQuality = settings.conversionQuality;
    return values;
}

} // namespace

QFont AppSettings::defaultTitleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(16);
    font.setBold(false);
    return font;
}

void AppSettings::load(QSettings& store)
{
    StoredSettings::Values values = valuesOf(*this);
    values.language.reset();
    values.load(store);
    titleFont.setFamily(values.font.face);
    titleFont.setPointSizeF(values.font.points);
    titleFont.setBold(values.font.bold);
    sizeUnit = values.sizeUnit;
    displayName = values.displayName;
    hsplit = values.hsplit;
    vsplit = values.vsplit;
    language = StoredSettings::languageFileOr(values, AppPaths::programFolder());
    path = values.path;
    geometry = values.geometry;
    displayStyle = values.displayStyle;
    conversionQuality = values.conversionQuality;
}

void AppSettings::save(QSettings& store) const
{
    valuesOf(*this).save(store);
}

void AppSettings::savePath(QSettings& store) const
{
    valuesOf(*this).savePath(store);
}

QString DefaultLanguageFile(const QString& programFolder)
{
    return StoredSettings::defaultLanguageFile(programFolder);
}
