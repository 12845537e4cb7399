// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window's handlers, controls and state, for tests and benchmarks only: the window keeps
// them private, and this friend hands them out.
#pragma once

#include "app/frmMain.h"

class frmMainTestAccess
{
public:
    explicit frmMainTestAccess(frmMain& window) : w(window) {}

    // Start-up pieces, shutdown and the busy state.
    void Unload() { w.Unload(); }
    void BeginBusy() { w.BeginBusy(); }
    void EndBusy() { w.EndBusy(); }
    bool isBusy() const { return w.isBusy(); }
    void CreateSplitters() { w.CreateSplitters(); }
    void LoadSettings() { w.LoadSettings(); }
    void SaveSettings() { w.SaveSettings(); }
    void LayoutPanes() { w.LayoutPanes(); }
    void ApplyInterfaceFont() { w.ApplyInterfaceFont(); }
    bool ApplyLanguageFile(const QString& filePath) { return w.ApplyLanguageFile(filePath); }
    void chooseLanguage(const QString& file) { w.chooseLanguage(file); }
    void setStepObserver(frmMain::StepObserver observer) { w.m_stepObserver = std::move(observer); }

    // Handlers.
    void tmrCheck_Timer() { w.tmrCheck_Timer(); }
    void tabMode_Click() { w.tabMode_Click(); }
    void fldView_Change() { w.fldView_Change(); }
    void tbrTool_ButtonClick(const QString& key) { w.tbrTool_ButtonClick(key); }
    void mnuView_Click(int index) { w.mnuView_Click(index); }
    void mnuSort_Click(int index) { w.mnuSort_Click(index); }
    void mnuTool_Click(int index) { w.mnuTool_Click(index); }
    void RefreshPlayerList() { w.RefreshPlayerList(); }
    void RefreshLocalList() { w.RefreshLocalList(); }
    void RebuildLists() { w.RebuildLists(); }
    void GetFileSize() { w.GetFileSize(); }
    void DeletePlayerSelection() { w.DeletePlayerSelection(); }
    void RenamePlayerSelection() { w.RenamePlayerSelection(); }
    void updateActions() { w.updateActions(); }
    QString aboutText() const { return w.aboutText(); }
    void SplitterPressed(SplitterBar* bar, QPoint position) { w.SplitterPressed(bar, position); }
    void SplitterMoved() { w.SplitterMoved(); }
    void SplitterReleased() { w.SplitterReleased(); }
    // What the lists report about drags (tests stand in for the platform's drag loop).
    ListDragHandler& dragHandler() { return w; }

    // State.
    PlayerSession& session() { return w.m_session; }
    const MessageTexts& texts() const { return w.m_texts; }
    const WindowTexts& windowTexts() const { return w.m_windowTexts; }
    const DragState& dragState() const { return w.m_drag; }
    const SortState& sortState() const { return w.m_sort; }
    int hsplitLeft() const { return w.hsplitLeft(); }
    int vsplitTop() const { return w.vsplitTop(); }
    QString currentFolder() const { return w.currentFolder(); }
    int selectedTab() const { return w.selectedTab(); }
    QString languageFile() const { return w.m_settings.language; }

    // Controls.
    QTreeView* fldView() const { return w.m_fldView; }
    FolderTreeModel* folderModel() const { return w.m_folderModel; }
    LocalFileView* lvwFile() const { return w.m_lvwFile; }
    LocalFileModel& fileModel() { return w.m_fileModel; }
    PlayerListView* lvwPlayer() const { return w.m_lvwPlayer; }
    PlayerListModel* playerModel() const { return w.m_playerModel; }
    QTabBar* tabMode() const { return w.m_tabMode; }
    QToolBar* tbrTool() const { return w.m_tbrTool; }
    QAction* toolButton(const QString& key) const { return w.toolButton(key); }
    QAction* playerAction(const QString& key) const { return w.m_playerActions.value(key); }
    QAction* aboutAction() const { return w.m_aboutAction; }
    QLabel* summaryLabel() const { return w.m_lblSummary; }
    QLabel* viewNote() const { return w.m_lblViewNote; }
    StatusPanels* sbrFile() const { return w.m_sbrFile; }
    StatusPanels* sbrStatus() const { return w.m_sbrStatus; }
    QProgressBar* capacityBar() const { return w.m_capacityBar; }
    LcdPreview* lcdPreview() const { return w.m_lcdPreview; }
    QTimer& tmrCheck() { return w.m_tmrCheck; }
    SplitterBar* picHsplit() const { return w.m_picHsplit; }
    SplitterBar* picVsplit() const { return w.m_picVsplit; }
    cSplitDDC& splitter(SplitterBar* bar) { return w.splitter(bar); }
    QAction* viewAction(int index) const { return w.m_mnuView.value(index); }
    QAction* sortAction(int index) const { return w.m_mnuSort.value(index); }
    QWidget* client() const { return w.m_client; }

private:
    frmMain& w;
};
