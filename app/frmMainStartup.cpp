// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The main window's start-up and shutdown, settings, busy state, layout and splitters.
#include "app/frmMain.h"

#include "app/FolderTreeModel.h"
#include "app/TagEditController.h"

#include "app/ApplyLanguage.h"
#include "app/LocalFileView.h"
#include "app/PaneLayout.h"
#include "app/PlayerListModel.h"
#include "app/PlayerListView.h"
#include "app/SettingsStore.h"
#include "app/SplitDDC.h"
#include "app/SplitterBar.h"
#include "app/StatusPanels.h"
#include "app/Twips.h"
#include "app/WindowPlacement.h"
#include "core/Prompt.h"
#include "device/mTCC730.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QTreeView>

void frmMain::Load()
{
    if (m_loaded)
        return;
    step("CreateSplitters");
    CreateSplitters();
    step("ToolStrip");
    m_picTool->setBackgroundRole(QPalette::Button);
    m_tbrTool->move(m_tabMode->sizeHint().width(), 0);
    step("TitleFont");
    m_settings.titleFont = AppSettings::defaultTitleFont();
    step("LoadSettings");
    LoadSettings();
    step("FolderPath");
    if (!setCurrentFolder(m_settings.path))
        setCurrentFolder(QDir::homePath());
    step("Version");
    m_sbrStatus->setText(3, QStringLiteral(ZVD_VERSION_TEXT));
    step("ConnectionState"); // the session starts at -1, so the first poll always acts
    step("StartDLL");
    // A library that could not be loaded was reported already; one that loaded but refuses to
    // start is said once here (the program then finds no player).
    if (!m_device.StartDLL() && m_device.isLoaded())
        m_prompt->showMessage(m_windowTexts.startFailed, m_texts.title, Prompt::Icon::Warning);
    m_session.setOwner(reinterpret_cast<void*>(winId()));
    step("LayoutPanes");
    LayoutPanes();
    step("tabMode_Click");
    tabMode_Click();
    step("HookListNotify");
    HookListNotify();
    step("ApplyInterfaceFont");
    ApplyInterfaceFont();
    // A folder chosen in the tree lists its files; connected only now, so that restoring the
    // stored folder above does not scan it once more.
    connect(m_fldView->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmMain::fldView_Change);
    m_loaded = true;
    m_tmrCheck.start();
}

void frmMain::Unload()
{
    if (m_unloaded || !m_loaded)
        return;
    m_unloaded = true;
    step("UnhookListNotify");
    UnhookListNotify();
    step("BeginBusy");
    BeginBusy();
    step("DisconnectPlayer");
    const bool closed = m_session.DisconnectPlayer();
    showPlayerState();
    step("ExitDLL");
    const bool exited = m_device.ExitDLL() || !m_device.isLoaded();
    if (!closed || !exited)
        m_prompt->showMessage(!closed ? m_windowTexts.closeFailed : m_windowTexts.endFailed, m_texts.title,
                              Prompt::Icon::Warning);
    step("SaveSettings");
    SaveSettings();
    step("SavePath");
    m_settings.path = currentFolder();
    m_settings.savePath(*SettingsStore::open());
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // An operation still runs (its progress window lets the event loop turn): closing now
    // would pull the connection from under it.
    if (isBusy() && !m_unloaded) {
        event->ignore();
        return;
    }
    Unload();
    event->accept();
}

void frmMain::BeginBusy()
{
    if (m_busyDepth++ > 0)
        return;
    m_tmrCheck.stop();
    setEnabled(false);
}

void frmMain::EndBusy()
{
    if (m_busyDepth == 0 || --m_busyDepth > 0)
        return;
    QWidget* focus = focusWidget();
    m_tmrCheck.start();
    setEnabled(true);
    if (focus)
        focus->setFocus();
}

