// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "TransferProgressDialog.h"

#include "SizeFormat.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TransferProgressDialog::TransferProgressDialog(const QString& title, qint64 totalBytes, QWidget* window)
    : QDialog(nullptr), m_window(window), m_file(new QLabel(this)), m_count(new QLabel(this)),
      m_bytes(new QLabel(this)), m_bar(new QProgressBar(this)), m_cancel(new QPushButton(tr("Cancel"), this)),
      m_totalBytes(std::max<qint64>(0, totalBytes))
{
    setWindowTitle(title);
    setWindowModality(Qt::ApplicationModal);
    m_file->setTextFormat(Qt::PlainText);
    m_file->setMinimumWidth(360);
    m_bar->setRange(0, 1000);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* widget : std::initializer_list<QWidget*>{m_file, m_count, m_bytes, m_bar})
        layout->addWidget(widget);
    layout->addWidget(m_cancel, 0, Qt::AlignRight);
    connect(m_cancel, &QPushButton::clicked, this, [this] { cancel(); });
    m_clock.start();
}

void TransferProgressDialog::cancel()
{
    m_cancelled = true;
    m_cancel->setEnabled(false);
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
    showIfDue(progress.total);
    refresh();
    return !m_cancelled;
}

void TransferProgressDialog::fileFinished(const TransferProgress& progress, bool ok)
{
    if (ok) {
        ++m_doneFiles;
        m_doneBytes += std::max<qint64>(0, progress.bytes);
    }
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

QString TransferProgressDialog::countText() const
{
    return tr("%1 of %2 files").arg(m_doneFiles).arg(m_totalFiles);
}

QString TransferProgressDialog::bytesText() const
{
    // The selection's bytes; a file the user declined to replace is not sent, so done bytes
    // may end below the total.
    const qint64 total = std::max(m_totalBytes, m_doneBytes);
    return tr("%1 of %2 bytes").arg(mFileAPI::FormatSize(m_doneBytes), mFileAPI::FormatSize(total));
}

void TransferProgressDialog::refresh()
{
    m_count->setText(countText());
    m_bytes->setText(bytesText());
    const qint64 total = std::max(m_totalBytes, m_doneBytes);
    m_bar->setValue(total > 0 ? int(m_doneBytes * 1000 / total) : 0);
    if (isVisible()) {
        // The window is disabled but must repaint, and Cancel must be clickable.
        QApplication::processEvents();
    }
}
