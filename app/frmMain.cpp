// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window's controls and how they are connected.
#include "app/frmMain.h"

#include "app/FolderTreeModel.h"
#include "app/TagEditController.h"

#include "app/FolderTree.h"
#include "app/LcdPreview.h"
#include "app/LocalFileView.h"
#include "app/MessageBoxPrompt.h"
#include "app/PaneLayout.h"
#include "app/PlayerListModel.h"
#include "app/PlayerListView.h"
#include "app/SplitDDC.h"
#include "app/SplitterBar.h"
#include "app/StatusPanels.h"
#include "app/ToolbarIcons.h"
#include "app/Twips.h"
#include "localfiles/FileIconProvider.h"
#include "localfiles/SelectionSummary.h"
#include "localfiles/SizeFormat.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QTranslator>
#include <QTreeView>

namespace
{

struct ToolPosition {
    const char* key; // empty: placeholder; "-": separator
};
constexpr ToolPosition kToolPositions[8] = {{""}, {"Download"}, {"-"}, {"Upload"},
                                            {""}, {"Delete"},   {"-"}, {"Format"}};

// Captions until a language file names the tabs; their tool tips come from the window texts.
constexpr const char* kTabs[3] = {"AUDIO", "RECORD", "HDD"};

// Room for the tool strip's tabs and buttons, and for a few rows in each list.
const QSize MinimumWindowSize(560, 440);

} // namespace

frmMain::frmMain(mTCC730& device, Prompt* prompt, QWidget* parent)
    : QMainWindow(parent), m_device(device),
      m_ownPrompt(prompt ? nullptr : std::make_unique<MessageBoxPrompt>(this, &m_windowTexts)),
      m_prompt(prompt ? prompt : m_ownPrompt.get()), m_texts(MessageTexts::builtIn()),
      m_session(device, m_texts), m_icons(std::make_unique<FileIconProvider>()),
      m_summary(std::make_unique<SelectionSummary>(m_fileModel))
{
    m_settings.titleFont = AppSettings::defaultTitleFont();
    setWindowTitle(QStringLiteral("ZV-R3100 Audio Manager"));
    m_tmrCheck.setInterval(1000);
    connect(&m_tmrCheck, &QTimer::timeout, this, &frmMain::tmrCheck_Timer);
    buildPanes();
    buildMenus();
    buildToolStrip();
    buildStatusBars();
    applyWindowTexts(); // the tips of the strip and status bar, built after the menus
    connectSignals();
    resize(800, 600);
}

frmMain::~frmMain() = default;

void frmMain::step(const char* name)
{
    if (m_stepObserver)
        m_stepObserver(QLatin1String(name));
}

