// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/LocalPath.h"
#include "core/CodePage.h"
#include "core/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

class LocalPathTest : public ::testing::Test
{
protected:
    ~LocalPathTest() override { removeByBytes(dir); }
    // Qt cannot name files whose names are not UTF-8, so QTemporaryDir would leave them behind:
    // the folder goes by its bytes first.
    static void removeByBytes(const QTemporaryDir& folder)
    {
        std::error_code ignored;
        std::filesystem::remove_all(QFile::encodeName(folder.path()).toStdString(), ignored);
    }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(CodePage::setCodePage("CP1252"));
    }
    void TearDown() override { CodePage::setCodePage("CP1252"); }

    QByteArray native(const QByteArray& name) const { return QFile::encodeName(dir.path()) + '/' + name; }

    // A file named byte for byte.
    void writeRaw(const QByteArray& name, const QByteArray& bytes)
    {
        const int fd = ::open(native(name).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
        ::close(fd);
    }

    QString path(const QString& name) const { return dir.path() + QLatin1Char('/') + name; }

    QTemporaryDir dir;
};

// Runs an open that must not wait on the pipe at fifo. Should it wait all the same, a writer
// opened from here lets it return: the test then fails instead of hanging.
template <class Open> auto withoutWaiting(const QByteArray& fifo, Open open)
{
    auto result = std::async(std::launch::async, open);
    if (result.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
        ADD_FAILURE() << "the open waited on the pipe";
        const int writer = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    }
    return result.get();
}

} // namespace

TEST_F(LocalPathTest, NamesReadAsUtf8ElseThroughTheCodePageElseNotAtAll)
{
    EXPECT_EQ(LocalPath::decodeName("caf\xC3\xA9.mp3"), QStringLiteral(u"caf\u00e9.mp3"));
    EXPECT_EQ(LocalPath::decodeName("caf\xE9\xFF.mp3"), QStringLiteral(u"caf\u00e9\u00ff.mp3"));
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    EXPECT_EQ(LocalPath::decodeName("\xC7\xD1.mp3"), QStringLiteral(u"\ud55c.mp3"));
    EXPECT_FALSE(LocalPath::decodeName("\xE9\xFF.mp3")) << "a lead byte without a trail byte";
    EXPECT_EQ(LocalPath::decodeArgument("\xE9\xFF"), QString::fromLocal8Bit("\xE9\xFF"));
}

TEST_F(LocalPathTest, EncodeReachesCodePageNamesAndPrefersTheUtf8Twin)
{
    writeRaw("caf\xE9\xFF.mp3", "old disk");
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral(u"\u00e9t\u00e9")));
    ASSERT_EQ(::mkdir(native("d\xE9j\xE0").constData(), 0755), 0);
    writeRaw("d\xE9j\xE0/inner.txt", "inner");

    EXPECT_EQ(LocalPath::encode(path(QStringLiteral(u"caf\u00e9\u00ff.mp3"))), native("caf\xE9\xFF.mp3"));
    EXPECT_EQ(LocalPath::encode(path(QStringLiteral(u"d\u00e9j\u00e0/inner.txt"))),
              native("d\xE9j\xE0/inner.txt"));
    EXPECT_EQ(LocalPath::encode(path(QStringLiteral(u"\u00e9t\u00e9/new.txt"))),
              native("\xC3\xA9t\xC3\xA9/new.txt"));
    EXPECT_EQ(LocalPath::encode(path(QStringLiteral(u"nouveau-\u00e9.txt"))), native("nouveau-\xC3\xA9.txt"))
        << "a new name is written as UTF-8";
    EXPECT_TRUE(LocalPath::isFolder(path(QStringLiteral(u"d\u00e9j\u00e0"))));

    QByteArray bytes;
    ASSERT_TRUE(RegularFile::readAll(path(QStringLiteral(u"caf\u00e9\u00ff.mp3")), 100, bytes));
    EXPECT_EQ(bytes, QByteArray("old disk"));

    // Both spellings on disk: the UTF-8 one is reached, and the scanner is told to leave the other out.
    writeRaw("caf\xC3\xA9.mp3", "utf-8");
    writeRaw("caf\xE9.mp3", "cp1252");
    EXPECT_EQ(LocalPath::encode(path(QStringLiteral(u"caf\u00e9.mp3"))), native("caf\xC3\xA9.mp3"));
    QString why;
    EXPECT_FALSE(LocalPath::decodeEntryName(QFile::encodeName(dir.path()), "caf\xE9.mp3", &why));
    EXPECT_TRUE(why.contains(QLatin1String("another file"))) << why.toStdString();
    EXPECT_EQ(LocalPath::decodeEntryName(QFile::encodeName(dir.path()), "caf\xE9\xFF.mp3", &why),
              QStringLiteral(u"caf\u00e9\u00ff.mp3"));
}

TEST_F(LocalPathTest, PlayerNamesMustFitTheCodePage)
{
    EXPECT_TRUE(LocalPath::playerNameProblem(QStringLiteral(u"caf\u00e9.mp3")).isEmpty());
    const QString why = LocalPath::playerNameProblem(QStringLiteral(u"\ud55c\uad6d.mp3"));
    EXPECT_TRUE(why.contains(QLatin1String("CP1252"))) << why.toStdString();
    ASSERT_TRUE(CodePage::setCodePage("CP949"));
    EXPECT_TRUE(LocalPath::playerNameProblem(QStringLiteral(u"\ud55c\uad6d.mp3")).isEmpty());
    EXPECT_EQ(LocalPath::escaped("a\xE9\\b"), QStringLiteral("a\\xe9\\x5cb"));
}

TEST_F(LocalPathTest, OnlyRegularFilesOpenAndPipesNeverWait)
{
    const QByteArray fifo = native("pipe.mp3");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    QString why;
    const bool opened = withoutWaiting(fifo, [&] {
        QFile file;
        return RegularFile::open(file, path(QStringLiteral("pipe.mp3")), QIODevice::ReadOnly, &why);
    });
    EXPECT_FALSE(opened);
    EXPECT_EQ(why, QStringLiteral("is a named pipe, not a regular file"));
    EXPECT_EQ(RegularFile::problem(path(QStringLiteral("pipe.mp3"))), why);

    QFile file;
    EXPECT_FALSE(RegularFile::open(file, dir.path(), QIODevice::ReadOnly, &why));
    EXPECT_EQ(why, QStringLiteral("is a folder, not a regular file"));
    EXPECT_FALSE(RegularFile::open(file, path(QStringLiteral("none")), QIODevice::ReadOnly, &why));
    EXPECT_EQ(why, QStringLiteral("No such file or directory"));

    writeRaw("song.mp3", "0123456789");
    ASSERT_TRUE(RegularFile::open(file, path(QStringLiteral("song.mp3")), QIODevice::ReadWrite));
    EXPECT_EQ(file.size(), 10);
    EXPECT_EQ(file.read(4), QByteArray("0123"));
    EXPECT_TRUE(file.seek(8) && file.write("XY") == 2);
    file.close();
    QByteArray bytes;
    EXPECT_FALSE(RegularFile::readAll(path(QStringLiteral("song.mp3")), 9, bytes, &why));
    EXPECT_TRUE(why.contains(QLatin1String("larger than 9 bytes")));
    ASSERT_TRUE(RegularFile::readAll(path(QStringLiteral("song.mp3")), 10, bytes));
    EXPECT_EQ(bytes, QByteArray("01234567XY"));
}
