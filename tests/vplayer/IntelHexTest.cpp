// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "vplayer/IntelHex.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

// One record with a correct checksum.
std::string record(std::uint8_t type, std::uint16_t offset, const std::vector<std::uint8_t>& data)
{
    std::vector<std::uint8_t> bytes{std::uint8_t(data.size()), std::uint8_t(offset >> 8),
                                    std::uint8_t(offset), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    unsigned sum = 0;
    for (const std::uint8_t b : bytes)
        sum += b;
    bytes.push_back(std::uint8_t(-sum));
    std::string line = ":";
    char hex[3];
    for (const std::uint8_t b : bytes) {
        std::snprintf(hex, sizeof hex, "%02X", b);
        line += hex;
    }
    return line + "\r\n";
}

const std::string kEnd = ":00000001FF\r\n";

TEST(IntelHex, DataRecordsBecomeImagePaddedToBlocks)
{
    const std::string text = record(0, 0x0000, {1, 2, 3}) + record(0, 0x0005, {9}) + kEnd;
    const auto image = IntelHex::toBinary(text, 16);
    ASSERT_TRUE(image);
    const std::string expected = std::string("\x01\x02\x03\xFF\xFF\x09", 6) + std::string(10, '\xFF');
    EXPECT_EQ(*image, expected);
}

TEST(IntelHex, ImageStartsAtLowestAddressAcrossSegmentAndLinearRecords)
{
    // 0x1000:0010 in segment form is 0x10010; linear 0x0001 then 0x0000 is 0x10000.
    const std::string text = record(2, 0, {0x10, 0x00}) + record(0, 0x0010, {0xAA}) +
                             record(4, 0, {0x00, 0x01}) + record(0, 0x0000, {0xBB}) +
                             record(5, 0, {0, 0, 0, 0}) + kEnd;
    const auto image = IntelHex::toBinary(text, 8192);
    ASSERT_TRUE(image);
    ASSERT_EQ(image->size(), 8192u);
    EXPECT_EQ((*image)[0], '\xBB');
    EXPECT_EQ((*image)[0x10], '\xAA');
    EXPECT_EQ((*image)[1], '\xFF');
}

TEST(IntelHex, LowerCaseDigitsBlankLinesAndTextAfterEndAreAccepted)
{
    std::string data = record(0, 0, {0xAB});
    for (char& c : data)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    const auto image = IntelHex::toBinary("\n" + data + "\n" + kEnd + "garbage after the end\n", 1);
    ASSERT_TRUE(image);
    EXPECT_EQ(*image, "\xAB");
}

TEST(IntelHex, DamagedFilesAreRefusedWithReason)
{
    std::string badChecksum = record(0, 0, {1, 2, 3});
    badChecksum[badChecksum.size() - 3] = badChecksum[badChecksum.size() - 3] == '0' ? '1' : '0';
    const std::string shortRecord = ":0300000001FC\n";
    struct Case {
        const char* what;
        std::string text;
        const char* reason;
    };
    const std::vector<Case> cases = {
        {"bad checksum", badChecksum + kEnd, "checksum"},
        {"truncated: no end record", record(0, 0, {1, 2}), "truncated"},
        {"truncated record", record(0, 0, {1, 2}).substr(0, 9) + "\n" + kEnd, "malformed"},
        {"length field disagrees", shortRecord + kEnd, "length"},
        {"not hex", ":0100000G01FF\n" + kEnd, "hexadecimal"},
        {"no colon", "0100000001FE\n" + kEnd, "malformed"},
        {"unknown type", record(7, 0, {1}) + kEnd, "unknown"},
        {"overlap", record(0, 0, {1, 2}) + record(0, 1, {3}) + kEnd, "overlap"},
        {"no data", kEnd, "no data"},
        {"too large", record(0, 0, {1}) + record(4, 0, {0x10, 0x00}) + record(0, 0, {2}) + kEnd, "too large"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(IntelHex::toBinary(c.text, 8192, &error)) << c.what;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.what << ": " << error;
    }
}

} // namespace