void frmMain::buildMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    m_syncAction = file->addAction(m_syncTexts.menu, this, [this] { syncFolderToPlayer(); });
    file->addSeparator();
    QAction* exit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    // Tag editing of the PC list's MP3 files; its keys work with the menu closed.
    m_tagEdit = new TagEditController(m_fileModel, *m_lvwFile, *m_prompt, this);
    m_editMenu = menuBar()->addMenu(TagEditTexts().editMenu);
    m_editMenu->addAction(m_tagEdit->undoAction());
    m_editMenu->addAction(m_tagEdit->editAction());
    addActions({m_tagEdit->undoAction(), m_tagEdit->editAction()});
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    const char* viewTexts[4] = {"&Large ICON", "&Small ICON", "&List", "&Detail"};
    for (int i = 0; i < 4; ++i) {
        QAction* action = view->addAction(QLatin1String(viewTexts[i]), this, [this, i] { mnuView_Click(i); });
        action->setCheckable(true);
        m_mnuView.append(action);
    }
    m_mnuView[3]->setChecked(true);
    view->addSeparator();
    const char* sortTexts[5] = {"File Name", "File Size", "Song Title", "Artist", "Genre"};
    for (int i = 0; i < 5; ++i) {
        QAction* action = view->addAction(QLatin1String(sortTexts[i]), this, [this, i] { mnuSort_Click(i); });
        action->setCheckable(true);
        m_mnuSort.append(action);
    }
    m_mnuSort[0]->setChecked(true);
    m_playerMenu = menuBar()->addMenu(m_windowTexts.playerMenu);
    QMenu* tool = menuBar()->addMenu(QStringLiteral("Tool"));
    m_mnuTool.append(tool->addAction(QStringLiteral("Low level Format"), this, [this] { mnuTool_Click(0); }));
    m_mnuTool.append(tool->addAction(QStringLiteral("Firmware Upgrade"), this, [this] { mnuTool_Click(1); }));
    m_mnuTool.append(tool->addSeparator());
    m_mnuTool.append(tool->addAction(QStringLiteral("Option"), this, [this] { mnuTool_Click(3); }));
    m_menuTexts = {file->menuAction(), exit, view->menuAction()};
    m_menuTexts += m_mnuView;
    m_menuTexts += m_mnuSort.mid(0, 4); // the Genre item takes the Genre column's header
    m_menuTexts += {tool->menuAction(), m_mnuTool[0], m_mnuTool[1], m_mnuTool[3]};

    buildPlayerMenu(m_playerMenu);
    m_helpMenu = menuBar()->addMenu(m_windowTexts.helpMenu);
    m_aboutAction = m_helpMenu->addAction(m_windowTexts.about, this, [this] {
        QMessageBox box(QMessageBox::Information, windowTitle(), aboutText(), QMessageBox::Ok, this);
        box.exec();
    });
    m_aboutAction->setMenuRole(QAction::AboutRole);
}

// The player's commands, with the keys of a good file manager. Delete and F2 act only where the
// player list has the focus: in the PC list they would seem to mean the PC's files.
void frmMain::buildPlayerMenu(QMenu* player)
{
    struct Item {
        const char* key;
        QKeySequence shortcut;
        bool playerListOnly;
        std::function<void()> run;
    };
    const Item items[] = {
        {"Send", QKeySequence(Qt::CTRL | Qt::Key_S), false,
         [this] { tbrTool_ButtonClick(QStringLiteral("Download")); }},
        {"Fetch", QKeySequence(Qt::CTRL | Qt::Key_G), false,
         [this] { tbrTool_ButtonClick(QStringLiteral("Upload")); }},
        {"Rename", QKeySequence(Qt::Key_F2), true, [this] { RenamePlayerSelection(); }},
        {"Delete", QKeySequence(QKeySequence::Delete), true, [this] { DeletePlayerSelection(); }},
        {"Format", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F), false,
         [this] { tbrTool_ButtonClick(QStringLiteral("Format")); }},
        {"LowFormat", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L), false, [this] { mnuTool_Click(0); }},
        {"Upgrade", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_U), false, [this] { mnuTool_Click(1); }},
        {"Refresh", QKeySequence(Qt::Key_F5), false, [this] { RebuildLists(); }},
    };
    for (const Item& item : items) {
        const QString key = QLatin1String(item.key);
        if (key == QLatin1String("Format") || key == QLatin1String("Refresh"))
            player->addSeparator();
        QAction* action = player->addAction(key);
        action->setObjectName(QStringLiteral("player") + key);
        action->setShortcut(item.shortcut);
        if (item.playerListOnly) {
            action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
            m_lvwPlayer->addAction(action);
        } else {
            addAction(action); // the window's keys work with the menu closed
        }
        connect(action, &QAction::triggered, this, item.run);
        m_playerActions.insert(key, action);
    }
    applyWindowTexts();

    // Context menus: the commands of each list where the user right-clicks.
    m_lvwPlayer->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_lvwPlayer, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        QMenu menu(this);
        for (const char* key : {"Fetch", "Rename", "Delete", "-", "Format", "-", "Refresh"}) {
            if (QLatin1String(key) == QLatin1String("-"))
                menu.addSeparator();
            else
                menu.addAction(m_playerActions.value(QLatin1String(key)));
        }
        menu.exec(m_lvwPlayer->viewport()->mapToGlobal(at));
    });
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_lvwFile->detailView()),
                                    static_cast<QAbstractItemView*>(m_lvwFile->iconView())}) {
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](QPoint at) {
            QMenu menu(this);
            menu.addAction(m_playerActions.value(QStringLiteral("Send")));
            menu.addAction(m_tagEdit->editAction());
            menu.addSeparator();
            menu.addAction(m_playerActions.value(QStringLiteral("Refresh")));
            menu.exec(view->viewport()->mapToGlobal(at));
        });
    }
}

