// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/DeviceHost.h"

#include "core/AppPaths.h"
#include "devhost/HostProtocol.h"
#include "device/HostProcess.h"
#include "device/PeMachine.h"

#include <QCoreApplication>
#include <QDir>

using devhost::Call;
using devhost::Reader;
using devhost::Writer;

namespace
{

QString g_command;

} // namespace

DeviceHost& DeviceHost::instance()
{
    static DeviceHost host;
    return host;
}

DeviceHost::DeviceHost() = default;

DeviceHost::~DeviceHost()
{
    shutDown();
}

void DeviceHost::shutDown()
{
    const auto held = lock();
    if (!m_process)
        return;
    // Closing its input ends the host; one that hangs in the library is ended for it.
    m_process->closeInput();
    if (!m_process->waitForExit(3000))
        m_process->kill();
    m_process->waitForExit(1000);
    m_process.reset();
    m_pid = 0;
    m_running = false;
}

QString DeviceHost::stopReason() const
{
    const std::lock_guard held(m_reasonMutex);
    return m_stopReason;
}

void DeviceHost::setCommand(const QString& command)
{
    g_command = command;
}

QString DeviceHost::commandFor(const QString& libraryPath)
{
    if (!g_command.isEmpty())
        return g_command;
    const QString fromEnvironment = qEnvironmentVariable("ZVD_DEVICE_HOST");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
#if defined(_WIN32) && defined(_WIN64)
    if (PeMachine::of(libraryPath) == PeMachine::I386) {
        const QString host = QDir(AppPaths::programFolder()).filePath(QStringLiteral("zvd-devhost32.exe"));
        return QStringLiteral("\"%1\" \"%2\"")
            .arg(QDir::toNativeSeparators(host), QDir::toNativeSeparators(libraryPath));
    }
#else
    Q_UNUSED(libraryPath);
#endif
    return QString();
}

qint64 DeviceHost::processId() const
{
    return m_pid;
}

void DeviceHost::endProcess()
{
    if (m_process) {
        m_process->kill();
        m_process->waitForExit(2000);
    }
    m_process.reset();
    m_pid = 0;
}

void DeviceHost::stop(const QString& reason)
{
    const auto held = lock();
    endProcess();
    m_running = false;
    m_stopNoticed = false;
    {
        const std::lock_guard reasonHeld(m_reasonMutex);
        m_stopReason = QStringLiteral("the device host stopped: ") + reason;
    }
    // Counted after the reason is there, for a thread that sees the count change.
    if (!m_launching)
        ++m_stopCount;
}

bool DeviceHost::start(const QString& command)
{
    // The process object must go while Qt still runs, not among the static destructors.
    static const bool registered = [] {
        qAddPostRoutine([] { DeviceHost::instance().shutDown(); });
        return true;
    }();
    Q_UNUSED(registered);
    const auto held = lock();
    m_owner = std::this_thread::get_id();
    m_command = command;
    // A new host serves a library nobody has started yet; only a restart replays StartDLL.
    m_libraryStarted = false;
    return launch();
}

bool DeviceHost::launch()
{
    const auto held = lock();
    m_launching = true;
    const bool started = greet();
    m_launching = false;
    return started;
}

bool DeviceHost::greet()
{
    endProcess();
    // The host's own messages (and the library's) reach the user's terminal: it shares our
    // standard error.
    m_process = std::make_unique<HostProcess>();
    if (!m_process->start(m_command)) {
        stop(m_process->error());
        return false;
    }
    m_pid = m_process->processId();
    m_running = true;
    Writer hello(Call::Hello);
    hello.u32(devhost::Magic);
    hello.u32(devhost::ProtocolVersion);
    const std::optional<QByteArray> reply = call(hello.frame(), static_cast<std::uint8_t>(Call::Hello));
    if (!reply)
        return false;
    Reader in(reply->constData() + 1, std::size_t(reply->size() - 1));
    const std::uint32_t magic = in.u32();
    const std::uint32_t version = in.u32();
    const std::uint8_t ready = in.u8();
    const std::optional<std::string> message = in.str();
    if (!in.complete() || magic != devhost::Magic) {
        stop(QStringLiteral("its greeting is not one of a device host"));
        return false;
    }
    if (version != devhost::ProtocolVersion) {
        stop(QStringLiteral("it speaks protocol version %1, this program version %2")
                 .arg(version)
                 .arg(devhost::ProtocolVersion));
        return false;
    }
    if (!ready) {
        stop(QString::fromLocal8Bit(message.value_or(std::string("its library is not ready"))));
        return false;
    }
    if (m_libraryStarted) {
        Writer startDll(Call::StartDLL);
        if (!call(startDll.frame(), static_cast<std::uint8_t>(Call::StartDLL)))
            return false;
    }
    return true;
}

std::optional<QByteArray> DeviceHost::call(const std::string& frame, std::uint8_t expected)
{
    const auto held = lock();
    if (!m_running || !m_process)
        return std::nullopt;
    // A host that died before reading the request shows in its reply, so a failed write is
    // told by how the host ended, like a missing reply.
    const bool written = m_process->writeAll(frame.data(), frame.size());
    unsigned char header[4];
    if (!written || !m_process->readExact(header, sizeof header)) {
        if (!m_process->waitForExit(2000))
            stop(written ? QStringLiteral("it closed its output")
                         : QStringLiteral("its input cannot be written (%1)").arg(m_process->error()));
        else if (m_process->crashed())
            stop(QStringLiteral("it was killed or crashed"));
        else
            stop(QStringLiteral("it ended with status %1").arg(m_process->exitCode()));
        return std::nullopt;
    }
    const std::uint32_t length = devhost::frameLength(header);
    if (length == 0 || length > devhost::MaxFrame) {
        stop(QStringLiteral("it answered something that is not a reply"));
        return std::nullopt;
    }
    QByteArray body(qsizetype(length), Qt::Uninitialized);
    if (!m_process->readExact(body.data(), std::size_t(length))) {
        stop(QStringLiteral("it ended in the middle of a reply"));
        return std::nullopt;
    }
    if (static_cast<std::uint8_t>(body[0]) != expected) {
        stop(QStringLiteral("it answered something that is not a reply"));
        return std::nullopt;
    }
    return body;
}

void DeviceHost::rejectReply()
{
    const auto held = lock();
    stop(QStringLiteral("it answered something that is not a reply"));
}

int16_t DeviceHost::testConnection()
{
    const auto held = lock();
    if (!m_running && !m_command.isEmpty()) {
        // Only the thread that started the first host (the window's, whose poll asks) notices a
        // stop and starts another: on Linux a host ends with the thread that started it, and a
        // transfer's worker thread ends with its transfer. The worker's calls just fail.
        if (std::this_thread::get_id() != m_owner)
            return 0;
        // The poll that follows a stop shows "no player"; the one after that tries a new host.
        if (!m_stopNoticed) {
            m_stopNoticed = true;
            return 0;
        }
        if (!launch())
            return 0;
    }
    Writer request(Call::TestConnection);
    const std::optional<QByteArray> reply =
        call(request.frame(), static_cast<std::uint8_t>(Call::TestConnection));
    if (!reply)
        return 0;
    Reader in(reply->constData() + 1, std::size_t(reply->size() - 1));
    const int16_t status = in.i16();
    if (!in.complete()) {
        rejectReply();
        return 0;
    }
    return status;
}
