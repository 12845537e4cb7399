// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The file dialog of the Tool menu's "Firmware Upgrade": picks a firmware file (*.ZVF).
#pragma once

#include "app/options/FileChooser.h"

class dlgFirm
{
public:
    // chooser: the dialog to show; the standard file-open dialog when empty.
    explicit dlgFirm(FileChooser chooser = {});

    static QString filter();

    // The chosen firmware file's full path; empty when the user cancelled or the dialog failed.
    QString show(QWidget* parent) const;

private:
    FileChooser m_chooser;
};
