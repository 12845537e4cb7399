// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The host's side of the protocol: answers the hello, then turns each request into one call of
// the device library and its results into the reply.
#pragma once

#include "device/DeviceFunctions.h"

#include <functional>
#include <optional>
#include <string>

namespace devhost
{

// Reads exactly `size` bytes / writes them all; false when the pipe is closed or broken.
struct Channel {
    std::function<bool(void* data, std::size_t size)> read;
    std::function<bool(const void* data, std::size_t size)> write;
};

class HostServer
{
public:
    // `functions` null: the library could not be loaded, and `loadError` says why; the hello
    // then reports it and the host ends. `toLibraryPath` turns a client's path into one the
    // library can open (identity where no translation is needed).
    HostServer(const DeviceFunctions* functions, std::string loadError,
               std::function<std::string(const std::string&)> toLibraryPath);

    // Serves the client until its pipe closes (0), until it sends something that is not a message
    // of this protocol (1, the reason in error()), or until the hello was refused (3: another
    // version, or no library; the reason went to the client and is in error()).
    int run(const Channel& channel);
    const std::string& error() const { return m_error; }

    // The reply to one request body; nothing when the body is malformed.
    std::optional<std::string> answer(const std::string& body);

private:
    std::optional<std::string> answerHello(const std::string& body);

    const DeviceFunctions* m_functions;
    std::string m_loadError;
    std::function<std::string(const std::string&)> m_toLibraryPath;
    bool m_greeted = false;
    bool m_stop = false;
    std::string m_error;
};

} // namespace devhost
