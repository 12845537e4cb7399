// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window's controls and how they are connected.
#include "frmMain.h"

#include "FileIconProvider.h"
#include "LcdPreview.h"
#include "LocalFileView.h"
#include "MessageBoxPrompt.h"
#include "PaneLayout.h"
#include "PlayerListModel.h"
#include "PlayerListView.h"
#include "SelectionSummary.h"
#include "SizeFormat.h"
#include "SplitDDC.h"
#include "SplitterBar.h"
#include "StatusPanels.h"
#include "ToolbarIcons.h"
#include "Twips.h"

#include <QAction>
#include <QApplication>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QTreeView>

namespace
{

struct ToolPosition {
    const char* key; // empty: placeholder; "-": separator
};
constexpr ToolPosition kToolPositions[8] = {{""}, {"Download"}, {"-"}, {"Upload"},
                                            {""}, {"Delete"},   {"-"}, {"Format"}};

struct TabText {
    const char* caption;
    const char* toolTip;
};
constexpr TabText kTabs[3] = {
    {"AUDIO", "View Audio Files (MP3, WMA)"}, {"RECORD", "View Record Files (ZVD)"}, {"HDD", "View Files"}};

} // namespace

frmMain::frmMain(mTCC730& device, Prompt* prompt, QWidget* parent)
    : QMainWindow(parent), m_device(device),
      m_ownPrompt(prompt ? nullptr : std::make_unique<MessageBoxPrompt>(this)),
      m_prompt(prompt ? prompt : m_ownPrompt.get()), m_texts(MessageTexts::builtIn()),
      m_session(device, m_texts), m_icons(std::make_unique<FileIconProvider>()),
      m_summary(std::make_unique<SelectionSummary>(m_fileModel))
{
    m_settings.titleFont = AppSettings::defaultTitleFont();
    setWindowTitle(QStringLiteral("ZV-R3100 Audio Manager"));
    m_tmrCheck.setInterval(1000);
    connect(&m_tmrCheck, &QTimer::timeout, this, &frmMain::tmrCheck_Timer);
    buildMenus();
    buildPanes();
    buildToolStrip();
    buildStatusBars();
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
    QAction* exit = file->addAction(QStringLiteral("E&xit"), this, &QWidget::close);
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    const char* viewTexts[4] = {"&Large ICON", "&Small ICON", "&List", "&Detail"};
    for (int i = 0; i < 4; ++i) {
        QAction* action = view->addAction(QLatin1String(viewTexts[i]), this, [this, i] { mnuView_Click(i); });
        action->setCheckable(true);
        m_mnuView.append(action);
    }
    m_mnuView[3]->setChecked(true);
    view->addSeparator();
    const char* sortTexts[4] = {"File Name", "File Size", "Song Title", "Artist"};
    for (int i = 0; i < 4; ++i) {
        QAction* action = view->addAction(QLatin1String(sortTexts[i]), this, [this, i] { mnuSort_Click(i); });
        action->setCheckable(true);
        m_mnuSort.append(action);
    }
    m_mnuSort[0]->setChecked(true);
    QMenu* tool = menuBar()->addMenu(QStringLiteral("Tool"));
    m_mnuTool.append(tool->addAction(QStringLiteral("Low level Format"), this, [this] { mnuTool_Click(0); }));
    m_mnuTool.append(tool->addAction(QStringLiteral("Firmware Upgrade"), this, [this] { mnuTool_Click(1); }));
    m_mnuTool.append(tool->addSeparator());
    m_mnuTool.append(tool->addAction(QStringLiteral("Option"), this, [this] { mnuTool_Click(3); }));
    m_menuTexts = {file->menuAction(), exit, view->menuAction()};
    m_menuTexts += m_mnuView;
    m_menuTexts += m_mnuSort;
    m_menuTexts += {tool->menuAction(), m_mnuTool[0], m_mnuTool[1], m_mnuTool[3]};

    // Keys of a good file manager: F5 rebuilds both lists.
    auto* refresh = new QShortcut(QKeySequence(Qt::Key_F5), this);
    connect(refresh, &QShortcut::activated, this, &frmMain::RebuildLists);
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

    m_folderModel = new QFileSystemModel(this);
    m_folderModel->setFilter(QDir::AllDirs | QDir::Drives | QDir::NoDotAndDotDot);
    m_folderModel->setRootPath(QString());
    m_fldView = new QTreeView(m_client);
    m_fldView->setModel(m_folderModel);
    for (int column = 1; column < m_folderModel->columnCount(); ++column)
        m_fldView->hideColumn(column);
    m_fldView->setHeaderHidden(true);
    m_fldView->setUniformRowHeights(true);
    connect(m_folderModel, &QFileSystemModel::directoryLoaded, this, &frmMain::revealCurrentFolder);
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
}

void frmMain::buildToolStrip()
{
    m_tabMode = new QTabBar(m_picTool);
    m_tabMode->setDrawBase(false);
    m_tabMode->setExpanding(false);
    for (const TabText& tab : kTabs) {
        const int index = m_tabMode->addTab(QLatin1String(tab.caption));
        m_tabMode->setTabToolTip(index, QLatin1String(tab.toolTip));
    }
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
    m_capacityBar->setToolTip(QStringLiteral("Memory in use"));
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
    connect(m_playerModel, &PlayerListModel::renameRequested, this, [this](int row, const QString& typed) {
        // After the editor has closed: the rename rebuilds the model the editor sits on.
        QMetaObject::invokeMethod(
            this, [this, row, typed] { renamePlayerFile(row, typed); }, Qt::QueuedConnection);
    });
    connect(m_lvwPlayer, &PlayerListView::deletePressed, this, &frmMain::DeletePlayerSelection);
}
