// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "OptionsFixture.h"
#include "TestEnvironment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace
{

QStringList items(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts.append(box->itemData(i).toString());
    return texts;
}

void choose(frmOptions& dialog, const QString& name)
{
    dialog.cboLang()->setCurrentIndex(dialog.cboLang()->findData(name));
    dialog.cboLang_Click();
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST_F(OptionsFixture, OpeningShowsTheStoredLanguageAndItsTexts)
{
    writeLanguage(QStringLiteral("english.lng"), QStringLiteral("English"), QStringLiteral("English"));
    const QString german = writeLanguage(QStringLiteral("german.lng"), QStringLiteral("German"),
                                         QStringLiteral("Deutsch"), QStringLiteral("Jawohl"));
    frmOptions& dialog = open(defaults(german));
    EXPECT_EQ(items(dialog.cboLang()), (QStringList{QStringLiteral("English"), QStringLiteral("German")}));
    EXPECT_EQ(dialog.cboLang()->currentData().toString(), QStringLiteral("German"));
    EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("Deutsch"));
    EXPECT_EQ(dialog.cmdOK()->text(), QStringLiteral("Jawohl"));
    EXPECT_EQ(dialog.chkID3(0)->text(), QStringLiteral("German title")) << "from MAIN/Title";
    EXPECT_EQ(dialog.frame(1)->title(), QStringLiteral("German font"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options")) << "the caption is never relabelled";
}

// The groups added after the first language files speak the language too, not only English.
TEST_F(OptionsFixture, TheShippedGermanFileLabelsTheQualityGroup)
{
    frmOptions& dialog =
        open(defaults(TestEnvironment::sourceDir() + QStringLiteral("/Language/german.lng")));
    QStringList titles;
    for (const QGroupBox* group : dialog.findChildren<QGroupBox*>())
        titles << group->title();
    EXPECT_TRUE(titles.contains(QStringLiteral("MP3-Qualität umgewandelter Dateien")))
        << qPrintable(titles.join(u'|'));
    EXPECT_FALSE(titles.contains(QStringLiteral("MP3 quality of converted files")));
    const auto* quality = dialog.findChild<QComboBox*>(QStringLiteral("cboQuality"));
    ASSERT_TRUE(quality);
    for (int i = 0; i < quality->count(); ++i)
        EXPECT_FALSE(quality->itemText(i).contains(QStringLiteral("about")))
            << qPrintable(quality->itemText(i));
}

TEST_F(OptionsFixture, TheListShowsEachLanguageByItsOwnNameAndChoosesByIt)
{
    const QString english =
        writeLanguage(QStringLiteral("english.lng"), QStringLiteral("English"), QStringLiteral("English"));
    writeLanguage(QStringLiteral("german.lng"), QStringLiteral("German"), QStringLiteral("Deutsch"),
                  QStringLiteral("Jawohl"));
    writeLanguage(QStringLiteral("plain.lng"), QStringLiteral("Plain"), QString());
    frmOptions& dialog = open(defaults(english));
    QStringList shown;
    for (int i = 0; i < dialog.cboLang()->count(); ++i)
        shown << dialog.cboLang()->itemText(i);
    EXPECT_EQ(shown,
              (QStringList{QStringLiteral("English"), QStringLiteral("Deutsch"), QStringLiteral("Plain")}))
        << "a file without its own name is listed by its English one";
    EXPECT_EQ(dialog.cboLang()->itemData(1, Qt::ToolTipRole).toString(), QStringLiteral("German"));

    // Picked from the open list by keys, as a user does: the German texts follow.
    dialog.show();
    dialog.cboLang()->setFocus();
    QTest::keyClick(dialog.cboLang(), Qt::Key_Down);
    EXPECT_EQ(dialog.cboLang()->currentText(), QStringLiteral("Deutsch"));
    EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("Deutsch"));
    EXPECT_EQ(dialog.cmdOK()->text(), QStringLiteral("Jawohl"));
}

TEST_F(OptionsFixture, MissingStoredLanguageKeepsTheFirstEntryAndItsTexts)
{
    writeLanguage(QStringLiteral("a.lng"), QStringLiteral("Alpha"), QStringLiteral("Alpha local"),
                  QStringLiteral("A-OK"));
    writeLanguage(QStringLiteral("b.lng"), QStringLiteral("Beta"), QStringLiteral("Beta local"));
    frmOptions& dialog = open(defaults(QDir(m_dir.path()).filePath(QStringLiteral("gone.lng"))));
    EXPECT_EQ(dialog.cboLang()->currentData().toString(), QStringLiteral("Alpha"));
    EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("Alpha local"));
    EXPECT_EQ(dialog.cmdOK()->text(), QStringLiteral("A-OK"));
}

TEST_F(OptionsFixture, OkAppliesANewLanguageOnlyWhenItChanged)
{
    const QString english =
        writeLanguage(QStringLiteral("english.lng"), QStringLiteral("English"), QStringLiteral("English"));
    const QString german = writeLanguage(QStringLiteral("german.lng"), QStringLiteral("German"),
                                         QStringLiteral("Deutsch"), QStringLiteral("Jawohl"));
    frmOptions& unchanged = open(defaults(english));
    unchanged.cmdOK_Click();
    EXPECT_TRUE(m_applied.isEmpty());
    EXPECT_FALSE(unchanged.languageChanged());

    frmOptions& dialog = open(defaults(english));
    choose(dialog, QStringLiteral("German"));
    EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("Deutsch"));
    EXPECT_EQ(dialog.cmdOK()->text(), QStringLiteral("Jawohl")) << "the dialog follows at once";
    EXPECT_TRUE(m_applied.isEmpty()) << "the main window changes on OK only";
    dialog.cmdOK_Click();
    EXPECT_EQ(m_applied, QStringList{german});
    EXPECT_TRUE(dialog.languageChanged());
    EXPECT_EQ(dialog.values().language, german);
}

