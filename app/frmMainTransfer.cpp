// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Sending and receiving from the main window. The device calls run on a worker thread, so the
// window repaints and Cancel is taken at once; questions and progress come back to this thread.
// The worker only ever sees copies of the local rows, never a model a view shows.
#include "app/frmMain.h"

#include "app/DroppedFiles.h"
#include "app/LocalFileView.h"
#include "app/PlayerListView.h"
#include "app/StatusPanels.h"
#include "app/TransferProgressDialog.h"
#include "app/WorkerThread.h"
#include "convert/ConversionQuality.h"
#include "transfer/ReceiveFiles.h"
#include "transfer/SendFiles.h"

#include <QAction>
#include <QLabel>

#include <numeric>

namespace
{

LcdTitleFont lcdFontOf(const QFont& font)
{
    return LcdTitleFont{font.family(), font.pointSizeF(), font.bold()};
}

std::vector<LocalFileRow> rowsOf(const LocalFileModel& model, const QList<int>& positions)
{
    std::vector<LocalFileRow> rows;
    rows.reserve(std::size_t(positions.size()));
    for (int position : positions)
        rows.push_back(model.row(position));
    return rows;
}

std::vector<int> allPositions(std::size_t count)
{
    std::vector<int> positions(count);
    std::iota(positions.begin(), positions.end(), 0);
    return positions;
}

} // namespace

void frmMain::sendSelectedFiles()
{
    sendRows(rowsOf(m_fileModel, m_lvwFile->selectedRows()));
}

void frmMain::sendDroppedFiles(const QList<QUrl>& urls)
{
    const DroppedFiles dropped = DroppedFiles::from(urls, mFileAPI::ViewTab(selectedTab()));
    BeginBusy();
    if (!dropped.refused.isEmpty())
        m_prompt->showMessage(m_windowTexts.notInView + QLatin1String("\r\n") +
                                  dropped.refused.join(QLatin1String("\r\n")),
                              m_texts.title, Prompt::Icon::Warning);
    if (!dropped.rows.empty())
        sendRows(dropped.rows);
    showPlayerState();
    EndBusy();
}

void frmMain::sendRows(std::vector<LocalFileRow> rows)
{
    qint64 bytes = 0;
    for (const LocalFileRow& row : rows)
        bytes += std::max<qint64>(0, row.size);
    LocalFileModel batch;
    const std::size_t count = rows.size();
    batch.setRows(std::move(rows));
    TransferProgressDialog progress(m_texts.title, bytes, this, m_windowTexts);
    GuiThreadPrompt prompt(*m_prompt);
    GuiThreadObserver observer(progress);
    SendRequest request{m_session,
                        prompt,
                        batch,
                        allPositions(count),
                        m_settings.displayName,
                        titleBlockMaker(lcdFontOf(m_settings.titleFont)),
                        &observer,
                        ConversionQuality::parse(m_settings.conversionQuality).value_or(ConversionQuality())};
    TransferOutcome outcome;
    WorkerThread::run([&] { outcome = SendSelectedFiles(request); });
    showPlayerState();
    showBatchSummary(outcome, true);
}

void frmMain::receiveSelectedFiles()
{
    const QList<int> rows = m_lvwPlayer->selectedRows();
    qint64 bytes = 0;
    for (int row : rows)
        bytes += std::max<qint64>(0, m_session.list().row(row).size);
    // The worker asks this copy about same names and refills it; the list takes its rows after.
    LocalFileModel local;
    QList<int> everyRow(m_fileModel.count());
    std::iota(everyRow.begin(), everyRow.end(), 0);
    local.setRows(rowsOf(m_fileModel, everyRow));
    TransferProgressDialog progress(m_texts.title, bytes, this, m_windowTexts);
    GuiThreadPrompt prompt(*m_prompt);
    GuiThreadObserver observer(progress);
    ReceiveRequest request{m_session,       prompt,
                           local,           std::vector<int>(rows.begin(), rows.end()),
                           currentFolder(), mFileAPI::ViewTab(selectedTab()),
                           &observer};
    TransferOutcome outcome;
    WorkerThread::run([&] { outcome = ReceiveSelectedFiles(request); });
    if (outcome.status != TransferOutcome::Status::NotConnected) {
        QList<int> refilled(local.count());
        std::iota(refilled.begin(), refilled.end(), 0);
        m_fileModel.setRows(rowsOf(local, refilled));
        m_sort.resetAfterScan();
        syncSortMarks();
    }
    setUploadEnabled();
    showBatchSummary(outcome, false);
}

void frmMain::showBatchSummary(const TransferOutcome& outcome, bool sending)
{
    using Status = TransferOutcome::Status;
    if (outcome.status == Status::NotConnected || outcome.status == Status::NotEnoughSpace)
        return;
    QString text = QString(sending ? m_windowTexts.sentSummary : m_windowTexts.receivedSummary)
                       .arg(outcome.transferred)
                       .arg(outcome.batchSize);
    if (outcome.status == Status::Cancelled)
        text += QLatin1String("; ") + m_windowTexts.cancelled;
    else if (outcome.status == Status::Failed)
        text += QLatin1String("; ") + m_windowTexts.failed;
    m_lblSummary->setText(text);
}
