// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "PlayerLibrary.h"
#include "vplayer/PlayerControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace
{

class DeviceLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib.loaded());
        ASSERT_EQ(PlayerControl::attach(store), "");
        ASSERT_EQ(lib.TCC730_StartDLL(), 1);
        ASSERT_EQ(lib.TCC730_TestConnection(), 1);
        ASSERT_EQ(lib.TCC730_Open(&handle), 1);
        ASSERT_GT(handle, 0);
    }
    void TearDown() override
    {
        lib.TCC730_Close(handle);
        lib.TCC730_ExitDLL();
    }

    std::int16_t download(const std::string& name, const std::string& bytes)
    {
        return lib.TCC730_Download(nullptr, handle, 0, fixture.pcFile(name, bytes).c_str());
    }
    std::vector<std::string> longNames()
    {
        std::vector<std::string> names;
        for (const ListedEntry& e : lib.list(handle))
            names.push_back(e.longName);
        return names;
    }
    std::string readPc(const std::string& name)
    {
        QFile file(QString::fromStdString(fixture.pcPath(name)));
        return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string("<missing>");
    }
    std::size_t dataFiles() const
    {
        return QDir(QString::fromStdString(fixture.playerFolder() + "/data")).entryList(QDir::Files).size();
    }

    PlayerFixture fixture;
    PlayerStore store{fixture.playerFolder()};
    PlayerLibrary lib;
    std::int32_t handle = 0;
};

TEST_F(DeviceLibrary, EmptyPlayerListsNothingAndReportsTotalZero)
{
    std::int32_t total = -1;
    std::int32_t count = 0;
    PlayerEntry entries[2] = {};
    ASSERT_EQ(lib.TCC730_Refresh(handle, 0, &total, entries, &count), 1);
    EXPECT_EQ(total, 0);
    count = 2;
    ASSERT_EQ(lib.TCC730_Refresh(handle, 0, &total, entries, &count), 1);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(lib.capacity(handle), std::make_pair(std::uint64_t(127795200), std::uint64_t(127795200)));
}

TEST_F(DeviceLibrary, RefreshFillsOnlyTheRoomGivenFromEntryZero)
{
    for (const char* name : {"a.mp3", "b.mp3", "c.mp3"})
        ASSERT_EQ(download(name, "x"), 1);
    std::int32_t total = 0;
    std::int32_t count = 2;
    PlayerEntry entries[3] = {};
    ASSERT_EQ(lib.TCC730_Refresh(handle, 0, &total, entries, &count), 1);
    EXPECT_EQ(total, 3);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(entries[1].bytes[0], 'B');
    EXPECT_EQ(entries[2].bytes[0], 0);
    count = -1;
    EXPECT_EQ(lib.TCC730_Refresh(handle, 0, &total, entries, &count), 0);
    count = 1;
    EXPECT_EQ(lib.TCC730_Refresh(handle, 0, &total, nullptr, &count), 0);
}

TEST_F(DeviceLibrary, DownloadKeepsLongNameAndUploadReturnsTheBytes)
{
    const std::string bytes = "ID3 and some audio bytes";
    ASSERT_EQ(download("My Song.mp3", bytes), 1);
    ASSERT_EQ(download("notes.txt", "n"), 1);
    const auto listed = lib.list(handle);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].shortName, "MYSONG~1.MP3");
    EXPECT_EQ(listed[0].longName, "My Song.mp3");
    EXPECT_EQ(listed[0].size, std::int32_t(bytes.size()));
    EXPECT_EQ(listed[1].shortName, "NOTES.TXT");

    const std::string target = fixture.pcPath("back.mp3");
    ASSERT_EQ(lib.TCC730_Upload(nullptr, handle, 0, 0, target.c_str(), "My Song.mp3", 9, 0), 1);
    EXPECT_EQ(readPc("back.mp3"), bytes.substr(0, 9));
    // The 8.3 name identifies the entry as well as the long name does.
    ASSERT_EQ(lib.TCC730_Upload(nullptr, handle, 0, 0, target.c_str(), "MYSONG~1.MP3", 24, 0), 1);
    EXPECT_EQ(readPc("back.mp3"), bytes);
}

TEST_F(DeviceLibrary, UploadRefusesWrongNameTooManyBytesAndKeepsTheOldFile)
{
    ASSERT_EQ(download("rec.zvd", "12345"), 1);
    const std::string target = fixture.pcFile("rec.zvd", "mine");
    EXPECT_EQ(lib.TCC730_Upload(nullptr, handle, 0, 0, target.c_str(), "other.zvd", 5, 0), 0);
    EXPECT_EQ(lib.TCC730_Upload(nullptr, handle, 0, 0, target.c_str(), "rec.zvd", 6, 0), 0);
    EXPECT_EQ(lib.TCC730_Upload(nullptr, handle, 0, 1, target.c_str(), "", 1, 0), 0);
    EXPECT_EQ(readPc("rec.zvd"), "mine");
    EXPECT_EQ(QDir(QString::fromStdString(fixture.pcPath(""))).entryList(QDir::Files).size(), 1);
}