TEST_F(OptionsFixture, NoLanguageFilesLeavesTheListEmptyAndTheSettingAlone)
{
    const QString stored = QDir(m_dir.path()).filePath(QStringLiteral("elsewhere.lng"));
    frmOptions& dialog = open(defaults(stored));
    EXPECT_EQ(dialog.cboLang()->count(), 0);
    EXPECT_EQ(dialog.Text1()->text(), QString());
    EXPECT_EQ(dialog.cmdOK()->text(), QStringLiteral("OK")) << "design texts stay";
    dialog.cmdOK_Click();
    EXPECT_TRUE(m_applied.isEmpty());
    EXPECT_EQ(dialog.values().language, stored);
}

TEST_F(OptionsFixture, FileWithoutEnglishNameIsListedUnderAnEmptyName)
{
    const QString english =
        writeLanguage(QStringLiteral("english.lng"), QStringLiteral("English"), QStringLiteral("English"));
    const QString odd = writeFile(m_folders.program, QStringLiteral("odd.lng"),
                                  "[UI]\r\nLOCAL = Nameless\r\n[OPTION]\r\nOk = Fine\r\n");
    frmOptions& dialog = open(defaults(english));
    EXPECT_EQ(items(dialog.cboLang()), (QStringList{QStringLiteral("English"), QString()}));
    dialog.cboLang()->setCurrentIndex(1);
    dialog.cboLang_Click();
    EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("Nameless"));
    EXPECT_EQ(dialog.cmdOK()->text(), QStringLiteral("Fine"));
    EXPECT_EQ(dialog.cmdCancel()->text(), QString()) << "a missing key empties its caption";
    dialog.cmdOK_Click();
    EXPECT_EQ(m_applied, QStringList{odd});
}

TEST_F(OptionsFixture, NamesakesAreBothListedAndTheFirstFileWins)
{
    const QString first =
        writeLanguage(QStringLiteral("a.lng"), QStringLiteral("Same"), QStringLiteral("First"));
    const QString second =
        writeLanguage(QStringLiteral("b.lng"), QStringLiteral("Same"), QStringLiteral("Second"));
    frmOptions& dialog = open(defaults());
    EXPECT_EQ(items(dialog.cboLang()), (QStringList{QStringLiteral("Same"), QStringLiteral("Same")}));
    dialog.cboLang()->setCurrentIndex(1);
    dialog.cboLang_Click();
    EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("First"));
    dialog.cmdOK_Click();
    EXPECT_EQ(m_applied, QStringList{first});

    // The file in use keeps its name, so OK without a change never swaps it for the namesake.
    m_applied.clear();
    frmOptions& current = open(defaults(second));
    EXPECT_EQ(current.Text1()->text(), QStringLiteral("Second"));
    current.cmdOK_Click();
    EXPECT_TRUE(m_applied.isEmpty());
}

TEST_F(OptionsFixture, BrowseCopiesTheFileIntoTheLanguageFolderAndSelectsIt)
{
    const QString english =
        writeLanguage(QStringLiteral("english.lng"), QStringLiteral("English"), QStringLiteral("English"));
    QTemporaryDir elsewhere;
    m_nextChoice = writeLanguage(QStringLiteral("klingon.lng"), QStringLiteral("Klingon"),
                                 QStringLiteral("tlhIngan Hol"), QStringLiteral("Qapla'"), elsewhere.path());
    frmOptions& dialog = open(defaults(english));
    dialog.Command1_Click();
    EXPECT_EQ(m_fileDialogShown, 1);
    EXPECT_EQ(m_lastFilter, QStringLiteral("language (*.lng)"));
    const QString installed = QDir(m_folders.program).filePath(QStringLiteral("klingon.lng"));
    EXPECT_EQ(contents(installed), contents(m_nextChoice));
    EXPECT_EQ(items(dialog.cboLang()), (QStringList{QStringLiteral("English"), QStringLiteral("Klingon")}));
    EXPECT_EQ(dialog.cboLang()->currentData().toString(), QStringLiteral("Klingon"));
    EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("tlhIngan Hol"));
    EXPECT_EQ(dialog.cmdOK()->text(), QStringLiteral("Qapla'"));
    dialog.cmdOK_Click();
    EXPECT_EQ(m_applied, QStringList{installed}) << "the copy, not the file chosen elsewhere";
}

