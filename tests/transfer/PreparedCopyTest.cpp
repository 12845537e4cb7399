// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The prepared copy of a music file: the source's bytes, whole and in order, then the block;
// sources that are no regular file fail without waiting and leave nothing behind.
#include "transfer/PreparedCopy.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <utility>

namespace
{

QByteArray patterned(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 31 + i / 4099);
    return bytes;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PreparedCopy, HoldsTheWholeSourceThenTheBlock)
{
    QTemporaryDir dir;
    // Empty, shorter than the head, and longer than the hand copy's chunk (the kernel's part and
    // a hand-copied rest must meet without a gap).
    for (const qsizetype size : {qsizetype(0), qsizetype(100), qsizetype(3 * 1024 * 1024 + 7)}) {
        const QByteArray source = patterned(size);
        const QString path = dir.filePath(QStringLiteral("song %1.mp3").arg(size));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(source), size);
        file.close();

        QByteArray seenHead;
        qint64 seenSize = -1;
        PreparedCopy copy;
        ASSERT_TRUE(copy.make(path, 4096, [&](const QByteArray& head, qint64 sourceSize) {
            seenHead = head;
            seenSize = sourceSize;
            return QByteArray("BLOCK");
        })) << qPrintable(copy.error());
        EXPECT_EQ(QFileInfo(copy.path()).fileName(), QFileInfo(path).fileName());
        EXPECT_EQ(seenHead, source.left(4096)) << size;
        EXPECT_EQ(seenSize, size);
        EXPECT_TRUE(contents(copy.path()) == source + "BLOCK") << size;
        EXPECT_EQ(contents(path), source); // the source is only read
    }
}

// A batch writes each song over the file of the one before: a shorter song must not keep the
// longer one's tail, the earlier name must be gone, and a failure in between starts afresh.
TEST(PreparedCopy, EachCopyOfABatchHoldsOnlyItsOwnSource)
{
    QTemporaryDir dir;
    const auto source = [&](const QString& name, qsizetype size, int seed) {
        QByteArray bytes = patterned(size);
        for (char& c : bytes)
            c = char(c + seed);
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == size);
        return std::make_pair(file.fileName(), bytes);
    };
    const auto longer = source(QStringLiteral("long.mp3"), 2 * 1024 * 1024 + 3, 1);
    const auto shorter = source(QStringLiteral("short.mp3"), 5000, 2);
    const auto empty = source(QStringLiteral("empty.mp3"), 0, 3);
    QTemporaryDir other;
    QFile sameName(other.filePath(QStringLiteral("short.mp3")));
    ASSERT_TRUE(sameName.open(QIODevice::WriteOnly));
    sameName.write("another short song");
    sameName.close();

    PreparedCopy copy;
    const auto block = [](const QByteArray&, qint64 size) { return "BLOCK" + QByteArray::number(size); };
    QString folder;
    const auto madeAlone = [&](const QString& path, const QByteArray& expected) {
        ASSERT_TRUE(copy.make(path, 4096, block)) << qPrintable(copy.error());
        EXPECT_EQ(QFileInfo(copy.path()).fileName(), QFileInfo(path).fileName());
        EXPECT_TRUE(contents(copy.path()) == expected + "BLOCK" + QByteArray::number(expected.size()))
            << qPrintable(path);
        // One file in one private folder, whatever came before.
        folder = QFileInfo(copy.path()).absolutePath();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{QFileInfo(path).fileName()});
    };
    madeAlone(longer.first, longer.second);
    const QString firstFolder = folder;
    madeAlone(shorter.first, shorter.second);
    madeAlone(sameName.fileName(), QByteArray("another short song"));
    madeAlone(empty.first, empty.second);
    madeAlone(longer.first, longer.second);
    EXPECT_EQ(folder, firstFolder);

    // A source that cannot be read: nothing of ours stays, and the next copy is whole.
    EXPECT_FALSE(copy.make(dir.filePath(QStringLiteral("missing.mp3")), 4096, block));
    EXPECT_TRUE(copy.path().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(firstFolder));
    madeAlone(shorter.first, shorter.second);

    const QString last = copy.path();
    {
        PreparedCopy gone;
        ASSERT_TRUE(gone.make(empty.first, 4096, block));
        folder = QFileInfo(gone.path()).absolutePath();
    }
    EXPECT_FALSE(QFileInfo::exists(folder)) << "the batch's end removes its copy and folder";
    EXPECT_TRUE(QFileInfo::exists(last)) << "another batch's copy is its own";
}

TEST(PreparedCopy, APipeOrAFolderIsRefusedAndLeavesNothing)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("pipe.mp3"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.mp3")));
    for (const QString& path :
         {pipe, dir.filePath(QStringLiteral("folder.mp3")), dir.filePath(QStringLiteral("missing.mp3"))}) {
        PreparedCopy copy;
        bool asked = false;
        EXPECT_FALSE(copy.make(path, 4096, [&](const QByteArray&, qint64) {
            asked = true;
            return QByteArray("BLOCK");
        })) << qPrintable(path);
        EXPECT_FALSE(asked);
        EXPECT_FALSE(copy.error().isEmpty());
        EXPECT_TRUE(copy.path().isEmpty());
    }
}

} // namespace
