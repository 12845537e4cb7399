// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The player side of the main window: the connection poll, the player list, the toolbar, the
// player file operations and the drags between the two lists.
#include "app/frmMain.h"

#include "app/ErasingPrompt.h"
#include "app/ListDragHandler.h"
#include "app/LocalFileView.h"
#include "app/PlayerListModel.h"
#include "app/PlayerListView.h"
#include "app/StatusPanels.h"
#include "app/options/dlgFirm.h"
#include "core/CodePage.h"
#include "device/DeviceHost.h"
#include "device/PlayerFileOperations.h"
#include "device/PlayerMaintenance.h"
#include "device/PlayerSetAside.h"

#include <QAction>
#include <QEvent>
#include <QMimeData>
#include <QProgressBar>
#include <QTabBar>
#include <QToolBar>
#include <QUrl>

namespace
{
// A connection the library failed to close is said once per run, not at every unplugging.
bool closeFailureShown = false;
bool hostStopShown = false;
int hostStopsSeen = 0;

} // namespace

void frmMain::tmrCheck_Timer()
{
    const bool wasConnected = m_session.isConnected();
    const PlayerSession::TickOutcome outcome = m_session.tick();
    if (outcome == PlayerSession::TickOutcome::Connected) {
        BeginBusy();
        m_session.RefreshPlayerList();
        // Entries a killed ZVD or zvdctl left set aside get their names back, and so do this
        // window's own: it connects only between operations, so one of its operations could not
        // finish (a device host that stopped under it could not give the name back).
        const QStringList problems = PlayerSetAside::restoreLeftovers(m_session, true);
        showPlayerState();
        if (!problems.isEmpty())
            m_prompt->showMessage(problems.join(QStringLiteral("\r\n")), m_texts.title,
                                  Prompt::Icon::Warning);
        EndBusy();
    } else if (outcome == PlayerSession::TickOutcome::Disconnected) {
        showPlayerState();
        // A device host that stopped is said once; the polls go on and start a new one. The
        // connection it took with it could not be closed, which says nothing more.
        const bool hostStopped = DeviceHost::instance().stopCount() != hostStopsSeen;
        hostStopsSeen = DeviceHost::instance().stopCount();
        if (hostStopped && !hostStopShown) {
            hostStopShown = true;
            m_prompt->showMessage(DeviceHost::instance().stopReason(), m_texts.title, Prompt::Icon::Warning);
        }
        if (wasConnected && !hostStopped && !m_session.lastCloseSucceeded() && !closeFailureShown) {
            closeFailureShown = true;
            m_prompt->showMessage(m_windowTexts.closeFailed, m_texts.title, Prompt::Icon::Warning);
        }
    }
}

bool frmMain::refuseUnreadList()
{
    if (!m_session.isConnected() || m_session.listRead())
        return false;
    m_prompt->showMessage(m_windowTexts.unreadList, m_texts.title, Prompt::Icon::Warning);
    return true;
}

void frmMain::RefreshPlayerList()
{
    m_session.RefreshPlayerList();
    m_lastPlayerRead.start();
    showPlayerState();
}

void frmMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Back in the window: recordings made on the player or changes made with zvdctl show
    // without F5. Not while an operation runs, and not right after a read (a closed message
    // box activates the window too).
    if (event->type() != QEvent::ActivationChange || !isActiveWindow() || !m_loaded || m_unloaded ||
        isBusy() || !m_session.isConnected())
        return;
    if (m_lastPlayerRead.isValid() && m_lastPlayerRead.elapsed() < 1500)
        return;
    BeginBusy();
    RefreshPlayerList();
    EndBusy();
}

// Panels 1 and 2, the capacity bar and the list, as the session has them now.
void frmMain::showPlayerState()
{
    // A re-read keeps the user's choice: the rows of the same entries stay selected.
    QList<QPair<int32_t, QString>> chosen;
    for (int row : m_lvwPlayer->selectedRows()) {
        const QModelIndex index = m_playerModel->index(row, 0);
        chosen.append({index.data(PlayerListModel::EntryIndexRole).toInt(), index.data().toString()});
    }
    m_playerModel->reload();
    if (!chosen.isEmpty()) {
        QItemSelection selection;
        for (int row = 0; row < m_playerModel->rowCount(); ++row) {
            const QModelIndex index = m_playerModel->index(row, 0);
            if (chosen.contains(
                    {index.data(PlayerListModel::EntryIndexRole).toInt(), index.data().toString()}))
                selection.select(index, index);
        }
        if (!selection.isEmpty()) {
            m_lvwPlayer->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect |
                                                                 QItemSelectionModel::Rows);
            m_lvwPlayer->selectionModel()->setCurrentIndex(selection.indexes().first(),
                                                           QItemSelectionModel::NoUpdate);
        }
    }
    m_sbrStatus->setText(1, m_session.connectionText());
    m_sbrStatus->setText(2, m_session.capacityText());
    const qint64 total = m_session.totalBytes();
    const qint64 used = total - m_session.freeBytes();
    m_capacityBar->setValue(total > 0 ? int(std::clamp<qint64>(used * 1000 / total, 0, 1000)) : 0);
    m_capacityBar->setEnabled(total > 0);
    updateActions();
}

