// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/cMP3ID3v2.h"

#include "audio/FileWindow.h"
#include "audio/GenreName.h"
#include "audio/ID3v2FrameReader.h"
#include "audio/ID3v2FrameText.h"
#include "audio/ID3v2Locator.h"
#include "audio/ID3v2TagWriter.h"
#include "audio/TagError.h"
#include "core/CodePage.h"

#include <QFile>

namespace
{

const QString kClass = QStringLiteral("cMP3ID3v2");

// All frames of one tag together load no more data than this; frames beyond it keep empty texts.
// Reading any file's tag so stays within a few tens of megabytes.
constexpr qint64 ModelDataBudget = 8 << 20;

QString textKey(const QString& id, qint32 number)
{
    return id + QLatin1Char(':') + QString::number(number);
}

TagError missingFrame(const QString& what)
{
    return TagError(TagError::InvalidArgument, TagError::sourceFor(kClass),
                    QStringLiteral("The tag holds no frame %1.").arg(what));
}

} // namespace

void cMP3ID3v2::reset()
{
    m_frames.clear();
    m_counts.clear();
    m_texts.clear();
    m_tagPosition = 0;
    m_version = 0;
    for (QString* text : {&m_title, &m_artist, &m_album, &m_year, &m_comment, &m_track, &m_playCounter,
                          &m_encodedBy, &m_otherGenreName, &m_linkTo, &m_originalArtist, &m_composer,
                          &m_copyright, &m_audioUrl, &m_buyUrl, &m_artistUrl, &m_lyrics})
        text->clear();
    m_genre = NoGenre;
    m_cover.clear();
    m_coverMime.clear();
}

void cMP3ID3v2::setMP3File(const QString& path)
{
    m_path = path;
    reset();
    QFile file(path);
    TagError::openForReading(file, kClass);
    readTag(file);
}

void cMP3ID3v2::readTag(QIODevice& device)
{
    reset();
    FileWindow window(device, kClass);
    const qint64 position = ID3v2Locator::FindTag(window);
    if (position <= 0)
        return;
    m_tagPosition = position;
    // Stored before the frames are read: a read error among them keeps it, as it keeps them.
    m_version = static_cast<quint8>(qMax(0, window.byteAt(position - 1)));
    qint64 budget = ModelDataBudget;
    ID3v2FrameReader::walk(window, position, [&](ID3v2FrameReader::Frame& frame) {
        const QString id = CodePage::toUnicodePaired(frame.id());
        const QByteArrayView data = frame.data(qMin(ID3v2FrameReader::FrameDataLimit, budget));
        budget -= data.size();
        // Several genres stay apart in the model as they are in the frame.
        storeFrame(id, id == QLatin1String("TCON") ? ID3v2FrameText::values(data).join(QChar(0))
                                                   : ID3v2FrameText::value(id, data));
    });
}

QString* cMP3ID3v2::propertyFor(const QString& id)
{
    static const QHash<QString, QString cMP3ID3v2::*> properties = {
        {QStringLiteral("TIT2"), &cMP3ID3v2::m_title},
        {QStringLiteral("TPE1"), &cMP3ID3v2::m_artist},
        {QStringLiteral("TALB"), &cMP3ID3v2::m_album},
        {QStringLiteral("TYER"), &cMP3ID3v2::m_year},
        {QStringLiteral("TRCK"), &cMP3ID3v2::m_track},
        {QStringLiteral("USLT"), &cMP3ID3v2::m_lyrics},
        {QStringLiteral("TENC"), &cMP3ID3v2::m_encodedBy},
        {QStringLiteral("TCOP"), &cMP3ID3v2::m_copyright},
        {QStringLiteral("TOPE"), &cMP3ID3v2::m_originalArtist},
        {QStringLiteral("TCOM"), &cMP3ID3v2::m_composer},
        {QStringLiteral("PCNT"), &cMP3ID3v2::m_playCounter},
        {QStringLiteral("WXXX"), &cMP3ID3v2::m_linkTo},
        {QStringLiteral("WOAF"), &cMP3ID3v2::m_audioUrl},
        {QStringLiteral("WOAR"), &cMP3ID3v2::m_artistUrl},
        {QStringLiteral("WCOM"), &cMP3ID3v2::m_buyUrl},
    };
    const auto it = properties.constFind(id);
    return it == properties.constEnd() ? nullptr : &(this->*(*it));
}

