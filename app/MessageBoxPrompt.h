// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Questions and notices of the main window's operations, answered with message boxes.
#pragma once

#include "Prompt.h"

class QWidget;

class MessageBoxPrompt : public Prompt
{
public:
    explicit MessageBoxPrompt(QWidget* window);
    bool askYesNo(const QString& text, const QString& title) override;
    void showMessage(const QString& text, const QString& title, Icon icon) override;

private:
    QWidget* m_window;
};
