// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/TagEdit.h"

#include "audio/FileWindow.h"
#include "audio/GenreName.h"
#include "audio/ID3v2Locator.h"
#include "audio/ID3v2TagWriter.h"
#include "audio/TagError.h"
#include "audio/cMP3ID3v1.h"
#include "audio/cMP3ID3v2.h"
#include "core/AppPaths.h"
#include "core/CodePage.h"
#include "core/RegularFile.h"
#include "core/StagedFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace TagEdit
{
namespace
{

const QString kClass = QStringLiteral("TagEdit");
constexpr qint64 CopyPiece = 64 * 1024;

[[noreturn]] void fail(qint32 number, const QString& path, const QString& reason)
{
    throw TagError(number, TagError::sourceFor(kClass),
                   QDir::toNativeSeparators(path) + QLatin1String(": ") + reason);
}

// A text as the editor shows it: up to its first NUL, without the padding of fixed fields.
QString unpadded(const QString& text)
{
    const qsizetype end = text.indexOf(QChar(0));
    QString cut = end >= 0 ? text.left(end) : text;
    while (!cut.isEmpty() && cut.back().isSpace())
        cut.chop(1);
    return cut;
}

bool fitsCodePage(const QString& text)
{
    return CodePage::toUnicode(CodePage::fromUnicode(text)) == text;
}

// Where the audio of an open file lies: after the ID3v2 tag's room at its start, before its
// ID3v1 tag.
struct Layout {
    qint64 size = 0;
    qint64 headSize = 0;
    qint64 tailSize = 0;
    qint64 audioSize() const { return size - headSize - tailSize; }
};

Layout layoutOf(QFile& file, const QString& path)
{
    FileWindow window(file, kClass);
    Layout layout;
    layout.size = window.size();
    const qint64 position = ID3v2Locator::FindTag(window);
    if (position == 4)
        layout.headSize = ID3v2TagWriter::oldRoom(window.read(0, 10).toByteArray(), 0, layout.size);
    if (layout.size - layout.headSize > cMP3ID3v1::TagSize &&
        window.read(layout.size - cMP3ID3v1::TagSize, 3) == QByteArrayView("TAG"))
        layout.tailSize = cMP3ID3v1::TagSize;
    if (layout.headSize < 0 || layout.audioSize() < 0)
        fail(QFileDevice::ReadError, path, QStringLiteral("the file's tags could not be located"));
    return layout;
}

QByteArray readRange(QFile& file, const QString& path, qint64 from, qint64 size)
{
    QByteArray bytes;
    if (!file.seek(from) || (bytes = file.read(size)).size() != size)
        fail(QFileDevice::ReadError, path, file.errorString());
    return bytes;
}

QByteArray hashRange(QFile& file, const QString& path, qint64 from, qint64 size)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.seek(from))
        fail(QFileDevice::ReadError, path, file.errorString());
    QByteArray piece(CopyPiece, '\0');
    for (qint64 left = size; left > 0;) {
        const qint64 got = file.read(piece.data(), qMin(left, CopyPiece));
        if (got <= 0)
            fail(QFileDevice::ReadError, path, file.errorString());
        hash.addData(QByteArrayView(piece.constData(), got));
        left -= got;
    }
    return hash.result();
}

void copyRange(QFile& from, StagedFile& to, const QString& path, qint64 start, qint64 size)
{
    if (!from.seek(start))
        fail(QFileDevice::ReadError, path, from.errorString());
    QByteArray piece(CopyPiece, '\0');
    for (qint64 left = size; left > 0;) {
        const qint64 got = from.read(piece.data(), qMin(left, CopyPiece));
        if (got <= 0)
            fail(QFileDevice::ReadError, path, from.errorString());
        if (!to.write(piece.constData(), got))
            throw TagError(QFileDevice::WriteError, TagError::sourceFor(kClass), to.writeError());
        left -= got;
    }
}

// The file for writing: a regular file the user may write (a rename would replace even a
// read-only file, so its permission is asked here), its link followed.
QString openForEdit(const QString& given, QFile& file)
{
    const QString path =
        QFileInfo(given).canonicalFilePath().isEmpty() ? given : QFileInfo(given).canonicalFilePath();
    QString error;
    if (!RegularFile::open(file, path, QIODevice::ReadWrite, &error))
        fail(QFileDevice::OpenError, given, error);
    return path;
}

