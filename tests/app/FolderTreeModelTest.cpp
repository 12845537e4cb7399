// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/FolderTreeModel.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace
{

QStringList childNames(const FolderTreeModel& model, const QModelIndex& parent)
{
    QStringList names;
    for (int row = 0; row < model.rowCount(parent); ++row)
        names << model.index(row, 0, parent).data().toString();
    return names;
}

struct FolderTree : ::testing::Test {
    QTemporaryDir dir;
    QString root = dir.path();
    FolderTreeModel model;

    void touch(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
};

// Only folders show, hidden ones not, in name order with letter case ignored; files, pipes and
// links to files are skipped, a link to a folder shows as one.
TEST_F(FolderTree, ListsOnlyVisibleFoldersInNameOrder)
{
    for (const char* name : {"b", "A", "c", ".hidden"})
        ASSERT_TRUE(QDir(root).mkdir(QString::fromLatin1(name)));
    for (int n = 0; n < 500; ++n)
        touch(root + QStringLiteral("/song %1.mp3").arg(n));
    ASSERT_EQ(::mkfifo(QFile::encodeName(root + "/pipe").constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(root + "/c", root + "/link to c"));
    ASSERT_TRUE(QFile::link(root + "/song 1.mp3", root + "/link to a song"));

    QSignalSpy loaded(&model, &FolderTreeModel::directoryLoaded);
    const QModelIndex folder = model.index(root);
    ASSERT_TRUE(folder.isValid());
    EXPECT_EQ(model.filePath(folder), QDir::cleanPath(root));
    EXPECT_TRUE(model.hasChildren(folder)); // not read yet: it may hold folders
    ASSERT_TRUE(model.canFetchMore(folder));
    model.fetchMore(folder);
    EXPECT_FALSE(model.canFetchMore(folder));
    EXPECT_EQ(childNames(model, folder), QStringList({"A", "b", "c", "link to c"}));
    ASSERT_FALSE(loaded.isEmpty());
    EXPECT_EQ(loaded.last().at(0).toString(), QDir::cleanPath(root));

    const QModelIndex b = model.index(1, 0, folder);
    EXPECT_EQ(model.filePath(b), QDir::cleanPath(root) + "/b");
    EXPECT_EQ(model.parent(b), folder);
    model.fetchMore(b);
    EXPECT_FALSE(model.hasChildren(b)); // read and empty: no sign to open it
}

// A path leads through every folder on the way; what is no folder has no row.
TEST_F(FolderTree, PathsFindTheirRowsAndNothingElseDoes)
{
    ASSERT_TRUE(QDir(root).mkpath("one/two/three"));
    touch(root + "/one/file");
    const QModelIndex three = model.index(QDir::toNativeSeparators(root + "/one/two/three/"));
    ASSERT_TRUE(three.isValid());
    EXPECT_EQ(three.data().toString(), QStringLiteral("three"));
    EXPECT_EQ(model.filePath(model.parent(model.parent(three))), QDir::cleanPath(root) + "/one");
    EXPECT_EQ(model.index(root + "/one/two/three"), three) << "the same row when asked again";
    EXPECT_FALSE(model.index(root + "/one/file").isValid());
    EXPECT_FALSE(model.index(root + "/one/missing").isValid());
    EXPECT_FALSE(model.index(QString()).isValid());
    // Up to the top of the tree.
    QModelIndex top = three;
    while (model.parent(top).isValid())
        top = model.parent(top);
    EXPECT_EQ(model.filePath(top), QDir::rootPath());
}

// Folders made after their parent was read: asked for by path they get their row; reading the
// parent again adds them and drops the ones removed.
TEST_F(FolderTree, LaterChangesShowWhenAskedForOrReadAgain)
{
    ASSERT_TRUE(QDir(root).mkpath("keep"));
    ASSERT_TRUE(QDir(root).mkpath("gone"));
    const QModelIndex folder = model.index(root);
    model.fetchMore(folder);
    ASSERT_EQ(childNames(model, folder), QStringList({"gone", "keep"}));

    ASSERT_TRUE(QDir(root).mkpath("new"));
    const QModelIndex made = model.index(root + "/new");
    ASSERT_TRUE(made.isValid());
    EXPECT_EQ(childNames(model, folder), QStringList({"gone", "keep", "new"}));
    EXPECT_EQ(made.row(), 2);

    ASSERT_TRUE(QDir(root).rmdir("gone"));
    ASSERT_TRUE(QDir(root).mkpath("also"));
    model.refresh(folder); // read moments ago: not again yet
    EXPECT_EQ(childNames(model, folder), QStringList({"gone", "keep", "new"}));
    ::sleep(2);
    model.refresh(folder);
    EXPECT_EQ(childNames(model, folder), QStringList({"also", "keep", "new"}));
    EXPECT_EQ(model.filePath(model.index(2, 0, folder)), QDir::cleanPath(root) + "/new");
}

// A folder that cannot be read, or that went away after its row was made, has no subfolders.
TEST_F(FolderTree, FolderGoneOrUnreadableHasNoSubfolders)
{
    ASSERT_TRUE(QDir(root).mkpath("vanishing/inner"));
    const QModelIndex vanishing = model.index(root + "/vanishing");
    ASSERT_TRUE(vanishing.isValid());
    ASSERT_TRUE(QDir(root + "/vanishing").removeRecursively());
    model.fetchMore(vanishing);
    EXPECT_EQ(model.rowCount(vanishing), 0);
    EXPECT_FALSE(model.hasChildren(vanishing));
}

} // namespace
