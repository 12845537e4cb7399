// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device host's process with plain pipes to its standard input and output. Unlike QProcess it
// belongs to no thread: whichever thread makes a device call (the window's transfers run on a
// worker) may write a request and wait for its reply. Callers serialise their use of one object.
// Standard error is the program's own, so the host's messages reach the user's terminal.
#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

class HostProcess
{
public:
    HostProcess() = default;
    ~HostProcess();
    HostProcess(const HostProcess&) = delete;
    HostProcess& operator=(const HostProcess&) = delete;

    // Starts `command` (a program and its arguments, quoted like a shell's or Windows' command
    // line). False with the reason in error() when it cannot be started.
    bool start(const QString& command);
    QString error() const { return m_error; }
    bool isStarted() const { return m_started; }
    std::int64_t processId() const;

    // The whole buffer, or false when the host no longer reads.
    bool writeAll(const void* data, std::size_t size);
    // Exactly `size` bytes, waiting as long as the host lives: a device call may take minutes.
    // False when the host ended (or closed its output) first.
    bool readExact(void* data, std::size_t size);
    // Closes the host's input, which asks it to end.
    void closeInput();

    // Waits up to `milliseconds` for the host to end; true when it has.
    bool waitForExit(int milliseconds);
    void kill();
    // After waitForExit: whether it was ended by a signal (or TerminateProcess), and its status.
    bool crashed() const { return m_crashed; }
    int exitCode() const { return m_exitCode; }

private:
    void closeAll();

    QString m_error;
    bool m_started = false;
    bool m_exited = false;
    bool m_crashed = false;
    int m_exitCode = 0;
#ifdef _WIN32
    void* m_process = nullptr; // HANDLEs
    void* m_input = nullptr;
    void* m_output = nullptr;
    unsigned long m_pid = 0;
    bool m_killed = false;
#else
    int m_input = -1;
    int m_output = -1;
    int m_pid = 0;
#endif
};
