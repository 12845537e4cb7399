// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "DeviceHost.h"

#include "AppPaths.h"
#include "HostProtocol.h"
#include "PeMachine.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>

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

DeviceHost::~DeviceHost()
{
    shutDown();
}

void DeviceHost::shutDown()
{
    if (!m_process)
        return;
    // Closing its input ends the host; one that hangs in the library is ended for it.
    m_process->closeWriteChannel();
    if (!m_process->waitForFinished(3000))
        m_process->kill();
    m_process->waitForFinished(1000);
    m_process.reset();
    m_running = false;
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
    return m_process && m_running ? m_process->processId() : 0;
}

void DeviceHost::stop(const QString& reason)
{
    if (m_process) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    m_running = false;
    m_stopNoticed = false;
    if (!m_launching)
        ++m_stopCount;
    m_stopReason = QStringLiteral("the device host stopped: ") + reason;
}

bool DeviceHost::readExact(QByteArray& into, qint64 size)
{
    // No time limit: a device call may take minutes. A host that dies closes its pipe, and that
    // ends the wait.
    while (m_process->bytesAvailable() < size) {
        if (!m_process->waitForReadyRead(-1) && m_process->bytesAvailable() < size)
            return false;
    }
    into = m_process->read(size);
    return into.size() == size;
}

bool DeviceHost::start(const QString& command)
{
    // The process object must go while Qt still runs, not among the static destructors.
    static const bool registered = [] {
        qAddPostRoutine([] { DeviceHost::instance().shutDown(); });
        return true;
    }();
    Q_UNUSED(registered);
    m_command = command;
    // A new host serves a library nobody has started yet; only a restart replays StartDLL.
    m_libraryStarted = false;
    return launch();
}

bool DeviceHost::launch()
{
    m_launching = true;
    const bool started = greet();
    m_launching = false;
    return started;
}

bool DeviceHost::greet()
{
    if (m_process) {
        m_process->kill();
        m_process->waitForFinished(2000);
    }
    m_process = std::make_unique<QProcess>();
    // The host's own messages (and the library's) reach the user's terminal.
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QStringList arguments = QProcess::splitCommand(m_command);
    if (arguments.isEmpty()) {
        stop(QStringLiteral("no command was given to start it"));
        return false;
    }
    const QString program = arguments.takeFirst();
    m_process->start(program, arguments);
    if (!m_process->waitForStarted(-1)) {
        stop(QStringLiteral("%1 could not be started (%2)").arg(program, m_process->errorString()));
        return false;
    }
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
    if (!m_running)
        return std::nullopt;
    if (m_process->write(frame.data(), qint64(frame.size())) != qint64(frame.size())) {
        stop(QStringLiteral("its input cannot be written (%1)").arg(m_process->errorString()));
        return std::nullopt;
    }
    QByteArray header;
    if (!readExact(header, 4)) {
        m_process->waitForFinished(2000);
        if (m_process->state() != QProcess::NotRunning)
            stop(QStringLiteral("it closed its output"));
        else if (m_process->exitStatus() == QProcess::CrashExit)
            stop(QStringLiteral("it was killed or crashed"));
        else
            stop(QStringLiteral("it ended with status %1").arg(m_process->exitCode()));
        return std::nullopt;
    }
    const std::uint32_t length =
        devhost::frameLength(reinterpret_cast<const unsigned char*>(header.constData()));
    QByteArray body;
    if (length == 0 || length > devhost::MaxFrame) {
        stop(QStringLiteral("it answered something that is not a reply"));
        return std::nullopt;
    }
    if (!readExact(body, length)) {
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
    stop(QStringLiteral("it answered something that is not a reply"));
}

int16_t DeviceHost::testConnection()
{
    if (!m_running && !m_command.isEmpty()) {
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
