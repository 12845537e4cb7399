// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The ID3v2 reader (versions 2.2 to 2.4, unsynchronised, extended headers, plain v2.4 sizes) on
// arbitrary file contents, checked against the list's fast column reader,
// and the tag image built from whatever it read.
#include "FuzzCodePage.h"
#include "audio/GenreName.h"
#include "audio/ID3v2FrameText.h"
#include "audio/ID3v2TagWriter.h"
#include "audio/TagColumns.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v1.h"
#include "audio/cMP3ID3v2.h"

#include <QBuffer>

#include <cstdint>
#include <cstdlib>

namespace
{

// The columns as the list's rules make them from the tag classes: the version 2 tag's title,
// artist and genres (those of its last TCON frame), unless it yields none of them.
TagColumns columnsFromClasses(QBuffer& buffer)
{
    cMP3ID3v2 v2;
    v2.readTag(buffer);
    TagColumns columns;
    if (v2.HasID3v2Tag()) {
        const QString genres = v2.TagText(QStringLiteral("TCON"), v2.TagsInFrame(QStringLiteral("TCON")));
        columns = {v2.Title(), v2.Artist(),
                   ID3v2FrameText::genreColumn(genres.split(QChar(0), Qt::SkipEmptyParts))};
    }
    if (columns == TagColumns()) {
        cMP3ID3v1 v1;
        v1.readTag(buffer);
        if (v1.HasID3v1Tag())
            columns = {v1.Title(), v1.Artist(), GenreName(v1.Genre())};
    }
    // As a list shows a text: up to its first NUL (the padding of fixed fields), no trailing
    // blanks, and no longer than the shown limit.
    const auto shown = [](const QString& text) {
        QString cut = text.left(text.indexOf(QChar(0)) >= 0 ? text.indexOf(QChar(0)) : text.size());
        while (!cut.isEmpty() && cut.back().isSpace())
            cut.chop(1);
        return shownText(cut);
    };
    return {shown(columns.title), shown(columns.artist), shown(columns.genre)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    chooseCodePageFor(size);
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    cMP3ID3v2 tag;
    tag.readTag(buffer);
    for (qint32 i = 1; i <= tag.FrameCount(); ++i)
        if (tag.TagsInFrame(tag.Frame(i)) < 1)
            std::abort(); // every listed frame holds a text
    try {
        const QByteArray image = ID3v2TagWriter::image(tag.framesToWrite());
        if (!image.startsWith("ID3\x03"))
            std::abort();
    } catch (const TagError&) {
        // identifiers shorter than four bytes cannot be written; that is reported, not a fault
    }
    if (readTagColumns(buffer) != columnsFromClasses(buffer))
        std::abort(); // the list's reader must show what the tag classes read
    return 0;
}
