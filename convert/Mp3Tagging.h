// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A converted file's tags as our own writers write them: an ID3v2.3 tag at the start (with the
// front cover) and an ID3v1 tag at the end, both from the source's tags.
#pragma once

#include <QByteArray>
#include <QString>

struct SourceTags;

namespace Mp3Tagging
{

// The ID3v2.3 tag to put before the first frame of a new MP3; empty when there is nothing to write.
QByteArray id3v2For(const SourceTags& tags);

// Appends an ID3v1 tag with the same texts (cut to its fields) to the MP3 at path; false with
// why on a failure (the file may then hold a partial tag: the caller discards it).
bool appendId3v1(const QString& path, const SourceTags& tags, QString& why);

} // namespace Mp3Tagging