void frmMain::updateActions()
{
    if (m_playerActions.isEmpty() || m_toolButtons.isEmpty())
        return;
    const bool connected = m_session.isConnected();
    const bool localChosen = m_lvwFile->selectionModel() && m_lvwFile->selectionModel()->hasSelection();
    const int playerChosen = int(m_lvwPlayer->selectedRows().size());
    const bool fetchable = connected && playerChosen > 0 && selectedTab() != 1;
    const QMap<QString, bool> enabled = {
        {QStringLiteral("Send"), connected && localChosen},
        {QStringLiteral("Fetch"), fetchable},
        {QStringLiteral("Rename"), connected && playerChosen == 1},
        {QStringLiteral("Delete"), connected && playerChosen > 0},
        {QStringLiteral("Format"), connected},
        {QStringLiteral("LowFormat"), connected},
        {QStringLiteral("Upgrade"), connected},
        {QStringLiteral("Refresh"), true},
    };
    for (auto it = enabled.begin(); it != enabled.end(); ++it)
        m_playerActions.value(it.key())->setEnabled(it.value());
    toolButton(QStringLiteral("Download"))->setEnabled(connected && localChosen);
    toolButton(QStringLiteral("Upload"))->setEnabled(fetchable);
    toolButton(QStringLiteral("Delete"))->setEnabled(connected && playerChosen > 0);
    toolButton(QStringLiteral("Format"))->setEnabled(connected);
    m_mnuTool[0]->setEnabled(connected);
    m_mnuTool[1]->setEnabled(connected);
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
        ErasingPrompt erasing(*m_prompt);
        PlayerFileOperations::DeleteSelectedPlayerFiles(m_session, erasing,
                                                        std::vector<int>(rows.begin(), rows.end()));
    } else if (key == QLatin1String("Format")) {
        ErasingPrompt erasing(*m_prompt);
        PlayerFileOperations::FormatPlayer(m_session, erasing);
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
    updateActions();
}

void frmMain::RenamePlayerSelection()
{
    if (!m_session.isConnected() || isBusy())
        return;
    QModelIndex current = m_lvwPlayer->currentIndex();
    const QList<int> selected = m_lvwPlayer->selectedRows();
    if (!current.isValid() || !m_lvwPlayer->selectionModel()->isRowSelected(current.row())) {
        if (selected.isEmpty())
            return;
        current = m_playerModel->index(selected.first(), 0);
    }
    m_lvwPlayer->setFocus();
    m_lvwPlayer->edit(current.siblingAtColumn(0));
}

namespace
{

// Names the player's file system cannot hold: empty or blank, characters FAT forbids, control
// characters, or characters the ANSI code page has no byte for.
bool isStorableName(const QString& name)
{
    if (name.trimmed().isEmpty())
        return false;
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            return false;
    }
    return CodePage::toUnicode(CodePage::fromUnicode(name)) == name;
}

} // namespace

void frmMain::renamePlayerFile(int rowPosition, const QString& typed)
{
    if (!m_session.isConnected() || refuseUnreadList())
        return;
    if (rowPosition >= 0 && rowPosition < m_session.list().count() &&
        typed == m_session.list().row(rowPosition).name)
        return; // the edit ended unchanged
    if (!isStorableName(typed)) {
        m_prompt->showMessage(m_windowTexts.renameBad + QStringLiteral("\r\n\\ / : * ? \" < > |"),
                              m_texts.title, Prompt::Icon::Warning);
        return;
    }
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
        ErasingPrompt erasing(*m_prompt);
        PlayerMaintenance::LowLevelFormat(m_session, erasing);
        showPlayerState();
        EndBusy();
    } else if (index == 1) {
        if (!m_session.isConnected())
            return;
        const QString firmware = dlgFirm().show(this);
        if (firmware.isEmpty())
            return;
        // The new firmware replaces the old for good: asked first, No by default.
        if (!m_prompt->askToErase(m_texts.firmAsk + QLatin1String("\r\n") + firmware, m_texts.title))
            return;
        BeginBusy();
        const auto outcome = PlayerMaintenance::UpgradeFirmware(m_session, *m_prompt, firmware);
        EndBusy();
        if (outcome == PlayerFileOperations::Outcome::Done)
            close();
    } else if (index == 3) {
        OptionsValues values = options();
        if (m_optionsDialog && m_optionsDialog(values, this))
            applyOptions(values);
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

namespace
{

bool carriesLocalFiles(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return false;
    const QList<QUrl> urls = data->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

} // namespace

bool frmMain::dropAccepted(FileList target, const QMimeData* data)
{
    if (isBusy())
        return false;
    const bool fromThisProgram = ListDrag::isFromThisProgram(data);
    if (target == FileList::Local)
        return fromThisProgram && DropRules::localListAccepts(m_drag, selectedTab() == 1);
    // Files from a file manager are sent as they are, wherever they lie.
    if (!fromThisProgram)
        return m_session.isConnected() && carriesLocalFiles(data);
    return DropRules::playerListAccepts(m_drag, fromThisProgram);
}

void frmMain::dropped(FileList target, QPoint position, const QMimeData* data)
{
    if (target == FileList::Player && !ListDrag::isFromThisProgram(data)) {
        const QList<QUrl> urls = data ? data->urls() : QList<QUrl>();
        QMetaObject::invokeMethod(
            this, [this, urls] { sendDroppedFiles(urls); }, Qt::QueuedConnection);
        return;
    }
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