void cMP3ID3v2::storeFrame(const QString& id, const QString& value)
{
    const qint32 count = m_counts.value(id, 0) + 1;
    if (count == 1)
        m_frames.append(id);
    m_counts.insert(id, count);
    m_texts.insert(textKey(id, count), value);
    if (id == QLatin1String("COMM")) {
        // Several comments are kept one after the other, each after a NUL and a line break.
        m_comment = m_comment.isEmpty() ? value : m_comment + QChar(0) + QLatin1String("\r\n") + value;
    } else if (id == QLatin1String("TCON")) {
        ID3v2FrameText::applyContentType(value.split(QChar(0), Qt::SkipEmptyParts), m_genre,
                                         m_otherGenreName);
    } else if (QString* property = propertyFor(id)) {
        *property = value;
    }
}

QString cMP3ID3v2::Frame(qint32 position) const
{
    if (position < 1 || position > m_frames.size())
        throw TagError(TagError::OutOfRange, TagError::sourceFor(kClass),
                       QStringLiteral("There is no frame at position %1.").arg(position));
    return m_frames[position - 1];
}

QString cMP3ID3v2::TagText(const QString& id, qint32 number) const
{
    return m_texts.value(textKey(id, number));
}

void cMP3ID3v2::AddTag(const QString& id, const QString& text)
{
    const qint32 count = m_counts.value(id, 0) + 1;
    if (count == 1)
        m_frames.append(id);
    m_counts.insert(id, count);
    m_texts.insert(textKey(id, count), text);
}

void cMP3ID3v2::RemoveTag(const QString& id, qint32 number)
{
    if (!m_texts.contains(textKey(id, number)))
        throw missingFrame(textKey(id, number));
    const qint32 count = m_counts.value(id);
    for (qint32 n = number; n < count; ++n)
        m_texts.insert(textKey(id, n), m_texts.value(textKey(id, n + 1)));
    m_texts.remove(textKey(id, count));
    if (count <= 1) {
        m_frames.removeAll(id);
        m_counts.remove(id);
    } else {
        m_counts.insert(id, count - 1);
    }
}

void cMP3ID3v2::RemoveFrame(const QString& id)
{
    if (!m_frames.contains(id))
        throw missingFrame(id);
    m_frames.removeAll(id);
    m_counts.remove(id);
    // Texts are numbered 1, 2, ... without gaps, so the first missing number ends them.
    qint32 n = 1;
    while (m_texts.remove(textKey(id, n)))
        ++n;
}

void cMP3ID3v2::RemoveFrame(qint32 position)
{
    if (position < 1 || position > m_frames.size())
        throw missingFrame(QString::number(position));
    RemoveFrame(QString(m_frames[position - 1]));
}

void cMP3ID3v2::replaceFrame(const QString& id, const QString& text)
{
    if (m_frames.contains(id))
        RemoveFrame(id);
    AddTag(id, text);
}

