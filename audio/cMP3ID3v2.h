// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// An MP3 file's ID3v2 tag as an ordered list of frames, each holding one or more texts, plus
// one property per well-known frame. Assigning the file reads the tag; setters edit the model
// and Update writes it back as an ID3v2.3 tag. Errors are TagErrors from "<program>.cMP3ID3v2".
#pragma once

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QIODevice;

class cMP3ID3v2
{
public:
    bool HasID3v2Tag() const { return m_tagPosition > 0; }
    quint8 ID3v2TagVersion() const { return m_version; }
    qint32 FrameCount() const { return static_cast<qint32>(m_frames.size()); }
    QString Frame(qint32 position) const; // 1-based
    void RemoveFrame(const QString& id);
    void RemoveFrame(qint32 position); // 1-based
    qint32 TagsInFrame(const QString& id) const { return m_counts.value(id, 0); }
    void AddTag(const QString& id, const QString& text);
    void RemoveTag(const QString& id, qint32 number); // 1-based
    // Text `number` (1-based) of a frame; empty when there is none.
    QString TagText(const QString& id, qint32 number) const;

    QString ArtistURL() const { return m_artistUrl; }
    void setArtistURL(const QString& value);
    QString BuyURL() const { return m_buyUrl; }
    void setBuyURL(const QString& value);
    QString AudioURL() const { return m_audioUrl; }
    void setAudioURL(const QString& value);
    QString Copyright() const { return m_copyright; }
    void setCopyright(const QString& value);
    QString Composer() const { return m_composer; }
    void setComposer(const QString& value);
    QString OriginalArtist() const { return m_originalArtist; }
    void setOriginalArtist(const QString& value);
    QString LinkTo() const { return m_linkTo; }
    void setLinkTo(const QString& value);
    QString PlayCounter() const { return m_playCounter; }
    void setPlayCounter(const QString& value);
    QString EncodedBy() const { return m_encodedBy; }
    void setEncodedBy(const QString& value);
    QString Title() const { return m_title; }
    void setTitle(const QString& value);
    QString Artist() const { return m_artist; }
    void setArtist(const QString& value);
    QString Album() const { return m_album; }
    void setAlbum(const QString& value);
    QString Year() const { return m_year; }
    void setYear(const QString& value);
    QString Comment() const { return m_comment; }
    void setComment(const QString& value);
    QString Lyrics() const { return m_lyrics; }
    void setLyrics(const QString& value);
    quint8 Genre() const { return m_genre; }
    void setGenre(quint8 value);
    QString OtherGenreName() const { return m_otherGenreName; }
    void setOtherGenreName(const QString& value);
    QString Track() const { return m_track; }
    void setTrack(const QString& value);

    QString GenreName(quint8 genre) const;
    QString MP3File() const { return m_path; }
    // Stores the path, then reads its tag, discarding unsaved edits; errors keep the path.
    void setMP3File(const QString& path);
    quint8 TagVersion() const { return m_version; }
    // 1-based position of the tag's version byte; 0 without a tag.
    qint64 TagPosition() const { return m_tagPosition; }
    void Update();

    // Reads the tag of already opened data (a file or a buffer), replacing the model.
    void readTag(QIODevice& device);

    // The texts as Update writes them: one (identifier, text) pair per frame to write.
    QList<QPair<QString, QString>> framesToWrite() const;

    // A front cover Update writes as an attached picture (APIC) after the text frames; empty
    // bytes write none. Reading a file does not fill it.
    void setFrontCover(const QByteArray& picture, const QString& mimeType);
    QByteArray FrontCover() const { return m_cover; }

    // The whole tag for a file being created (padding included, published size form); see
    // ID3v2TagWriter::newFileTag.
    QByteArray newFileTag() const;

private:
    void reset();
    QList<QByteArray> pictureFrames() const;
    void storeFrame(const QString& id, const QString& value);
    void replaceFrame(const QString& id, const QString& text);
    QString* propertyFor(const QString& id);

    QString m_path;
    qint64 m_tagPosition = 0;
    quint8 m_version = 0;
    QStringList m_frames;
    QHash<QString, qint32> m_counts;
    QHash<QString, QString> m_texts;

    QString m_title, m_artist, m_album, m_year, m_comment, m_track, m_playCounter, m_encodedBy;
    QString m_otherGenreName, m_linkTo, m_originalArtist, m_composer, m_copyright, m_audioUrl;
    QString m_buyUrl, m_artistUrl, m_lyrics;
    quint8 m_genre = 255;
    QByteArray m_cover;
    QString m_coverMime;
};
