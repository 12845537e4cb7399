// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/TransferProgressDialog.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

namespace
{

TEST(TransferProgressDialog, ABatchOfSeveralFilesShowsFilesAndBytesDone)
{
    TransferProgressDialog dialog(QStringLiteral("Title"), 3000, nullptr);
    EXPECT_TRUE(dialog.fileStarting({QStringLiteral("a.mp3"), 1, 3, 1000}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.fileText(), QStringLiteral("a.mp3"));
    dialog.fileFinished({QStringLiteral("a.mp3"), 1, 3, 1000}, true);
    EXPECT_EQ(dialog.countText(), QStringLiteral("1 of 3 files"));
    EXPECT_EQ(dialog.bytesText(), QStringLiteral("1,000 of 3,000 bytes"));
}

TEST(TransferProgressDialog, CancelStopsBeforeTheNextFile)
{
    TransferProgressDialog dialog(QStringLiteral("Title"), 3000, nullptr);
    EXPECT_TRUE(dialog.fileStarting({QStringLiteral("a.mp3"), 1, 3, 1000}));
    dialog.cancel();
    dialog.fileFinished({QStringLiteral("a.mp3"), 1, 3, 1000}, true);
    EXPECT_FALSE(dialog.fileStarting({QStringLiteral("b.mp3"), 2, 3, 1000}));
    EXPECT_EQ(dialog.countText(), QStringLiteral("1 of 3 files"));
}

TEST(TransferProgressDialog, EscapeOrTheCloseBoxCancelsLikeTheButton)
{
    TransferProgressDialog dialog(QStringLiteral("Title"), 3000, nullptr);
    EXPECT_TRUE(dialog.fileStarting({QStringLiteral("a.mp3"), 1, 3, 1000}));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dialog, &escape);
    EXPECT_TRUE(dialog.cancelled());
    dialog.fileFinished({QStringLiteral("a.mp3"), 1, 3, 1000}, true);
    EXPECT_FALSE(dialog.fileStarting({QStringLiteral("b.mp3"), 2, 3, 1000}));

    TransferProgressDialog closed(QStringLiteral("Title"), 3000, nullptr);
    EXPECT_TRUE(closed.fileStarting({QStringLiteral("a.mp3"), 1, 3, 1000}));
    closed.close();
    EXPECT_TRUE(closed.cancelled());
}

TEST(TransferProgressDialog, AQuickSingleFileShowsNoWindow)
{
    TransferProgressDialog dialog(QStringLiteral("Title"), 10, nullptr);
    EXPECT_TRUE(dialog.fileStarting({QStringLiteral("a.zvd"), 1, 1, 10}));
    dialog.fileFinished({QStringLiteral("a.zvd"), 1, 1, 10}, true);
    EXPECT_FALSE(dialog.isVisible());
}

} // namespace
