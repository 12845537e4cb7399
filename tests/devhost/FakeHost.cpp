// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A host that misbehaves on purpose, for the client's tests:
//   fake-host MODE   with MODE one of
//   garbage       answers the hello with bytes of no protocol
//   version       answers the hello with another protocol version
//   wrong-reply   greets properly, then answers a request with the reply of another call
//   short-reply   greets properly, then answers Open without the handle
//   huge          greets properly, then announces a reply longer than any message
//   exit-in-call  greets properly, then ends in the middle of the first request (status 7)
#include "devhost/HostProtocol.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace devhost;

namespace
{

bool readFrame(std::string& body)
{
    unsigned char header[4];
    if (std::fread(header, 1, 4, stdin) != 4)
        return false;
    body.resize(frameLength(header));
    return std::fread(body.data(), 1, body.size(), stdin) == body.size();
}

void send(const std::string& bytes)
{
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void greet(std::uint32_t version)
{
    std::string body;
    readFrame(body);
    Writer hello(Call::Hello);
    hello.u32(Magic);
    hello.u32(version);
    hello.u8(1);
    hello.str("");
    send(hello.frame());
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    std::string body;
    if (mode == "garbage") {
        readFrame(body);
        send("this is not a device host\n");
    } else if (mode == "version") {
        greet(ProtocolVersion + 6);
    } else {
        greet(ProtocolVersion);
        if (!readFrame(body))
            return 0;
        if (mode == "wrong-reply") {
            Writer reply(Call::Format);
            reply.i16(1);
            send(reply.frame());
        } else if (mode == "short-reply") {
            Writer reply(Call::Open);
            reply.i16(1);
            send(reply.frame());
        } else if (mode == "huge") {
            send(std::string("\xff\xff\xff\x7f", 4));
        } else if (mode == "exit-in-call") {
            return 7;
        }
    }
    // Wait for the client to end things.
    while (readFrame(body)) {
    }
    return 0;
}
