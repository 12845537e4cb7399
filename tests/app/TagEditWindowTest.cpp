// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Tag editing in the window through real input: F2 on a cell, typing and Enter; the dialog opened
// by its key and filled through its fields; Ctrl+Z. The files are copies of MP3s made by lame and
// tagged by the usual tools; their audio frames must never change.
#include "AudioFrames.h"
#include "MainWindowFixture.h"
#include "TestEnvironment.h"
#include "app/LcdPreview.h"
#include "app/TagEditDialog.h"
#include "audio/TagEdit.h"
#include "i18n/LangReader.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <unistd.h>

namespace
{

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class TagEditWindow : public MainWindowTest
{
protected:
    QString song(const QString& fixture, const QString& name)
    {
        const QString target = QDir(folder).filePath(name);
        EXPECT_TRUE(QFile::copy(
            QDir(TestEnvironment::sourceDir()).filePath("tests/audio/fixtures/" + fixture), target));
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
        return target;
    }

    void startActive()
    {
        start();
        ui().fileModel().completeAll();
        QApplication::setActiveWindow(window.get());
        // The LCD shows the title, so the preview tells whether it follows an edit.
        OptionsValues values = window->options();
        values.displayName = 2;
        window->applyOptions(values);
    }

    QTreeView* details() const { return ui().lvwFile()->detailView(); }

    int position(const QString& name) const
    {
        for (int i = 0; i < ui().fileModel().count(); ++i)
            if (ui().fileModel().row(i).name == name)
                return i;
        return -1;
    }

    // A click on the cell makes it the current one, as a user picks the cell to edit.
    void clickCell(const QString& name, int column)
    {
        const QModelIndex index = ui().fileModel().index(position(name), column);
        details()->scrollTo(index);
        QTest::mouseClick(details()->viewport(), Qt::LeftButton, {}, details()->visualRect(index).center());
        ASSERT_EQ(details()->currentIndex(), index);
    }

    QString shown(const QString& name, int column) const
    {
        return ui().fileModel().index(position(name), column).data().toString();
    }

    QLineEdit* cellEditor() const { return details()->viewport()->findChild<QLineEdit*>(); }

    // Runs `fill` on the dialog once it is open, while the window waits in its exec().
    void whenDialogOpens(std::function<void(TagEditDialog&)> fill)
    {
        QTimer::singleShot(0, [fill] {
            auto* dialog = qobject_cast<TagEditDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            fill(*dialog);
        });
    }
};

TEST_F(TagEditWindow, F2TypingAndEnterWriteTheTitleAndTheRowAndPreviewFollowThenCtrlZUndoes)
{
    const QString path = song("lame-tagged.mp3", "song.mp3");
    const QByteArray original = bytesOf(path);
    const QByteArray audio = AudioFrames::hash(path);
    startActive();
    clickCell("song.mp3", LocalFileModel::ColTitle);
    const QImage before = ui().lcdPreview()->image();
    ASSERT_FALSE(before.isNull());

    QTest::keyClick(details(), Qt::Key_F2);
    QLineEdit* editor = cellEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Title B"));
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Typed Title"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents(); // the view takes the edit in a queued call

    EXPECT_EQ(TagEdit::read(path).title, QStringLiteral("Typed Title"));
    EXPECT_EQ(TagEdit::read(path).artist, QStringLiteral("Artist B"));
    EXPECT_EQ(shown("song.mp3", LocalFileModel::ColTitle), QStringLiteral("Typed Title"));
    EXPECT_NE(ui().lcdPreview()->image(), before);
    EXPECT_EQ(AudioFrames::hash(path), audio);
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(prompt.messages.join('\n'));

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(bytesOf(path), original);
    EXPECT_EQ(shown("song.mp3", LocalFileModel::ColTitle), QStringLiteral("Title B"));
    EXPECT_EQ(ui().lcdPreview()->image(), before);
    EXPECT_FALSE(window->findChild<QAction*>("undoTagEdit")->isEnabled());
}

TEST_F(TagEditWindow, TheGenreCellTakesANameFromTheListAndOtherFilesCellsAreNotEditable)
{
    const QString path = song("id3v2-v1.mp3", "old.mp3");
    startActive();
    clickCell("old.mp3", LocalFileModel::ColGenre);
    QTest::keyClick(details(), Qt::Key_F2);
    auto* box = details()->viewport()->findChild<QComboBox*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->currentText(), QStringLiteral("Rock"));
    box->setCurrentIndex(box->findText(QStringLiteral("Jazz")));
    QTest::keyClick(box, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(TagEdit::read(path).genre, QStringLiteral("Jazz"));
    EXPECT_EQ(TagEdit::read(path).title, QStringLiteral("Old Song"));
    EXPECT_EQ(shown("old.mp3", LocalFileModel::ColGenre), QStringLiteral("Jazz"));

    // The name column, and the tag cells of a file that is no MP3, open no editor.
    clickCell("old.mp3", LocalFileModel::ColName);
    QTest::keyClick(details(), Qt::Key_F2);
    EXPECT_EQ(cellEditor(), nullptr);
    clickCell("c.wma", LocalFileModel::ColTitle);
    QTest::keyClick(details(), Qt::Key_F2);
    EXPECT_EQ(cellEditor(), nullptr);
}

TEST_F(TagEditWindow, TheDialogEditsSeveralFilesKeepsUntouchedFieldsAndUndoesAsOne)
{
    const QString first = song("lame-tagged.mp3", "one.mp3");
    const QString second = song("id3v2-v1.mp3", "two.mp3");
    const QByteArray firstBytes = bytesOf(first);
    const QByteArray secondBytes = bytesOf(second);
    const QByteArray firstAudio = AudioFrames::hash(first);
    const QByteArray secondAudio = AudioFrames::hash(second);
    startActive();
    selectFiles({"one.mp3", "two.mp3"});
    QString titlePlaceholder;
    whenDialogOpens([&](TagEditDialog& dialog) {
        titlePlaceholder = dialog.titleEdit()->placeholderText();
        // Tab from the title to the artist field, type, and on to the album; Enter is OK.
        QTest::keyClick(&dialog, Qt::Key_Tab);
        QTest::keyClicks(dialog.artistEdit(), QStringLiteral("Both Bands"));
        QTest::keyClick(dialog.artistEdit(), Qt::Key_Tab);
        QTest::keyClicks(dialog.albumEdit(), QStringLiteral("The Album"));
        QTest::keyClicks(dialog.yearEdit(), QStringLiteral("19x99"));
        QTest::keyClick(dialog.albumEdit(), Qt::Key_Return);
    });
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);

