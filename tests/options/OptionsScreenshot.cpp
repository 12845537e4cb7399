// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Renders the options dialog into a PNG, as it opens with a given language, for the README:
//   options_screenshot LANGUAGE_FOLDER LANGUAGE_FILE OUT.png
// Runs on any Qt platform; under "offscreen" it needs no display.
#include "app/options/frmOptions.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: options_screenshot LANGUAGE_FOLDER LANGUAGE_FILE OUT.png\n";
        return 2;
    }
    OptionsValues values;
    values.titleFont = QFont(QStringLiteral("Liberation Sans"));
    values.titleFont.setPointSize(16);
    values.displayName = 2 + 4;
    values.language = args[2];
    frmOptions::Services services;
    services.folders.program = args[1];
    services.folders.user = args[1];
    frmOptions dialog(values, nullptr, services);
    dialog.show();
    dialog.adjustSize();
    QApplication::processEvents();
    if (!dialog.grab().save(args[3])) {
        QTextStream(stderr) << "cannot write " << args[3] << "\n";
        return 1;
    }
    return 0;
}
