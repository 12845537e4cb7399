// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// ZVD: the audio manager. Loads the device library, then opens the main window.
#include "AppPaths.h"
#include "MessageBoxPrompt.h"
#include "frmMain.h"
#include "frmOptions.h"
#include "mTCC730.h"

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

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("ZV-R3100 Audio Manager"));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption library(QStringLiteral("library"), QStringLiteral("The device library to load."),
                                     QStringLiteral("PATH"));
    parser.addOption(library);
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("Show this PC folder instead of the last one."),
                                 QStringLiteral("[folder]"));
    parser.process(app);

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
    window.setOptionsDialog([](frmMain& w) {
        OptionsValues values{w.titleFont(), w.displayNameSelector(), w.sizeUnit(), w.languageFile(),
                             w.conversionQuality()};
        ShowOptionsDialog(
            values, [&w](const QString& file) { w.chooseLanguage(file); }, &w);
        w.titleFont() = values.titleFont;
        w.displayNameSelector() = values.displayName;
        w.sizeUnit() = values.sizeUnit;
        w.conversionQuality() = values.conversionQuality;
        w.titleSettingsChanged();
    });
    window.Load();
    if (!parser.positionalArguments().isEmpty())
        window.setCurrentFolder(parser.positionalArguments().constFirst());
    window.show();
    return app.exec();
}