void frmMain::applyWindowTexts()
{
    if (m_playerMenu)
        m_playerMenu->setTitle(m_windowTexts.playerMenu);
    if (m_helpMenu)
        m_helpMenu->setTitle(m_windowTexts.helpMenu);
    if (m_aboutAction)
        m_aboutAction->setText(m_windowTexts.about);
    if (m_syncAction)
        m_syncAction->setText(m_syncTexts.menu);
    if (m_capacityBar)
        m_capacityBar->setToolTip(m_windowTexts.capacityTip);
    if (m_lcdPreview)
        m_lcdPreview->setToolTip(m_windowTexts.lcdPreviewTip);
    if (m_tabMode) {
        const QString tips[3] = {m_windowTexts.musicTabTip, m_windowTexts.recordTabTip,
                                 m_windowTexts.otherTabTip};
        for (int i = 0; i < 3 && i < m_tabMode->count(); ++i)
            m_tabMode->setTabToolTip(i, tips[i]);
    }
    const QMap<QString, QString> texts = {
        {QStringLiteral("Send"), m_windowTexts.send},
        {QStringLiteral("Fetch"), m_windowTexts.fetch},
        {QStringLiteral("Rename"), m_windowTexts.rename},
        {QStringLiteral("Delete"), m_windowTexts.deleteFiles},
        {QStringLiteral("Format"), m_windowTexts.format},
        {QStringLiteral("LowFormat"), m_mnuTool.value(0) ? m_mnuTool[0]->text() : QString()},
        {QStringLiteral("Upgrade"), m_mnuTool.value(1) ? m_mnuTool[1]->text() : QString()},
        {QStringLiteral("Refresh"), m_windowTexts.refresh},
    };
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        if (QAction* action = m_playerActions.value(it.key()))
            action->setText(it.value());
    }
}

QString frmMain::aboutText() const
{
    const QString library = m_libraryDescription.isEmpty() ? m_windowTexts.noLibrary : m_libraryDescription;
    return windowTitle() + QLatin1String("\n\n") + m_windowTexts.aboutVersion + QLatin1String(": ") +
           QCoreApplication::applicationVersion() + QLatin1Char('\n') + m_windowTexts.aboutLicence +
           QLatin1String(": MIT\n") + m_windowTexts.aboutLibrary + QLatin1String(": ") + library;
}

