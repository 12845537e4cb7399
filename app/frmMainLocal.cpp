// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The PC side of the main window: the folder tree, the local list, its styles, sorting and the
// selection summary, and the tab change that refills both lists.
#include "app/frmMain.h"
#include "convert/ConvertibleFormats.h"

#include "app/LcdPreview.h"
#include "app/LocalFileView.h"
#include "app/PlayerListView.h"
#include "app/StatusPanels.h"
#include "localfiles/FileExtension.h"
#include "localfiles/FolderScanner.h"
#include "localfiles/SelectionSummary.h"
#include "transfer/DisplayName.h"
#include "transfer/TitleRenderer.h"

#include <QAction>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QTabBar>
#include <QTreeView>

namespace
{

PlayerView playerViewOf(int tab)
{
    return tab == 2 ? PlayerView::Record : tab == 3 ? PlayerView::Hdd : PlayerView::Audio;
}

} // namespace

void frmMain::tabMode_Click()
{
    BeginBusy();
    RefreshLocalList();
    setUploadEnabled();
    showViewNote();
    m_session.setView(playerViewOf(selectedTab()));
    RefreshPlayerList();
    EndBusy();
}

void frmMain::fldView_Change()
{
    BeginBusy();
    RefreshLocalList();
    EndBusy();
}

void frmMain::RebuildLists()
{
    if (isBusy())
        return;
    BeginBusy();
    RefreshLocalList();
    RefreshPlayerList();
    EndBusy();
}

void frmMain::RefreshLocalList()
{
    // Only the first names are listed here; the rest of a large folder arrives while the window
    // goes on, so no wait cursor is needed.
    mFileAPI::ListFolderForView(m_fileModel, currentFolder(), mFileAPI::ViewTab(selectedTab()));
    m_sort.resetAfterScan();
    syncSortMarks();
}

void frmMain::showViewNote()
{
    const int tab = selectedTab();
    const QString& music = ConvertibleFormats::conversionAvailable() ? m_windowTexts.viewMusicConverted
                                                                     : m_windowTexts.viewMusicUnconverted;
    m_lblViewNote->setText(tab == 1 ? music : tab == 2 ? m_windowTexts.viewRecord : m_windowTexts.viewOther);
}

void frmMain::mnuView_Click(int index)
{
    m_lvwFile->setDisplayStyle(LocalFileView::Style(index));
    for (int i = 0; i < m_mnuView.size(); ++i)
        m_mnuView[i]->setChecked(i == index);
    m_settings.displayStyle = index;
}

void frmMain::mnuSort_Click(int index)
{
    const SortState::Sort sort = m_sort.choose(index);
    m_fileModel.sort(sort.column, sort.order);
    syncSortMarks();
}

// The View menu's check mark and the header's arrow show the same sort.
void frmMain::syncSortMarks()
{
    for (int i = 0; i < m_mnuSort.size(); ++i)
        m_mnuSort[i]->setChecked(i == m_sort.checkedItem());
    m_lvwFile->detailView()->header()->setSortIndicator(m_sort.key(), m_sort.order());
}

void frmMain::HookListNotify()
{
    if (m_hooked)
        return;
    m_summary->reset();
    m_summary->track(m_lvwFile->selectionModel());
    m_hooked = true;
    GetFileSize();
}

void frmMain::UnhookListNotify()
{
    if (!m_hooked)
        return;
    QObject::disconnect(m_lvwFile->selectionModel(), nullptr, m_summary.get(), nullptr);
    QObject::disconnect(&m_fileModel, nullptr, m_summary.get(), nullptr);
    m_hooked = false;
}

namespace
{

// The row as the player will hold it: a file converted on send in the music view is "name.mp3"
// there, and its LCD text (which may be the file name) is rendered from that name.
LocalFileRow asSent(LocalFileRow row, int tab)
{
    if (tab == int(mFileAPI::ViewTab::Audio))
        row.name = playerNameFor(row.name);
    return row;
}

} // namespace

void frmMain::GetFileSize()
{
    const SummaryWords words{m_texts.singleFile, m_texts.multiFile, m_texts.byteWord};
    const SummaryTexts texts = summaryTexts(words, m_summary->figures(), [this](int rowId) {
        return Disp_Name(m_settings.displayName, asSent(m_fileModel.rowById(rowId), selectedTab()));
    });
    m_sbrFile->setText(1, texts.panel1);
    m_sbrFile->setText(2, texts.panel2);
    updateLcdPreview();
}

void frmMain::updateLcdPreview()
{
    const SummaryFigures& figures = m_summary->figures();
    if (figures.count != 1 || figures.singleRowId < 0 || figures.singleRowId >= m_fileModel.count()) {
        m_lcdPreview->clear();
        return;
    }
    const LocalFileRow row = asSent(m_fileModel.rowById(figures.singleRowId), selectedTab());
    if (!mFileAPI::isMusicName(row.name)) {
        m_lcdPreview->clear();
        return;
    }
    const QFont& font = m_settings.titleFont;
    const LcdTitleFont lcdFont{font.family(), font.pointSizeF(), font.bold()};
    m_lcdPreview->showBlock(MakeTitleBlock(Disp_Name(m_settings.displayName, row), 0, lcdFont));
}
