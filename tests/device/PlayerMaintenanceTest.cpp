// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/PlayerMaintenance.h"
#include "DeviceTestSupport.h"
#include "core/AppPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace PlayerMaintenance;

class MaintenanceTest : public PlayerFixture
{
protected:
    void SetUp() override
    {
        addEntries({{"NOTE", "TXT", 40, ""}});
        connect(PlayerView::Hdd);
    }

    QStringList leftoverImages() const
    {
        return QDir(AppPaths::tempFolder())
            .entryList({QStringLiteral("*~temp*.bin")}, QDir::Files | QDir::Hidden);
    }
};

TEST_F(MaintenanceTest, NoToLowLevelFormatLeavesThePlayerAlone)
{
    prompt.answer = false;
    EXPECT_EQ(LowLevelFormat(session, prompt), Outcome::Declined);
    EXPECT_EQ(prompt.questions, QStringList{QStringLiteral("Low format?")});
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_EQ(session.list().count(), 1);
}

TEST_F(MaintenanceTest, LowLevelFormatEmptiesAndRelists)
{
    EXPECT_EQ(LowLevelFormat(session, prompt), Outcome::Done);
    EXPECT_EQ(fake.callsOf("FormatLow").size(), 1u);
    EXPECT_EQ(session.list().count(), 0);
}

TEST_F(PlayerFixture, MaintenanceWithoutPlayerAsksNothing)
{
    fake.connection = 0;
    session.tick();
    EXPECT_EQ(LowLevelFormat(session, prompt), Outcome::NotConnected);
    EXPECT_EQ(UpgradeFirmware(session, prompt, QStringLiteral("/some/file.ZVF")), Outcome::NotConnected);
    EXPECT_TRUE(prompt.questions.isEmpty());
    EXPECT_TRUE(prompt.messages.isEmpty());
}

TEST_F(MaintenanceTest, CompletedUpgradeShowsTheNoticeAndLeavesNoImage)
{
    EXPECT_EQ(UpgradeFirmware(session, prompt, QStringLiteral("/fw/new.ZVF")), Outcome::Done);
    const auto converts = fake.callsOf("ConvertHexToBin");
    ASSERT_EQ(converts.size(), 1u);
    EXPECT_EQ(converts[0].numbers[0], 8192);
    EXPECT_EQ(converts[0].text, "/fw/new.ZVF");
    ASSERT_EQ(fake.callsOf("UpgradeFirmware").size(), 1u);
    EXPECT_EQ(prompt.messages, QStringList{QStringLiteral("Upgraded")});
    EXPECT_EQ(prompt.icons.value(0), Prompt::Icon::Information);
    EXPECT_TRUE(leftoverImages().isEmpty());
}

TEST_F(MaintenanceTest, ConversionWithoutImageSkipsTheUpgradeAndReportsFailure)
{
    fake.convertWritesImage = false;
    EXPECT_EQ(UpgradeFirmware(session, prompt, QStringLiteral("/fw/new.ZVF")), Outcome::Failed);
    EXPECT_TRUE(fake.callsOf("UpgradeFirmware").empty());
    EXPECT_EQ(prompt.messages, QStringList{texts.firmFail});
    EXPECT_TRUE(leftoverImages().isEmpty());
}

TEST_F(MaintenanceTest, ConversionOrUpgradeReportingFailureIsNotCalledSuccess)
{
    fake.convertSucceeds = false;
    EXPECT_EQ(UpgradeFirmware(session, prompt, QStringLiteral("/fw/new.ZVF")), Outcome::Failed);
    EXPECT_TRUE(fake.callsOf("UpgradeFirmware").empty());
    fake.convertSucceeds = true;
    fake.upgradeSucceeds = false;
    EXPECT_EQ(UpgradeFirmware(session, prompt, QStringLiteral("/fw/new.ZVF")), Outcome::Failed);
    EXPECT_EQ(prompt.messages, (QStringList{texts.firmFail, texts.firmFail}));
    EXPECT_TRUE(leftoverImages().isEmpty());
}

TEST_F(MaintenanceTest, FirmwareThatIsAPipeIsRefusedBeforeTheLibraryOpensIt)
{
    QTemporaryDir dir;
    const QString pipe = dir.filePath(QStringLiteral("new.ZVF"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    EXPECT_EQ(UpgradeFirmware(session, prompt, pipe), Outcome::Failed);
    EXPECT_TRUE(fake.callsOf("ConvertHexToBin").empty());
    ASSERT_EQ(prompt.messages.size(), 1);
    EXPECT_TRUE(prompt.messages[0].contains(QLatin1String("named pipe"))) << prompt.messages[0].toStdString();
}
