// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window: the PC side (folder tree, local file list) above, the player side (views,
// toolbar, player list) below. It wires the subsystems' models and operations to the controls,
// runs start-up and shutdown, the 1000 ms connection poll and the busy state.
#pragma once

#include "AppSettings.h"
#include "DropRules.h"
#include "ListDragHandler.h"
#include "LocalFileModel.h"
#include "MessageTexts.h"
#include "PlayerSession.h"
#include "SortState.h"
#include "TransferObserver.h"
#include "WindowTexts.h"

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
class QFileSystemModel;
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

    // Handlers, public so that menus, shortcuts and tests reach the same code.
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
    void setLibraryDescription(const QString& text) { m_libraryDescription = text; }

    // Splitter drags: a press on a bar, then the window's moves and release.
    void SplitterPressed(SplitterBar* bar, QPoint position);
    void SplitterMoved();
    void SplitterReleased();

    // State for the options dialog and for tests.
    QFont& titleFont() { return m_settings.titleFont; }
    int& displayNameSelector() { return m_settings.displayName; }
    QString languageFile() const { return m_settings.language; }
    int& sizeUnit() { return m_settings.sizeUnit; }
    QString& conversionQuality() { return m_settings.conversionQuality; }
    // A language chosen in the options: stored as the Language setting and applied at once.
    void chooseLanguage(const QString& file);
    // The LCD font or the display-name selector changed: the summary and preview follow.
    void titleSettingsChanged() { GetFileSize(); }
    PlayerSession& session() { return m_session; }
    const MessageTexts& texts() const { return m_texts; }
    const WindowTexts& windowTexts() const { return m_windowTexts; }
    const DragState& dragState() const { return m_drag; }
    const SortState& sortState() const { return m_sort; }
    int hsplitLeft() const; // twips
    int vsplitTop() const;  // twips
    QString currentFolder() const;
    bool setCurrentFolder(const QString& folder);
    int selectedTab() const; // 1 AUDIO, 2 RECORD, 3 HDD

    QTreeView* fldView() const { return m_fldView; }
    LocalFileView* lvwFile() const { return m_lvwFile; }
    LocalFileModel& fileModel() { return m_fileModel; }
    PlayerListView* lvwPlayer() const { return m_lvwPlayer; }
    PlayerListModel* playerModel() const { return m_playerModel; }
    QTabBar* tabMode() const { return m_tabMode; }
    QToolBar* tbrTool() const { return m_tbrTool; }
    QAction* toolButton(const QString& key) const;
    // Player menu: "Send", "Fetch", "Rename", "Delete", "Format", "LowFormat", "Upgrade", "Refresh".
    QAction* playerAction(const QString& key) const { return m_playerActions.value(key); }
    QAction* aboutAction() const { return m_aboutAction; }
    QLabel* summaryLabel() const { return m_lblSummary; }
    QLabel* viewNote() const { return m_lblViewNote; }
    StatusPanels* sbrFile() const { return m_sbrFile; }
    StatusPanels* sbrStatus() const { return m_sbrStatus; }
    QProgressBar* capacityBar() const { return m_capacityBar; }
    LcdPreview* lcdPreview() const { return m_lcdPreview; }
    QTimer& tmrCheck() { return m_tmrCheck; }
    SplitterBar* picHsplit() const { return m_picHsplit; }
    SplitterBar* picVsplit() const { return m_picVsplit; }
    cSplitDDC& splitter(SplitterBar* bar);
    QAction* viewAction(int index) const { return m_mnuView.value(index); }
    QAction* sortAction(int index) const { return m_mnuSort.value(index); }
    QWidget* client() const { return m_client; }
    // What the lists report about drags (tests stand in for the platform's drag loop).
    ListDragHandler& dragHandler() { return *this; }

    // Tests follow start-up and shutdown step by step.
    using StepObserver = std::function<void(const QString& step)>;
    void setStepObserver(StepObserver observer) { m_stepObserver = std::move(observer); }
    // The options dialog, which lives with the options; without it "Option" only saves.
    using OptionsDialog = std::function<void(frmMain&)>;
    void setOptionsDialog(OptionsDialog dialog) { m_optionsDialog = std::move(dialog); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
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
    QFileSystemModel* m_folderModel = nullptr;
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
    QMenu* m_helpMenu = nullptr;
    QAction* m_aboutAction = nullptr;
    QMap<QString, QAction*> m_playerActions;
    QProgressBar* m_capacityBar = nullptr;
    QList<QAction*> m_mnuView;
    QList<QAction*> m_mnuSort;
    QList<QAction*> m_mnuTool;
    QList<QAction*> m_menuTexts;   // in the language file's Menu order
    QList<QAction*> m_toolButtons; // Download, Upload, Delete, Format
};