void frmMain::CreateSplitters()
{
    m_hsplitDDC = std::make_unique<cSplitDDC>();
    m_hsplitDDC->setSplitObject(m_picHsplit);
    m_hsplitDDC->setOrientation(cSplitDDC::Vertical);
    m_hsplitDDC->setBorder(cSplitDDC::Left, 32);
    m_hsplitDDC->setBorder(cSplitDDC::Top, 0);
    m_hsplitDDC->setBorder(cSplitDDC::Right, 32);
    m_vsplitDDC = std::make_unique<cSplitDDC>();
    m_vsplitDDC->setSplitObject(m_picVsplit);
    m_vsplitDDC->setOrientation(cSplitDDC::Horizontal);
    m_vsplitDDC->setBorder(cSplitDDC::Left, 1);
    m_vsplitDDC->setBorder(cSplitDDC::Top, 0);
    m_vsplitDDC->setBorder(cSplitDDC::Right, 1);
    m_vsplitDDC->setBorder(cSplitDDC::Bottom, 64);
}

cSplitDDC& frmMain::splitter(SplitterBar* bar)
{
    if (!m_hsplitDDC)
        CreateSplitters();
    return bar == m_picVsplit ? *m_vsplitDDC : *m_hsplitDDC;
}

int frmMain::hsplitLeft() const
{
    return Twips::fromPixels(m_picHsplit->x());
}

int frmMain::vsplitTop() const
{
    return Twips::fromPixels(m_picVsplit->y());
}

void frmMain::LoadSettings()
{
    const std::unique_ptr<QSettings> store = SettingsStore::open();
    m_settings.load(*store);
    restoreGeometry();
    if (m_settings.hsplit > 0)
        m_picHsplit->move(Twips::toPixels(m_settings.hsplit), m_picHsplit->y());
    if (m_settings.vsplit > 0) {
        const int menu = menuWidget() ? menuWidget()->sizeHint().height() : 0;
        const int inner = Twips::fromPixels(height() - menu);
        const int tool = Twips::fromPixels(toolStripHeight());
        const int top = std::max(0, LimitVSplit(m_settings.vsplit, inner, tool));
        m_picVsplit->move(m_picVsplit->x(), Twips::toPixels(top));
    }
    if (!m_settings.language.isEmpty())
        ApplyLanguageFile(m_settings.language);
    mnuView_Click(m_settings.displayStyle);
}

void frmMain::SaveSettings()
{
    m_settings.hsplit = hsplitLeft();
    m_settings.vsplit = vsplitTop();
    m_settings.geometry = geometryInTwips();
    m_settings.save(*SettingsStore::open());
}

QRect frmMain::geometryInTwips() const
{
    const QRect normal = isMaximized() || isMinimized() ? normalGeometry() : QRect(pos(), size());
    return QRect(Twips::fromPixels(normal.x()), Twips::fromPixels(normal.y()),
                 Twips::fromPixels(normal.width()), Twips::fromPixels(normal.height()));
}

void frmMain::restoreGeometry()
{
    if (!m_settings.geometry) {
        // A first run: a comfortable size in the middle of the screen.
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect area = screen->availableGeometry();
            const QSize size = QSize(1000, 700).boundedTo(area.size() * 0.9);
            resize(size);
            move(area.center() - QPoint(size.width() / 2, size.height() / 2));
        }
        return;
    }
    const QRect& t = *m_settings.geometry;
    QRect pixels(Twips::toPixels(t.x()), Twips::toPixels(t.y()), Twips::toPixels(t.width()),
                 Twips::toPixels(t.height()));
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    pixels = WindowPlacement::fitted(pixels, screens);
    resize(pixels.size().expandedTo(QSize(320, 240)));
    move(pixels.topLeft());
}

void frmMain::ApplyInterfaceFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(9);
    for (QWidget* widget : std::initializer_list<QWidget*>{m_lblfld, m_fldView, m_lblFile, m_lvwFile,
                                                           m_sbrFile, m_tabMode, m_lvwPlayer, m_sbrStatus})
        widget->setFont(font);
}

