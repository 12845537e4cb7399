// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "MainWindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QMenuBar>
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
    EXPECT_EQ(menuTexts(window->menuBar()),
              QStringList({QStringLiteral("File"), QStringLiteral("S&ync Folder to Player..."), QString(),
                           QStringLiteral("Exit"), QStringLiteral("&Edit"), QStringLiteral("&Undo Tag Edit"),
                           QStringLiteral("Edit &Tags..."), QStringLiteral("View"),
                           QStringLiteral("Large"), QStringLiteral("Small"), QStringLiteral("List"),
                           QStringLiteral("Detail"), QString(), QStringLiteral("By name"),
                           QStringLiteral("By size"), QStringLiteral("By title"), QStringLiteral("By artist"),
                           QStringLiteral("Style"), QStringLiteral("&Player"), QStringLiteral("&Send to Player"),
                           QStringLiteral("&Fetch from Player"), QStringLiteral("&Rename"), QStringLiteral("&Delete"),
                           QString(), QStringLiteral("F&ormat Player"), QStringLiteral("Low"),
                           QStringLiteral("Upgrade"), QString(), QStringLiteral("Re&fresh"), QStringLiteral("Tool"),
                           QStringLiteral("Low"), QStringLiteral("Upgrade"), QString(), QStringLiteral("Option"),
                           QStringLiteral("&Help"), QStringLiteral("&About ZVD")}))
        << "the Edit, Player and Help menus and the Genre sort keep English where the file has no text";
    EXPECT_EQ(window->tabMode()->tabText(1), QStringLiteral("Voice"));
    EXPECT_EQ(window->toolButton(QStringLiteral("Delete"))->toolTip(), QStringLiteral("Remove"));
    EXPECT_EQ(window->fileModel().headerData(4, Qt::Horizontal).toString(), QStringLiteral("Style"));
    EXPECT_EQ(window->playerModel()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Size"));
    EXPECT_EQ(window->texts().title, QStringLiteral("Manager"));
    EXPECT_EQ(window->texts().format, QStringLiteral("Format?"));
    const QList<QLabel*> labels = window->client()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
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
    ASSERT_TRUE(window->ApplyLanguageFile(german));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("DE Manager"));
    EXPECT_EQ(window->tabMode()->tabText(0), QStringLiteral("DE Music"));
    EXPECT_EQ(window->toolButton(QStringLiteral("Download"))->toolTip(), QStringLiteral("DE Send"));
    EXPECT_EQ(window->sbrFile()->text(1), QStringLiteral("0 DE files")) << "the summary follows at once";

    // A file without the Menu section empties every menu caption.
    const QString bare = dir.filePath(QStringLiteral("bare.lng"));
    QFile bareFile(bare);
    ASSERT_TRUE(bareFile.open(QIODevice::WriteOnly));
    bareFile.write("[UI]\r\nTitle = Bare\r\n");
    bareFile.close();
    ASSERT_TRUE(window->ApplyLanguageFile(bare));
    EXPECT_TRUE(window->menuBar()->actions().first()->text().isEmpty());
    EXPECT_TRUE(window->tabMode()->tabText(0).isEmpty());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Bare"));
}

TEST_F(MainWindowTest, AMissingLanguageFileIsReportedOnceAndChangesNothing)
{
    start();
    const QString missing = dir.filePath(QStringLiteral("nowhere.lng"));
    EXPECT_FALSE(window->ApplyLanguageFile(missing));
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
    EXPECT_EQ(window->tabMode()->tabText(0), QStringLiteral("AUDIO"));
    EXPECT_EQ(window->menuBar()->actions().first()->text(), QStringLiteral("&File"));
}

} // namespace
