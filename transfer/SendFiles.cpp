// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/SendFiles.h"

#include "audio/MpegAnalysis.h"
#include "convert/ConversionQueue.h"
#include "convert/ConvertibleFormats.h"
#include "core/Prompt.h"
#include "device/PlayerFile.h"
#include "device/PlayerSession.h"
#include "device/PlayerSetAside.h"
#include "localfiles/FileExtension.h"
#include "localfiles/LocalFileModel.h"
#include "transfer/DisplayName.h"
#include "transfer/FailureMessage.h"
#include "transfer/PreparedCopy.h"

#include <QFileInfo>

#include "localfiles/SizeFormat.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace
{

struct SendItem {
    QString path;
    QString name;        // the name the player stores: for a converted file, its MP3's name
    QString displayText; // set for music files: their LCD text
    bool withBlock = false;
    qint64 size = 0;
    std::optional<PlayerListRow> replaces; // the entry of the same name the user agreed to replace
    int conversion = -1;                   // the file's job in the conversion queue; -1: sent as it is
};

// The audio view sends every file with a title block, as the player lists music there. Any
// other view (zvdctl can send a music file in each) gives one to the files the player will list
// as music, because the listing takes 1546 bytes off every MP3 and WMA entry: sent bare, such a
// file would come back cut short.
bool carriesBlock(const PlayerSession& session, const QString& name)
{
    if (session.view() == PlayerView::Audio)
        return true;
    const QString extension = mFileAPI::extensionOf(name);
    return extension == QLatin1String("MP3") || extension == QLatin1String("WMA");
}

// Music of other formats becomes MP3 on its way to the music view (and to the player as a whole,
// as zvdctl sends by default); the other views store every file as it is.
bool convertsOnSend(const PlayerSession& session, const QString& name)
{
    return needsConversion(name) &&
           (session.view() == PlayerView::Audio || session.view() == PlayerView::All);
}

qint64 currentSize(const LocalFileRow& row, bool converted, const ConversionQuality& quality)
{
    // A file converted on the way takes what its MP3 will take: estimated from its playing time.
    if (converted) {
        const qint64 estimate = Mp3Converter::estimatedSize(row.path, quality);
        if (estimate > 0)
            return estimate;
    }
    // The list may be older than the file; a size the scan could not read is asked again.
    return row.hasSize() ? row.size : qMax<qint64>(0, QFileInfo(row.path).size());
}

std::vector<int> inListOrder(std::vector<int> rows, int count)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(), [count](int r) { return r < 0 || r >= count; }),
               rows.end());
    return rows;
}

// The bit rate of a Xing VBR file goes into the block; everything else gets 0.
qint16 titleValue(const QString& name, const QString& path, const QByteArray& head, qint64 size)
{
    if (!mFileAPI::isMp3Name(name))
        return 0;
    const MpegInfo info = MpegAnalysis::analyse(head, size, path);
    if (!info.vbr)
        return 0;
    return qint16(std::clamp<qint32>(info.bitRate, 0, std::numeric_limits<qint16>::max()));
}

// Asks every same-name question first (a question nobody can answer must stop the send before
// anything changed); returns the batch. No entry is touched here: each old entry is dealt with
// only when its own replacement is next, so a cancel or a failure leaves the others as they were.
std::vector<SendItem> buildBatch(SendRequest& request, const std::vector<int>& rows)
{
    PlayerSession& session = request.session;
    const MessageTexts& texts = session.texts();
    std::vector<SendItem> batch;
    ReplaceQuestions replace(request.prompt);
    int conversions = 0;
    for (int position : rows) {
        // A file converted on the way is "name.mp3" on the player: in the question, in the
        // same-name match and in the LCD text that shows the file name.
        LocalFileRow row = request.local.row(position);
        const bool convert = convertsOnSend(session, row.name);
        if (convert)
            row.name = playerNameFor(row.name);
        const int match = session.list().findNameIgnoringCase(row.name);
        if (match >= 0 &&
            !replace.ask(row.name, texts.sameFile1 + QLatin1String("\r\n") + texts.sameFile2, texts.title))
            continue;
        SendItem item{row.path,
                      row.name,
                      QString(),
                      false,
                      currentSize(request.local.row(position), convert, request.quality),
                      std::nullopt};
        if (match >= 0)
            item.replaces = session.list().row(match);
        if (mFileAPI::isMusicName(row.name))
            item.displayText = Disp_Name(request.lcdSelector, row);
        item.withBlock = carriesBlock(session, row.name);
        if (convert)
            item.conversion = conversions++;
        batch.push_back(std::move(item));
    }
    return batch;
}

