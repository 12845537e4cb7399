// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Text inside files and device records is bytes of the system's ANSI code page; this is the one
// place where those bytes become text and back.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace CodePage
{

// The active code page's name, for example "CP1252" or "CP949". Chosen once from ZVD_CODEPAGE,
// else (off Windows) from the locale, else the system's ANSI code page.
QByteArray name();

// Switch the active code page (tests, and zvdctl's environment). Returns false and keeps the
// old one when the name is not known.
bool setCodePage(const QByteArray& name);

// The code page a locale name such as "ko_KR" stands for.
QByteArray codePageForLocale(const QString& localeName);

// True for the double-byte code pages (CP932, CP936, CP949, CP950).
bool isDoubleByte();

// True when the byte starts a two-byte character in the active code page.
bool isLeadByte(unsigned char byte);

// Bytes to text. Byte pairs the code page does not know become U+FFFD.
QString toUnicode(QByteArrayView bytes);

// Bytes to text by the simple pairing rule that older readers of double-byte systems used:
// a byte below 0x80 is one character, a byte of 0x80 or above takes the next byte with it,
// unless it is the last byte. On a single-byte code page every byte is one character.
QString toUnicodePaired(QByteArrayView bytes);

// Text to bytes. Characters the code page cannot hold become '?'.
QByteArray fromUnicode(QStringView text);

// The longest prefix of bytes no longer than maxBytes that does not split a double-byte character.
QByteArray truncated(const QByteArray& bytes, qsizetype maxBytes);

} // namespace CodePage
