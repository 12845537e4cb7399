// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Telling a 32-bit DLL from a 64-bit one by its header, and anything else from both.
#include "device/PeMachine.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// A minimal image: the DOS header pointing at "PE\0\0" and the machine field.
QByteArray image(std::uint16_t machine, quint32 peOffset = 0x80)
{
    QByteArray bytes(int(peOffset) + 24, '\0');
    bytes[0] = 'M';
    bytes[1] = 'Z';
    for (int i = 0; i < 4; ++i)
        bytes[0x3c + i] = char(peOffset >> (8 * i));
    bytes.replace(int(peOffset), 4, QByteArray("PE\0\0", 4));
    bytes[int(peOffset) + 4] = char(machine & 0xff);
    bytes[int(peOffset) + 5] = char(machine >> 8);
    return bytes;
}

TEST(PeMachineTest, ReadsTheMachineAndRefusesWhatIsNoImage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    auto machineOf = [&](const QByteArray& bytes) {
        QFile file(dir.filePath(QStringLiteral("x.dll")));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        return PeMachine::of(file.fileName());
    };
    EXPECT_EQ(machineOf(image(PeMachine::I386)), PeMachine::I386);
    EXPECT_EQ(machineOf(image(PeMachine::Amd64, 0x100)), PeMachine::Amd64);
    EXPECT_EQ(machineOf(QByteArray("\x7f"
                                   "ELF",
                                   4) +
                        QByteArray(100, '\0')),
              0);
    EXPECT_EQ(machineOf(image(PeMachine::I386).left(0x82)), 0); // cut inside the signature
    QByteArray farOffset = image(PeMachine::I386).left(0x40);
    farOffset[0x3f] = char(0x7f); // points far past the end
    EXPECT_EQ(machineOf(farOffset), 0);
    EXPECT_EQ(machineOf(QByteArray("MZ")), 0);
    EXPECT_EQ(PeMachine::of(dir.filePath(QStringLiteral("missing.dll"))), 0);
}

} // namespace
