// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A file-open dialog as a function, so that tests can answer it without a window.
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Returns the chosen file's full path, or an empty string when the user cancelled.
// filter uses Qt's notation, for example "language (*.lng)".
using FileChooser = std::function<QString(QWidget* parent, const QString& filter)>;

// The standard file-open dialog.
FileChooser StandardFileChooser();
