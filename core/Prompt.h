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
    // Answers to a question asked once per file of a batch.
    enum class Answer { Yes, No, YesToAll, NoToAll };

    virtual ~Prompt() = default;

    // True when the user answers Yes.
    virtual bool askYesNo(const QString& text, const QString& title) = 0;
    virtual void showMessage(const QString& text, const QString& title, Icon icon = Icon::Information) = 0;

    // A question whose Yes erases something (files, the memory, the firmware): a prompt that
    // offers a default answer makes it No.
    virtual bool askToErase(const QString& text, const QString& title) { return askYesNo(text, title); }

    // Replace the existing file of this name? A prompt that can may also answer for every later
    // file of the same batch.
    virtual Answer askReplace(const QString& name, const QString& question, const QString& title)
    {
        (void)name;
        return askYesNo(question, title) ? Answer::Yes : Answer::No;
    }
};

// The replace questions of one batch: after "Yes to all" or "No to all" nobody is asked again.
class ReplaceQuestions
{
public:
    explicit ReplaceQuestions(Prompt& prompt) : m_prompt(prompt) {}

    bool ask(const QString& name, const QString& question, const QString& title)
    {
        if (m_decidedForAll)
            return m_allYes;
        switch (m_prompt.askReplace(name, question, title)) {
        case Prompt::Answer::YesToAll:
            m_decidedForAll = m_allYes = true;
            return true;
        case Prompt::Answer::NoToAll:
            m_decidedForAll = true;
            return false;
        case Prompt::Answer::Yes:
            return true;
        case Prompt::Answer::No:
            break;
        }
        return false;
    }

private:
    Prompt& m_prompt;
    bool m_decidedForAll = false;
    bool m_allYes = false;
};
