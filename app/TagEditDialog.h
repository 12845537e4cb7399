// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The "Edit Tags" dialog for one or several MP3 files: a field the files agree on shows their
// value; one they differ in shows "<keep>" and stays each file's own unless the user types.
#pragma once

#include "app/TagEditTexts.h"
#include "audio/TagEdit.h"

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QLineEdit;

class TagEditDialog : public QDialog
{
    Q_OBJECT
public:
    TagEditDialog(const QList<TagFields>& files, const TagEditTexts& texts, QWidget* parent = nullptr);

    // The fields the user changed; an untouched field is left out.
    TagChanges changes() const;

    QLineEdit* titleEdit() const { return m_title; }
    QLineEdit* artistEdit() const { return m_artist; }
    QLineEdit* albumEdit() const { return m_album; }
    QLineEdit* yearEdit() const { return m_year; }
    QLineEdit* trackEdit() const { return m_track; }
    QComboBox* genreBox() const { return m_genre; }

private:
    QLineEdit* addLine(const QString& label, const QString& common, bool agree);

    const TagEditTexts m_texts;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_artist = nullptr;
    QLineEdit* m_album = nullptr;
    QLineEdit* m_year = nullptr;
    QLineEdit* m_track = nullptr;
    QComboBox* m_genre = nullptr;
    int m_genreStart = 0;
    class QFormLayout* m_form = nullptr;
};
