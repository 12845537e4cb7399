// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/StoredSettings.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class StoredSettingsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QSettings store{dir.filePath(QStringLiteral("ZVD.ini")), QSettings::IniFormat};

    StoredSettings::Values loadWith(const QString& key, const QString& value)
    {
        store.clear();
        store.setValue(key, value);
        StoredSettings::Values values;
        values.load(store);
        return values;
    }
};

TEST_F(StoredSettingsTest, EmptyStoreGivesTheFirstRunValues)
{
    StoredSettings::Values values;
    values.load(store);
    EXPECT_EQ(values.font.face, QStringLiteral("Arial"));
    EXPECT_EQ(values.font.points, 16.0);
    EXPECT_FALSE(values.font.bold);
    EXPECT_EQ(values.displayName, 1);
    EXPECT_EQ(values.sizeUnit, 0);
    EXPECT_EQ(values.hsplit, 0);
    EXPECT_EQ(values.vsplit, 0);
    EXPECT_FALSE(values.language.has_value());
    EXPECT_TRUE(values.path.isEmpty());
    EXPECT_FALSE(values.geometry.has_value());
    EXPECT_EQ(StoredSettings::languageFileOr(values, QStringLiteral("/opt/zvd")),
              QDir::toNativeSeparators(QStringLiteral("/opt/zvd/Language/english.lng")));
}

// A size the font would refuse leaves the one before it: 0 or below, 10000 or above, not a number.
TEST_F(StoredSettingsTest, FontSizeOutsideItsRangeOrMalformedIsSkipped)
{
    const QString key = QStringLiteral("FONT/SIZE");
    for (const char* bad : {"0", "-3", "10000", "1e5", "abc", "", "1e400", "nan", "inf"})
        EXPECT_EQ(loadWith(key, QString::fromLatin1(bad)).font.points, 16.0) << bad;
    EXPECT_EQ(loadWith(key, QStringLiteral("9999.5")).font.points, 9999.5);
    EXPECT_EQ(loadWith(key, QStringLiteral(" 12 ")).font.points, 12.0);
    EXPECT_EQ(loadWith(key, QStringLiteral("0.5")).font.points, 0.5);
    EXPECT_TRUE(StoredSettings::isValidFontSize(1));
    EXPECT_FALSE(StoredSettings::isValidFontSize(0));
    EXPECT_FALSE(StoredSettings::isValidFontSize(10000));
}

TEST_F(StoredSettingsTest, BoldOnlyWhenNumericallyOneAndFaceOnlyWhenNotEmpty)
{
    const QString bold = QStringLiteral("FONT/BOLD");
    EXPECT_TRUE(loadWith(bold, QStringLiteral("1")).font.bold);
    EXPECT_TRUE(loadWith(bold, QStringLiteral("1.0")).font.bold);
    EXPECT_FALSE(loadWith(bold, QStringLiteral("2")).font.bold);
    EXPECT_FALSE(loadWith(bold, QStringLiteral("-1")).font.bold);
    EXPECT_FALSE(loadWith(bold, QStringLiteral("yes")).font.bold);
    EXPECT_EQ(loadWith(QStringLiteral("FONT/NAME"), QStringLiteral("Courier New")).font.face,
              QStringLiteral("Courier New"));
    EXPECT_EQ(loadWith(QStringLiteral("FONT/NAME"), QString()).font.face, QStringLiteral("Arial"));
}

TEST_F(StoredSettingsTest, DisplayNameIsARoundedIntegerOfSixteenBits)
{
    const QString key = QStringLiteral("Display/LCD");
    EXPECT_EQ(loadWith(key, QStringLiteral("14")).displayName, 14);
    EXPECT_EQ(loadWith(key, QStringLiteral("7.6")).displayName, 8);
    EXPECT_EQ(loadWith(key, QStringLiteral("-32767")).displayName, -32767);
    EXPECT_EQ(loadWith(key, QStringLiteral("32768")).displayName, 1);
    EXPECT_EQ(loadWith(key, QStringLiteral("two")).displayName, 1);
}

TEST_F(StoredSettingsTest, SplittersOfZeroOrBelowAreNotStored)
{
    for (const char* bad : {"0", "-5", "1e7", "x"}) {
        EXPECT_EQ(loadWith(QStringLiteral("Display/HSplit"), QString::fromLatin1(bad)).hsplit, 0) << bad;
        EXPECT_EQ(loadWith(QStringLiteral("Display/VSplit"), QString::fromLatin1(bad)).vsplit, 0) << bad;
    }
    EXPECT_EQ(loadWith(QStringLiteral("Display/HSplit"), QStringLiteral("2895.5")).hsplit, 2896);
    EXPECT_EQ(loadWith(QStringLiteral("Display/VSplit"), QStringLiteral("4000")).vsplit, 4000);
}