    EXPECT_EQ(titlePlaceholder, QStringLiteral("<keep>")) << "the two titles differ";
    for (const QString& path : {first, second}) {
        EXPECT_EQ(TagEdit::read(path).artist, QStringLiteral("Both Bands"));
        EXPECT_EQ(TagEdit::read(path).album, QStringLiteral("The Album"));
        EXPECT_EQ(TagEdit::read(path).year, QStringLiteral("1999")) << "the x was not taken";
    }
    EXPECT_EQ(TagEdit::read(first).title, QStringLiteral("Title B"));
    EXPECT_EQ(TagEdit::read(second).title, QStringLiteral("Old Song"));
    EXPECT_EQ(TagEdit::read(second).genre, QStringLiteral("Rock"));
    EXPECT_EQ(shown("two.mp3", LocalFileModel::ColArtist), QStringLiteral("Both Bands"));
    EXPECT_EQ(AudioFrames::hash(first), firstAudio);
    EXPECT_EQ(AudioFrames::hash(second), secondAudio);

    // Offscreen, no window manager gives the window back its activation after the dialog.
    QApplication::setActiveWindow(window.get());
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(prompt.messages.isEmpty()) << qPrintable(prompt.messages.join('\n'));
    EXPECT_EQ(bytesOf(first), firstBytes);
    EXPECT_EQ(bytesOf(second), secondBytes);
    EXPECT_EQ(shown("two.mp3", LocalFileModel::ColArtist), QStringLiteral("Old Band"));
}

