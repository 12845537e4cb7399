// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Answers an operation's questions from --yes/--no, else on the terminal. Without either, the
// question cannot be answered: askYesNo throws UnansweredQuestion, which the command turns into
// exit status 2. Operations ask every question before they change anything, so nothing is lost.
#pragma once

#include "Prompt.h"

#include <QTextStream>

struct UnansweredQuestion {
    QString text;
};

class CliPrompt : public Prompt
{
public:
    enum class Answer { Ask, Yes, No };

    CliPrompt(Answer answer, QTextStream& err) : m_answer(answer), m_err(err) {}

    bool askYesNo(const QString& text, const QString& title) override;
    void showMessage(const QString& text, const QString& title, Icon icon) override;

private:
    Answer m_answer;
    QTextStream& m_err;
};
