// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/TransferProgressDialog.h"

#include "localfiles/SizeFormat.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TransferProgressDialog::TransferProgressDialog(const QString& title, qint64 totalBytes, QWidget* window,
                                               const WindowTexts& texts)
    : QDialog(nullptr), m_window(window), m_file(new QLabel(this)), m_count(new QLabel(this)),
      m_bytes(new QLabel(this)), m_bar(new QProgressBar(this)), m_fileBar(new QProgressBar(this)),
      m_note(new QLabel(texts.progressNote, this)), m_texts(texts),
      m_cancel(new QPushButton(texts.cancel, this)), m_totalBytes(std::max<qint64>(0, totalBytes))
{
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    m_file->setTextFormat(Qt::PlainText);
    m_file->setMinimumWidth(360);
    m_note->setWordWrap(true);
    m_bar->setRange(0, 1000);
    m_fileBar->setRange(0, 1);
    m_fileBar->setTextVisible(false);
    m_fileBar->setMaximumHeight(10);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{m_file, m_fileBar, m_count, m_bytes, m_bar, m_note})
        layout->addWidget(widget);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, [this] { cancel(); });
    m_clock.start();
    // A single long file shows the window once it has run for a second.
    auto* due = new QTimer(this);
    due->setInterval(1000);
    connect(due, &QTimer::timeout, this, [this] {
        if (m_fileRunning)
            showIfDue(m_totalFiles);
    });
    due->start();
}

void TransferProgressDialog::cancel()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
    // Said at once: the device cannot stop the file it is writing.
    m_note->setText(m_texts.cancelling);
}

void TransferProgressDialog::reject()
{
    cancel();
}

void TransferProgressDialog::closeEvent(QCloseEvent* event)
{
    // The dialog stays up until the running file has finished; its owner closes it then.
    event->ignore();
    cancel();
}

bool TransferProgressDialog::fileStarting(const TransferProgress& progress)
{
    if (m_cancelled)
        return false;
    m_totalFiles = progress.total;
    m_file->setText(progress.name);
    m_fileRunning = true;
    m_fileBar->setRange(0, 0); // moves until the file is done
    showIfDue(progress.total);
    refresh();
    return true;
}

void TransferProgressDialog::fileFinished(const TransferProgress& progress, bool ok)
{
    if (ok) {
        ++m_doneFiles;
        m_doneBytes += std::max<qint64>(0, progress.bytes);
    }
    m_fileRunning = false;
    m_fileBar->setRange(0, 1);
    m_fileBar->setValue(1);
    showIfDue(progress.total);
    refresh();
}

void TransferProgressDialog::showIfDue(int total)
{
    if (isVisible() || (total <= 1 && m_clock.elapsed() <= 1000))
        return;
    if (m_window)
        move(m_window->geometry().center() - QPoint(sizeHint().width() / 2, sizeHint().height() / 2));
    show();
}

QString TransferProgressDialog::fileText() const
{
    return m_file->text();
}

QString TransferProgressDialog::noteText() const
{
    return m_note->text();
}

QString TransferProgressDialog::countText() const
{
    return QString(m_texts.progressFiles).arg(m_doneFiles).arg(m_totalFiles);
}

QString TransferProgressDialog::bytesText() const
{
    // The selection's bytes; a file the user declined to replace is not sent, so done bytes
    // may end below the total.
    const qint64 total = std::max(m_totalBytes, m_doneBytes);
    return QString(m_texts.progressBytes).arg(mFileAPI::FormatSize(m_doneBytes), mFileAPI::FormatSize(total));
}

void TransferProgressDialog::refresh()
{
    m_count->setText(countText());
    m_bytes->setText(bytesText());
    const qint64 total = std::max(m_totalBytes, m_doneBytes);
    m_bar->setValue(total > 0 ? int(m_doneBytes * 1000 / total) : 0);
}
