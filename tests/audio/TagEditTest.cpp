// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Editing the user's six tag fields on MP3 files made by lame and the usual taggers: what is
// changed, what is kept, that the audio frames never change, and that undo gives back the file.
#include "audio/TagEdit.h"
#include "AudioFixtures.h"
#include "AudioFrames.h"
#include "TestEnvironment.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v1.h"
#include "core/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace
{

class TagEditing : public ::testing::Test
{
protected:
    // A copy of a committed fixture in the test's own folder.
    QString copy(const QString& name)
    {
        const QString source =
            QDir(TestEnvironment::sourceDir()).filePath(QStringLiteral("tests/audio/fixtures/") + name);
        const QString target = dir.filePath(name);
        EXPECT_TRUE(QFile::copy(source, target)) << qPrintable(source);
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
        return target;
    }

    QStringList debris() const
    {
        return QDir(dir.path()).entryList({QStringLiteral(".zvd-*")}, QDir::Files | QDir::Hidden);
    }

    QTemporaryDir dir;
};

TEST_F(TagEditing, OneFieldChangesAndTheOthersKeepTheirValuesInBothTags)
{
    const QString song = copy(QStringLiteral("lame-tagged.mp3"));
    const QByteArray audio = AudioFrames::hash(song);
    const TagFields before = TagEdit::read(song);
    EXPECT_EQ(before.title, QStringLiteral("Title B"));
    EXPECT_EQ(before.genre, QStringLiteral("Rock"));

    TagChanges changes;
    changes.title = QStringLiteral("A New Title");
    TagEdit::apply(song, changes);

    TagFields expected = before;
    expected.title = QStringLiteral("A New Title");
    EXPECT_EQ(TagEdit::read(song), expected);
    cMP3ID3v1 v1;
    v1.setMP3File(song);
    EXPECT_TRUE(v1.Title().startsWith(QStringLiteral("A New Title")));
    EXPECT_TRUE(v1.Artist().startsWith(QStringLiteral("Artist B")));
    EXPECT_EQ(AudioFrames::hash(song), audio);
    EXPECT_TRUE(debris().isEmpty()) << qPrintable(debris().join(' '));
}

TEST_F(TagEditing, AllSixFieldsOnFilesWithEitherTagOrNoneKeepTheAudio)
{
    for (const char* name :
         {"cbr.mp3", "vbr.mp3", "id3v2-v1.mp3", "eyed3-v23-latin1.mp3", "lame-tagged.mp3"}) {
        SCOPED_TRACE(name);
        const QString song = copy(QString::fromLatin1(name));
        const QByteArray audio = AudioFrames::hash(song);
        TagChanges changes{QStringLiteral("Tïtle"), QStringLiteral("Ärtist"), QStringLiteral("Album"),
                           QStringLiteral("1999"),  QStringLiteral("3/12"),   quint8(8)};
        TagEdit::apply(song, changes);
        const TagFields fields = TagEdit::read(song);
        EXPECT_EQ(fields,
                  (TagFields{QStringLiteral("Tïtle"), QStringLiteral("Ärtist"), QStringLiteral("Album"),
                             QStringLiteral("1999"), QStringLiteral("3/12"), QStringLiteral("Jazz"), 8}));
        EXPECT_EQ(AudioFrames::hash(song), audio);
        // A second edit that fits the room the first one made, and one that clears fields.
        changes = TagChanges();
        changes.album = QString();
        changes.genre = quint8(255);
        TagEdit::apply(song, changes);
        EXPECT_EQ(TagEdit::read(song).album, QString());
        EXPECT_EQ(TagEdit::read(song).genre, QString());
        EXPECT_EQ(TagEdit::read(song).title, QStringLiteral("Tïtle"));
        EXPECT_EQ(AudioFrames::hash(song), audio);
    }
}

TEST_F(TagEditing, SeveralFilesEachKeepTheirOwnUnchangedFields)
{
    const QString a = copy(QStringLiteral("lame-tagged.mp3"));
    const QString b = copy(QStringLiteral("id3v2-v1.mp3"));
    TagChanges changes;
    changes.artist = QStringLiteral("Same Band");
    for (const QString& song : {a, b})
        TagEdit::apply(song, changes);
    EXPECT_EQ(TagEdit::read(a).title, QStringLiteral("Title B"));
    EXPECT_EQ(TagEdit::read(b).title, QStringLiteral("Old Song"));
    EXPECT_EQ(TagEdit::read(a).genre, QStringLiteral("Rock"));
    EXPECT_EQ(TagEdit::read(b).genre, QStringLiteral("Rock"));
    EXPECT_EQ(TagEdit::read(a).artist, QStringLiteral("Same Band"));
    EXPECT_EQ(TagEdit::read(b).artist, QStringLiteral("Same Band"));
}

TEST_F(TagEditing, UndoGivesBackTheVeryBytesAndTime)
{
    for (const char* name : {"cbr.mp3", "id3v2-v1.mp3", "eyed3-v23-latin1.mp3", "lame-tagged.mp3"}) {
        SCOPED_TRACE(name);
        const QString song = copy(QString::fromLatin1(name));
        {
            QFile file(song);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.setFileTime(QDateTime(QDate(2020, 5, 17), QTime(8, 30), QTimeZone::utc()),
                             QFileDevice::FileModificationTime);
        }
        const QByteArray original = AudioFixtures::readFile(song);
        TagChanges changes;
        changes.title = QString(3000, QLatin1Char('x')); // forces a larger room
        changes.genre = quint8(17);
        const TagUndo edit = TagEdit::apply(song, changes);
        ASSERT_NE(AudioFixtures::readFile(song), original);
        TagEdit::undo(edit);
        EXPECT_EQ(AudioFixtures::readFile(song), original);
        EXPECT_EQ(QFileInfo(song).lastModified().toUTC(),
                  QDateTime(QDate(2020, 5, 17), QTime(8, 30), QTimeZone::utc()));
    }
    EXPECT_TRUE(debris().isEmpty());
}

TEST_F(TagEditing, UndoRefusesAFileChangedSinceAndLeavesIt)
{
    const QString song = copy(QStringLiteral("lame-tagged.mp3"));
    TagChanges first;
    first.title = QStringLiteral("First");
    const TagUndo edit = TagEdit::apply(song, first);
    TagChanges second;
    second.artist = QStringLiteral("Someone else");
    TagEdit::apply(song, second);
    const QByteArray now = AudioFixtures::readFile(song);
    EXPECT_THROW(TagEdit::undo(edit), TagError);
    EXPECT_EQ(AudioFixtures::readFile(song), now);
}

TEST_F(TagEditing, TagsItCannotWriteBackRefuseTheEditAndLeaveTheFile)
{
    // A picture, and a title the code page cannot hold while only the artist is edited.
    for (const char* name : {"eyed3-v24-picture.mp3", "eyed3-v23-utf16.mp3"}) {
        SCOPED_TRACE(name);
        const QString song = copy(QString::fromLatin1(name));
        const QByteArray original = AudioFixtures::readFile(song);
        TagChanges changes;
        changes.artist = QStringLiteral("Band");
        try {
            TagEdit::apply(song, changes);
            ADD_FAILURE() << "no error";
        } catch (const TagError& error) {
            EXPECT_TRUE(error.description().contains(QStringLiteral("left as it is"))) << error.what();
        }
        EXPECT_EQ(AudioFixtures::readFile(song), original);
    }
    // Replacing the very text the code page cannot hold is fine.
    const QString song = copy(QStringLiteral("mid3v2-v24-utf8.mp3"));
    const QByteArray audio = AudioFrames::hash(song);
    TagChanges changes;
    changes.title = QStringLiteral("Plain");
    TagEdit::apply(song, changes);
    EXPECT_EQ(TagEdit::read(song).title, QStringLiteral("Plain"));
    EXPECT_EQ(AudioFrames::hash(song), audio);
}

TEST_F(TagEditing, BadValuesAndMissingOrOddFilesAreClearErrors)
{
    const QString song = copy(QStringLiteral("cbr.mp3"));
    const QByteArray original = AudioFixtures::readFile(song);
    TagChanges year;
    year.year = QStringLiteral("19999");
    TagChanges track;
    track.track = QStringLiteral("three");
    TagChanges title;
    title.title = QStringLiteral("Zeichen \u263A");
    for (const TagChanges& changes : {year, track, title}) {
        EXPECT_FALSE(TagEdit::problem(changes).isEmpty());
        EXPECT_THROW(TagEdit::apply(song, changes), TagError);
    }
    EXPECT_EQ(AudioFixtures::readFile(song), original);
    TagChanges fine;
    fine.title = QStringLiteral("x");
    EXPECT_THROW(TagEdit::apply(dir.filePath(QStringLiteral("missing.mp3")), fine), TagError);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("missing.mp3"))));
    EXPECT_THROW(TagEdit::apply(dir.path(), fine), TagError);
    // A named pipe is refused at once rather than waited on.
    const QString pipe = dir.filePath(QStringLiteral("pipe.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_THROW(TagEdit::apply(pipe, fine), TagError);
    EXPECT_THROW(TagEdit::read(pipe), TagError);
    EXPECT_TRUE(debris().isEmpty());
}

TEST_F(TagEditing, ALinkedFileIsEditedWhereItLiesAndTheLinkStays)
{
    const QString song = copy(QStringLiteral("lame-tagged.mp3"));
    const QString link = dir.filePath(QStringLiteral("link.mp3"));
    ASSERT_TRUE(QFile::link(song, link));
    TagChanges changes;
    changes.title = QStringLiteral("Through the link");
    TagEdit::apply(link, changes);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(TagEdit::read(song).title, QStringLiteral("Through the link"));
}

TEST_F(TagEditing, CopiesLeftByAKilledEditAreRemovedByTheNextEditThere)
{
    const QString song = copy(QStringLiteral("cbr.mp3"));
    // No process has this id, a name of ours from a process that was killed, and a user's file.
    const QString stale = dir.filePath(QStringLiteral(".zvd-999999999-abc.tmp"));
    const QString users = dir.filePath(QStringLiteral(".zvd-notes.txt"));
    AudioFixtures::writeFile(dir.path(), QStringLiteral(".zvd-999999999-abc.tmp"), "half a song");
    AudioFixtures::writeFile(dir.path(), QStringLiteral(".zvd-notes.txt"), "mine");
    TagChanges changes;
    changes.title = QStringLiteral("t");
    TagEdit::apply(song, changes);
    EXPECT_FALSE(QFile::exists(stale));
    EXPECT_TRUE(QFile::exists(users));
}

TEST_F(TagEditing, GenreNamesAndNumbersAreLookedUp)
{
    EXPECT_EQ(TagEdit::genreNumber(QStringLiteral("rock")), 17);
    EXPECT_EQ(TagEdit::genreNumber(QStringLiteral("Synth Pop")), 147);
    EXPECT_EQ(TagEdit::genreNumber(QStringLiteral("42")), 42);
    EXPECT_EQ(TagEdit::genreNumber(QStringLiteral("256")), -1);
    EXPECT_EQ(TagEdit::genreNumber(QStringLiteral("Nonsense")), -1);
    EXPECT_EQ(TagEdit::genreList().size(), 147); // 0-147 without the nameless 123
}

} // namespace