// One file's way to the player, with the old entry it replaces kept safe until the new one is in.
class OneSend
{
public:
    // copy: the batch's prepared copy, made again for each file that carries a block.
    OneSend(SendRequest& request, std::vector<int32_t>& deleted, PreparedCopy& copy)
        : m_request(request), m_deleted(deleted), m_copy(copy)
    {
    }

    // Stores the file (sourcePath: what to send, the MP3 of a converted file); false with
    // reason() when it did not arrive, or when it did (arrived()) but the old entry it replaced
    // could not be deleted.
    bool run(const SendItem& item, const QString& sourcePath);
    QString reason() const { return m_reason; }
    bool playerGone() const { return m_playerGone; }
    bool arrived() const { return m_arrived; }

private:
    PlayerSession& session() { return m_request.session; }
    bool setOldAside(const PlayerListRow& old);
    bool store(const QString& path);
    void explainFailedStore(const SendItem& item);
    void afterStored(const PlayerListRow& old);
    void afterFailedStore(const PlayerListRow& old);
    int32_t currentIndex(int32_t listedIndex) const
    {
        // Each deletion so far moved the later entries up by one; stored files went to the
        // end and moved nothing.
        return listedIndex - int32_t(std::count_if(m_deleted.begin(), m_deleted.end(),
                                                   [&](int32_t gone) { return gone < listedIndex; }));
    }

    SendRequest& m_request;
    std::vector<int32_t>& m_deleted; // listed indexes of the entries deleted so far
    PreparedCopy& m_copy;
    QString m_reason;
    bool m_playerGone = false;
    bool m_arrived = false;
    int32_t m_index = -1;   // where the old entry is now
    QString m_asideName;    // the old entry's name while it is set aside
    bool m_oldGone = false; // the fallback deleted the old entry before the store
};

bool OneSend::setOldAside(const PlayerListRow& old)
{
    m_index = currentIndex(old.index);
    PlayerEntry record{};
    if (!PlayerSetAside::readRecord(session(), m_index, record)) {
        m_reason = session().texts().replaceUnread;
        return false;
    }
    if (decodePlayerEntry(record, m_index).displayName() != old.name) {
        m_reason = session().texts().replaceChanged;
        return false;
    }
    const QString aside = PlayerSetAside::nameFor(old.name);
    if (!aside.isEmpty() && session().library().Rename(session().handle(), 0, m_index, aside, record)) {
        m_asideName = aside;
        return true;
    }
    // The player refuses the rename: the old entry has to go just before its replacement.
    if (!session().library().Delete(session().owner(), session().handle(), 0, m_index, old.name)) {
        m_reason = session().texts().replaceRefused;
        return false;
    }
    m_oldGone = true;
    m_deleted.push_back(old.index);
    return true;
}

bool OneSend::store(const QString& path)
{
    return session().library().Download(session().owner(), session().handle(), 0, path);
}

void OneSend::afterStored(const PlayerListRow& old)
{
    if (m_asideName.isEmpty())
        return;
    if (session().library().Delete(session().owner(), session().handle(), 0, m_index, m_asideName)) {
        m_deleted.push_back(old.index);
        return;
    }
    m_reason = QString(session().texts().oldCopyStays).arg(m_asideName);
}

