// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/mTCC730.h"

#include "core/AppPaths.h"
#include "core/CodePage.h"
#include "core/LocalPath.h"
#include "device/DeviceHost.h"
#include "device/SharedLibrary.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace
{

template <typename Function>
void resolve(const SharedLibrary& library, const char* name, Function& slot, QStringList& missing)
{
    void* address = library.symbol(name);
    if (!address)
        missing << QLatin1String(name);
    slot = reinterpret_cast<Function>(address);
}

// A function the table lacks fails like a failed call, so a partial fake stays harmless.
template <typename Function, typename... Args> int16_t invoke(Function function, Args... args)
{
    return function ? function(args...) : int16_t(0);
}

} // namespace

mTCC730::mTCC730() = default;

mTCC730::mTCC730(const DeviceFunctions& table) : m_functions(table), m_loaded(true) {}

mTCC730::~mTCC730() = default;

QString mTCC730::libraryPath(const QString& requested)
{
    if (!requested.isEmpty())
        return requested;
    const QString fromEnvironment = qEnvironmentVariable("ZVD_USB_LIBRARY");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
#ifdef _WIN32
    return QDir(AppPaths::programFolder()).filePath(QStringLiteral("ZVD_USB.DLL"));
#else
    return QDir(AppPaths::programFolder()).filePath(QStringLiteral("libZVD_USB.so"));
#endif
}

bool mTCC730::load(const QString& path)
{
    m_functions = {};
    m_loaded = false;
    // A library the program cannot load itself (a 32-bit DLL in a 64-bit ZVD) is served by a host.
    if (const QString hostCommand = DeviceHost::commandFor(path); !hostCommand.isEmpty()) {
        DeviceHost& host = DeviceHost::instance();
        if (!host.start(hostCommand)) {
            m_error = host.stopReason() + QStringLiteral(". ZVD runs without a player.");
            return false;
        }
        m_functions = DeviceHost::functions();
        m_loaded = true;
        m_error.clear();
        return true;
    }
    auto library = std::make_unique<SharedLibrary>();
    const QString shown = QDir::toNativeSeparators(path);
    if (!library->open(path)) {
        m_error = QStringLiteral("The device library %1 could not be loaded (%2). ZVD runs without a player.")
                      .arg(shown, library->errorText());
        return false;
    }
    DeviceFunctions table{};
    QStringList missing;
    resolve(*library, "TCC730_StartDLL", table.StartDLL, missing);
    resolve(*library, "TCC730_ExitDLL", table.ExitDLL, missing);
    resolve(*library, "TCC730_TestConnection", table.TestConnection, missing);
    resolve(*library, "TCC730_Open", table.Open, missing);
    resolve(*library, "TCC730_Close", table.Close, missing);
    resolve(*library, "TCC730_GetMediumInfo", table.GetMediumInfo, missing);
    resolve(*library, "TCC730_Refresh", table.Refresh, missing);
    resolve(*library, "TCC730_Rename", table.Rename, missing);
    resolve(*library, "TCC730_Replace", table.Replace, missing);
    resolve(*library, "TCC730_Delete", table.Delete, missing);
    resolve(*library, "TCC730_Download", table.Download, missing);
    resolve(*library, "TCC730_Upload", table.Upload, missing);
    resolve(*library, "TCC730_Format", table.Format, missing);
    resolve(*library, "TCC730_FormatLow", table.FormatLow, missing);
    resolve(*library, "ConvertHexToBin", table.ConvertHexToBin, missing);
    resolve(*library, "TCC730_UpgradeFirmware", table.UpgradeFirmware, missing);
    if (!missing.isEmpty()) {
        m_error = QStringLiteral("The device library %1 lacks the function(s) %2. ZVD runs without a player.")
                      .arg(shown, missing.join(QStringLiteral(", ")));
        return false;
    }
    m_library = std::move(library);
    m_functions = table;
    m_loaded = true;
    m_error.clear();
    return true;
}