// The ID3v2 model is text only: a frame it cannot write back as it was would be lost or mangled
// by rewriting the tag, so such a tag is not edited at all, unless the edit replaces that frame.
void refuseLossyTag(const cMP3ID3v2& tag, const TagChanges& changes, const QString& path)
{
    const QList<QPair<QString, bool>> replaced = {
        {QStringLiteral("TIT2"), bool(changes.title)}, {QStringLiteral("TPE1"), bool(changes.artist)},
        {QStringLiteral("TALB"), bool(changes.album)}, {QStringLiteral("TYER"), bool(changes.year)},
        {QStringLiteral("TRCK"), bool(changes.track)}, {QStringLiteral("TCON"), bool(changes.genre)}};
    QStringList kinds;
    QStringList texts;
    for (qint32 n = 1; n <= tag.FrameCount(); ++n) {
        const QString id = tag.Frame(n);
        if (replaced.contains({id, true}))
            continue;
        const bool text = (id.startsWith(QLatin1Char('T')) && id != QLatin1String("TXXX")) ||
                          (id.startsWith(QLatin1Char('W')) && id != QLatin1String("WXXX"));
        if (!text && !(id == QLatin1String("COMM") && tag.TagsInFrame(id) == 1)) {
            kinds.append(id);
            continue;
        }
        for (qint32 k = 1; k <= tag.TagsInFrame(id); ++k)
            if (!fitsCodePage(tag.TagText(id, k)) && !texts.contains(id))
                texts.append(id);
    }
    QStringList reasons;
    if (!kinds.isEmpty())
        reasons.append(QStringLiteral("frames that cannot be written back unchanged (%1)")
                           .arg(kinds.join(QStringLiteral(", "))));
    if (!texts.isEmpty())
        reasons.append(QStringLiteral("texts that the code page %1 cannot hold (%2)")
                           .arg(QString::fromLatin1(CodePage::name()), texts.join(QStringLiteral(", "))));
    if (!reasons.isEmpty())
        fail(TagError::InvalidArgument, path,
             QStringLiteral("its tag holds %1; the file was left as it is")
                 .arg(reasons.join(QStringLiteral(" and "))));
}

// Whether the version 2 tag gives the fields (else the version 1 tag does).
bool showsVersion2(const cMP3ID3v2& v2)
{
    return v2.HasID3v2Tag() &&
           (!v2.Title().isEmpty() || !v2.Artist().isEmpty() || !v2.Album().isEmpty() ||
            !v2.Year().isEmpty() || !v2.Track().isEmpty() || v2.TagsInFrame(QStringLiteral("TCON")) > 0);
}

void setText(cMP3ID3v2& tag, const QString& id, const QString& value,
             void (cMP3ID3v2::*setter)(const QString&))
{
    if (!value.isEmpty()) {
        (tag.*setter)(value);
    } else if (tag.TagsInFrame(id) > 0) {
        tag.RemoveFrame(id); // an empty field is no frame rather than an empty one
    }
}

// The fields the user saw came from the version 1 tag: the new version 2 tag, which readers
// prefer from now on, takes them all, or the fields not edited would seem lost.
TagChanges withShownFields(TagChanges changes, const TagFields& shown)
{
    const auto fill = [](std::optional<QString>& change, const QString& value) {
        if (!change && !value.isEmpty())
            change = value;
    };
    fill(changes.title, shown.title);
    fill(changes.artist, shown.artist);
    fill(changes.album, shown.album);
    fill(changes.year, shown.year);
    fill(changes.track, shown.track);
    if (!changes.genre && shown.genreNumber != NoGenre)
        changes.genre = shown.genreNumber;
    return changes;
}

void writeVersion2(const QString& staged, TagChanges changes, const TagFields& shown)
{
    cMP3ID3v2 tag;
    tag.setMP3File(staged);
    if (!showsVersion2(tag))
        changes = withShownFields(changes, shown);
    if (tag.TagsInFrame(QStringLiteral("COMM")) == 1)
        tag.setComment(tag.Comment()); // as the class writes a comment: with its language field
    if (changes.title)
        setText(tag, QStringLiteral("TIT2"), *changes.title, &cMP3ID3v2::setTitle);
    if (changes.artist)
        setText(tag, QStringLiteral("TPE1"), *changes.artist, &cMP3ID3v2::setArtist);
    if (changes.album)
        setText(tag, QStringLiteral("TALB"), *changes.album, &cMP3ID3v2::setAlbum);
    if (changes.year)
        setText(tag, QStringLiteral("TYER"), *changes.year, &cMP3ID3v2::setYear);
    if (changes.track)
        setText(tag, QStringLiteral("TRCK"), *changes.track, &cMP3ID3v2::setTrack);
    if (changes.genre) {
        if (*changes.genre == NoGenre) {
            if (tag.TagsInFrame(QStringLiteral("TCON")) > 0)
                tag.RemoveFrame(QStringLiteral("TCON"));
        } else {
            tag.setOtherGenreName(QString()); // the list's name stands alone: "(17)"
            tag.setGenre(*changes.genre);
        }
    }
    tag.Update();
}