void frmMain::buildPanes()
{
    m_client = new QWidget(this);
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    m_lblfld = new QLabel(QStringLiteral(" Folder"), m_client);
    m_lblFile = new QLabel(QStringLiteral(" Files"), m_client);
    for (QLabel* label : {m_lblfld, m_lblFile}) {
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Raised);
        label->setTextFormat(Qt::PlainText);
    }
    // Which files the PC list shows in this view, at the right end of its caption.
    m_lblViewNote = new QLabel(m_lblFile);
    m_lblViewNote->setObjectName(QStringLiteral("viewNote"));
    m_lblViewNote->setTextFormat(Qt::PlainText);
    m_lblViewNote->setForegroundRole(QPalette::PlaceholderText);
    auto* captionLayout = new QHBoxLayout(m_lblFile);
    captionLayout->setContentsMargins(0, 0, 6, 0);
    captionLayout->addStretch(1);
    captionLayout->addWidget(m_lblViewNote);

    m_folderModel = new FolderTreeModel(this);
    m_fldView = new FolderTree(m_client);
    m_fldView->setModel(m_folderModel);
    // A folder opened again shows the folders made or removed since it was first read.
    connect(m_fldView, &QTreeView::expanded, m_folderModel, &FolderTreeModel::refresh);

    connect(m_folderModel, &FolderTreeModel::directoryLoaded, this, &frmMain::revealCurrentFolder);
    // The model sorts and adds rows later than it says a folder was loaded (in batches, from its
    // own timers): each of those moves the folder again.
    const auto reveal = [this] { revealCurrentFolder(m_revealFolder); };
    connect(m_folderModel, &QAbstractItemModel::layoutChanged, this, reveal);
    connect(m_folderModel, &QAbstractItemModel::rowsInserted, this, reveal);
    // Once the user works in the tree, it stays where the user put it.
    connect(m_fldView, &QAbstractItemView::pressed, this, [this] { m_revealFolder.clear(); });
    connect(m_fldView->verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this] { m_revealFolder.clear(); });

    m_lvwFile = new LocalFileView(this, m_client);
    m_lvwFile->setModel(&m_fileModel);
    m_fileModel.setDecorationSource([this](const LocalFileRow& row, int role) -> QVariant {
        if (role != Qt::DecorationRole)
            return {};
        const bool large = m_lvwFile->displayStyle() == LocalFileView::LargeIcons;
        return large ? m_icons->icon32(m_icons->GetICON32(row.path))
                     : m_icons->icon16(m_icons->GetICON16(row.path));
    });

    m_picHsplit = new SplitterBar(Qt::Horizontal, m_client);
    m_picVsplit = new SplitterBar(Qt::Vertical, m_client);
    m_picHsplit->setGeometry(Twips::toPixels(DesignHSplitLeft), 0, Twips::toPixels(60), 1);
    m_picVsplit->setGeometry(0, Twips::toPixels(DesignVSplitTop), 1, Twips::toPixels(60));

    m_picTool = new QWidget(m_client);
    m_picTool->setAutoFillBackground(true);
    m_lvwPlayer = new PlayerListView(this, m_client);
    m_session.list().setSizeFormatter([](qint64 bytes) { return mFileAPI::FormatSize(bytes); });
    m_playerModel = new PlayerListModel(m_session.list(), this);
    m_playerModel->setEditable([this] { return m_session.isConnected(); });
    m_playerModel->setDecorationSource([this](const PlayerListRow& row, int role) -> QVariant {
        if (role != Qt::DecorationRole)
            return {};
        return m_icons->icon16(m_icons->GetICON16(row.shortName));
    });
    m_lvwPlayer->setModel(m_playerModel);
    // The size stays beside the name, as in the local list, however wide the window.
    m_lvwPlayer->header()->setStretchLastSection(false);
    m_lvwPlayer->header()->resizeSection(0, 320);
    m_lvwPlayer->header()->resizeSection(1, 100);
    // Below this the panes cannot keep both lists and the tool strip in view.
    setMinimumSize(MinimumWindowSize);
}

void frmMain::buildToolStrip()
{
    m_tabMode = new QTabBar(m_picTool);
    m_tabMode->setDrawBase(false);
    m_tabMode->setExpanding(false);
    for (const char* caption : kTabs)
        m_tabMode->addTab(QLatin1String(caption));
    m_tbrTool = new QToolBar(m_picTool);
    m_tbrTool->setIconSize(QSize(24, 24));
    m_tbrTool->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const ToolPosition& position : kToolPositions) {
        const QString key = QLatin1String(position.key);
        if (key.isEmpty()) {
            auto* gap = new QWidget(m_tbrTool);
            gap->setFixedWidth(8);
            m_tbrTool->addWidget(gap);
        } else if (key == QLatin1String("-")) {
            m_tbrTool->addSeparator();
        } else {
            QAction* action = m_tbrTool->addAction(ToolbarIcons::icon(key, style()), key);
            action->setObjectName(key);
            action->setToolTip(key);
            connect(action, &QAction::triggered, this, [this, key] { tbrTool_ButtonClick(key); });
            m_toolButtons.append(action);
            // The buttons take the focus with Tab, so the keyboard reaches them too.
            if (QWidget* button = m_tbrTool->widgetForAction(action))
                button->setFocusPolicy(Qt::TabFocus);
        }
    }
}

