// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Tag editing in the PC list: F2 on a Title, Artist or Genre cell, the "Edit Tags" dialog for the
// selected MP3 files, and undo of the last edits. The list's rows follow each write at once.
#pragma once

#include "app/TagEditTexts.h"
#include "audio/TagEdit.h"

#include <QObject>
#include <QStringList>

#include <vector>

class LocalFileModel;
class LocalFileView;
class Prompt;
class QAction;
class QWidget;

class TagEditController : public QObject
{
    Q_OBJECT
public:
    // window: the parent of the dialog; prompt: where failures are told.
    TagEditController(LocalFileModel& model, LocalFileView& view, Prompt& prompt, QWidget* window);

    void setTexts(const TagEditTexts& texts);
    // Title of the prompt's messages (the window's own).
    void setMessageTitle(const QString& title) { m_messageTitle = title; }

    QAction* editAction() const { return m_editAction; }
    QAction* undoAction() const { return m_undoAction; }

    // Opens the dialog for the selected MP3 files and writes what the user changed.
    void editSelection();
    // Writes the changes into every file; one undo step covers them all. Returns how many files
    // were written.
    int apply(const QStringList& paths, const TagChanges& changes);
    // Puts back the files of the last edit.
    void undoLast();
    bool canUndo() const { return !m_undo.empty(); }

signals:
    // Tag columns of listed rows changed (the LCD preview follows).
    void tagsChanged();

private:
    bool editCell(int rowId, int column, const QString& text);
    void showRow(const QString& path);
    void tell(const QString& heading, const QStringList& failures);

    LocalFileModel& m_model;
    LocalFileView& m_view;
    Prompt& m_prompt;
    QWidget* m_window;
    TagEditTexts m_texts;
    QString m_messageTitle;
    QAction* m_editAction;
    QAction* m_undoAction;
    // Each step is one edit of one or several files, newest last.
    std::vector<std::vector<TagUndo>> m_undo;
};