TEST_F(StoredSettingsTest, GeometryNeedsAllFourValuesAndARealSize)
{
    const auto geometry = [this](const char* width) {
        store.clear();
        store.setValue(QStringLiteral("Display/Left"), QStringLiteral("-120"));
        store.setValue(QStringLiteral("Display/Top"), QStringLiteral("300"));
        store.setValue(QStringLiteral("Display/Height"), QStringLiteral("6000"));
        if (width)
            store.setValue(QStringLiteral("Display/Width"), QString::fromLatin1(width));
        StoredSettings::Values values;
        values.load(store);
        return values.geometry;
    };
    EXPECT_EQ(geometry("9000"), QRect(-120, 300, 9000, 6000));
    EXPECT_FALSE(geometry(nullptr).has_value());
    EXPECT_FALSE(geometry("0").has_value());
    EXPECT_FALSE(geometry("1e8").has_value());
}

// An empty language text is kept as such: the window then stays with its built-in texts.
TEST_F(StoredSettingsTest, LanguageAsStoredEvenWhenEmpty)
{
    const QString key = QStringLiteral("Display/Language");
    EXPECT_EQ(loadWith(key, QStringLiteral("/x/german.lng")).language, QStringLiteral("/x/german.lng"));
    const StoredSettings::Values empty = loadWith(key, QString());
    ASSERT_TRUE(empty.language.has_value());
    EXPECT_EQ(StoredSettings::languageFileOr(empty, QStringLiteral("/opt/zvd")), QString());
}

TEST_F(StoredSettingsTest, SavedValuesAreTextThatReadsBackTheSame)
{
    StoredSettings::Values saved;
    saved.font = {QStringLiteral("Times New Roman"), 11.5, true};
    saved.displayName = 6;
    saved.hsplit = 2000;
    saved.vsplit = 4100;
    saved.geometry = QRect(10, 20, 9000, 7000);
    saved.path = QStringLiteral("/home/u/Music");
    saved.save(store);
    saved.savePath(store);
    QSettings reread(store.fileName(), QSettings::IniFormat);
    EXPECT_EQ(reread.value(QStringLiteral("FONT/BOLD")).toString(), QStringLiteral("1"));
    EXPECT_EQ(reread.value(QStringLiteral("FONT/SIZE")).toString(), QStringLiteral("11.5"));
    EXPECT_EQ(reread.value(QStringLiteral("Display/MEMSIZE")).toString(), QStringLiteral("0"));
    EXPECT_EQ(reread.value(QStringLiteral("Display/Width")).toString(), QStringLiteral("9000"));
    StoredSettings::Values loaded;
    loaded.load(reread);
    EXPECT_EQ(loaded.font.face, saved.font.face);
    EXPECT_EQ(loaded.font.points, saved.font.points);
    EXPECT_EQ(loaded.font.bold, saved.font.bold);
    EXPECT_EQ(loaded.displayName, 6);
    EXPECT_EQ(loaded.hsplit, 2000);
    EXPECT_EQ(loaded.vsplit, 4100);
    EXPECT_EQ(loaded.geometry, saved.geometry);
    EXPECT_EQ(loaded.path, saved.path);
}

TEST(StoredSettingsLocation, RegistryKeyIsWhereClassicSaveSettingKeptIt)
{
    EXPECT_EQ(StoredSettings::registryPath(QStringLiteral("FONT"), QStringLiteral("SIZE")),
              QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\ZVD\\FONT\\SIZE"));
    EXPECT_EQ(StoredSettings::registryPath(QStringLiteral("Display"), QStringLiteral("LCD")),
              QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\ZVD\\Display\\LCD"));
}

TEST(StoredSettingsLocation, StoreOfThisUserIsTheOneOfThisSystem)
{
    const auto store = StoredSettings::open();
#ifdef Q_OS_WIN
    EXPECT_EQ(store->format(), QSettings::NativeFormat);
    // QSettings names the key "\\HKEY_CURRENT_USER\\Software\\...".
    const QString below = StoredSettings::registryRoot().section(QLatin1Char('\\'), 1);
    EXPECT_TRUE(store->fileName().endsWith(below)) << store->fileName().toStdString();
#else
    EXPECT_EQ(StoredSettings::iniPath(QStringLiteral("/home/u/.config")),
              QStringLiteral("/home/u/.config/ZVD/ZVD.ini"));
    EXPECT_EQ(store->fileName(), StoredSettings::iniPath(qEnvironmentVariable("XDG_CONFIG_HOME")));
#endif
}

} // namespace
