// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The questions and notices an operation may put to the user. The window answers with message
// boxes, zvdctl with --yes/--no or the terminal, tests with recorded answers.
#pragma once

#include <QString>

class Prompt
{
public:
    enum class Icon { Information, Warning, Critical, Question };

    virtual ~Prompt() = default;

    // True when the user answers Yes.
    virtual bool askYesNo(const QString& text, const QString& title) = 0;
    virtual void showMessage(const QString& text, const QString& title, Icon icon = Icon::Information) = 0;
};
