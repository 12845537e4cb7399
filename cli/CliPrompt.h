// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Answers an operation's questions from --yes/--no, else on the terminal. Without either, the
// question cannot be answered: it and every later one get No, unanswered() keeps its text, and the
// command stops the operation before it changes anything and ends with exit status 2. Operations
// ask every question before they change anything, so nothing is lost. No exception crosses the
// operations: they only ever see answers.
#pragma once

#include "core/Prompt.h"

#include <QTextStream>

#include <optional>

class CliPrompt : public Prompt
{
public:
    enum class Answer { Ask, Yes, No };

    CliPrompt(Answer answer, QTextStream& err) : m_answer(answer), m_err(err) {}

    bool askYesNo(const QString& text, const QString& title) override;
    void showMessage(const QString& text, const QString& title, Icon icon) override;

    // The first question nobody could answer, if any.
    const std::optional<QString>& unanswered() const { return m_unanswered; }

private:
    bool giveUp(const QString& text);

    Answer m_answer;
    QTextStream& m_err;
    std::optional<QString> m_unanswered;
};