QByteArray mTCC730::pathBytes(const QString& path)
{
#ifdef _WIN32
    return CodePage::fromUnicode(QDir::toNativeSeparators(path));
#else
    // The bytes on disk, also for names in the code page rather than UTF-8.
    return LocalPath::encode(path);
#endif
}

QByteArray mTCC730::nameBytes(const QString& name)
{
    return CodePage::fromUnicode(name);
}

bool mTCC730::StartDLL()
{
    return invoke(m_functions.StartDLL) != 0;
}
bool mTCC730::ExitDLL()
{
    return invoke(m_functions.ExitDLL) != 0;
}
int mTCC730::TestConnection()
{
    return invoke(m_functions.TestConnection);
}

bool mTCC730::Open(int32_t& handle)
{
    handle = 0;
    return invoke(m_functions.Open, &handle) != 0;
}

bool mTCC730::Close(int32_t handle)
{
    return invoke(m_functions.Close, handle) != 0;
}

bool mTCC730::GetMediumInfo(int32_t handle, int32_t medium, MediumInfo& info)
{
    return invoke(m_functions.GetMediumInfo, handle, medium, info.bytes) != 0;
}

bool mTCC730::Refresh(int32_t handle, int32_t medium, int32_t& total, PlayerEntry* entries, int32_t& count)
{
    return invoke(m_functions.Refresh, handle, medium, &total, entries, &count) != 0;
}

bool mTCC730::Rename(int32_t handle, int32_t medium, int32_t index, const QString& newName,
                     PlayerEntry& entry)
{
    const QByteArray name = nameBytes(newName);
    return invoke(m_functions.Rename, handle, medium, index, name.constData(), &entry) != 0;
}

bool mTCC730::Replace(int32_t handle, int32_t medium, int32_t a, int32_t b)
{
    return invoke(m_functions.Replace, handle, medium, a, b) != 0;
}

bool mTCC730::Delete(void* owner, int32_t handle, int32_t medium, int32_t index, const QString& name)
{
    const QByteArray bytes = nameBytes(name);
    return invoke(m_functions.Delete, owner, handle, medium, index, bytes.constData()) != 0;
}

bool mTCC730::Download(void* owner, int32_t handle, int32_t medium, const QString& pcPath)
{
    const QByteArray path = pathBytes(pcPath);
    return invoke(m_functions.Download, owner, handle, medium, path.constData()) != 0;
}

bool mTCC730::Upload(void* owner, int32_t handle, int32_t medium, int32_t index, const QString& pcPath,
                     const QString& name, int32_t byteCount)
{
    const QByteArray path = pathBytes(pcPath);
    const QByteArray bytes = nameBytes(name);
    return invoke(m_functions.Upload, owner, handle, medium, index, path.constData(), bytes.constData(),
                  byteCount, int32_t(0)) != 0;
}

bool mTCC730::Format(void* owner, int32_t handle, int32_t medium)
{
    return invoke(m_functions.Format, owner, handle, medium) != 0;
}

bool mTCC730::FormatLow(void* owner, int32_t handle, int32_t medium)
{
    return invoke(m_functions.FormatLow, owner, handle, medium) != 0;
}

bool mTCC730::ConvertHexToBin(const QString& firmwarePath, const QString& imagePath, int32_t blockSize)
{
    const QByteArray firmware = pathBytes(firmwarePath);
    const QByteArray image = pathBytes(imagePath);
    return invoke(m_functions.ConvertHexToBin, firmware.constData(), image.constData(), blockSize) != 0;
}

bool mTCC730::UpgradeFirmware(void* owner, int32_t handle, int32_t medium, const QString& imagePath,
                              const QString& firmwarePath)
{
    const QByteArray image = pathBytes(imagePath);
    const QByteArray firmware = pathBytes(firmwarePath);
    return invoke(m_functions.UpgradeFirmware, owner, handle, medium, int32_t(0), image.constData(),
                  firmware.constData()) != 0;
}