void OneSend::afterFailedStore(const PlayerListRow& old)
{
    QString what;
    if (m_oldGone) {
        what = QString(session().texts().oldCopyGone).arg(old.name);
    } else if (!m_asideName.isEmpty() &&
               !PlayerSetAside::renameEntry(session(), m_index, m_asideName, old.name)) {
        what = QString(session().texts().oldCopyAside).arg(m_asideName);
    }
    if (!what.isEmpty())
        m_reason = m_reason.isEmpty() ? what : m_reason + QStringLiteral("; ") + what;
}

void OneSend::explainFailedStore(const SendItem& item)
{
    if (session().library().TestConnection() != 1) {
        m_playerGone = true;
        m_reason = session().texts().detached;
        return;
    }
    const auto named = [&](const PlayerFile& entry) {
        return entry.displayName().compare(item.name, Qt::CaseInsensitive) == 0;
    };
    // The shown view lists only some entries: the name may be taken by a file of another view.
    const std::vector<PlayerFile>& before = session().allEntries();
    const bool takenBefore = !item.replaces && std::any_of(before.begin(), before.end(), named);
    // Or another program stored a file of this name since the list was read.
    std::vector<PlayerFile> entries;
    if (!session().readEntries(entries) || !std::any_of(entries.begin(), entries.end(), named))
        return;
    m_reason = takenBefore ? session().texts().nameInOtherView : session().texts().nameTaken;
}

bool OneSend::run(const SendItem& item, const QString& sourcePath)
{
    // The local work comes first: a copy that cannot be made must not cost the old entry.
    if (item.withBlock) {
        const bool made =
            m_copy.make(sourcePath, MpegAnalysis::HeadSize, [&](const QByteArray& head, qint64 size) {
                return m_request.makeBlock(item.displayText, titleValue(item.name, sourcePath, head, size));
            });
        if (!made) {
            m_reason = m_copy.error();
            return false;
        }
    }
    // Two local names that differ only in case match the same entry: the first replaced it.
    const bool replacing = item.replaces && std::find(m_deleted.begin(), m_deleted.end(),
                                                      item.replaces->index) == m_deleted.end();
    if (replacing && !setOldAside(*item.replaces))
        return false;
    if (store(item.withBlock ? m_copy.path() : sourcePath)) {
        m_arrived = true;
        if (replacing)
            afterStored(*item.replaces);
        return m_reason.isEmpty();
    }
    explainFailedStore(item);
    if (replacing)
        afterFailedStore(*item.replaces);
    return false;
}

// The conversions of a batch start at once, ahead of the sends, so the two cores convert while
// the player receives.
std::unique_ptr<ConversionQueue> startConversions(const SendRequest& request,
                                                  const std::vector<SendItem>& batch)
{
    std::vector<ConversionQueue::Job> jobs;
    for (const SendItem& item : batch) {
        if (item.conversion >= 0)
            jobs.push_back({item.path, item.name});
    }
    if (jobs.empty())
        return nullptr;
    TransferObserver* observer = request.observer;
    return std::make_unique<ConversionQueue>(std::move(jobs), request.quality,
                                             [observer] { return observer && observer->stopRequested(); });
}

// The file to send for an item: the item's own file, or the MP3 its conversion made.
struct Prepared {
    QString path;
    qint64 size = 0;
    QString error; // why it cannot be sent (the batch goes on, unless noRoom)
    bool noRoom = false;
    bool cancelled = false;
};

Prepared prepare(const SendItem& item, ConversionQueue* conversions, qint64 room, const MessageTexts& texts)
{
    Prepared prepared;
    if (item.conversion < 0 || !conversions) {
        prepared.path = item.path;
        prepared.size = item.size;
        return prepared;
    }
    const ConversionQueue::Done done = conversions->take(item.conversion);
    if (done.result.cancelled) {
        prepared.cancelled = true;
        return prepared;
    }
    if (!done.result.ok) {
        prepared.error = conversionFailureText(texts, done.result);
        conversions->release(item.conversion);
        return prepared;
    }
    prepared.path = done.path;
    prepared.size = done.result.size;
    // The space check before the batch estimated this size; the real one decides.
    if (prepared.size + (item.withBlock ? TitleBlockSize : 0) > room) {
        prepared.error = QString(texts.convNoRoom).arg(mFileAPI::FormatSize(prepared.size));
        prepared.noRoom = true;
        conversions->release(item.conversion);
    }
    return prepared;
}

} // namespace

