// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device library reached through a host process (zvd-devhost) instead of loaded in process:
// a 64-bit ZVD cannot load the vendor's 32-bit library. The host serves the library's functions
// over a pipe; functions() gives a table of them, so every layer above works unchanged.
// One host per program, like one loaded library. Any thread may make the calls (the window's
// transfers run on a worker); one call is on the pipe at a time.
#pragma once

#include "device/DeviceFunctions.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

class HostProcess;

class DeviceHost
{
public:
    static DeviceHost& instance();
    ~DeviceHost();

    // The command that starts a host for the library at `libraryPath`, or empty to load the
    // library in process: the command given by setCommand (--device-host), else ZVD_DEVICE_HOST,
    // else, in a 64-bit program on Windows whose library is a 32-bit DLL, zvd-devhost32.exe beside
    // the program with that library.
    static QString commandFor(const QString& libraryPath);
    static void setCommand(const QString& command);

    // Starts the host and checks its hello. False, with the reason in stopReason(), when it cannot
    // be started, speaks another protocol version, or cannot load its library.
    bool start(const QString& command);
    // The library's functions, each one request to the host. After the host stopped, calls fail
    // (TestConnection says "not attached"); the poll after that starts a new host.
    static DeviceFunctions functions();

    // Whether a host that had started stopped unasked during this program's life (a host that
    // never started is reported by start()), and the last reason, as one sentence:
    // "the device host stopped: ...".
    // These never wait for a call in progress.
    bool hasStopped() const { return m_stopCount > 0; }
    int stopCount() const { return m_stopCount; }
    QString stopReason() const;
    // Ends the host: its input closes, and it ends with it.
    void shutDown();
    // The host's process identifier (0 without one); for tests that end it from outside.
    qint64 processId() const;

    // Held across a request and the checking of its reply, so that no other thread's request
    // comes between them. Recursive: call() and rejectReply() take it too.
    std::unique_lock<std::recursive_mutex> lock() { return std::unique_lock(m_mutex); }
    // One request frame; the reply's body, or nothing when the host stopped or answered garbage.
    std::optional<QByteArray> call(const std::string& frame, std::uint8_t call);
    // A reply of the wrong shape for its call: the host is garbled and is stopped.
    void rejectReply();
    // The poll's entry: restarts a host that stopped at an earlier call, then asks it.
    int16_t testConnection();
    // StartDLL is remembered, so a restarted host starts its library too.
    void noteStarted(bool started) { m_libraryStarted = started; }

private:
    DeviceHost();
    void stop(const QString& reason);
    void endProcess();
    bool launch();
    bool greet();

    std::recursive_mutex m_mutex;
    std::unique_ptr<HostProcess> m_process;
    std::atomic<qint64> m_pid = 0;
    // The thread that started the host; see testConnection().
    std::thread::id m_owner;
    QString m_command;
    mutable std::mutex m_reasonMutex;
    QString m_stopReason;
    std::atomic<int> m_stopCount = 0;
    bool m_running = false;
    bool m_stopNoticed = false;
    bool m_libraryStarted = false;
    bool m_launching = false;
};
