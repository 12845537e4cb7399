// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "MainWindowFixture.h"
#include "TestEnvironment.h"
#include "app/LcdPreview.h"
#include "app/WindowTexts.h"
#include "convert/ConvertibleFormats.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>

namespace
{

QStringList menuTexts(QMenuBar* bar)
{
    QStringList texts;
    for (QAction* top : bar->actions()) {
        texts << top->text();
        for (QAction* item : top->menu()->actions())
            texts << item->text();
    }
    return texts;
}

TEST_F(MainWindowTest, StartUpAppliesTheStoredLanguageToEveryTarget)
{
    start();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Manager"));
    EXPECT_EQ(menuTexts(window->menuBar()), QStringList({QStringLiteral("File"),
                                                         QStringLiteral("S&ync Folder to Player..."),
                                                         QString(),
                                                         QStringLiteral("Exit"),
                                                         QStringLiteral("&Edit"),
                                                         QStringLiteral("&Undo Tag Edit"),
                                                         QStringLiteral("Edit &Tags..."),
                                                         QStringLiteral("View"),
                                                         QStringLiteral("Large"),
                                                         QStringLiteral("Small"),
                                                         QStringLiteral("List"),
                                                         QStringLiteral("Detail"),
                                                         QString(),
                                                         QStringLiteral("By name"),
                                                         QStringLiteral("By size"),
                                                         QStringLiteral("By title"),
                                                         QStringLiteral("By artist"),
                                                         QStringLiteral("Style"),
                                                         QStringLiteral("&Player"),
                                                         QStringLiteral("&Send to Player"),
                                                         QStringLiteral("&Fetch from Player"),
                                                         QStringLiteral("&Rename"),
                                                         QStringLiteral("&Delete"),
                                                         QString(),
                                                         QStringLiteral("F&ormat Player"),
                                                         QStringLiteral("Low"),
                                                         QStringLiteral("Upgrade"),
                                                         QString(),
                                                         QStringLiteral("Re&fresh"),
                                                         QStringLiteral("Tool"),
                                                         QStringLiteral("Low"),
                                                         QStringLiteral("Upgrade"),
                                                         QString(),
                                                         QStringLiteral("Option"),
                                                         QStringLiteral("&Help"),
                                                         QStringLiteral("&About ZVD")}))
        << "the Edit, Player and Help menus and the Genre sort keep English where the file has no text";
    EXPECT_EQ(ui().tabMode()->tabText(1), QStringLiteral("Voice"));
    EXPECT_EQ(ui().toolButton(QStringLiteral("Delete"))->toolTip(), QStringLiteral("Remove"));
    EXPECT_EQ(ui().fileModel().headerData(4, Qt::Horizontal).toString(), QStringLiteral("Style"));
    EXPECT_EQ(ui().playerModel()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Size"));
    EXPECT_EQ(ui().texts().title, QStringLiteral("Manager"));
    EXPECT_EQ(ui().texts().format, QStringLiteral("Format?"));
    const QList<QLabel*> labels = ui().client()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    QStringList labelTexts;
    for (QLabel* label : labels)
        labelTexts << label->text();
    EXPECT_TRUE(labelTexts.contains(QStringLiteral("Folder")));
    EXPECT_TRUE(labelTexts.contains(QStringLiteral("Files")));
}

TEST_F(MainWindowTest, ASecondLanguageReplacesEveryTextAndAMissingKeyEmptiesItsTarget)
{
    start();
    attach();
    const QString german = writeLanguage(QStringLiteral("german.lng"), QStringLiteral("DE "));
    QFile file(german);
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("\r\n");
    file.close();
    ASSERT_TRUE(ui().ApplyLanguageFile(german));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DE Manager"));
    EXPECT_EQ(ui().tabMode()->tabText(0), QStringLiteral("DE Music"));
    EXPECT_EQ(ui().toolButton(QStringLiteral("Download"))->toolTip(), QStringLiteral("DE Send"));
    EXPECT_EQ(ui().sbrFile()->text(1), QStringLiteral("0 DE files")) << "the summary follows at once";

    // A file without the Menu section empties every menu caption.
    const QString bare = dir.filePath(QStringLiteral("bare.lng"));
    QFile bareFile(bare);
    ASSERT_TRUE(bareFile.open(QIODevice::WriteOnly));
    bareFile.write("[UI]\r\nTitle = Bare\r\n");
    bareFile.close();
    ASSERT_TRUE(ui().ApplyLanguageFile(bare));
    EXPECT_TRUE(window->menuBar()->actions().first()->text().isEmpty());
    EXPECT_TRUE(ui().tabMode()->tabText(0).isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Bare"));
}

// The tips of the status bar and the tabs, and the music view's note, speak the chosen language;
// the note says what this build does with the formats it converts.
TEST_F(MainWindowTest, TipsAndTheMusicViewNoteFollowTheLanguageAndTheBuild)
{
    start();
    const QString german = TestEnvironment::sourceDir() + QStringLiteral("/Language/german.lng");
    ASSERT_TRUE(ui().ApplyLanguageFile(german));
    const WindowTexts texts = WindowTexts::load(german);
    EXPECT_EQ(ui().capacityBar()->toolTip(), texts.capacityTip);
    EXPECT_EQ(ui().lcdPreview()->toolTip(), texts.lcdPreviewTip);
    EXPECT_EQ(ui().tabMode()->tabToolTip(0), texts.musicTabTip);
    EXPECT_EQ(ui().tabMode()->tabToolTip(1), texts.recordTabTip);
    EXPECT_EQ(ui().tabMode()->tabToolTip(2), texts.otherTabTip);
    ASSERT_EQ(ui().selectedTab(), 1);
    EXPECT_EQ(ui().viewNote()->text(), ConvertibleFormats::conversionAvailable()
                                           ? texts.viewMusicConverted
                                           : texts.viewMusicUnconverted);
}

TEST_F(MainWindowTest, AMissingLanguageFileIsReportedOnceAndChangesNothing)
{
    start();
    const QString missing = dir.filePath(QStringLiteral("nowhere.lng"));
    EXPECT_FALSE(ui().ApplyLanguageFile(missing));
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(prompt.messages[0], QStringLiteral("Can't Find Language File.\r\n") + missing);
    EXPECT_EQ(prompt.titles.last(), QStringLiteral("ZV-R3100 Audio Manager"));
    EXPECT_EQ(prompt.icons[0], Prompt::Icon::Information);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Manager"));
}

TEST_F(MainWindowTest, StartUpWithAMissingStoredLanguageKeepsTheDesignTexts)
{
    auto store = SettingsStore::open();
    store->setValue(QStringLiteral("Display/Language"), dir.filePath(QStringLiteral("gone.lng")));
    store->sync();
    start();
    EXPECT_EQ(prompt.messages.size(), 1);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("ZV-R3100 Audio Manager"));
    EXPECT_EQ(ui().tabMode()->tabText(0), QStringLiteral("AUDIO"));
    EXPECT_EQ(window->menuBar()->actions().first()->text(), QStringLiteral("&File"));
}

QSet<QString> placeholders(const QString& text)
{
    QSet<QString> found;
    static const QRegularExpression marker(QStringLiteral("%[1-9]"));
    for (auto match = marker.globalMatch(text); match.hasNext();)
        found.insert(match.next().captured());
    return found;
}

// The progress window, the summaries, the notices and the options caption speak each shipped
// language, and no translation loses a count it should show.
TEST(WindowTextsOfShippedLanguages, AreTranslatedAndKeepTheirPlaceholders)
{
    const QString folder = TestEnvironment::sourceDir() + QStringLiteral("/Language/");
    const WindowTexts english = WindowTexts::load(folder + QStringLiteral("english.lng"));
    const WindowTexts builtIn;
    const QString WindowTexts::*texts[] = {
        &WindowTexts::progressFiles,
        &WindowTexts::progressBytes,
        &WindowTexts::progressNote,
        &WindowTexts::cancelling,
        &WindowTexts::cancel,
        &WindowTexts::sentSummary,
        &WindowTexts::receivedSummary,
        &WindowTexts::cancelled,
        &WindowTexts::failed,
        &WindowTexts::renameBad,
        &WindowTexts::notInView,
        &WindowTexts::optionsCaption,
        &WindowTexts::unreadList,
        &WindowTexts::closeFailed,
        &WindowTexts::startFailed,
        &WindowTexts::endFailed,
        &WindowTexts::viewMusicConverted,
        &WindowTexts::viewMusicUnconverted,
        &WindowTexts::capacityTip,
        &WindowTexts::lcdPreviewTip,
        &WindowTexts::musicTabTip,
        &WindowTexts::recordTabTip,
        &WindowTexts::otherTabTip,
    };
    for (const auto member : texts)
        EXPECT_EQ(english.*member, builtIn.*member) << "the English file says what the fallback says";
    for (const char* name : {"german.lng", "french.lng", "spanish.lng", "korean.lng"}) {
        const WindowTexts translated = WindowTexts::load(folder + QLatin1String(name));
        for (std::size_t i = 0; i < std::size(texts); ++i) {
            // "Options" is French as well.
            const bool sameWord =
                texts[i] == &WindowTexts::optionsCaption && QLatin1String(name) == "french.lng";
            if (!sameWord) {
                EXPECT_NE(translated.*texts[i], english.*texts[i])
                    << name << " text " << i << " is still English";
            }
            EXPECT_EQ(placeholders(translated.*texts[i]), placeholders(english.*texts[i]))
                << name << " text " << i;
        }
    }
}

// The Tool menu's "Option" item, as the menu bar holds it.
QAction* optionItem(QMenuBar* bar)
{
    for (QAction* top : bar->actions()) {
        for (QAction* item : top->menu()->actions()) {
            if (item->text() == QStringLiteral("Option"))
                return item;
        }
    }
    return nullptr;
}

TEST_F(MainWindowTest, OptionsTakeEffectAtOnceAndAreSavedButACancelledDialogChangesNothing)
{
    start();
    const QString other = writeLanguage(QStringLiteral("other.lng"), QStringLiteral("X-"));
    OptionsValues shown;
    window->setOptionsDialog([&](OptionsValues& values, QWidget* parent) {
        EXPECT_EQ(parent, window.get());
        shown = values;
        values.language = other;
        values.titleFont.setBold(true);
        values.displayName = 2 | 4;
        return true;
    });
    QAction* option = optionItem(window->menuBar());
    ASSERT_NE(option, nullptr);
    option->trigger();
    EXPECT_EQ(shown.language, languageFile) << "the dialog starts from the stored values";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("X-Manager")) << "the new language is applied at once";
    EXPECT_EQ(window->options().language, other);
    EXPECT_TRUE(window->options().titleFont.bold());
    auto store = SettingsStore::open();
    EXPECT_EQ(store->value(QStringLiteral("Display/Language")).toString(), other);
    EXPECT_EQ(store->value(QStringLiteral("Display/LCD")).toString(), QStringLiteral("6"));
    EXPECT_EQ(store->value(QStringLiteral("FONT/BOLD")).toString(), QStringLiteral("1"));

    // Cancel: whatever the dialog did to its copy stays there.
    window->setOptionsDialog([&](OptionsValues& values, QWidget*) {
        values.language = languageFile;
        values.displayName = 1;
        values.titleFont.setBold(false);
        return false;
    });
    option->trigger();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("X-Manager"));
    EXPECT_EQ(window->options().displayName, 6);
    EXPECT_TRUE(window->options().titleFont.bold());
    store->sync();
    EXPECT_EQ(store->value(QStringLiteral("Display/Language")).toString(), other);
}

} // namespace
