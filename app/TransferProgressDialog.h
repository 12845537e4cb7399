// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Progress of a batch of transfers: the file under way (a moving bar, as the device reports no
// progress within a file), files and bytes done of the total, and Cancel, which stops the batch
// before its next file. Shown for batches of more than one file and for any batch that has run
// for more than a second. The transfers run on a worker thread, so the window stays live.
#pragma once

#include "app/WindowTexts.h"
#include "transfer/TransferObserver.h"

#include <QDialog>
#include <QElapsedTimer>

#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

class TransferProgressDialog : public QDialog, public TransferObserver
{
    Q_OBJECT
public:
    // totalBytes: the bytes of the selection; window: the main window to centre on (the dialog
    // itself stays a top-level window, as the main window is disabled while it runs).
    TransferProgressDialog(const QString& title, qint64 totalBytes, QWidget* window,
                           const WindowTexts& texts = WindowTexts());

    bool fileStarting(const TransferProgress& progress) override;
    void fileFinished(const TransferProgress& progress, bool ok) override;

    bool cancelled() const { return m_cancelled; }
    // Read by the worker threads that convert files while the window's thread runs the dialog.
    bool stopRequested() const override { return m_cancelled; }
    void cancel();
    QString fileText() const;
    QString countText() const;
    QString bytesText() const;
    QString noteText() const;
    // True while a file is under way (its bar moves without a value).
    bool fileRunning() const { return m_fileRunning; }

protected:
    // Escape and the window's close box mean Cancel: the batch stops before the next file
    // instead of running on behind a hidden window.
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void showIfDue(int total);
    void refresh();

    QWidget* m_window;
    QLabel* m_file;
    QLabel* m_count;
    QLabel* m_bytes;
    QProgressBar* m_bar;
    QProgressBar* m_fileBar;
    QLabel* m_note;
    WindowTexts m_texts;
    QPushButton* m_cancel;
    QElapsedTimer m_clock;
    qint64 m_totalBytes;
    qint64 m_doneBytes = 0;
    int m_doneFiles = 0;
    int m_totalFiles = 0;
    std::atomic<bool> m_cancelled{false};
    bool m_fileRunning = false;
};
