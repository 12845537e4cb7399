// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/options/FileChooser.h"

#include <QFileDialog>

FileChooser StandardFileChooser()
{
    return [](QWidget* parent, const QString& filter) {
        // Qt's file dialog matches the filter's patterns without regard to case, as Windows does,
        // so "*.ZVF" also offers "update.zvf".
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    };
}
