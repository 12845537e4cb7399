// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The window and zvdctl read the same ZVD.ini by the same rules, so both make the same title block.
#include "TestEnvironment.h"
#include "app/AppSettings.h"
#include "core/StoredSettings.h"
#include "transfer/TitleRenderer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

namespace
{

// The block zvdctl makes with the settings in configHome, or an empty array when it fails.
QByteArray zvdctlTitle(const QString& configHome, const QString& text)
{
    const QString output = QDir(configHome).filePath(QStringLiteral("title.bin"));
    QFile::remove(output);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(environment);
    process.start(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdctl")),
                  {QStringLiteral("title"), QStringLiteral("--value"), QStringLiteral("7"),
                   QStringLiteral("-o"), output, text});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return {};
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

// The block the window makes: its settings load, then the renderer with the loaded font.
QByteArray windowTitle(const QString& configHome, const QString& text)
{
    QSettings store(StoredSettings::iniPath(configHome), QSettings::IniFormat);
    AppSettings settings;
    settings.titleFont = AppSettings::defaultTitleFont();
    settings.load(store);
    const LcdTitleFont font{settings.titleFont.family(), settings.titleFont.pointSizeF(),
                            settings.titleFont.bold()};
    return MakeTitleBlock(text, 7, font);
}

TEST(SettingsAgreement, WindowAndZvdctlMakeTheSameTitleBlockFromTheSameStore)
{
    // Sizes the window refuses (it keeps 16 points) were once taken by zvdctl as they stood.
    const std::vector<std::map<QString, QString>> stores = {
        {},
        {{QStringLiteral("FONT/SIZE"), QStringLiteral("9")},
         {QStringLiteral("FONT/BOLD"), QStringLiteral("1")}},
        {{QStringLiteral("FONT/SIZE"), QStringLiteral("0")}},
        {{QStringLiteral("FONT/SIZE"), QStringLiteral("-4")},
         {QStringLiteral("FONT/BOLD"), QStringLiteral("1.0")}},
        {{QStringLiteral("FONT/SIZE"), QStringLiteral("12000")}, {QStringLiteral("FONT/NAME"), QString()}},
        {{QStringLiteral("FONT/SIZE"), QStringLiteral("twelve")},
         {QStringLiteral("FONT/BOLD"), QStringLiteral("yes")}},
    };
    const QString text = QStringLiteral("Hello World");
    for (const auto& values : stores) {
        QTemporaryDir home;
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("ZVD")));
        {
            QSettings store(StoredSettings::iniPath(home.path()), QSettings::IniFormat);
            for (const auto& [key, value] : values)
                store.setValue(key, value);
        }
        const QByteArray fromWindow = windowTitle(home.path(), text);
        const QByteArray fromZvdctl = zvdctlTitle(home.path(), text);
        ASSERT_EQ(fromZvdctl.size(), 1546);
        EXPECT_EQ(fromWindow, fromZvdctl)
            << (values.empty() ? "empty store" : values.begin()->second.toStdString());
    }
    // The stores above did make different blocks, so the comparison can tell them apart.
    QTemporaryDir small;
    ASSERT_TRUE(QDir(small.path()).mkpath(QStringLiteral("ZVD")));
    QSettings(StoredSettings::iniPath(small.path()), QSettings::IniFormat)
        .setValue(QStringLiteral("FONT/SIZE"), QStringLiteral("9"));
    QTemporaryDir none;
    EXPECT_NE(zvdctlTitle(small.path(), text), zvdctlTitle(none.path(), text));
}

} // namespace