void cMP3ID3v2::setArtistURL(const QString& v)
{
    replaceFrame(QStringLiteral("WOAR"), m_artistUrl = v);
}
void cMP3ID3v2::setBuyURL(const QString& v)
{
    replaceFrame(QStringLiteral("WCOM"), m_buyUrl = v);
}
void cMP3ID3v2::setAudioURL(const QString& v)
{
    replaceFrame(QStringLiteral("WOAF"), m_audioUrl = v);
}
void cMP3ID3v2::setCopyright(const QString& v)
{
    replaceFrame(QStringLiteral("TCOP"), m_copyright = v);
}
void cMP3ID3v2::setComposer(const QString& v)
{
    replaceFrame(QStringLiteral("TCOM"), m_composer = v);
}
void cMP3ID3v2::setOriginalArtist(const QString& v)
{
    replaceFrame(QStringLiteral("TOPE"), m_originalArtist = v);
}
void cMP3ID3v2::setPlayCounter(const QString& v)
{
    replaceFrame(QStringLiteral("PCNT"), m_playCounter = v);
}
void cMP3ID3v2::setEncodedBy(const QString& v)
{
    replaceFrame(QStringLiteral("TENC"), m_encodedBy = v);
}
void cMP3ID3v2::setTitle(const QString& v)
{
    replaceFrame(QStringLiteral("TIT2"), m_title = v);
}
void cMP3ID3v2::setArtist(const QString& v)
{
    replaceFrame(QStringLiteral("TPE1"), m_artist = v);
}
void cMP3ID3v2::setAlbum(const QString& v)
{
    replaceFrame(QStringLiteral("TALB"), m_album = v);
}
void cMP3ID3v2::setYear(const QString& v)
{
    replaceFrame(QStringLiteral("TYER"), m_year = v);
}
void cMP3ID3v2::setTrack(const QString& v)
{
    replaceFrame(QStringLiteral("TRCK"), m_track = v);
}

// Frames that carry a description or language before their text get an empty one.
void cMP3ID3v2::setLinkTo(const QString& v)
{
    replaceFrame(QStringLiteral("WXXX"), QChar(0) + (m_linkTo = v));
}
void cMP3ID3v2::setLyrics(const QString& v)
{
    replaceFrame(QStringLiteral("USLT"), QChar(0) + (m_lyrics = v));
}
void cMP3ID3v2::setComment(const QString& v)
{
    replaceFrame(QStringLiteral("COMM"), QChar(0) + QLatin1String("nt") + QChar(0) + (m_comment = v));
}

void cMP3ID3v2::setGenre(quint8 value)
{
    m_genre = value;
    replaceFrame(QStringLiteral("TCON"),
                 QLatin1Char('(') + QString::number(m_genre) + QLatin1Char(')') + m_otherGenreName);
}

void cMP3ID3v2::setOtherGenreName(const QString& value)
{
    m_otherGenreName = value;
    replaceFrame(QStringLiteral("TCON"),
                 QLatin1Char('(') + QString::number(m_genre) + QLatin1Char(')') + m_otherGenreName);
}

QString cMP3ID3v2::GenreName(quint8 genre) const
{
    return ::GenreName(genre);
}

QList<QPair<QString, QString>> cMP3ID3v2::framesToWrite() const
{
    QList<QPair<QString, QString>> frames;
    for (const QString& id : m_frames) {
        if (id.contains(QLatin1String("ID3")))
            continue;
        const qint32 count = m_counts.value(id);
        for (qint32 n = 1; n <= count; ++n)
            frames.append({id, m_texts.value(textKey(id, n))});
    }
    return frames;
}

void cMP3ID3v2::setFrontCover(const QByteArray& picture, const QString& mimeType)
{
    m_cover = picture;
    m_coverMime = mimeType;
}

QList<QByteArray> cMP3ID3v2::pictureFrames() const
{
    if (m_cover.isEmpty())
        return {};
    return {ID3v2TagWriter::pictureFrame(m_cover, m_coverMime)};
}

QByteArray cMP3ID3v2::newFileTag() const
{
    return ID3v2TagWriter::newFileTag(ID3v2TagWriter::image(framesToWrite(), pictureFrames()));
}

void cMP3ID3v2::Update()
{
    ID3v2TagWriter::write(m_path, ID3v2TagWriter::image(framesToWrite(), pictureFrames()));
}
