// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/AppSettings.h"
#include "i18n/LangReader.h"

#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class AppSettingsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QSettings store{dir.filePath(QStringLiteral("ZVD.ini")), QSettings::IniFormat};
};

TEST_F(AppSettingsTest, FirstRunGivesTheDefaults)
{
    AppSettings settings;
    settings.titleFont = AppSettings::defaultTitleFont();
    settings.load(store);
    EXPECT_EQ(settings.titleFont.family(), QStringLiteral("Arial"));
    EXPECT_EQ(settings.titleFont.pointSizeF(), 16.0);
    EXPECT_FALSE(settings.titleFont.bold());
    EXPECT_EQ(settings.displayName, 1);
    EXPECT_EQ(settings.hsplit, 0);
    EXPECT_EQ(settings.vsplit, 0);
    EXPECT_EQ(settings.language, mControlUI::DefaultLanguageFile());
    EXPECT_TRUE(settings.language.endsWith(QStringLiteral("english.lng")));
    EXPECT_TRUE(settings.path.isEmpty());
    EXPECT_FALSE(settings.geometry.has_value());
}

TEST_F(AppSettingsTest, MalformedValuesAreSkippedAndTheRestIsRead)
{
    store.setValue(QStringLiteral("FONT/BOLD"), QStringLiteral("yes"));
    store.setValue(QStringLiteral("FONT/SIZE"), QStringLiteral("-3"));
    store.setValue(QStringLiteral("FONT/NAME"), QStringLiteral("Liberation Serif"));
    store.setValue(QStringLiteral("Display/LCD"), QStringLiteral("six"));
    store.setValue(QStringLiteral("Display/HSplit"), QStringLiteral("0"));
    store.setValue(QStringLiteral("Display/VSplit"), QStringLiteral("4200"));
    AppSettings settings;
    settings.titleFont = AppSettings::defaultTitleFont();
    settings.load(store);
    EXPECT_FALSE(settings.titleFont.bold());
    EXPECT_EQ(settings.titleFont.pointSizeF(), 16.0);
    EXPECT_EQ(settings.titleFont.family(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(settings.displayName, 1);
    EXPECT_EQ(settings.hsplit, 0);
    EXPECT_EQ(settings.vsplit, 4200);
}

TEST_F(AppSettingsTest, SavedValuesAreStringsThatReadBackTheSame)
{
    AppSettings saved;
    saved.titleFont = AppSettings::defaultTitleFont();
    saved.titleFont.setBold(true);
    saved.titleFont.setPointSizeF(12);
    saved.displayName = 14;
    saved.sizeUnit = 2;
    saved.hsplit = 3015;
    saved.vsplit = 4500;
    saved.geometry = QRect(1500, 750, 12000, 9000);
    saved.save(store);
    EXPECT_EQ(store.value(QStringLiteral("FONT/BOLD")).toString(), QStringLiteral("1"));
    EXPECT_EQ(store.value(QStringLiteral("FONT/SIZE")).toString(), QStringLiteral("12"));
    EXPECT_EQ(store.value(QStringLiteral("Display/MEMSIZE")).toString(), QStringLiteral("2"));
    EXPECT_EQ(store.value(QStringLiteral("Display/Width")).toString(), QStringLiteral("12000"));

    AppSettings loaded;
    loaded.titleFont = AppSettings::defaultTitleFont();
    loaded.load(store);
    EXPECT_TRUE(loaded.titleFont.bold());
    EXPECT_EQ(loaded.titleFont.pointSizeF(), 12.0);
    EXPECT_EQ(loaded.displayName, 14);
    EXPECT_EQ(loaded.sizeUnit, 0) << "the size unit starts at 0 on every run";
    EXPECT_EQ(loaded.hsplit, 3015);
    EXPECT_EQ(loaded.vsplit, 4500);
    EXPECT_EQ(loaded.geometry, QRect(1500, 750, 12000, 9000));
}

} // namespace
