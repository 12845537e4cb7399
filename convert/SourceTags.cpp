// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "convert/SourceTags.h"

#include "core/LocalPath.h"

#ifdef ZVD_HAVE_CONVERSION
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/infotag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/opusfile.h>
#include <taglib/tag.h>
#include <taglib/tfilestream.h>
#include <taglib/tpropertymap.h>
#include <taglib/vorbisfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>
#endif

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <memory>

namespace
{

#ifdef ZVD_HAVE_CONVERSION

// Pictures above this are no cover art but damage; the tag would outgrow what players read.
constexpr qsizetype MaxCoverBytes = 8 * 1024 * 1024;

QString trimmed(const QString& text)
{
    return shownText(text.section(QChar(0), 0, 0).trimmed());
}

QString fromTagLib(const TagLib::String& text)
{
    return QString::fromStdString(text.to8Bit(true));
}

// The front cover among FLAC-style pictures (FLAC blocks, Vorbis and Opus comments), else the first.
void takeCover(const TagLib::List<TagLib::FLAC::Picture*>& pictures, SourceTags& tags)
{
    const TagLib::FLAC::Picture* chosen = nullptr;
    for (const TagLib::FLAC::Picture* picture : pictures) {
        if (!chosen || picture->type() == TagLib::FLAC::Picture::FrontCover) {
            chosen = picture;
            if (picture->type() == TagLib::FLAC::Picture::FrontCover)
                break;
        }
    }
    if (!chosen || chosen->data().size() > MaxCoverBytes)
        return;
    tags.cover = QByteArray(chosen->data().data(), qsizetype(chosen->data().size()));
    tags.coverMime = fromTagLib(chosen->mimeType());
}

void takeMp4Cover(TagLib::MP4::Tag* tag, SourceTags& tags)
{
    if (!tag || !tag->contains("covr"))
        return;
    const TagLib::MP4::CoverArtList covers = tag->item("covr").toCoverArtList();
    if (covers.isEmpty() || covers.front().data().size() > MaxCoverBytes)
        return;
    const TagLib::MP4::CoverArt& cover = covers.front();
    tags.cover = QByteArray(cover.data().data(), qsizetype(cover.data().size()));
    tags.coverMime = cover.format() == TagLib::MP4::CoverArt::PNG ? QStringLiteral("image/png")
                                                                  : QStringLiteral("image/jpeg");
}

void readCover(TagLib::File* file, SourceTags& tags)
{
    if (auto* flac = dynamic_cast<TagLib::FLAC::File*>(file)) {
        takeCover(flac->pictureList(), tags);
        if (tags.cover.isEmpty() && flac->xiphComment())
            takeCover(flac->xiphComment()->pictureList(), tags);
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(file)) {
        if (vorbis->tag())
            takeCover(vorbis->tag()->pictureList(), tags);
    } else if (auto* opus = dynamic_cast<TagLib::Ogg::Opus::File*>(file)) {
        if (opus->tag())
            takeCover(opus->tag()->pictureList(), tags);
    } else if (auto* mp4 = dynamic_cast<TagLib::MP4::File*>(file)) {
        takeMp4Cover(mp4->tag(), tags);
    }
}

// The file opened for TagLib. On Unix the file is opened without waiting and checked to be a
// regular file first: a pipe named like a FLAC file must not block the list's background reader.
std::unique_ptr<TagLib::FileStream> openStream(const QString& path)
{
    const QByteArray native = LocalPath::encode(path);
#ifdef Q_OS_UNIX
    int fd;
    do {
        fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return nullptr;
    struct stat status {
    };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    auto stream = std::make_unique<TagLib::FileStream>(fd, true); // closes fd when done
#else
    auto stream = std::make_unique<TagLib::FileStream>(native.constData(), true);
#endif
    if (!stream->isOpen())
        return nullptr;
    return stream;
}

#endif

} // namespace

SourceTags SourceTags::read(const QString& path, bool withCover)
{
    SourceTags tags;
#ifdef ZVD_HAVE_CONVERSION
    try {
        const std::unique_ptr<TagLib::FileStream> stream = openStream(path);
        if (!stream)
            return tags;
        // Audio properties are not needed for tags: not reading them keeps a folder's listing fast.
        // TagLib tells the type from the content, except WAV, which is named by its extension.
        TagLib::FileRef file = path.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)
                                   ? TagLib::FileRef(new TagLib::RIFF::WAV::File(stream.get(), false))
                                   : TagLib::FileRef(stream.get(), false);
        if (file.isNull() || !file.tag())
            return tags;
        const TagLib::Tag* tag = file.tag();
        // A WAV file's tag() is its ID3v2 chunk; most WAV writers fill the RIFF INFO list instead.
        if (auto* wav = dynamic_cast<TagLib::RIFF::WAV::File*>(file.file());
            wav && tag->isEmpty() && wav->hasInfoTag())
            tag = wav->InfoTag();
        tags.title = trimmed(fromTagLib(tag->title()));
        tags.artist = trimmed(fromTagLib(tag->artist()));
        tags.album = trimmed(fromTagLib(tag->album()));
        tags.genre = trimmed(fromTagLib(tag->genre()));
        tags.year = int(qMin(tag->year(), 9999u));
        tags.track = int(qMin(tag->track(), 9999u));
        // Album artist and disc have no field of their own in TagLib's common tag; each format
        // maps its own (ALBUMARTIST, aART, TPE2; DISCNUMBER, disk) to these property names.
        const TagLib::PropertyMap properties = file.file()->properties();
        if (const TagLib::StringList artists = properties.value("ALBUMARTIST"); !artists.isEmpty())
            tags.albumArtist = trimmed(fromTagLib(artists.front()));
        if (const TagLib::StringList discs = properties.value("DISCNUMBER"); !discs.isEmpty())
            tags.disc = qBound(0, discs.front().toInt(), 9999);
        if (withCover)
            readCover(file.file(), tags);
    } catch (...) {
        // TagLib is not meant to throw, but a listing must never stop on one odd file.
        return SourceTags();
    }
#else
    Q_UNUSED(path);
    Q_UNUSED(withCover);
#endif
    return tags;
}

TagColumns SourceTags::columns() const
{
    return TagColumns{title, artist, genre};
}

TagColumns readSourceColumns(const QString& path)
{
    return SourceTags::read(path, false).columns();
}