TEST_F(OptionsFixture, BrowseCancelledChangesNothing)
{
    const QString english =
        writeLanguage(QStringLiteral("english.lng"), QStringLiteral("English"), QStringLiteral("English"));
    frmOptions& dialog = open(defaults(english));
    m_nextChoice.clear();
    dialog.Command1_Click();
    EXPECT_EQ(m_fileDialogShown, 1);
    EXPECT_EQ(items(dialog.cboLang()), QStringList{QStringLiteral("English")});
    EXPECT_EQ(QDir(m_folders.program).entryList(QDir::Files), QStringList{QStringLiteral("english.lng")});
}

TEST_F(OptionsFixture, BrowseFallsBackToTheUsersFolderWhenTheProgramsCannotBeWritten)
{
    // A folder below a plain file can never be created, whoever runs the test.
    writeFile(m_dir.path(), QStringLiteral("blocker"), "x");
    m_folders.program = QDir(m_dir.path()).filePath(QStringLiteral("blocker/Language"));
    QTemporaryDir elsewhere;
    m_nextChoice = writeLanguage(QStringLiteral("pirate.lng"), QStringLiteral("Pirate"),
                                 QStringLiteral("Arr"), QStringLiteral("Aye"), elsewhere.path());
    frmOptions& dialog = open(defaults());
    dialog.Command1_Click();
    const QString installed = QDir(m_folders.user).filePath(QStringLiteral("pirate.lng"));
    EXPECT_EQ(contents(installed), contents(m_nextChoice));
    EXPECT_EQ(dialog.cboLang()->currentData().toString(), QStringLiteral("Pirate"));
    dialog.cmdOK_Click();
    EXPECT_EQ(m_applied, QStringList{installed});

    // The next opening lists the user's files too.
    frmOptions& again = open(defaults(installed));
    EXPECT_EQ(again.cboLang()->currentData().toString(), QStringLiteral("Pirate"));
    EXPECT_EQ(again.Text1()->text(), QStringLiteral("Arr"));
}

TEST_F(OptionsFixture, BrowsedFileReplacesANamesakeAndAFileIsNeverCopiedOntoItself)
{
    const QString old =
        writeLanguage(QStringLiteral("german.lng"), QStringLiteral("German"), QStringLiteral("Alt"));
    QTemporaryDir elsewhere;
    m_nextChoice = writeLanguage(QStringLiteral("deutsch.lng"), QStringLiteral("German"),
                                 QStringLiteral("Neu"), QStringLiteral("OK"), elsewhere.path());
    frmOptions& dialog = open(defaults(old));
    dialog.Command1_Click();
    EXPECT_EQ(dialog.Text1()->text(), QStringLiteral("Neu")) << "the file just fetched is meant";
    dialog.cmdOK_Click();
    EXPECT_EQ(m_applied, QStringList{QDir(m_folders.program).filePath(QStringLiteral("deutsch.lng"))});

    const QByteArray before = contents(old);
    m_nextChoice = old;
    frmOptions& again = open(defaults(old));
    again.Command1_Click();
    EXPECT_EQ(contents(old), before);
}

TEST(LanguageFolders, ProgramFolderFirstThenTheUsersBesideThePlayerData)
{
    const LanguageFolders folders = LanguageFolders::standard();
    EXPECT_TRUE(folders.program.endsWith(QStringLiteral("/Language")));
    EXPECT_EQ(folders.user, qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/ZVD/Language"));
}

TEST_F(OptionsFixture, BrowsedPipeIsNotCopiedAndChangesNothing)
{
    const QString english =
        writeLanguage(QStringLiteral("english.lng"), QStringLiteral("English"), QStringLiteral("English"));
    QTemporaryDir elsewhere;
    m_nextChoice = elsewhere.filePath(QStringLiteral("pipe.lng"));
    const QByteArray pipe = QFile::encodeName(m_nextChoice);
    ASSERT_EQ(::mkfifo(pipe.constData(), 0644), 0);
    // Should the copy wait on the pipe all the same, a writer lets it go on: the test then fails
    // instead of hanging.
    std::atomic<bool> done{false};
    std::thread rescue([&] {
        for (int i = 0; i < 100 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (done)
            return;
        ADD_FAILURE() << "the copy waited on the pipe";
        const int writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    });
    frmOptions& dialog = open(defaults(english));
    dialog.Command1_Click();
    done = true;
    rescue.join();
    EXPECT_EQ(items(dialog.cboLang()), QStringList{QStringLiteral("English")});
    EXPECT_EQ(QDir(m_folders.program).entryList(QDir::Files), QStringList{QStringLiteral("english.lng")});
    EXPECT_TRUE(m_applied.isEmpty());
}
