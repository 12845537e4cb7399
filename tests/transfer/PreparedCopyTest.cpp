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
