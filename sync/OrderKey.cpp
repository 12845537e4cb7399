// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "sync/OrderKey.h"

#include "audio/cMP3ID3v1.h"
#include "audio/cMP3ID3v2.h"
#include "convert/ConvertibleFormats.h"
#include "convert/SourceTags.h"
#include "localfiles/FileExtension.h"

#include <exception>

namespace OrderKeys
{
namespace
{

QString folderOf(const QString& relativePath)
{
    const qsizetype slash = relativePath.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : relativePath.left(slash);
}

QString fileNameOf(const QString& relativePath)
{
    return relativePath.mid(relativePath.lastIndexOf(QLatin1Char('/')) + 1);
}

// A tag text as far as it is meant: ID3v1 fields are padded with NULs and blanks.
QString clean(const QString& text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return (nul < 0 ? text : text.left(nul)).trimmed();
}

// Artists and albums written in another letter case are the same album.
int compareText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive);
}

int compareName(const QString& a, const QString& b)
{
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c : a.compare(b, Qt::CaseSensitive);
}

void readTags(const QString& path, OrderKey& key)
{
    // A damaged tag must not stop a sync: the path parts stand in for what it could not give.
    try {
        cMP3ID3v2 v2;
        v2.setMP3File(path);
        if (v2.HasID3v2Tag()) {
            key.albumArtist = clean(v2.TagText(QStringLiteral("TPE2"), 1));
            if (key.albumArtist.isEmpty())
                key.albumArtist = clean(v2.Artist());
            key.album = clean(v2.Album());
            key.disc = leadingNumber(v2.TagText(QStringLiteral("TPOS"), 1));
            key.track = leadingNumber(v2.Track());
        }
    } catch (const std::exception&) {
    }
    if (!key.albumArtist.isEmpty() && !key.album.isEmpty() && key.track > 0)
        return;
    try {
        cMP3ID3v1 v1;
        v1.setMP3File(path);
        if (!v1.HasID3v1Tag())
            return;
        if (key.albumArtist.isEmpty())
            key.albumArtist = clean(v1.Artist());
        if (key.album.isEmpty())
            key.album = clean(v1.Album());
        if (key.track == 0)
            key.track = v1.Track();
    } catch (const std::exception&) {
    }
}

} // namespace

int leadingNumber(const QString& text)
{
    const QString trimmed = text.trimmed();
    int value = 0;
    for (QChar c : trimmed) {
        if (!c.isDigit() || c.digitValue() < 0)
            break;
        if (value > 99999) // a track or disc number, not a count of anything
            break;
        value = value * 10 + c.digitValue();
    }
    return value;
}

OrderKey read(const QString& path, const QString& relativePath)
{
    OrderKey key;
    const QString name = fileNameOf(relativePath);
    if (mFileAPI::isMp3Name(name)) {
        readTags(path, key);
    } else if (needsConversion(name)) {
        // Its MP3 will carry these tags; they are read now so the plan orders it like the others.
        const SourceTags tags = SourceTags::read(path, false);
        key.albumArtist = tags.albumArtist.isEmpty() ? tags.artist : tags.albumArtist;
        key.album = tags.album;
        key.disc = tags.disc;
        key.track = tags.track;
    }
    if (key.album.isEmpty())
        key.album = folderOf(relativePath);
    if (key.track == 0)
        key.track = leadingNumber(fileNameOf(relativePath));
    return key;
}

bool before(const OrderKey& a, const QString& nameA, const OrderKey& b, const QString& nameB)
{
    if (const int c = compareText(a.albumArtist, b.albumArtist); c != 0)
        return c < 0;
    if (const int c = compareText(a.album, b.album); c != 0)
        return c < 0;
    if (a.disc != b.disc)
        return a.disc < b.disc;
    if (a.track != b.track)
        return a.track < b.track;
    return compareName(nameA, nameB) < 0;
}

} // namespace OrderKeys