TEST_F(DeviceLibrary, DownloadRefusesSameNameAnyCaseAndMissingFiles)
{
    ASSERT_EQ(download("Song.MP3", "a"), 1);
    EXPECT_EQ(download("song.mp3", "b"), 0);
    EXPECT_EQ(lib.TCC730_Download(nullptr, handle, 0, fixture.pcPath("absent.mp3").c_str()), 0);
    EXPECT_EQ(lib.TCC730_Download(nullptr, handle, 0, nullptr), 0);
    EXPECT_EQ(longNames(), std::vector<std::string>{"Song.MP3"});
}

TEST_F(DeviceLibrary, NamesFromUtf8PathsAreStoredInTheAnsiCodePage)
{
    // The test environment fixes the program's code page at CP1252.
    ASSERT_EQ(download("caf\xC3\xA9.mp3", "c"), 1);
    EXPECT_EQ(longNames(), std::vector<std::string>{"caf\xE9.mp3"});
    EXPECT_EQ(download("\xE6\x97\xA5\xE6\x9C\xAC.mp3", "j"), 0);
    const std::string target = fixture.pcPath("caf\xC3\xA9 back.mp3");
    EXPECT_EQ(lib.TCC730_Upload(nullptr, handle, 0, 0, target.c_str(), "caf\xE9.mp3", 1, 0), 1);
    EXPECT_EQ(readPc("caf\xC3\xA9 back.mp3"), "c");
    EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, 0, "caf\xE9.mp3"), 1);
}

TEST_F(DeviceLibrary, FreeSpaceShrinksByWholeUnitsAndFullPlayerRefuses)
{
    ASSERT_EQ(PlayerControl::reset(store, 3 * 16384), "");
    EXPECT_EQ(lib.capacity(handle), std::make_pair(std::uint64_t(49152), std::uint64_t(49152)));
    ASSERT_EQ(download("one.txt", "1"), 1);
    EXPECT_EQ(lib.capacity(handle).second, 32768u);
    ASSERT_EQ(download("two.txt", std::string(16385, 'x')), 1);
    EXPECT_EQ(lib.capacity(handle).second, 0u);
    EXPECT_EQ(download("three.txt", "3"), 0);
    ASSERT_EQ(download("empty.txt", ""), 1);
    EXPECT_EQ(longNames(), (std::vector<std::string>{"one.txt", "two.txt", "empty.txt"}));
    EXPECT_EQ(dataFiles(), 3u);
}

TEST_F(DeviceLibrary, DeletionMovesLaterEntriesUp)
{
    for (const char* name : {"0", "1", "2", "3", "4", "5", "6", "7"})
        ASSERT_EQ(download(name, name), 1);
    // Deleting entries 2, 5 and 6 as the program does: indexes 2, 4, 4.
    EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, 2, "2"), 1);
    EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, 4, "5"), 1);
    EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, 4, "6"), 1);
    EXPECT_EQ(longNames(), (std::vector<std::string>{"0", "1", "3", "4", "7"}));
    EXPECT_EQ(dataFiles(), 5u);
    // A stale index (the name no longer matches) deletes nothing.
    EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, 2, "2"), 0);
    EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, 5, nullptr), 0);
    EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, -1, nullptr), 0);
    EXPECT_EQ(longNames().size(), 5u);
}

TEST_F(DeviceLibrary, ReplaceSwapsNeighboursOnly)
{
    for (const char* name : {"a", "b", "c", "d", "e"})
        ASSERT_EQ(download(name, name), 1);
    // The program's drag of entry 1 onto entry 4: (1, 2), (2, 3); "b" ends before "e".
    EXPECT_EQ(lib.TCC730_Replace(handle, 0, 1, 2), 1);
    EXPECT_EQ(lib.TCC730_Replace(handle, 0, 2, 3), 1);
    EXPECT_EQ(longNames(), (std::vector<std::string>{"a", "c", "d", "b", "e"}));
    EXPECT_EQ(lib.TCC730_Replace(handle, 0, 4, 3), 1);
    EXPECT_EQ(longNames(), (std::vector<std::string>{"a", "c", "d", "e", "b"}));
    EXPECT_EQ(lib.TCC730_Replace(handle, 0, 0, 2), 0);
    EXPECT_EQ(lib.TCC730_Replace(handle, 0, 4, 5), 0);
    EXPECT_EQ(lib.TCC730_Replace(handle, 0, 1, 1), 0);
    EXPECT_EQ(lib.TCC730_Replace(handle, 0, -1, 0), 0);
}

