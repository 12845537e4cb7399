// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Questions and notices of the main window's operations, answered with message boxes.
#pragma once

#include "core/Prompt.h"

class QWidget;
struct WindowTexts;

class MessageBoxPrompt : public Prompt
{
public:
    // texts: the "to all" button captions (English when null); must outlive the prompt.
    explicit MessageBoxPrompt(QWidget* window, const WindowTexts* texts = nullptr);
    bool askYesNo(const QString& text, const QString& title) override;
    void showMessage(const QString& text, const QString& title, Icon icon) override;
    bool askToErase(const QString& text, const QString& title) override;
    Answer askReplace(const QString& name, const QString& question, const QString& title) override;

private:
    bool ask(const QString& text, const QString& title, bool defaultYes);

    QWidget* m_window;
    const WindowTexts* m_texts;
};