void frmMain::buildStatusBars()
{
    m_sbrFile = new StatusPanels({1, 2}, m_client);
    m_lcdPreview = new LcdPreview(m_sbrFile);
    m_sbrFile->insertAfter(2, m_lcdPreview);
    m_sbrStatus = new StatusPanels({2, 3, 1}, m_client);
    m_capacityBar = new QProgressBar(m_sbrStatus);
    m_capacityBar->setRange(0, 1000);
    m_capacityBar->setValue(0);
    m_capacityBar->setTextVisible(false);
    m_capacityBar->setFixedWidth(90);
    m_capacityBar->setMaximumHeight(12);
    // The outcome of the last batch, beside the capacity.
    m_lblSummary = new QLabel(m_sbrStatus);
    m_lblSummary->setTextFormat(Qt::PlainText);
    m_lblSummary->setObjectName(QStringLiteral("batchSummary"));
    m_sbrStatus->insertAfter(2, m_lblSummary);
    m_sbrStatus->insertAfter(2, m_capacityBar);
}

QAction* frmMain::toolButton(const QString& key) const
{
    for (QAction* action : m_toolButtons) {
        if (action->objectName() == key)
            return action;
    }
    return nullptr;
}

void frmMain::connectSignals()
{
    connect(m_tabMode, &QTabBar::currentChanged, this, [this] {
        if (m_loaded)
            tabMode_Click();
    });
    connect(m_picHsplit, &SplitterBar::pressed, this, [this](QPoint p) { SplitterPressed(m_picHsplit, p); });
    connect(m_picVsplit, &SplitterBar::pressed, this, [this](QPoint p) { SplitterPressed(m_picVsplit, p); });
    for (SplitterBar* bar : {m_picHsplit, m_picVsplit}) {
        connect(bar, &SplitterBar::moved, this, &frmMain::SplitterMoved);
        connect(bar, &SplitterBar::released, this, &frmMain::SplitterReleased);
    }
    connect(m_summary.get(), &SelectionSummary::changed, this, &frmMain::GetFileSize);
    connect(m_tagEdit, &TagEditController::tagsChanged, this, &frmMain::GetFileSize);
    connect(m_playerModel, &PlayerListModel::renameRequested, this, [this](int row, const QString& typed) {
        // After the editor has closed: the rename rebuilds the model the editor sits on.
        QMetaObject::invokeMethod(
            this, [this, row, typed] { renamePlayerFile(row, typed); }, Qt::QueuedConnection);
    });
    connect(m_lvwPlayer, &PlayerListView::deletePressed, this, &frmMain::DeletePlayerSelection);
    connect(m_lvwFile, &LocalFileView::headerClicked, this, [this](int column) {
        if (column >= 0 && column < m_mnuSort.size())
            mnuSort_Click(column);
    });
    connect(m_lvwFile, &LocalFileView::sendRequested, this, [this] {
        if (m_session.isConnected() && !isBusy())
            tbrTool_ButtonClick(QStringLiteral("Download"));
    });
    connect(m_lvwFile->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmMain::updateActions);
    connect(m_lvwPlayer->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmMain::updateActions);
    connect(m_playerModel, &QAbstractItemModel::modelReset, this, &frmMain::updateActions);
    connect(&m_fileModel, &QAbstractItemModel::modelReset, this, &frmMain::updateActions);
}