TEST_F(DeviceLibrary, RenameNeedsTheCurrentRecordAndAFreeValidName)
{
    ASSERT_EQ(download("Song.mp3", "abc"), 1);
    ASSERT_EQ(download("Other.mp3", "d"), 1);
    auto listed = lib.list(handle);
    PlayerEntry record{};
    std::copy(listed[0].record, listed[0].record + 300, record.bytes);
    EXPECT_EQ(lib.TCC730_Rename(handle, 0, 0, "other.MP3", &record), 0);
    EXPECT_EQ(lib.TCC730_Rename(handle, 0, 0, "bad/name.mp3", &record), 0);
    EXPECT_EQ(lib.TCC730_Rename(handle, 0, 1, "Tune.mp3", &record), 0);
    ASSERT_EQ(lib.TCC730_Rename(handle, 0, 0, "A longer tune.mp3", &record), 1);
    listed = lib.list(handle);
    EXPECT_EQ(listed[0].longName, "A longer tune.mp3");
    EXPECT_EQ(listed[0].shortName, "ALONGE~1.MP3");
    EXPECT_EQ(listed[0].size, 3);
    // The old record no longer describes entry 0.
    EXPECT_EQ(lib.TCC730_Rename(handle, 0, 0, "Again.mp3", &record), 0);
    const std::string target = fixture.pcPath("x");
    EXPECT_EQ(lib.TCC730_Upload(nullptr, handle, 0, 0, target.c_str(), "A longer tune.mp3", 3, 0), 1);
    EXPECT_EQ(readPc("x"), "abc");
}

TEST_F(DeviceLibrary, FormatsEmptyThePlayer)
{
    ASSERT_EQ(download("a.mp3", std::string(40000, 'a')), 1);
    ASSERT_EQ(download("b.zvd", "b"), 1);
    ASSERT_EQ(lib.TCC730_Format(nullptr, handle, 0), 1);
    EXPECT_TRUE(longNames().empty());
    EXPECT_EQ(lib.capacity(handle).second, 127795200u);
    EXPECT_EQ(dataFiles(), 0u);
    ASSERT_EQ(download("c.txt", "c"), 1);
    // A stray file from an interrupted transfer goes with the low-level format.
    fixture.pcFile("stray", "s");
    QFile::copy(QString::fromStdString(fixture.pcPath("stray")),
                QString::fromStdString(fixture.playerFolder() + "/data/incoming-1-1.part"));
    const QString incoming = QString::fromStdString(fixture.playerFolder() + "/incoming");
    ASSERT_TRUE(QDir().mkpath(incoming));
    QFile::copy(QString::fromStdString(fixture.pcPath("stray")), incoming + "/incoming-1-2.part");
    ASSERT_EQ(lib.TCC730_FormatLow(nullptr, handle, 0), 1);
    EXPECT_TRUE(longNames().empty());
    EXPECT_EQ(dataFiles(), 0u);
    EXPECT_TRUE(QDir(incoming).entryList(QDir::Files).isEmpty());
}

TEST_F(DeviceLibrary, DetachedPlayerFailsEveryCallThatNeedsAConnection)
{
    ASSERT_EQ(download("a.mp3", "a"), 1);
    ASSERT_EQ(PlayerControl::detach(store), "");
    EXPECT_EQ(lib.TCC730_TestConnection(), 0);
    std::int32_t other = 0;
    EXPECT_EQ(lib.TCC730_Open(&other), 0);
    std::int32_t total = 0;
    std::int32_t count = 0;
    std::uint8_t info[62] = {};
    EXPECT_EQ(lib.TCC730_Refresh(handle, 0, &total, nullptr, &count), 0);
    EXPECT_EQ(lib.TCC730_GetMediumInfo(handle, 0, info), 0);
    EXPECT_EQ(download("b.mp3", "b"), 0);
    EXPECT_EQ(lib.TCC730_Delete(nullptr, handle, 0, 0, "a.mp3"), 0);
    EXPECT_EQ(lib.TCC730_Format(nullptr, handle, 0), 0);
    // Plugged in again, the old connection stays dead; a new one works.
    ASSERT_EQ(PlayerControl::attach(store), "");
    EXPECT_EQ(lib.TCC730_Refresh(handle, 0, &total, nullptr, &count), 0);
    ASSERT_EQ(lib.TCC730_Open(&other), 1);
    EXPECT_NE(other, handle);
    EXPECT_EQ(lib.list(other).size(), 1u);
    EXPECT_EQ(lib.TCC730_Close(other), 1);
    EXPECT_EQ(lib.TCC730_Close(other), 0);
}

