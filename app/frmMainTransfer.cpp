// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Sending and receiving from the main window, with the batch's progress shown.
#include "frmMain.h"

#include "LocalFileView.h"
#include "PlayerListView.h"
#include "ReceiveFiles.h"
#include "SendFiles.h"
#include "TransferProgressDialog.h"

#include <QAction>

namespace
{

LcdTitleFont lcdFontOf(const QFont& font)
{
    return LcdTitleFont{font.family(), font.pointSizeF(), font.bold()};
}

} // namespace

void frmMain::sendSelectedFiles()
{
    const QList<int> rows = m_lvwFile->selectedRows();
    qint64 bytes = 0;
    for (int row : rows)
        bytes += std::max<qint64>(0, m_fileModel.row(row).size);
    TransferProgressDialog progress(m_texts.title, bytes, this);
    SendRequest request{m_session,
                        *m_prompt,
                        m_fileModel,
                        std::vector<int>(rows.begin(), rows.end()),
                        m_settings.displayName,
                        titleBlockMaker(lcdFontOf(m_settings.titleFont)),
                        &progress};
    SendSelectedFiles(request);
    showPlayerState();
}

void frmMain::receiveSelectedFiles()
{
    const QList<int> rows = m_lvwPlayer->selectedRows();
    qint64 bytes = 0;
    for (int row : rows)
        bytes += std::max<qint64>(0, m_session.list().row(row).size);
    TransferProgressDialog progress(m_texts.title, bytes, this);
    ReceiveRequest request{m_session,       *m_prompt,
                           m_fileModel,     std::vector<int>(rows.begin(), rows.end()),
                           currentFolder(), mFileAPI::ViewTab(selectedTab()),
                           &progress};
    ReceiveSelectedFiles(request);
    m_sort.resetAfterScan();
    setUploadEnabled();
}
