// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Puts the texts of a language file on the main window: menus, labels, tabs, tool tips, column
// headers, the caption, and the message slots that operations show later.
#pragma once

#include "i18n/MessageTexts.h"

#include <QList>
#include <QString>
#include <functional>

class Prompt;
class QAction;
class QLabel;
class QTabBar;
class QWidget;

struct LanguageTargets {
    QWidget* window = nullptr;
    // Menu section, in the order of its keys: File, Exit, View, LICON, SIcon, List, Detail,
    // Filename, Filesize, Title, Artist, Tool, LowFormat, Upgrade, Option.
    QList<QAction*> menuActions;
    QLabel* lblfld = nullptr;
    QLabel* lblFile = nullptr;
    QTabBar* tabMode = nullptr;
    // Download, Upload, Delete, Format.
    QList<QAction*> toolButtons;
    std::function<void(const QStringList&)> setFileHeaders;   // five columns
    std::function<void(const QStringList&)> setPlayerHeaders; // two columns
    MessageTexts* texts = nullptr;
};

// False when the file cannot be opened: the fixed "Can't Find Language File." notice is shown
// through the prompt and nothing changes. A key missing from the file empties its target.
bool ApplyLanguage(const QString& filePath, LanguageTargets& targets, Prompt& prompt);
