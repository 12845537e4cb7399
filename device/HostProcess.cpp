// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "device/HostProcess.h"

#include <QFile>
#include <QProcess>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

HostProcess::~HostProcess()
{
    if (m_started && !m_exited) {
        kill();
        waitForExit(-1);
    }
    closeAll();
}

#ifdef _WIN32

namespace
{

QString programOf(const QString& command)
{
    const QStringList arguments = QProcess::splitCommand(command);
    return arguments.isEmpty() ? QString() : arguments.first();
}

} // namespace

bool HostProcess::start(const QString& command)
{
    const QString program = programOf(command);
    if (program.isEmpty()) {
        m_error = QStringLiteral("no command was given to start it");
        return false;
    }
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;
    HANDLE childInput = nullptr;
    HANDLE childOutput = nullptr;
    HANDLE input = nullptr;
    HANDLE output = nullptr;
    if (!CreatePipe(&childInput, &input, &inheritable, 0)) {
        m_error =
            QStringLiteral("%1 could not be started (%2)").arg(program, qt_error_string(int(GetLastError())));
        return false;
    }
    if (!CreatePipe(&output, &childOutput, &inheritable, 0)) {
        m_error =
            QStringLiteral("%1 could not be started (%2)").arg(program, qt_error_string(int(GetLastError())));
        CloseHandle(childInput);
        CloseHandle(input);
        return false;
    }
    // Our ends stay ours: a host inheriting them would keep its own pipe open and never see
    // its input close.
    SetHandleInformation(input, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(output, HANDLE_FLAG_INHERIT, 0);
    HANDLE childError = nullptr;
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error && error != INVALID_HANDLE_VALUE)
        DuplicateHandle(GetCurrentProcess(), error, GetCurrentProcess(), &childError, 0, TRUE,
                        DUPLICATE_SAME_ACCESS);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = childError;
    PROCESS_INFORMATION info{};
    std::wstring line = command.toStdWString();
    line.push_back(L'\0');
    // A console host started from the window gets no console window of its own.
    const DWORD flags = GetConsoleWindow() ? 0 : CREATE_NO_WINDOW;
    const BOOL created = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                                        &startup, &info);
    const DWORD createError = GetLastError();
    CloseHandle(childInput);
    CloseHandle(childOutput);
    if (childError)
        CloseHandle(childError);
    if (!created) {
        CloseHandle(input);
        CloseHandle(output);
        m_error =
            QStringLiteral("%1 could not be started (%2)").arg(program, qt_error_string(int(createError)));
        return false;
    }
    CloseHandle(info.hThread);
    m_process = info.hProcess;
    m_pid = info.dwProcessId;
    m_input = input;
    m_output = output;
    m_started = true;
    return true;
}

std::int64_t HostProcess::processId() const
{
    return m_started && !m_exited ? std::int64_t(m_pid) : 0;
}

bool HostProcess::writeAll(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        if (!m_input)
            return false;
        const DWORD chunk = DWORD(size > (1u << 30) ? (1u << 30) : size);
        DWORD written = 0;
        if (!WriteFile(m_input, bytes, chunk, &written, nullptr) || written == 0) {
            m_error = qt_error_string(int(GetLastError()));
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}

bool HostProcess::readExact(void* data, std::size_t size)
{
    // Our copies of the host's ends were closed at the start, so a host that ends breaks the
    // pipe and the read returns.
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        if (!m_output)
            return false;
        const DWORD chunk = DWORD(size > (1u << 30) ? (1u << 30) : size);
        DWORD got = 0;
        if (!ReadFile(m_output, bytes, chunk, &got, nullptr) || got == 0)
            return false;
        bytes += got;
        size -= got;
    }
    return true;
}

void HostProcess::closeInput()
{
    if (m_input) {
        CloseHandle(m_input);
        m_input = nullptr;
    }
}

bool HostProcess::waitForExit(int milliseconds)
{
    if (!m_started || m_exited)
        return true;
    if (WaitForSingleObject(m_process, milliseconds < 0 ? INFINITE : DWORD(milliseconds)) != WAIT_OBJECT_0)
        return false;
    DWORD code = 0;
    GetExitCodeProcess(m_process, &code);
    m_exited = true;
    m_exitCode = int(code);
    // An exception ends a process with an NTSTATUS error code.
    m_crashed = m_killed || (code & 0xC0000000u) == 0xC0000000u;
    return true;
}

void HostProcess::kill()
{
    if (m_started && !m_exited) {
        m_killed = true;
        TerminateProcess(m_process, 1);
    }
}

