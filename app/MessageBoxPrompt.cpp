// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "MessageBoxPrompt.h"

#include <QMessageBox>
#include <QWidget>

namespace
{

QMessageBox::Icon boxIcon(Prompt::Icon icon)
{
    switch (icon) {
    case Prompt::Icon::Warning:
        return QMessageBox::Warning;
    case Prompt::Icon::Critical:
        return QMessageBox::Critical;
    case Prompt::Icon::Question:
        return QMessageBox::Question;
    case Prompt::Icon::Information:
        break;
    }
    return QMessageBox::Information;
}

} // namespace

MessageBoxPrompt::MessageBoxPrompt(QWidget* window) : m_window(window) {}

// The boxes are top-level windows placed over the main window: during an operation the main
// window is disabled, and a box parented to it would be disabled too.
bool MessageBoxPrompt::askYesNo(const QString& text, const QString& title)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    if (m_window)
        box.move(m_window->geometry().center() - box.rect().center());
    return box.exec() == QMessageBox::Yes;
}

void MessageBoxPrompt::showMessage(const QString& text, const QString& title, Icon icon)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok);
    if (m_window)
        box.move(m_window->geometry().center() - box.rect().center());
    box.exec();
}