bool frmMain::ApplyLanguageFile(const QString& filePath)
{
    LanguageTargets targets;
    targets.window = this;
    targets.menuActions = m_menuTexts;
    targets.lblfld = m_lblfld;
    targets.lblFile = m_lblFile;
    targets.tabMode = m_tabMode;
    targets.toolButtons = m_toolButtons;
    targets.setFileHeaders = [this](const QStringList& texts) { m_fileModel.setHeaderTexts(texts); };
    targets.setPlayerHeaders = [this](const QStringList& texts) { m_playerModel->setHeaderTexts(texts); };
    targets.texts = &m_texts;
    const bool applied = ApplyLanguage(filePath, targets, *m_prompt);
    if (applied) {
        m_texts.applyFallbacks();
        m_windowTexts = WindowTexts::load(filePath);
        m_syncTexts = SyncTexts::load(filePath);
        applyWindowTexts();
        const TagEditTexts tagTexts = TagEditTexts::load(filePath);
        m_tagEdit->setTexts(tagTexts);
        m_tagEdit->setMessageTitle(m_texts.title);
        m_editMenu->setTitle(tagTexts.editMenu);
        installQtTranslation(m_windowTexts.locale);
        if (m_mnuSort.size() > 4)
            m_mnuSort[4]->setText(m_fileModel.headerData(4, Qt::Horizontal).toString());
        // Texts that show a slot now follow the new language at once, the status bar too.
        GetFileSize();
        showViewNote();
        if (m_session.lastConnectionState() >= 0) {
            m_sbrStatus->setText(1, m_session.isConnected() ? m_texts.connect : m_texts.disconnect);
            if (m_session.isConnected()) {
                m_session.ShowCapacity();
                m_sbrStatus->setText(2, m_session.capacityText());
            }
        }
        if (m_loaded)
            LayoutPanes();
    }
    return applied;
}

// Qt's own buttons and dialogs (Yes, No, Cancel, the file dialog) speak the language too, through
// Qt's translations for the locale the language file names.
void frmMain::installQtTranslation(const QString& locale)
{
    if (m_qtTranslator) {
        QCoreApplication::removeTranslator(m_qtTranslator.get());
        m_qtTranslator.reset();
    }
    if (locale.isEmpty() || locale.startsWith(QLatin1String("en")))
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(QLocale(locale), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(translator.get()))
        m_qtTranslator = std::move(translator);
}

void frmMain::chooseLanguage(const QString& file)
{
    m_settings.language = file;
    const std::unique_ptr<QSettings> store = SettingsStore::open();
    store->setValue(QStringLiteral("Display/Language"), file);
    store->sync();
    ApplyLanguageFile(file);
}

OptionsValues frmMain::options() const
{
    return {m_settings.titleFont, m_settings.displayName, m_settings.sizeUnit, m_settings.language,
            m_settings.conversionQuality};
}

void frmMain::applyOptions(const OptionsValues& values)
{
    if (values.language != m_settings.language)
        chooseLanguage(values.language);
    m_settings.titleFont = values.titleFont;
    m_settings.displayName = values.displayName;
    m_settings.sizeUnit = values.sizeUnit;
    m_settings.conversionQuality = values.conversionQuality;
    // The summary's sizes and the LCD preview's title block follow at once.
    GetFileSize();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize && !isMinimized())
        LayoutPanes();
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::LayoutPanes()
{
    PaneMetrics m;
    m.scaleWidth = Twips::fromPixels(m_client->width());
    m.scaleHeight = Twips::fromPixels(m_client->height());
    m.hsplitLeft = hsplitLeft();
    m.hsplitWidth = 60;
    m.vsplitTop = vsplitTop();
    m.vsplitHeight = 60;
    m.labelHeight = Twips::fromPixels(m_lblfld->sizeHint().height());
    m.fileStatusHeight = Twips::fromPixels(std::max(m_sbrFile->sizeHint().height(), 30));
    const int toolPixels = toolStripHeight();
    m.toolHeight = Twips::fromPixels(toolPixels);
    m.statusHeight = Twips::fromPixels(m_sbrStatus->sizeHint().height());
    QRect third = m_tabMode->count() >= 3 ? m_tabMode->tabRect(2) : QRect();
    m.tabWidth = Twips::fromPixels(m_tabMode->x() + third.x() + third.width()) + 210;
    const PaneRects r = ::LayoutPanes(m);
    const auto px = [](const QRect& t) {
        return QRect(Twips::toPixels(t.x()), Twips::toPixels(t.y()), Twips::toPixels(t.width()),
                     Twips::toPixels(t.height()));
    };
    m_picHsplit->setGeometry(px(r.hsplit));
    m_picVsplit->setGeometry(px(r.vsplit));
    if (m_hsplitDDC)
        m_hsplitDDC->setBorder(cSplitDDC::Bottom, r.hsplitBottomMargin);
    m_lblfld->setGeometry(px(r.lblfld));
    m_fldView->setGeometry(px(r.fldView));
    m_lblFile->setGeometry(px(r.lblFile));
    m_lvwFile->setGeometry(px(r.lvwFile));
    m_sbrFile->setGeometry(px(r.sbrFile));
    m_picTool->setGeometry(px(r.picTool));
    m_lvwPlayer->setGeometry(px(r.lvwPlayer));
    m_sbrStatus->setGeometry(px(r.sbrStatus));
    m_tabMode->setGeometry(0, 0, Twips::toPixels(m.tabWidth), toolPixels);
    m_tbrTool->setGeometry(Twips::toPixels(r.toolbarLeft), 0,
                           std::max(0, m_picTool->width() - Twips::toPixels(r.toolbarLeft)), toolPixels);
}