TEST_F(DeviceLibrary, HandlesAndMediaAreValidated)
{
    std::int32_t total = 0;
    std::int32_t count = 0;
    for (const std::int32_t bad : {0, -1, handle + 1000})
        EXPECT_EQ(lib.TCC730_Refresh(bad, 0, &total, nullptr, &count), 0) << bad;
    EXPECT_EQ(lib.TCC730_Refresh(handle, 1, &total, nullptr, &count), 0);
    EXPECT_EQ(lib.TCC730_Open(nullptr), 0);
    EXPECT_EQ(lib.TCC730_GetMediumInfo(handle, 0, nullptr), 0);
    // Shutting the library down closes every connection.
    ASSERT_EQ(lib.TCC730_ExitDLL(), 1);
    EXPECT_EQ(lib.TCC730_Refresh(handle, 0, &total, nullptr, &count), 0);
}

TEST_F(DeviceLibrary, InjectedFailureHitsTheNthCallOnly)
{
    ASSERT_EQ(PlayerControl::armFailure(store, "TCC730_Refresh", 2), "");
    ASSERT_EQ(PlayerControl::armFailure(store, "testconnection", 1), "");
    std::int32_t total = 0;
    std::int32_t count = 0;
    EXPECT_EQ(lib.TCC730_Refresh(handle, 0, &total, nullptr, &count), 1);
    EXPECT_EQ(lib.TCC730_Refresh(handle, 0, &total, nullptr, &count), 0);
    EXPECT_EQ(lib.TCC730_Refresh(handle, 0, &total, nullptr, &count), 1);
    EXPECT_EQ(lib.TCC730_TestConnection(), 0);
    EXPECT_EQ(lib.TCC730_TestConnection(), 1);
    ASSERT_EQ(PlayerControl::armFailure(store, "Download", 1), "");
    EXPECT_EQ(download("a.mp3", "a"), 0);
    EXPECT_EQ(download("a.mp3", "a"), 1);
    EXPECT_EQ(dataFiles(), 1u);
    EXPECT_NE(PlayerControl::armFailure(store, "Explode", 1), "");
}

TEST_F(DeviceLibrary, FirmwareIsConvertedAndKeptUnderItsName)
{
    const std::string hex = fixture.pcFile("NEW.ZVF", ":0400000001020304F2\n:00000001FF\n");
    const std::string image = fixture.pcPath("~temp.bin");
    ASSERT_EQ(lib.ConvertHexToBin(hex.c_str(), image.c_str(), 8192), 1);
    EXPECT_EQ(readPc("~temp.bin").size(), 8192u);
    EXPECT_EQ(readPc("~temp.bin").substr(0, 5), std::string("\x01\x02\x03\x04\xFF", 5));
    ASSERT_EQ(lib.TCC730_UpgradeFirmware(nullptr, handle, 0, 0, image.c_str(), hex.c_str()), 1);
    QFile kept(QString::fromStdString(fixture.playerFolder() + "/firmware/NEW.ZVF"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll().size(), 8192);

    const std::string bad = fixture.pcFile("BAD.ZVF", ":0400000001020304F3\n:00000001FF\n");
    const std::string badImage = fixture.pcPath("bad.bin");
    EXPECT_EQ(lib.ConvertHexToBin(bad.c_str(), badImage.c_str(), 8192), 0);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(badImage)));
    EXPECT_EQ(lib.ConvertHexToBin(hex.c_str(), badImage.c_str(), 0), 0);
    EXPECT_EQ(lib.TCC730_UpgradeFirmware(nullptr, handle, 0, 0, badImage.c_str(), bad.c_str()), 0);
}

} // namespace

// Bytes a killed PC program was sending are removed when the player is opened next; the parts
// of a process that still runs, and any file of another name, stay.
TEST_F(DeviceLibrary, OpeningRemovesTheIncomingPartsOfProcessesThatAreGone)
{
    const QDir data(QString::fromStdString(fixture.playerFolder() + "/incoming"));
    ASSERT_TRUE(data.mkpath(QStringLiteral(".")));
    const QString live = QStringLiteral("incoming-%1-1.part").arg(QCoreApplication::applicationPid());
    const QStringList names{QStringLiteral("incoming-999999999-3.part"), live,
                            QStringLiteral("incoming-x-1.part"), QStringLiteral("notes.part")};
    for (const QString& name : names) {
        QFile file(data.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("partial");
    }
    std::int32_t second = 0;
    ASSERT_EQ(lib.TCC730_Open(&second), 1);
    QStringList left = data.entryList(QDir::Files);
    left.sort();
    QStringList expected{live, QStringLiteral("incoming-x-1.part"), QStringLiteral("notes.part")};
    expected.sort();
    EXPECT_EQ(left, expected);
    lib.TCC730_Close(second);
    for (const QString& name : expected)
        QFile::remove(data.filePath(name));
}
