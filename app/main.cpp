// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// ZVD: the audio manager. Loads the device library, then opens the main window.
#include "app/MessageBoxPrompt.h"
#include "app/frmMain.h"
#include "app/options/LanguageFolders.h"
#include "app/options/frmOptions.h"
#include "core/AppPaths.h"
#include "device/DeviceHost.h"
#include "device/mTCC730.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("ZVD"));
    QApplication::setOrganizationName(QStringLiteral("ZVD"));
    QApplication::setApplicationVersion(QStringLiteral("1.0.75"));
    // Without a desktop session Qt knows no icon theme, and every file would get the generic
    // sheet; a desktop's own theme still comes first.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    // Short-lived files of ours that a killed ZVD or zvdctl left behind go first.
    AppPaths::removeStaleTempFiles();
    LanguageFolders::standard().removeStaleTempFiles();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ZV-R3100 Audio Manager"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption library(QStringLiteral("library"), QStringLiteral("The device library to load."),
                                     QStringLiteral("PATH"));
    parser.addOption(library);
    const QCommandLineOption deviceHost(
        QStringLiteral("device-host"),
        QStringLiteral("Reach the device library through a host that COMMAND starts (also ZVD_DEVICE_HOST), "
                       "e.g. \"zvd-devhost libZVD_USB.so\"."),
        QStringLiteral("COMMAND"));
    parser.addOption(deviceHost);
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("Show this PC folder instead of the last one."),
                                 QStringLiteral("[folder]"));
    parser.process(app);
    // As in zvdctl: a library named on the command line is loaded in process, whatever
    // ZVD_DEVICE_HOST says; --device-host still wins.
    if (parser.isSet(library))
        qunsetenv("ZVD_DEVICE_HOST");
    if (parser.isSet(deviceHost))
        DeviceHost::setCommand(parser.value(deviceHost));

    mTCC730 device;
    const QString libraryPath = mTCC730::libraryPath(parser.value(library));
    const bool loaded = device.load(libraryPath);
    if (!loaded) {
        // Said once; the program then runs without a player.
        MessageBoxPrompt(nullptr).showMessage(device.error(), QStringLiteral("ZV-R3100 Audio Manager"),
                                              Prompt::Icon::Warning);
    }
    frmMain window(device);
    if (loaded)
        window.setLibraryDescription(QDir::toNativeSeparators(libraryPath));
    // The window applies what OK gives back, a new language included.
    window.setOptionsDialog(
        [](OptionsValues& values, QWidget* parent) { return ShowOptionsDialog(values, {}, parent); });
    window.Load();
    if (!parser.positionalArguments().isEmpty())
        window.setCurrentFolder(parser.positionalArguments().constFirst());
    window.show();
    return app.exec();
}
