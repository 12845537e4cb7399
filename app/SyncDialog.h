// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The plan of a sync before anything changes: the folder, the choices (mirror, order), the
// counts and sizes, and every file with what will happen to it and why. Changing a choice or
// the folder makes the plan again. Accepting it hands the plan (cut to what fits when the user
// chose so) to the caller, which carries it out.
#pragma once

#include "app/SyncTexts.h"
#include "sync/SyncRun.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

class SyncDialog : public QDialog
{
    Q_OBJECT
public:
    using Planner = std::function<SyncPreparation(const QString& folder, const SyncOptions& options)>;

    SyncDialog(const QString& folder, Planner planner, const SyncTexts& texts, QWidget* parent = nullptr);

    // The plan to carry out, after the dialog was accepted.
    SyncPreparation& preparation() { return m_prep; }

    QString folder() const { return m_folder; }
    QTreeWidget* planList() const { return m_list; }
    QLabel* summary() const { return m_summary; }
    QPushButton* startButton() const { return m_start; }
    QCheckBox* mirrorBox() const { return m_mirror; }
    QComboBox* orderBox() const { return m_order; }

    // The file dialog that Choose opens; tests put a fixed answer in its place.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& current)>;
    void setFolderChooser(FolderChooser chooser) { m_chooser = std::move(chooser); }

public slots:
    void accept() override;

private:
    void replan();
    void chooseFolder();
    SyncOptions options() const;
    QString actionText(SyncItem::Action action) const;

    Planner m_planner;
    SyncTexts m_texts;
    QString m_folder;
    SyncPreparation m_prep;
    FolderChooser m_chooser;
    QLineEdit* m_folderText;
    QCheckBox* m_mirror;
    QComboBox* m_order;
    QTreeWidget* m_list;
    QLabel* m_summary;
    QPushButton* m_start;
};