qint64 requiredSpace(const SendRequest& request)
{
    qint64 total = 0;
    for (int position : inListOrder(request.selectedRows, request.local.count())) {
        const LocalFileRow& row = request.local.row(position);
        const bool convert = convertsOnSend(request.session, row.name);
        total += currentSize(row, convert, request.quality);
        if (carriesBlock(request.session, convert ? playerNameFor(row.name) : row.name))
            total += TitleBlockSize;
    }
    return total;
}

TransferOutcome SendSelectedFiles(SendRequest& request)
{
    using Status = TransferOutcome::Status;
    PlayerSession& session = request.session;
    TransferOutcome outcome;
    if (!session.isConnected())
        return {Status::NotConnected, 0, 0, QString()};
    if (requiredSpace(request) > session.freeBytes()) {
        request.prompt.showMessage(session.texts().notEnough, session.texts().title, Prompt::Icon::Warning);
        return {Status::NotEnoughSpace, 0, 0, QString()};
    }

    const std::vector<SendItem> batch =
        buildBatch(request, inListOrder(request.selectedRows, request.local.count()));
    outcome.batchSize = int(batch.size());
    std::vector<int32_t> deleted;
    PreparedCopy copy; // one file, written over for each song and removed with the batch
    std::unique_ptr<ConversionQueue> conversions = startConversions(request, batch);
    QStringList notConverted;          // "name: why" of each file that could not be converted
    qint64 room = session.freeBytes(); // what is left on the player, with real sizes as they arrive
    int number = 0;
    for (const SendItem& item : batch) {
        const TransferProgress progress{item.name, ++number, outcome.batchSize, item.size};
        if (request.observer && !request.observer->fileStarting(progress)) {
            outcome.status = Status::Cancelled;
            break;
        }
        const Prepared prepared = prepare(item, conversions.get(), room, session.texts());
        if (prepared.cancelled) {
            outcome.status = Status::Cancelled;
            break;
        }
        if (!prepared.error.isEmpty()) {
            if (request.observer)
                request.observer->fileFinished(progress, false);
            notConverted.append(QFileInfo(item.path).fileName() + QLatin1String(": ") + prepared.error);
            if (outcome.failedName.isEmpty())
                outcome.failedName = QFileInfo(item.path).fileName();
            if (!prepared.noRoom)
                continue;
            // The MP3 came out larger than estimated and the player is full: nothing later fits either.
            break;
        }
        OneSend one(request, deleted, copy);
        const bool ok = one.run(item, prepared.path);
        if (conversions && item.conversion >= 0)
            conversions->release(item.conversion);
        if (request.observer)
            request.observer->fileFinished(progress, ok);
        if (!ok) {
            if (one.arrived())
                ++outcome.transferred;
            outcome.status = Status::Failed;
            outcome.failedName = item.name;
            outcome.playerGone = one.playerGone();
            const int notSent = outcome.batchSize - outcome.transferred;
            request.prompt.showMessage(
                failureMessage(session.texts(), item.name, one.reason(), notSent, outcome.batchSize, false),
                session.texts().title, Prompt::Icon::Critical);
            break;
        }
        ++outcome.transferred;
        room -= prepared.size + (item.withBlock ? TitleBlockSize : 0);
        // The entry it replaced is gone now, and its room with it (listed without its block).
        if (item.replaces)
            room += item.replaces->size + (mFileAPI::isMusicName(item.replaces->name) ? TitleBlockSize : 0);
    }
    conversions.reset(); // stops what is still converting and removes every MP3 made for this batch
    if (!notConverted.isEmpty()) {
        if (outcome.status == Status::Done)
            outcome.status = Status::Failed;
        request.prompt.showMessage(session.texts().notConverted + QLatin1String("\r\n") +
                                       notConverted.join(QLatin1String("\r\n")),
                                   session.texts().title, Prompt::Icon::Warning);
    }
    session.RefreshPlayerList();
    return outcome;
}