int frmMain::toolStripHeight() const
{
    return std::max(m_tabMode->sizeHint().height(), m_tbrTool->sizeHint().height());
}

void frmMain::SplitterPressed(SplitterBar* bar, QPoint position)
{
    m_activeSplit = &splitter(bar);
    m_activeSplit->SplitterMouseDown(m_client, Twips::fromPixels(position.x()),
                                     Twips::fromPixels(position.y()));
}

void frmMain::SplitterMoved()
{
    if (m_activeSplit)
        m_activeSplit->SplitterFormMouseMove(0, 0);
}

void frmMain::SplitterReleased()
{
    cSplitDDC* controller = m_activeSplit;
    m_activeSplit = nullptr;
    if (!controller || !controller->SplitterFormMouseUp(0, 0))
        return;
    // The panes beside and above a bar never shrink below 2100 twips.
    if (controller == m_hsplitDDC.get() && hsplitLeft() < MinimumSplitPosition)
        m_picHsplit->move(Twips::toPixels(MinimumSplitPosition), m_picHsplit->y());
    if (controller == m_vsplitDDC.get() && vsplitTop() < MinimumSplitPosition)
        m_picVsplit->move(m_picVsplit->x(), Twips::toPixels(MinimumSplitPosition));
    LayoutPanes();
}

QString frmMain::currentFolder() const
{
    const QModelIndex index = m_fldView->currentIndex();
    return index.isValid() ? QDir::toNativeSeparators(m_folderModel->filePath(index)) : QString();
}

bool frmMain::setCurrentFolder(const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        return false;
    const QString path = QDir::cleanPath(QDir::fromNativeSeparators(folder));
    // Persistent, and looked up once more when it went away: making the folder current lists it,
    // and whatever runs meanwhile may read the parent again, which replaces its rows (a plain
    // index would then point at freed memory).
    QPersistentModelIndex index;
    for (int attempt = 0; attempt < 2 && !index.isValid(); ++attempt) {
        index = m_folderModel->index(path);
        if (!index.isValid())
            return false;
        m_fldView->setCurrentIndex(index);
    }
    if (!index.isValid())
        return false;
    m_fldView->scrollTo(index);
    m_fldView->expand(index);
    // The tree reads folders in the background: rows read into any folder on the way move the
    // folder down, so it is brought back into view after each of them, and once the window shows.
    m_revealFolder = m_folderModel->filePath(index);
    QTimer::singleShot(0, this, [this] { revealCurrentFolder(m_revealFolder); });
    return true;
}

void frmMain::revealCurrentFolder(const QString& loaded)
{
    if (m_revealFolder.isEmpty())
        return;
    const QString prefix = loaded.endsWith(QLatin1Char('/')) ? loaded : loaded + QLatin1Char('/');
    if (loaded != m_revealFolder && !m_revealFolder.startsWith(prefix))
        return;
    // After the model's own sort of the rows just read, which it runs from its event queue.
    QTimer::singleShot(0, this, [this] {
        if (m_revealFolder.isEmpty())
            return;
        m_fldView->scrollTo(m_fldView->currentIndex(), QAbstractItemView::PositionAtCenter);
        // The names start at the left edge; a deep one runs on to the right, where the tree scrolls.
        m_fldView->horizontalScrollBar()->setValue(0);
    });
}

int frmMain::selectedTab() const
{
    return m_tabMode->currentIndex() + 1;
}