void HostProcess::closeAll()
{
    closeInput();
    for (void** handle : {&m_output, &m_process}) {
        if (*handle) {
            CloseHandle(*handle);
            *handle = nullptr;
        }
    }
}

#else

namespace
{

// Pipe ends above the standard three, so placing them as the host's input and output never
// lands an end on itself (which would keep its close-on-exec flag).
bool makePipe(int ends[2])
{
    int raw[2];
    if (::pipe2(raw, O_CLOEXEC) != 0)
        return false;
    for (int i = 0; i < 2; ++i) {
        ends[i] = ::fcntl(raw[i], F_DUPFD_CLOEXEC, 3);
        ::close(raw[i]);
    }
    if (ends[0] >= 0 && ends[1] >= 0)
        return true;
    for (int i = 0; i < 2; ++i)
        if (ends[i] >= 0)
            ::close(ends[i]);
    return false;
}

} // namespace

bool HostProcess::start(const QString& command)
{
    const QStringList arguments = QProcess::splitCommand(command);
    if (arguments.isEmpty()) {
        m_error = QStringLiteral("no command was given to start it");
        return false;
    }
    const QString program = arguments.first();
    // A host that died must fail our next write with an error, not end this program by
    // SIGPIPE. Only the default is changed; a program's own handler stays.
    struct sigaction current {
    };
    if (::sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) {
        struct sigaction ignore {
        };
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, nullptr);
    }
    int input[2];
    int output[2];
    if (!makePipe(input)) {
        m_error = QStringLiteral("%1 could not be started (%2)").arg(program, qt_error_string(errno));
        return false;
    }
    if (!makePipe(output)) {
        m_error = QStringLiteral("%1 could not be started (%2)").arg(program, qt_error_string(errno));
        ::close(input[0]);
        ::close(input[1]);
        return false;
    }
    std::vector<QByteArray> encoded;
    for (const QString& argument : arguments)
        encoded.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : encoded)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], 0);
    posix_spawn_file_actions_adddup2(&actions, output[1], 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The host gets SIGPIPE back as it would from a shell.
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int failed = ::posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(output[1]);
    if (failed != 0) {
        ::close(input[1]);
        ::close(output[0]);
        m_error = QStringLiteral("%1 could not be started (%2)").arg(program, qt_error_string(failed));
        return false;
    }
    m_pid = pid;
    m_input = input[1];
    m_output = output[0];
    m_started = true;
    return true;
}

std::int64_t HostProcess::processId() const
{
    return m_started && !m_exited ? m_pid : 0;
}

bool HostProcess::writeAll(const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        if (m_input < 0)
            return false;
        const ssize_t put = ::write(m_input, bytes, size);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0) {
            m_error = qt_error_string(errno);
            return false;
        }
        bytes += put;
        size -= std::size_t(put);
    }
    return true;
}

bool HostProcess::readExact(void* data, std::size_t size)
{
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        if (m_output < 0)
            return false;
        // No time limit for the reply itself. The pipe closing says the host ended, unless a
        // process it started keeps the pipe open; so the host itself is asked twice a second.
        pollfd wanted{m_output, POLLIN, 0};
        const int ready = ::poll(&wanted, 1, m_exited ? 0 : 500);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            return false;
        if (ready == 0) {
            if (m_exited || waitForExit(0))
                return false; // it ended, and nothing more is in the pipe
            continue;
        }
        const ssize_t got = ::read(m_output, bytes, size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= std::size_t(got);
    }
    return true;
}

void HostProcess::closeInput()
{
    if (m_input >= 0) {
        ::close(m_input);
        m_input = -1;
    }
}

bool HostProcess::waitForExit(int milliseconds)
{
    if (!m_started || m_exited)
        return true;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
        int status = 0;
        const pid_t ended = ::waitpid(m_pid, &status, milliseconds < 0 ? 0 : WNOHANG);
        if (ended < 0 && errno == EINTR)
            continue;
        if (ended == m_pid || (ended < 0 && errno == ECHILD)) {
            // ECHILD: someone else reaped it; it is gone all the same.
            m_exited = true;
            m_crashed = ended == m_pid ? WIFSIGNALED(status) : false;
            m_exitCode = ended == m_pid && WIFEXITED(status) ? WEXITSTATUS(status) : 0;
            return true;
        }
        if (milliseconds >= 0 && std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void HostProcess::kill()
{
    if (m_started && !m_exited)
        ::kill(m_pid, SIGKILL);
}

void HostProcess::closeAll()
{
    closeInput();
    if (m_output >= 0) {
        ::close(m_output);
        m_output = -1;
    }
}

#endif
