// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The host's side of the protocol, in process, over a recording fake of the library: every
// function's arguments arrive as sent and its out-parameters come back; malformed requests,
// other versions and a library that did not load are refused.
#include "devhost/HostServer.h"
#include "devhost/HostProtocol.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <vector>

using namespace devhost;

namespace
{

// What the fake library saw last.
struct Seen {
    std::vector<std::int64_t> ints;
    std::vector<std::string> texts;
    void* owner = nullptr;
    int calls = 0;
};
Seen g_seen;

void note(std::initializer_list<std::int64_t> ints, std::initializer_list<const char*> texts = {})
{
    ++g_seen.calls;
    g_seen.ints.assign(ints);
    g_seen.texts.clear();
    for (const char* text : texts)
        g_seen.texts.push_back(text ? text : "<null>");
}

int16_t fakeStart()
{
    return note({}), 11;
}
int16_t fakeExit()
{
    return note({}), 12;
}
int16_t fakeTest()
{
    return note({}), 1;
}
int16_t fakeOpen(int32_t* handle)
{
    return note({}), *handle = 4242, 1;
}
int16_t fakeClose(int32_t h)
{
    return note({h}), 1;
}
int16_t fakeInfo(int32_t h, int32_t m, uint8_t* info)
{
    note({h, m, info[61]});
    for (int i = 0; i < 32; ++i)
        info[i] = uint8_t(0xa0 + i);
    return 1;
}
// Claims `g_total` entries and fills as many as `g_fill` (which may exceed the buffer: the count
// it reports then says more than it wrote).
int32_t g_total = 3;
int32_t g_reportedCount = -1;
int16_t fakeRefresh(int32_t h, int32_t m, int32_t* total, PlayerEntry* entries, int32_t* count)
{
    note({h, m, *total, *count});
    const int32_t fill = std::min(*count, g_total);
    for (int32_t i = 0; i < fill; ++i)
        std::memset(entries[i].bytes, 'a' + i, sizeof entries[i].bytes);
    *total = g_total;
    *count = g_reportedCount >= 0 ? g_reportedCount : fill;
    return 1;
}
int16_t fakeRename(int32_t h, int32_t m, int32_t index, const char* name, PlayerEntry* entry)
{
    note({h, m, index, entry->bytes[0]}, {name});
    std::memset(entry->bytes, 'r', 8);
    return 1;
}
int16_t fakeReplace(int32_t h, int32_t m, int32_t a, int32_t b)
{
    return note({h, m, a, b}), 1;
}
int16_t fakeDelete(void* owner, int32_t h, int32_t m, int32_t index, const char* name)
{
    note({h, m, index}, {name});
    g_seen.owner = owner;
    return 1;
}
int16_t fakeDownload(void* owner, int32_t h, int32_t m, const char* path)
{
    note({h, m}, {path});
    g_seen.owner = owner;
    return 1;
}
int16_t fakeUpload(void* owner, int32_t h, int32_t m, int32_t index, const char* path, const char* name,
                   int32_t n, int32_t zero)
{
    note({h, m, index, n, zero}, {path, name});
    g_seen.owner = owner;
    return 0;
}
int16_t fakeFormat(void* owner, int32_t h, int32_t m)
{
    return note({h, m}), g_seen.owner = owner, 1;
}
int16_t fakeFormatLow(void* owner, int32_t h, int32_t m)
{
    return note({h, m, 1}), g_seen.owner = owner, 1;
}
int16_t fakeHex(const char* firmware, const char* image, int32_t block)
{
    return note({block}, {firmware, image}), 1;
}
int16_t fakeUpgrade(void* owner, int32_t h, int32_t m, int32_t zero, const char* image, const char* firmware)
{
    note({h, m, zero}, {image, firmware});
    g_seen.owner = owner;
    return 1;
}

const DeviceFunctions FakeTable = {
    fakeStart,   fakeExit,   fakeTest,     fakeOpen,   fakeClose,  fakeInfo,      fakeRefresh, fakeRename,
    fakeReplace, fakeDelete, fakeDownload, fakeUpload, fakeFormat, fakeFormatLow, fakeHex,     fakeUpgrade};

std::string marked(const std::string& path)
{
    return "[" + path + "]";
}

Writer hello(std::uint32_t version = ProtocolVersion)
{
    Writer w(Call::Hello);
    w.u32(Magic);
    w.u32(version);
    return w;
}

class HostServerTest : public ::testing::Test
{
protected:
    HostServerTest() : server(&FakeTable, std::string(), marked)
    {
        g_seen = {};
        g_total = 3;
        g_reportedCount = -1;
        EXPECT_TRUE(server.answer(hello().body()).has_value());
    }