TEST_F(TagEditWindow, CancelWritesNothingAndFilesThatFailAreNamedWhileTheOthersAreWritten)
{
    const QString plain = song("cbr.mp3", "plain.mp3");
    const QString picture = song("eyed3-v24-picture.mp3", "picture.mp3");
    const QByteArray plainBytes = bytesOf(plain);
    const QByteArray pictureBytes = bytesOf(picture);
    startActive();
    selectFiles({"plain.mp3", "picture.mp3"});
    whenDialogOpens([](TagEditDialog& dialog) {
        QTest::keyClicks(dialog.titleEdit(), QStringLiteral("Never written"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    window->findChild<QAction*>("editTags")->trigger();
    EXPECT_EQ(bytesOf(plain), plainBytes);
    EXPECT_EQ(bytesOf(picture), pictureBytes);

    whenDialogOpens([](TagEditDialog& dialog) {
        QTest::keyClicks(dialog.titleEdit(), QStringLiteral("Written"));
        QTest::keyClick(dialog.titleEdit(), Qt::Key_Return);
    });
    window->findChild<QAction*>("editTags")->trigger();
    EXPECT_EQ(TagEdit::read(plain).title, QStringLiteral("Written"));
    EXPECT_EQ(bytesOf(picture), pictureBytes);
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("picture.mp3"))) << qPrintable(prompt.messages[0]);

    // Only files that are no MP3: a notice, no dialog.
    selectFiles({"notes.txt"});
    window->findChild<QAction*>("editTags")->trigger();
    EXPECT_EQ(prompt.messages.size(), 2);
}

TEST_F(TagEditWindow, AReadOnlyFileIsNamedAndLeftByteIdentical)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes read-only files; zvdctl's test covers this case as another user";
    const QString path = song("lame-tagged.mp3", "locked.mp3");
    QFile::setPermissions(path, QFileDevice::ReadOwner);
    const QByteArray bytes = bytesOf(path);
    startActive();
    clickCell("locked.mp3", LocalFileModel::ColArtist);
    QTest::keyClick(details(), Qt::Key_F2);
    ASSERT_NE(cellEditor(), nullptr);
    QTest::keyClicks(cellEditor(), QStringLiteral("x"));
    QTest::keyClick(cellEditor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(bytesOf(path), bytes);
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].contains(QStringLiteral("Permission denied")));
    EXPECT_EQ(shown("locked.mp3", LocalFileModel::ColArtist), QStringLiteral("Artist B"));
}

// Every shipped language names every text of tag editing, and the German file is read as such.
TEST(TagEditLanguage, ShippedLanguageFilesHoldEveryKeyOfTheTagEditSection)
{
    const QDir languages(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("Language")));
    const QStringList files = languages.entryList({QStringLiteral("*.lng")}, QDir::Files);
    ASSERT_GE(files.size(), 5);
    const QStringList keys{"EditMenu", "EditTags",     "UndoEdit", "Caption",    "Title",
                           "Artist",   "Album",        "Genre",    "Year",       "Track",
                           "Keep",     "SeveralFiles", "Mp3Only",  "NotChanged", "NotUndone"};
    for (const QString& file : files)
        for (const QString& key : keys)
            EXPECT_TRUE(
                mControlUI::ReadLangKey(languages.filePath(file), QStringLiteral("TagEdit"), key).has_value())
                << qPrintable(file + QLatin1Char(' ') + key);
    const TagEditTexts german = TagEditTexts::load(languages.filePath(QStringLiteral("german.lng")));
    EXPECT_EQ(german.caption, QStringLiteral("Tags bearbeiten"));
    EXPECT_EQ(german.undoEdit, QStringLiteral("Tag-\u00c4nderung &r\u00fcckg\u00e4ngig"));
    EXPECT_EQ(TagEditTexts::load(languages.filePath(QStringLiteral("english.lng"))).keep,
              TagEditTexts().keep);
}

} // namespace
