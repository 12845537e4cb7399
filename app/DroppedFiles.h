// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Files dropped on the player list from outside the program (a file manager): the rows a send
// takes, made as a folder scan makes them, and the names the shown view does not list.
#pragma once

#include "localfiles/LocalFileRow.h"
#include "localfiles/ScanRule.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <vector>

struct DroppedFiles {
    std::vector<LocalFileRow> rows; // in the order dropped, each path once
    QStringList refused;            // names the view does not list (folders, pipes, other types)

    // Only local files pass, by the rule of the view: a pipe or a folder is never read, and a
    // text file is never sent into the music view, where it would get a title block.
    static DroppedFiles from(const QList<QUrl>& urls, mFileAPI::ViewTab view);
};
