// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// zvd-devhost LIBRARY: loads the device library and serves it to the one client that started it,
// over standard input and output, until that input closes. A 64-bit ZVD on Windows reaches the
// vendor's 32-bit library through the 32-bit build of this host.
#include "devhost/HostLibrary.h"
#include "devhost/HostServer.h"
#include "devhost/WinePaths.h"

#include <cstdio>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#define ZVD_READ _read
#define ZVD_WRITE _write
#define ZVD_DUP _dup
#define ZVD_DUP2 _dup2
#else
#include <csignal>
#include <unistd.h>
#ifdef __linux__
#include <sys/prctl.h>
#endif
#define ZVD_READ ::read
#define ZVD_WRITE ::write
#define ZVD_DUP ::dup
#define ZVD_DUP2 ::dup2
#endif

namespace
{

bool readAll(int fd, void* data, std::size_t size)
{
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const auto chunk = static_cast<unsigned>(size > (1u << 30) ? (1u << 30) : size);
        const auto got = ZVD_READ(fd, bytes, chunk);
        if (got <= 0)
            return false;
        bytes += got;
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

bool writeAll(int fd, const void* data, std::size_t size)
{
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const auto chunk = static_cast<unsigned>(size > (1u << 30) ? (1u << 30) : size);
        const auto put = ZVD_WRITE(fd, bytes, chunk);
        if (put <= 0)
            return false;
        bytes += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

// The protocol gets a private copy of standard output, and standard output itself becomes
// standard error: whatever the library prints can then never break a reply.
int takeStandardOutput()
{
#ifdef _WIN32
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
#endif
    const int protocol = ZVD_DUP(1);
    if (protocol < 0)
        return -1;
    ZVD_DUP2(2, 1);
#ifdef _WIN32
    _setmode(protocol, _O_BINARY);
    SetStdHandle(STD_OUTPUT_HANDLE, GetStdHandle(STD_ERROR_HANDLE));
#endif
    return protocol;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: zvd-devhost LIBRARY\n"
                   "Serves the device library to the program that started this host, over standard input "
                   "and output.\n",
                   stderr);
        return 2;
    }
#ifndef _WIN32
    // A client that goes away mid-reply must end the host quietly, not by a signal.
    std::signal(SIGPIPE, SIG_IGN);
#ifdef __linux__
    // A client killed while the library is busy in a long call (a transfer) takes the host with
    // it at once: a host finishing that call on its own would outlive its client, and the next
    // client could not tell its half-stored files from those of a live program.
    const pid_t client = ::getppid();
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != client)
        return 1;
#endif
#endif
    const int protocol = takeStandardOutput();
    if (protocol < 0) {
        std::fputs("zvd-devhost: no standard output\n", stderr);
        return 1;
    }
    devhost::HostLibrary library;
    const bool loaded = library.open(devhost::toLibraryPath(argv[1]));
    devhost::HostServer server(loaded ? &library.functions() : nullptr, library.error(),
                               devhost::toLibraryPath);
    const devhost::Channel channel{
        [](void* data, std::size_t size) { return readAll(0, data, size); },
        [protocol](const void* data, std::size_t size) { return writeAll(protocol, data, size); }};
    const int status = server.run(channel);
    // A refused hello (status 3) was explained to the client already.
    if (status == 1)
        std::fprintf(stderr, "zvd-devhost: %s\n", server.error().c_str());
    return status;
}
