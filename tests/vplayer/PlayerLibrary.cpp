// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "PlayerLibrary.h"

#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <dlfcn.h>

PlayerLibrary::PlayerLibrary()
{
    const QByteArray path =
        QDir(TestEnvironment::binDir()).filePath(QStringLiteral("libZVD_USB.so")).toLocal8Bit();
    m_library = ::dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!m_library)
        return;
#define ZVD_RESOLVE(name) name = reinterpret_cast<decltype(name)>(::dlsym(m_library, #name));
    ZVD_RESOLVE(TCC730_StartDLL)
    ZVD_RESOLVE(TCC730_ExitDLL)
    ZVD_RESOLVE(TCC730_TestConnection)
    ZVD_RESOLVE(TCC730_Open)
    ZVD_RESOLVE(TCC730_Close)
    ZVD_RESOLVE(TCC730_GetMediumInfo)
    ZVD_RESOLVE(TCC730_Refresh)
    ZVD_RESOLVE(TCC730_Rename)
    ZVD_RESOLVE(TCC730_Replace)
    ZVD_RESOLVE(TCC730_Delete)
    ZVD_RESOLVE(TCC730_Download)
    ZVD_RESOLVE(TCC730_Upload)
    ZVD_RESOLVE(TCC730_Format)
    ZVD_RESOLVE(TCC730_FormatLow)
    ZVD_RESOLVE(ConvertHexToBin)
    ZVD_RESOLVE(TCC730_UpgradeFirmware)
#undef ZVD_RESOLVE
}

PlayerLibrary::~PlayerLibrary()
{
    if (m_library)
        ::dlclose(m_library);
}

std::vector<ListedEntry> PlayerLibrary::list(std::int32_t handle)
{
    std::vector<ListedEntry> listed;
    std::int32_t total = -1;
    std::int32_t count = 0;
    PlayerEntry probe[2] = {};
    EXPECT_EQ(TCC730_Refresh(handle, 0, &total, probe, &count), 1);
    EXPECT_EQ(count, 0);
    const std::int32_t room = total < 1 ? 2 : total;
    std::vector<PlayerEntry> entries(std::size_t(room), PlayerEntry{});
    count = room;
    EXPECT_EQ(TCC730_Refresh(handle, 0, &total, entries.data(), &count), 1);
    for (std::int32_t i = 0; i < count; ++i) {
        const std::uint8_t* r = entries[std::size_t(i)].bytes;
        ListedEntry entry{};
        const auto text = [&](int at, std::size_t limit) {
            std::string s(reinterpret_cast<const char*>(r + at), limit);
            return s.substr(0, s.find('\0'));
        };
        entry.shortName = text(0, 8) + "." + text(9, 8);
        entry.size = std::int32_t(r[32] | r[33] << 8 | r[34] << 16 | std::uint32_t(r[35]) << 24);
        entry.longName = text(36, 260);
        std::copy(r, r + 300, entry.record);
        listed.push_back(entry);
    }
    return listed;
}

std::pair<std::uint64_t, std::uint64_t> PlayerLibrary::capacity(std::int32_t handle)
{
    std::uint8_t info[62] = {};
    EXPECT_EQ(TCC730_GetMediumInfo(handle, 0, info), 1);
    const auto word = [&](int at) { return std::uint64_t(info[at]) * 256 + info[at + 1]; };
    const std::uint64_t unit = std::uint64_t(info[28]) * info[27] * word(25);
    return {word(7) * unit, (word(7) - word(9)) * unit};
}

PlayerFixture::PlayerFixture()
{
    QDir(m_dir.path()).mkpath(QStringLiteral("pc"));
    qputenv("ZVD_PLAYER_DIR", QDir(m_dir.path()).filePath(QStringLiteral("player")).toLocal8Bit());
}

std::string PlayerFixture::playerFolder() const
{
    return QDir(m_dir.path()).filePath(QStringLiteral("player")).toStdString();
}

std::string PlayerFixture::pcPath(const std::string& name) const
{
    return QDir(m_dir.path())
        .filePath(QStringLiteral("pc/") + QString::fromLocal8Bit(name.c_str()))
        .toStdString();
}

std::string PlayerFixture::pcFile(const std::string& name, const std::string& bytes) const
{
    const std::string path = pcPath(name);
    QFile file(QString::fromLocal8Bit(path.c_str()));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
    return path;
}

int PlayerFixture::zvdsim(const QStringList& arguments) const
{
    QProcess process;
    process.start(QDir(TestEnvironment::binDir()).filePath(QStringLiteral("zvdsim")), arguments);
    if (!process.waitForFinished(60000))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}