    // The reply to `request`; the status is checked to come right after the call's echo.
    Reader ask(const Writer& request, std::int16_t expectedStatus = 1)
    {
        const std::optional<std::string> reply = server.answer(request.body());
        EXPECT_TRUE(reply.has_value());
        last = reply.value_or(std::string(1, '\xff'));
        EXPECT_EQ(last[0], request.body()[0]);
        Reader in(last.data() + 1, last.size() - 1);
        EXPECT_EQ(in.i16(), expectedStatus);
        return in;
    }

    HostServer server;
    std::string last;
};

TEST_F(HostServerTest, EveryFunctionGetsItsArgumentsAndReturnsItsOutParameters)
{
    Reader opened = ask(Writer(Call::Open));
    EXPECT_EQ(opened.i32(), 4242);
    EXPECT_TRUE(opened.complete());

    Writer close(Call::Close);
    close.i32(-7);
    EXPECT_TRUE(ask(close).complete());
    EXPECT_EQ(g_seen.ints, (std::vector<std::int64_t>{-7}));

    Writer replace(Call::Replace);
    for (std::int32_t v : {1, 0, 5, 6})
        replace.i32(v);
    EXPECT_TRUE(ask(replace).complete());
    EXPECT_EQ(g_seen.ints, (std::vector<std::int64_t>{1, 0, 5, 6}));

    Writer remove(Call::Delete);
    remove.u64(0x12345678);
    remove.i32(1);
    remove.i32(0);
    remove.i32(9);
    remove.str("SONG.MP3");
    EXPECT_TRUE(ask(remove).complete());
    EXPECT_EQ(g_seen.owner, reinterpret_cast<void*>(std::uintptr_t(0x12345678)));
    EXPECT_EQ(g_seen.texts, std::vector<std::string>{"SONG.MP3"});

    Writer upload(Call::Upload);
    upload.u64(0);
    for (std::int32_t v : {1, 0, 2})
        upload.i32(v);
    upload.str("/tmp/out.mp3");
    upload.str("Name.mp3");
    upload.i32(1546);
    upload.i32(0);
    EXPECT_TRUE(ask(upload, 0).complete());
    EXPECT_EQ(g_seen.ints, (std::vector<std::int64_t>{1, 0, 2, 1546, 0}));
    // Paths go through the translation, names do not.
    EXPECT_EQ(g_seen.texts, (std::vector<std::string>{"[/tmp/out.mp3]", "Name.mp3"}));

    Writer download(Call::Download);
    download.u64(0);
    download.i32(1);
    download.i32(0);
    download.str(nullptr);
    EXPECT_TRUE(ask(download).complete());
    EXPECT_EQ(g_seen.texts, std::vector<std::string>{"<null>"});

    Writer hex(Call::ConvertHexToBin);
    hex.str("fw.hex");
    hex.str("~temp.bin");
    hex.i32(512);
    EXPECT_TRUE(ask(hex).complete());
    EXPECT_EQ(g_seen.texts, (std::vector<std::string>{"[fw.hex]", "[~temp.bin]"}));

    Writer upgrade(Call::UpgradeFirmware);
    upgrade.u64(0xdead);
    for (std::int32_t v : {1, 0, 0})
        upgrade.i32(v);
    upgrade.str("img");
    upgrade.str("fw");
    EXPECT_TRUE(ask(upgrade).complete());
    EXPECT_EQ(g_seen.texts, (std::vector<std::string>{"[img]", "[fw]"}));

    for (Call call : {Call::Format, Call::FormatLow}) {
        Writer format(call);
        format.u64(0);
        format.i32(1);
        format.i32(0);
        EXPECT_TRUE(ask(format).complete());
    }
    EXPECT_TRUE(ask(Writer(Call::StartDLL), 11).complete());
    EXPECT_TRUE(ask(Writer(Call::ExitDLL), 12).complete());
    EXPECT_TRUE(ask(Writer(Call::TestConnection), 1).complete());
}

TEST_F(HostServerTest, MediumInfoAndRenameCarryTheirBuffersBothWays)
{
    Writer info(Call::GetMediumInfo);
    info.i32(1);
    info.i32(0);
    std::uint8_t zeroed[MediumInfoBytes] = {};
    zeroed[61] = 0x5c;
    info.raw(zeroed, sizeof zeroed);
    Reader in = ask(info);
    std::uint8_t back[MediumInfoBytes];
    ASSERT_TRUE(in.raw(back, sizeof back));
    EXPECT_TRUE(in.complete());
    EXPECT_EQ(g_seen.ints[2], 0x5c); // the caller's buffer reached the library
    EXPECT_EQ(back[0], 0xa0);
    EXPECT_EQ(back[31], 0xa0 + 31);
    EXPECT_EQ(back[61], 0x5c);

    Writer rename(Call::Rename);
    for (std::int32_t v : {1, 0, 4})
        rename.i32(v);
    rename.str("New");
    PlayerEntry entry{};
    entry.bytes[0] = 'o';
    entry.bytes[299] = 'z';
    rename.raw(entry.bytes, sizeof entry.bytes);
    Reader renamed = ask(rename);
    PlayerEntry returned;
    ASSERT_TRUE(renamed.raw(returned.bytes, sizeof returned.bytes));
    EXPECT_EQ(g_seen.ints[3], 'o');
    EXPECT_EQ(returned.bytes[0], 'r');
    EXPECT_EQ(returned.bytes[299], 'z');
}

TEST_F(HostServerTest, RefreshReturnsTotalCountAndOnlyTheEntriesWritten)
{
    auto refresh = [&](std::int32_t capacity) {
        Writer request(Call::Refresh);
        request.i32(1);
        request.i32(0);
        request.i32(-1);
        request.i32(capacity);
        return request;
    };
    // Count 0: only the total.
    Reader empty = ask(refresh(0));
    EXPECT_EQ(empty.i32(), 3);
    EXPECT_EQ(empty.i32(), 0);
    EXPECT_EQ(empty.u32(), 0u);
    EXPECT_TRUE(empty.complete());

    Reader two = ask(refresh(2));
    EXPECT_EQ(two.i32(), 3);
    EXPECT_EQ(two.i32(), 2);
    ASSERT_EQ(two.u32(), 2u);
    PlayerEntry entries[2];
    ASSERT_TRUE(two.raw(entries, sizeof entries));
    EXPECT_TRUE(two.complete());
    EXPECT_EQ(entries[0].bytes[0], 'a');
    EXPECT_EQ(entries[1].bytes[299], 'b');

    // A library that claims more than the buffer holds: its count is passed on, the entries
    // carried back never exceed the buffer.
    g_reportedCount = 50;
    Reader over = ask(refresh(2));
    over.i32();
    EXPECT_EQ(over.i32(), 50);
    EXPECT_EQ(over.u32(), 2u);
    EXPECT_EQ(over.remaining(), 2u * EntryBytes);

    // A negative capacity is an empty buffer, not a huge one.
    Reader negative = ask(refresh(-5));
    negative.i32();
    negative.i32();
    EXPECT_EQ(negative.u32(), 0u);
}

TEST_F(HostServerTest, MalformedRequestsAreRefused)
{
    Writer truncated(Call::Close);
    truncated.u8(1);
    EXPECT_FALSE(server.answer(truncated.body()));
    Writer extra(Call::Open);
    extra.u8(0);
    EXPECT_FALSE(server.answer(extra.body()));
    EXPECT_FALSE(server.answer(std::string(1, char(Call::Last) + 1)));
    EXPECT_FALSE(server.answer(std::string()));
    // A string claiming more bytes than the message holds.
    Writer longName(Call::Delete);
    longName.u64(0);
    longName.i32(1);
    longName.i32(0);
    longName.i32(0);
    longName.u32(1000);
    longName.raw("abc", 3);
    EXPECT_FALSE(server.answer(longName.body()));
    EXPECT_EQ(g_seen.calls, 0);
}

TEST(HostServerHelloTest, NoRequestIsServedBeforeTheHello)
{
    HostServer server(&FakeTable, std::string(), marked);
    g_seen = {};
    EXPECT_FALSE(server.answer(Writer(Call::TestConnection).body()));
    Writer wrongMagic(Call::Hello);
    wrongMagic.u32(0x12345678);
    wrongMagic.u32(ProtocolVersion);
    EXPECT_FALSE(server.answer(wrongMagic.body()));
    EXPECT_EQ(g_seen.calls, 0);
}

TEST(HostServerHelloTest, AnotherVersionOrAMissingLibraryIsAnsweredThenTheHostEnds)
{
    struct Case {
        const DeviceFunctions* functions;
        std::uint32_t version;
        std::string expected;
    };
    for (const Case& c : {Case{&FakeTable, ProtocolVersion + 1, "protocol version 2"},
                          Case{nullptr, ProtocolVersion, "no library here"}}) {
        HostServer server(c.functions, "no library here", marked);
        const std::string request = hello(c.version).frame() + Writer(Call::TestConnection).frame();
        std::size_t readAt = 0;
        std::string written;
        const Channel channel{[&](void* data, std::size_t size) {
                                  if (request.size() - readAt < size)
                                      return false;
                                  std::memcpy(data, request.data() + readAt, size);
                                  readAt += size;
                                  return true;
                              },
                              [&](const void* data, std::size_t size) {
                                  written.append(static_cast<const char*>(data), size);
                                  return true;
                              }};
        EXPECT_EQ(server.run(channel), 3);
        // Only the hello was read and answered: not ready, with the reason.
        ASSERT_GT(written.size(), 4u);
        Reader in(written.data() + 5, written.size() - 5);
        EXPECT_EQ(in.u32(), Magic);
        EXPECT_EQ(in.u32(), ProtocolVersion);
        EXPECT_EQ(in.u8(), 0);
        EXPECT_NE(in.str().value_or("").find(c.expected), std::string::npos) << server.error();
        EXPECT_EQ(readAt, hello(c.version).frame().size());
    }
}

TEST(HostServerHelloTest, OversizedOrEmptyFrameEndsTheHost)
{
    for (std::uint32_t length : {0u, MaxFrame + 1}) {
        HostServer server(&FakeTable, std::string(), marked);
        std::string request(4, '\0');
        for (int i = 0; i < 4; ++i)
            request[i] = char(length >> (8 * i));
        std::size_t readAt = 0;
        const Channel channel{[&](void* data, std::size_t size) {
                                  if (request.size() - readAt < size)
                                      return false;
                                  std::memcpy(data, request.data() + readAt, size);
                                  readAt += size;
                                  return true;
                              },
                              [](const void*, std::size_t) { return true; }};
        EXPECT_EQ(server.run(channel), 1);
        EXPECT_FALSE(server.error().empty());
    }
}

TEST(HostProtocolTest, ReaderNeverReadsPastItsMessage)
{
    Writer w(Call::Open);
    w.i16(-2);
    w.i32(-100000);
    w.u64(0x0102030405060708ull);
    w.str("abc");
    w.str(nullptr);
    const std::string body = w.body();
    Reader in(body.data() + 1, body.size() - 1);
    EXPECT_EQ(in.i16(), -2);
    EXPECT_EQ(in.i32(), -100000);
    EXPECT_EQ(in.u64(), 0x0102030405060708ull);
    EXPECT_EQ(in.str(), std::optional<std::string>("abc"));
    EXPECT_EQ(in.str(), std::nullopt);
    EXPECT_TRUE(in.complete());
    EXPECT_EQ(in.u32(), 0u);
    EXPECT_FALSE(in.ok());

    // Every truncation of the message fails somewhere, never reads beyond it.
    for (std::size_t size = 1; size < body.size() - 1; ++size) {
        Reader cut(body.data() + 1, size);
        cut.i16();
        cut.i32();
        cut.u64();
        cut.str();
        cut.str();
        EXPECT_FALSE(cut.complete()) << size;
    }
    EXPECT_EQ(w.frame().substr(0, 4), std::string("\x1a\0\0\0", 4));
}

} // namespace