quint8 trackByte(const QString& track)
{
    bool ok = false;
    const int number = track.section(QLatin1Char('/'), 0, 0).toInt(&ok);
    return ok && number > 0 && number < 256 ? quint8(number) : 0;
}

// The version 1 tag gets the same fields, so that a reader of either tag sees the edit. A field
// not edited keeps the version 1 tag's own value, or takes the shown one when there was none.
void writeVersion1(const QString& staged, const TagChanges& changes, const TagFields& shown)
{
    cMP3ID3v1 tag;
    tag.setMP3File(staged);
    const bool had = tag.HasID3v1Tag();
    const auto pick = [&](const std::optional<QString>& change, const QString& own, const QString& fallback) {
        return change ? *change : had ? own : fallback;
    };
    tag.setTitle(pick(changes.title, tag.Title(), shown.title));
    tag.setArtist(pick(changes.artist, tag.Artist(), shown.artist));
    tag.setAlbum(pick(changes.album, tag.Album(), shown.album));
    tag.setYear(pick(changes.year, tag.Year(), shown.year));
    if (changes.track || !had)
        tag.setTrack(trackByte(changes.track ? *changes.track : shown.track));
    if (changes.genre || !had)
        tag.setGenre(changes.genre ? *changes.genre : shown.genreNumber);
    if (!had)
        tag.setComment(QString());
    tag.Update();
}

TagFields fieldsOf(const cMP3ID3v2& v2, const cMP3ID3v1& v1)
{
    TagFields fields;
    const bool useV2 =
        v2.HasID3v2Tag() &&
        (!v2.Title().isEmpty() || !v2.Artist().isEmpty() || !v2.Album().isEmpty() || !v2.Year().isEmpty() ||
         !v2.Track().isEmpty() || v2.TagsInFrame(QStringLiteral("TCON")) > 0);
    if (useV2) {
        fields = {unpadded(v2.Title()),
                  unpadded(v2.Artist()),
                  unpadded(v2.Album()),
                  unpadded(v2.Year()),
                  unpadded(v2.Track()),
                  QString(),
                  v2.Genre()};
        fields.genre = v2.Genre() != NoGenre && !GenreName(v2.Genre()).isEmpty()
                           ? GenreName(v2.Genre())
                           : unpadded(v2.OtherGenreName());
        if (fields.genreNumber == NoGenre && genreNumber(fields.genre) >= 0)
            fields.genreNumber = quint8(genreNumber(fields.genre));
    } else if (v1.HasID3v1Tag()) {
        fields = {unpadded(v1.Title()),
                  unpadded(v1.Artist()),
                  unpadded(v1.Album()),
                  unpadded(v1.Year()),
                  v1.Track() ? QString::number(v1.Track()) : QString(),
                  GenreName(v1.Genre()),
                  v1.Genre()};
    }
    return fields;
}

} // namespace

QList<QPair<quint8, QString>> genreList()
{
    QList<QPair<quint8, QString>> list;
    for (int n = 0; n < 255; ++n) {
        const QString name = GenreName(quint8(n));
        if (!name.isEmpty())
            list.append({quint8(n), name});
    }
    return list;
}

int genreNumber(const QString& nameOrNumber)
{
    const QString text = nameOrNumber.trimmed();
    bool ok = false;
    const int number = text.toInt(&ok);
    if (ok)
        return number >= 0 && number <= 255 ? number : -1;
    for (const auto& [n, name] : genreList())
        if (name.compare(text, Qt::CaseInsensitive) == 0)
            return n;
    return -1;
}

QString problem(const TagChanges& changes)
{
    static const QRegularExpression year(QStringLiteral("^[0-9]{0,4}$"));
    static const QRegularExpression track(QStringLiteral("^([0-9]{1,3}(/[0-9]{1,3})?)?$"));
    if (changes.year && !year.match(*changes.year).hasMatch())
        return QStringLiteral("The year must be up to four digits.");
    if (changes.track && !track.match(*changes.track).hasMatch())
        return QStringLiteral("The track must be a number, or a number, a slash and the number of tracks.");
    for (const auto* text : {&changes.title, &changes.artist, &changes.album}) {
        if (*text && !fitsCodePage(**text))
            return QStringLiteral("\"%1\" holds characters that the tags cannot store in the code page %2.")
                .arg(**text, QString::fromLatin1(CodePage::name()));
        if (*text && (*text)->contains(QChar(0)))
            return QStringLiteral("A tag text cannot hold a NUL character.");
    }
    return QString();
}

