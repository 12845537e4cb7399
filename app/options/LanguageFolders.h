// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Where language files are found and where a fetched one is put: the Language folder beside the
// program, and the user's own Language folder for when the program's cannot be written (an
// installed program under /usr).
#pragma once

#include <QString>
#include <QStringList>

struct LanguageFolders {
    QString program; // <program folder>/Language
    QString user;    // $XDG_DATA_HOME/ZVD/Language (on Windows the local application data)

    static LanguageFolders standard();

    // Every *.lng file (extension without regard to case): the program's folder first, then
    // the user's, each sorted by name. Folders that do not exist give nothing.
    QStringList files() const;

    // Copies source into the program's folder under its own file name, replacing a file of that
    // name; when that fails, into the user's folder. Returns where the file now is, or an empty
    // string when neither folder took it. A source that already lies in one of the folders is
    // left where it is.
    QString install(const QString& source) const;

    // Removes from both folders the files a killed process of ours left while installing.
    void removeStaleTempFiles() const;
};
