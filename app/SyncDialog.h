// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The plan of a sync before anything changes: the folder, the choices (mirror, order), the
// counts and sizes, and every file with what will happen to it and why. Changing a choice or
// the folder makes the plan again. Accepting it hands the plan (cut to what fits when the user
// chose so) to the caller, which carries it out.
//
// A plan reads every file of the folder and the tags of those to send, which takes a while for
// a large library: it is made on a thread of its own while the dialog shows that it is busy.
// Cancel stops it; a changed choice stops it and starts again.
#pragma once

#include "app/SyncTexts.h"
#include "sync/SyncRun.h"

#include <QDialog>

#include <atomic>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTreeWidget;

class SyncDialog : public QDialog
{
    Q_OBJECT
public:
    // Called on the planning thread; polls `stopped` and returns early when it says so.
    using Planner = std::function<SyncPreparation(const QString& folder, const SyncOptions& options,
                                                  const std::function<bool()>& stopped)>;

    SyncDialog(const QString& folder, Planner planner, const SyncTexts& texts, QWidget* parent = nullptr);
    ~SyncDialog() override;

    // The plan to carry out, after the dialog was accepted.
    SyncPreparation& preparation() { return m_prep; }

    QString folder() const { return m_folder; }
    QTreeWidget* planList() const { return m_list; }
    QLabel* summary() const { return m_summary; }
    QPushButton* startButton() const { return m_start; }
    QCheckBox* mirrorBox() const { return m_mirror; }
    QComboBox* orderBox() const { return m_order; }
    QProgressBar* busyIndicator() const { return m_busy; }
    bool planning() const { return m_thread != nullptr; }

    // The file dialog that Choose opens; tests put a fixed answer in its place.
    using FolderChooser = std::function<QString(QWidget* parent, const QString& current)>;
    void setFolderChooser(FolderChooser chooser) { m_chooser = std::move(chooser); }

public slots:
    void accept() override;
    void reject() override;

private:
    void replan();
    void planned(SyncPreparation prep);
    void stopPlanning();
    void chooseFolder();
    SyncOptions options() const;
    QString actionText(SyncItem::Action action) const;
    QString problemText() const;

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
    QProgressBar* m_busy;
    QThread* m_thread = nullptr; // making a plan
    std::shared_ptr<std::atomic<bool>> m_stop;
    bool m_replanWanted = false; // a choice changed while a plan was being made
};
