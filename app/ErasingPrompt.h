// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Passes every yes/no question of one operation on as a question that erases (default No):
// deleting, formatting and low-level formatting ask nothing else.
#pragma once

#include "core/Prompt.h"

class ErasingPrompt : public Prompt
{
public:
    explicit ErasingPrompt(Prompt& inner) : m_inner(inner) {}
    bool askYesNo(const QString& text, const QString& title) override
    {
        return m_inner.askToErase(text, title);
    }
    void showMessage(const QString& text, const QString& title, Icon icon) override
    {
        m_inner.showMessage(text, title, icon);
    }
    bool askToErase(const QString& text, const QString& title) override
    {
        return m_inner.askToErase(text, title);
    }

private:
    Prompt& m_inner;
};
