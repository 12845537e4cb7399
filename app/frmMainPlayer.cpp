// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player side of the main window: the connection poll, the player list, the toolbar, the
// player file operations and the drags between the two lists.
#include "frmMain.h"

#include "LocalFileView.h"
#include "PlayerFileOperations.h"
#include "PlayerListModel.h"
#include "PlayerListView.h"
#include "PlayerMaintenance.h"
#include "PlayerSetAside.h"
#include "StatusPanels.h"
#include "dlgFirm.h"

#include <QAction>
#include <QProgressBar>
#include <QTabBar>
#include <QToolBar>

namespace
{
// A connection the library failed to close is said once per run, not at every unplugging.
bool closeFailureShown = false;

const QString UnreadList = QStringLiteral(
    "The player's entries could not be read, so nothing was done. Press F5 to read them again.");
} // namespace

void frmMain::tmrCheck_Timer()
{
    const bool wasConnected = m_session.isConnected();
    const PlayerSession::TickOutcome outcome = m_session.tick();
    if (outcome == PlayerSession::TickOutcome::Connected) {
        BeginBusy();
        m_session.RefreshPlayerList();
        // Entries a killed ZVD or zvdctl left set aside get their names back.
        const QStringList problems = PlayerSetAside::restoreLeftovers(m_session);
        showPlayerState();
        if (!problems.isEmpty())
            m_prompt->showMessage(problems.join(QStringLiteral("\r\n")), m_texts.title, Prompt::Icon::Warning);
        EndBusy();
    } else if (outcome == PlayerSession::TickOutcome::Disconnected) {
        showPlayerState();
        if (wasConnected && !m_session.lastCloseSucceeded() && !closeFailureShown) {
            closeFailureShown = true;
            m_prompt->showMessage(QStringLiteral("The connection to the player could not be closed."),
                                  m_texts.title, Prompt::Icon::Warning);
        }
    }
}

bool frmMain::refuseUnreadList()
{
    if (!m_session.isConnected() || m_session.listRead())
        return false;
    m_prompt->showMessage(UnreadList, m_texts.title, Prompt::Icon::Warning);
    return true;
}

void frmMain::RefreshPlayerList()
{
    m_session.RefreshPlayerList();
    showPlayerState();
}

// Panels 1 and 2, the capacity bar and the list, as the session has them now.
void frmMain::showPlayerState()
{
    m_playerModel->reload();
    m_sbrStatus->setText(1, m_session.connectionText());
    m_sbrStatus->setText(2, m_session.capacityText());
    const qint64 total = m_session.totalBytes();
    const qint64 used = total - m_session.freeBytes();
    m_capacityBar->setValue(total > 0 ? int(std::clamp<qint64>(used * 1000 / total, 0, 1000)) : 0);
    m_capacityBar->setEnabled(total > 0);
}

void frmMain::tbrTool_ButtonClick(const QString& key)
{
    // Format needs no list; everything else would act on names and indexes never read.
    if (key != QLatin1String("Format") && refuseUnreadList())
        return;
    BeginBusy();
    if (key == QLatin1String("Download")) {
        sendSelectedFiles();
    } else if (key == QLatin1String("Upload")) {
        receiveSelectedFiles();
    } else if (key == QLatin1String("Delete")) {
        const QList<int> rows = m_lvwPlayer->selectedRows();
        PlayerFileOperations::DeleteSelectedPlayerFiles(m_session, *m_prompt,
                                                        std::vector<int>(rows.begin(), rows.end()));
    } else if (key == QLatin1String("Format")) {
        PlayerFileOperations::FormatPlayer(m_session, *m_prompt);
    }
    showPlayerState();
    EndBusy();
}

void frmMain::DeletePlayerSelection()
{
    if (m_lvwPlayer->selectionModel() && m_lvwPlayer->selectionModel()->hasSelection())
        tbrTool_ButtonClick(QStringLiteral("Delete"));
}

void frmMain::setUploadEnabled()
{
    if (QAction* upload = toolButton(QStringLiteral("Upload")))
        upload->setEnabled(selectedTab() != 1);
}

void frmMain::renamePlayerFile(int rowPosition, const QString& typed)
{
    if (!m_session.isConnected() || refuseUnreadList())
        return;
    BeginBusy();
    PlayerFileOperations::RenamePlayerFile(m_session, rowPosition, typed);
    showPlayerState();
    EndBusy();
}

void frmMain::reorderPlayer(int source, int target)
{
    if (refuseUnreadList())
        return;
    BeginBusy();
    PlayerFileOperations::MovePlayerFile(m_session, source, target);
    showPlayerState();
    EndBusy();
}

void frmMain::mnuTool_Click(int index)
{
    if (index == 0) {
        if (!m_session.isConnected())
            return;
        BeginBusy();
        PlayerMaintenance::LowLevelFormat(m_session, *m_prompt);
        showPlayerState();
        EndBusy();
    } else if (index == 1) {
        if (!m_session.isConnected())
            return;
        const QString firmware = dlgFirm().show(this);
        if (firmware.isEmpty())
            return;
        BeginBusy();
        const auto outcome = PlayerMaintenance::UpgradeFirmware(m_session, *m_prompt, firmware);
        EndBusy();
        if (outcome == PlayerFileOperations::Outcome::Done)
            close();
    } else if (index == 3) {
        if (m_optionsDialog)
            m_optionsDialog(*this);
        SaveSettings();
    }
}

void frmMain::dragStarted(FileList source)
{
    if (source == FileList::Local) {
        m_drag.fromLocalList = true;
    } else {
        m_drag.fromPlayer = true;
        m_drag.playerSelectedAtStart = int(m_lvwPlayer->selectedRows().size());
    }
}

void frmMain::dragCompleted(FileList source)
{
    if (source == FileList::Local)
        m_drag.fromLocalList = false;
    else
        m_drag.fromPlayer = false;
}

bool frmMain::dropAccepted(FileList target, bool fromThisProgram)
{
    if (isBusy())
        return false;
    if (target == FileList::Local)
        return fromThisProgram && DropRules::localListAccepts(m_drag, selectedTab() == 1);
    return DropRules::playerListAccepts(m_drag, fromThisProgram);
}

void frmMain::dropped(FileList target, QPoint position)
{
    // What the drop means is fixed now, while the drag's flags still tell where it came from;
    // the work runs once the drag has ended, so that questions and progress are not shown from
    // inside the platform's drag loop.
    if (target == FileList::Local) {
        QMetaObject::invokeMethod(
            this, [this] { tbrTool_ButtonClick(QStringLiteral("Upload")); }, Qt::QueuedConnection);
        return;
    }
    if (!m_drag.fromPlayer) {
        QMetaObject::invokeMethod(
            this, [this] { tbrTool_ButtonClick(QStringLiteral("Download")); }, Qt::QueuedConnection);
        return;
    }
    const QModelIndex over = m_lvwPlayer->indexAt(position);
    const QList<int> selected = m_lvwPlayer->selectedRows();
    m_drag.playerSelectedAtStart = 0;
    if (!over.isValid() || selected.isEmpty())
        return;
    const int source = m_session.list().row(selected.first()).index;
    const int destination = m_session.list().row(over.row()).index;
    QMetaObject::invokeMethod(
        this, [this, source, destination] { reorderPlayer(source, destination); }, Qt::QueuedConnection);
}
