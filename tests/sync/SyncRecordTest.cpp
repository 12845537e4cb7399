// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/SyncRecord.h"
#include "sync/SourceFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(SyncRecord, SavesAndLoadsWhatArrivedAndWhatWasPending)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deep/er/record.json"));
    SyncRecord record;
    record.arrived.push_back({QStringLiteral("/m"), QStringLiteral("A/ä.mp3"), QStringLiteral("ä.mp3"),
                              5'000'000'000, 1796744249294, 5'000'001'546,
                              OrderKey{QStringLiteral("X"), QStringLiteral("Y"), 1, 2}});
    // A converted file on its way: its MP3's size is not known yet, its quality is.
    record.pending.push_back({QStringLiteral("/m"),
                              QStringLiteral("b.flac"),
                              QStringLiteral("b.mp3"),
                              1,
                              2,
                              0,
                              {},
                              QStringLiteral("CBR320")});
    QString error;
    ASSERT_TRUE(record.save(path, &error)) << error.toStdString();
    SyncRecord loaded;
    ASSERT_TRUE(loaded.load(path));
    ASSERT_EQ(loaded.arrived.size(), 1u);
    EXPECT_EQ(loaded.arrived[0].name, QStringLiteral("ä.mp3"));
    EXPECT_EQ(loaded.arrived[0].size, 5'000'000'000);
    EXPECT_EQ(loaded.arrived[0].modified, 1796744249294);
    EXPECT_EQ(loaded.arrived[0].key, (OrderKey{QStringLiteral("X"), QStringLiteral("Y"), 1, 2}));
    EXPECT_TRUE(loaded.arrived[0].quality.isEmpty());
    ASSERT_EQ(loaded.pending.size(), 1u);
    EXPECT_EQ(loaded.pending[0].stored, 0);
    EXPECT_EQ(loaded.pending[0].quality, QStringLiteral("CBR320"));
    EXPECT_NE(loaded.find(QStringLiteral("Ä.MP3")), nullptr);
    loaded.put({QStringLiteral("/n"), QStringLiteral("c"), QStringLiteral("ä.MP3"), 1, 1, 1, {}});
    EXPECT_EQ(loaded.arrived.size(), 1u);
    EXPECT_EQ(loaded.find(QStringLiteral("ä.mp3"))->folder, QStringLiteral("/n"));
}

TEST(SyncRecord, MissingIsEmptyAndDamagedIsEmptyWithTheReason)
{
    QTemporaryDir dir;
    SyncRecord record;
    record.arrived.resize(1);
    EXPECT_TRUE(record.load(dir.filePath(QStringLiteral("none.json"))));
    EXPECT_TRUE(record.arrived.empty());

    for (const QByteArray& bytes : {QByteArray("{\"version\":1,\"arrived\":[{\"name\":"), QByteArray("[1,2]"),
                                    QByteArray("{\"version\":9,\"arrived\":[]}")}) {
        const QString path = dir.filePath(QStringLiteral("bad.json"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        QString error;
        record.arrived.resize(1);
        EXPECT_FALSE(record.load(path, &error));
        EXPECT_TRUE(record.arrived.empty());
        EXPECT_TRUE(error.startsWith(path));
    }
    // Entries without a name or with negative sizes could match anything: dropped.
    const QString path = dir.filePath(QStringLiteral("holes.json"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{\"version\":1,\"arrived\":[{\"folder\":\"/m\",\"size\":1,\"stored\":2},"
               "{\"folder\":\"/m\",\"name\":\"a\",\"size\":-1,\"stored\":2},7]}");
    file.close();
    EXPECT_TRUE(record.load(path));
    EXPECT_TRUE(record.arrived.empty());
}

TEST(SyncRecord, FailedWriteLeavesTheOldRecordWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.json"));
    SyncRecord record;
    record.arrived.push_back(
        {QStringLiteral("/m"), QStringLiteral("a"), QStringLiteral("a.mp3"), 1, 1, 1, {}});
    ASSERT_TRUE(record.save(path));
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0500), 0);
    record.arrived.clear();
    QString error;
    const bool saved = record.save(path, &error);
    chmod(QFile::encodeName(dir.path()).constData(), 0700);
    if (geteuid() != 0) { // root writes anyway
        EXPECT_FALSE(saved);
        EXPECT_FALSE(error.isEmpty());
        SyncRecord loaded;
        ASSERT_TRUE(loaded.load(path));
        EXPECT_EQ(loaded.arrived.size(), 1u);
    }
    // Under a plain file no folder can be made.
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(record.save(dir.filePath(QStringLiteral("file/r.json")), &error));
}

TEST(SyncRecord, OnePlayerKeepsItsRecordAsItFills)
{
    MediumInfo empty{};
    empty.bytes[7] = 0x1e; // unit count
    empty.bytes[25] = 2;   // unit size
    MediumInfo filled = empty;
    filled.bytes[5] = 3;  // entries
    filled.bytes[10] = 9; // units in use
    filled.bytes[12] = 7; // units free
    filled.bytes[15] = 1; // firmware present
    EXPECT_EQ(SyncRecord::pathFor(empty), SyncRecord::pathFor(filled));
    MediumInfo bigger = empty;
    bigger.bytes[7] = 0x3c;
    EXPECT_NE(SyncRecord::pathFor(empty), SyncRecord::pathFor(bigger));
    EXPECT_TRUE(SyncRecord::pathFor(empty).startsWith(
        QDir::fromNativeSeparators(qEnvironmentVariable("XDG_DATA_HOME"))));
}

TEST(SourceFolder, WalksSubfoldersInFolderOrderAndLeavesOutWhatIsNoFile)
{
    QTemporaryDir dir;
    QDir root(dir.path());
    for (const char* name : {"b/2.mp3", "a/z.mp3", "A b/1.mp3", "a/Y.mp3", "top.mp3", ".hidden.mp3"}) {
        root.mkpath(QFileInfo(root.filePath(QString::fromLatin1(name))).path());
        QFile file(root.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("abc");
    }
    ASSERT_EQ(mkfifo(QFile::encodeName(root.filePath(QStringLiteral("a/pipe.mp3"))).constData(), 0600), 0);
    // A link back to the top must not make the walk endless.
    ASSERT_TRUE(QFile::link(dir.path(), root.filePath(QStringLiteral("a/loop"))));
    QStringList order;
    for (const SourceFile& f : SourceFolder::scan(dir.path())) {
        order << f.relativePath;
        EXPECT_EQ(f.size, 3);
    }
    EXPECT_EQ(order,
              (QStringList{QStringLiteral("a/Y.mp3"), QStringLiteral("a/z.mp3"), QStringLiteral("A b/1.mp3"),
                           QStringLiteral("b/2.mp3"), QStringLiteral("top.mp3")}));
}
