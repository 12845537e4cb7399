// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window: the PC side (folder tree, local file list) above, the player side (views,
// toolbar, player list) below. It wires the subsystems' models and operations to the controls,
// runs start-up and shutdown, the 1000 ms connection poll and the busy state.
#pragma once

#include "app/AppSettings.h"
#include "app/DropRules.h"
#include "app/ListDragHandler.h"
#include "app/SortState.h"
#include "app/SyncTexts.h"
#include "app/WindowTexts.h"
#include "app/options/OptionsValues.h"
#include "device/PlayerSession.h"
#include "i18n/MessageTexts.h"
#include "localfiles/LocalFileModel.h"
#include "transfer/TransferObserver.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class FileIconProvider;
class LcdPreview;
class LocalFileView;
class PlayerListModel;
class PlayerListView;
class Prompt;
class QAction;
class FolderTreeModel;
class QLabel;
class QMenu;
class QTranslator;
class QUrl;
class QProgressBar;
class QTabBar;
class QToolBar;
class QTreeView;
class SelectionSummary;
class SplitterBar;
class StatusPanels;
class TagEditController;
class cSplitDDC;
class mTCC730;

class frmMain : public QMainWindow, private ListDragHandler
{
    Q_OBJECT
public:
    // device: the loaded binding (inert without a library); prompt: answers questions (message
    // boxes when null). Both outlive the window.
    explicit frmMain(mTCC730& device, Prompt* prompt = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    // Start-up, in order: splitters, tool strip, LCD font, settings, folder, version, poll
    // state, library start, layout, one tab change, list notifications, interface font.
    void Load();

    // The values the options dialog shows, and the ones it gives back: the title font, the
    // display-name selector and the size unit take effect at once (summary, preview); a different
    // language file is stored as the Language setting and applied.
    OptionsValues options() const;
    void applyOptions(const OptionsValues& values);

    // The Tool menu's "Option": shows the options dialog over parent; true when the values were
    // changed by OK. Without one, "Option" only saves the settings.
    using OptionsDialog = std::function<bool(OptionsValues& values, QWidget* parent)>;
    void setOptionsDialog(OptionsDialog dialog) { m_optionsDialog = std::move(dialog); }

    // Shows this PC folder; false when it does not exist.
    bool setCurrentFolder(const QString& folder);
    // The device library in use, for the About box.
    void setLibraryDescription(const QString& text) { m_libraryDescription = text; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Tests reach the handlers and controls through this class of theirs.
    friend class frmMainTestAccess;

    // Shutdown, in order: list notifications off, busy, connection closed, library ended,
    // settings saved, folder saved. Runs once, when the window closes.
    void Unload();

    // The busy state: the poll timer stops and the window takes no input. Nests.
    void BeginBusy();
    void EndBusy();
    bool isBusy() const { return m_busyDepth > 0; }

    void CreateSplitters();
    void LoadSettings();
    void SaveSettings();
    void LayoutPanes();
    void ApplyInterfaceFont();
    bool ApplyLanguageFile(const QString& filePath);

    // Handlers: menus, shortcuts and controls reach the same code.
    void tmrCheck_Timer();
    void tabMode_Click();
    void fldView_Change();
    void tbrTool_ButtonClick(const QString& key);
    void mnuView_Click(int index);
    void mnuSort_Click(int index);
    void mnuTool_Click(int index);
    void RefreshPlayerList();
    // With a connection whose list could not be read: says so and returns true (the caller does
    // nothing).
    bool refuseUnreadList();
    void RefreshLocalList();
    void RebuildLists();
    void GetFileSize();
    void DeletePlayerSelection();
    // Starts the label edit of the player file in focus (F2, the Player menu).
    void RenamePlayerSelection();
    // Enables each action that can run now: a player, a selection, the right view.
    void updateActions();
    // The About box's text: version, licence, the device library in use.
    QString aboutText() const;

    // Splitter drags: a press on a bar, then the window's moves and release.
    void SplitterPressed(SplitterBar* bar, QPoint position);
    void SplitterMoved();
    void SplitterReleased();

    // A language chosen in the options: stored as the Language setting and applied at once.
    void chooseLanguage(const QString& file);
    int hsplitLeft() const; // twips
    int vsplitTop() const;  // twips
    QString currentFolder() const;
    int selectedTab() const; // 1 AUDIO, 2 RECORD, 3 HDD
    // "Download", "Upload", "Delete", "Format"
    QAction* toolButton(const QString& key) const;
    cSplitDDC& splitter(SplitterBar* bar);

    // Start-up and shutdown report each step here (tests follow them).
    using StepObserver = std::function<void(const QString& step)>;

    // ListDragHandler
    void dragStarted(FileList source) override;
    void dragCompleted(FileList source) override;
    bool dropAccepted(FileList target, const QMimeData* data) override;
    void dropped(FileList target, QPoint position, const QMimeData* data) override;

    void buildMenus();
    void buildPanes();
    void buildToolStrip();
    void buildStatusBars();
    void connectSignals();
    void step(const char* name);
    void showPlayerState();
    void updateLcdPreview();
    void reorderPlayer(int source, int target);
    void renamePlayerFile(int rowPosition, const QString& typed);
    void buildPlayerMenu(QMenu* player);
    void sendSelectedFiles();
    void sendDroppedFiles(const QList<QUrl>& urls);
    void sendRows(std::vector<LocalFileRow> rows);
    void receiveSelectedFiles();
    // File > Sync folder to player: the plan in a dialog of its own, then the sync off this thread.
    void syncFolderToPlayer();
    void showBatchSummary(const TransferOutcome& outcome, bool sending);
    void syncSortMarks();
    void applyWindowTexts();
    void installQtTranslation(const QString& locale);
    void showViewNote();
    void restoreGeometry();
    void revealCurrentFolder(const QString& loaded);
    QRect geometryInTwips() const;
    void setUploadEnabled();
    int toolStripHeight() const;
    void HookListNotify();
    void UnhookListNotify();

    mTCC730& m_device;
    std::unique_ptr<Prompt> m_ownPrompt;
    Prompt* m_prompt;
    MessageTexts m_texts;
    WindowTexts m_windowTexts;
    QString m_libraryDescription;
    std::unique_ptr<QTranslator> m_qtTranslator;
    QElapsedTimer m_lastPlayerRead;
    PlayerSession m_session;
    AppSettings m_settings;
    SortState m_sort;
    DragState m_drag;
    LocalFileModel m_fileModel;
    std::unique_ptr<FileIconProvider> m_icons;
    std::unique_ptr<SelectionSummary> m_summary;
    std::unique_ptr<cSplitDDC> m_hsplitDDC;
    std::unique_ptr<cSplitDDC> m_vsplitDDC;
    cSplitDDC* m_activeSplit = nullptr;
    StepObserver m_stepObserver;
    OptionsDialog m_optionsDialog;
    QTimer m_tmrCheck;
    int m_busyDepth = 0;
    bool m_loaded = false;
    bool m_unloaded = false;
    bool m_hooked = false;

    QWidget* m_client = nullptr;
    QLabel* m_lblfld = nullptr;
    QTreeView* m_fldView = nullptr;
    FolderTreeModel* m_folderModel = nullptr;
    QString m_revealFolder; // folder kept in view while the tree reads the folders on its way
    QLabel* m_lblFile = nullptr;
    LocalFileView* m_lvwFile = nullptr;
    StatusPanels* m_sbrFile = nullptr;
    LcdPreview* m_lcdPreview = nullptr;
    SplitterBar* m_picHsplit = nullptr;
    SplitterBar* m_picVsplit = nullptr;
    QWidget* m_picTool = nullptr;
    QTabBar* m_tabMode = nullptr;
    QToolBar* m_tbrTool = nullptr;
    PlayerListView* m_lvwPlayer = nullptr;
    PlayerListModel* m_playerModel = nullptr;
    StatusPanels* m_sbrStatus = nullptr;
    QLabel* m_lblSummary = nullptr;
    QLabel* m_lblViewNote = nullptr;
    QMenu* m_playerMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    TagEditController* m_tagEdit = nullptr; // owned as a child
    QMenu* m_helpMenu = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_syncAction = nullptr;
    SyncTexts m_syncTexts;
    // The Player menu: "Send", "Fetch", "Rename", "Delete", "Format", "LowFormat", "Upgrade", "Refresh".
    QMap<QString, QAction*> m_playerActions;
    QProgressBar* m_capacityBar = nullptr;
    QList<QAction*> m_mnuView;
    QList<QAction*> m_mnuSort;
    QList<QAction*> m_mnuTool;
    QList<QAction*> m_menuTexts;   // in the language file's Menu order
    QList<QAction*> m_toolButtons; // Download, Upload, Delete, Format
};