TagFields read(const QString& path)
{
    cMP3ID3v2 v2;
    cMP3ID3v1 v1;
    v2.setMP3File(path);
    v1.setMP3File(path);
    return fieldsOf(v2, v1);
}

TagUndo apply(const QString& given, const TagChanges& changes)
{
    if (const QString why = problem(changes); !why.isEmpty())
        fail(TagError::InvalidArgument, given, why);
    QFile original;
    const QString path = openForEdit(given, original);
    // Copies of ours left in this folder by a process that was killed go before we write here.
    AppPaths::removeStaleTempFiles(QFileInfo(path).absolutePath());

    cMP3ID3v2 v2;
    cMP3ID3v1 v1;
    v2.readTag(original);
    v1.readTag(original);
    refuseLossyTag(v2, changes, given);
    const TagFields shown = fieldsOf(v2, v1);

    TagUndo edit;
    edit.path = path;
    edit.oldModified = QFileInfo(path).lastModified();
    const Layout before = layoutOf(original, given);
    edit.oldHead = readRange(original, given, 0, before.headSize);
    edit.oldTail = readRange(original, given, before.size - before.tailSize, before.tailSize);
    edit.audioSize = before.audioSize();
    edit.audioHash = hashRange(original, given, before.headSize, edit.audioSize);

    StagedFile staged(path);
    QString error;
    if (!staged.open(&error))
        fail(QFileDevice::OpenError, given, error);
    copyRange(original, staged, given, 0, before.size);
    original.close();
    if (!staged.finishWriting(&error))
        fail(QFileDevice::WriteError, given, error);
    writeVersion2(staged.stagedPath(), changes, shown);
    writeVersion1(staged.stagedPath(), changes, shown);

    // The audio must be the very bytes it was: the tags grew or shrank around it, nothing else.
    QFile result(staged.stagedPath());
    if (!result.open(QIODevice::ReadOnly))
        fail(QFileDevice::ReadError, given, result.errorString());
    const qint64 size = result.size();
    const qint64 tail = result.size() - cMP3ID3v1::TagSize >= edit.audioSize ? cMP3ID3v1::TagSize : 0;
    const qint64 audioStart = size - tail - edit.audioSize;
    if (audioStart < 0 || hashRange(result, given, audioStart, edit.audioSize) != edit.audioHash)
        fail(QFileDevice::WriteError, given,
             QStringLiteral("writing the tags would have changed the audio; the file "
                            "was left as it is"));
    edit.newHead = readRange(result, given, 0, audioStart);
    edit.newTail = readRange(result, given, size - tail, tail);
    result.close();
    if (!staged.commit(&error))
        fail(QFileDevice::RenameError, given, error);
    return edit;
}

void undo(const TagUndo& edit)
{
    QFile current;
    openForEdit(edit.path, current);
    const qint64 size = current.size();
    const bool same =
        size == edit.newHead.size() + edit.audioSize + edit.newTail.size() &&
        readRange(current, edit.path, 0, edit.newHead.size()) == edit.newHead &&
        readRange(current, edit.path, size - edit.newTail.size(), edit.newTail.size()) == edit.newTail &&
        hashRange(current, edit.path, edit.newHead.size(), edit.audioSize) == edit.audioHash;
    if (!same)
        fail(QFileDevice::WriteError, edit.path,
             QStringLiteral("the file was changed since its tags were edited; the edit was not undone"));
    StagedFile staged(edit.path);
    QString error;
    if (!staged.open(&error))
        fail(QFileDevice::OpenError, edit.path, error);
    if (!staged.write(edit.oldHead))
        throw TagError(QFileDevice::WriteError, TagError::sourceFor(kClass), staged.writeError());
    copyRange(current, staged, edit.path, edit.newHead.size(), edit.audioSize);
    if (!staged.write(edit.oldTail))
        throw TagError(QFileDevice::WriteError, TagError::sourceFor(kClass), staged.writeError());
    current.close();
    // The file is again what it was, so it also carries its old time.
    staged.setModified(edit.oldModified);
    if (!staged.commit(&error))
        fail(QFileDevice::RenameError, edit.path, error);
}

} // namespace TagEdit
