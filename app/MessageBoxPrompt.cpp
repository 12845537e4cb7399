// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/MessageBoxPrompt.h"

#include "app/WindowTexts.h"

#include <QMessageBox>
#include <QPushButton>
#include <QWidget>
#include <QWindow>

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

// Placed over the main window and tied to it for the window manager, which then gives the box
// the keyboard focus (a box without an owner may be left behind an active window).
void placeOver(QMessageBox& box, QWidget* window)
{
    if (!window)
        return;
    box.move(window->geometry().center() - box.rect().center());
    box.winId();
    if (QWindow* handle = box.windowHandle())
        handle->setTransientParent(window->window()->windowHandle());
}

} // namespace

MessageBoxPrompt::MessageBoxPrompt(QWidget* window, const WindowTexts* texts)
    : m_window(window), m_texts(texts)
{
}

// The boxes are top-level windows placed over the main window: during an operation the main
// window is disabled, and a box parented to it would be disabled too.
bool MessageBoxPrompt::ask(const QString& text, const QString& title, bool defaultYes)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(defaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    placeOver(box, m_window);
    return box.exec() == QMessageBox::Yes;
}

bool MessageBoxPrompt::askYesNo(const QString& text, const QString& title)
{
    return ask(text, title, true);
}

bool MessageBoxPrompt::askToErase(const QString& text, const QString& title)
{
    // Enter on a question that erases must not erase.
    return ask(text, title, false);
}

Prompt::Answer MessageBoxPrompt::askReplace(const QString& name, const QString& question,
                                            const QString& title)
{
    const WindowTexts fallback;
    const WindowTexts& texts = m_texts ? *m_texts : fallback;
    QMessageBox box(QMessageBox::Question, title, name + QLatin1String("\r\n\r\n") + question,
                    QMessageBox::Yes | QMessageBox::No);
    QPushButton* yesToAll = box.addButton(texts.yesToAll, QMessageBox::YesRole);
    QPushButton* noToAll = box.addButton(texts.noToAll, QMessageBox::NoRole);
    yesToAll->setObjectName(QStringLiteral("yesToAll"));
    noToAll->setObjectName(QStringLiteral("noToAll"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    placeOver(box, m_window);
    box.exec();
    if (box.clickedButton() == yesToAll)
        return Answer::YesToAll;
    if (box.clickedButton() == noToAll)
        return Answer::NoToAll;
    return box.clickedButton() == box.button(QMessageBox::Yes) ? Answer::Yes : Answer::No;
}

void MessageBoxPrompt::showMessage(const QString& text, const QString& title, Icon icon)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok);
    placeOver(box, m_window);
    box.exec();
}
