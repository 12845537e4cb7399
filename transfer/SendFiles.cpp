// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "SendFiles.h"

#include "DisplayName.h"
#include "FailureMessage.h"
#include "FileExtension.h"
#include "LocalFileModel.h"
#include "MpegAnalysis.h"
#include "PlayerFile.h"
#include "PlayerSession.h"
#include "PreparedCopy.h"
#include "Prompt.h"

#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace
{

struct SendItem {
    QString path;
    QString name;
    QString displayText; // set for music files: their LCD text
    bool withBlock = false;
    qint64 size = 0;
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

qint64 currentSize(const LocalFileRow& row)
{
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
qint16 titleValue(const QString& name, const QByteArray& head, qint64 size)
{
    if (!mFileAPI::isMp3Name(name))
        return 0;
    const MpegInfo info = MpegAnalysis::analyse(head, size);
    if (!info.vbr)
        return 0;
    return qint16(std::clamp<qint32>(info.bitRate, 0, std::numeric_limits<qint16>::max()));
}

// Asks every same-name question first (a question nobody can answer must stop the send before
// anything changed), then deletes the entries the user agreed to replace; returns the batch.
std::vector<SendItem> buildBatch(SendRequest& request, const std::vector<int>& rows)
{
    PlayerSession& session = request.session;
    const MessageTexts& texts = session.texts();
    std::vector<SendItem> batch;
    std::vector<const PlayerListRow*> replaced;
    ReplaceQuestions replace(request.prompt);
    for (int position : rows) {
        const LocalFileRow& row = request.local.row(position);
        const int match = session.list().findNameIgnoringCase(row.name);
        if (match >= 0) {
            if (!replace.ask(row.name, texts.sameFile1 + QLatin1String("\r\n") + texts.sameFile2, texts.title))
                continue;
            replaced.push_back(&session.list().row(match));
        }
        SendItem item{row.path, row.name, QString(), false, currentSize(row)};
        if (mFileAPI::isMusicName(row.name))
            item.displayText = Disp_Name(request.lcdSelector, row);
        item.withBlock = carriesBlock(session, row.name);
        batch.push_back(std::move(item));
    }

    std::vector<int32_t> deleted; // entry indexes deleted so far, for the index arithmetic
    for (const PlayerListRow* entry : replaced) {
        // Two local names that differ only in case match the same entry: delete it once, or
        // the entry that moved into its place would go instead.
        if (std::find(deleted.begin(), deleted.end(), entry->index) != deleted.end())
            continue;
        // Each deletion moves the later entries up by one.
        const auto movedUp =
            std::count_if(deleted.begin(), deleted.end(), [&](int32_t gone) { return gone < entry->index; });
        // A failed deletion is not fatal: the player then keeps the old file beside the new.
        session.library().Delete(session.owner(), session.handle(), 0, entry->index - int32_t(movedUp),
                                 entry->name);
        deleted.push_back(entry->index);
    }
    return batch;
}

// Stores one file on the player; false with a reason when it did not arrive.
bool sendOne(SendRequest& request, const SendItem& item, QString& localError)
{
    PlayerSession& session = request.session;
    if (!item.withBlock)
        return session.library().Download(session.owner(), session.handle(), 0, item.path);
    PreparedCopy copy;
    const bool made = copy.make(item.path, MpegAnalysis::HeadSize, [&](const QByteArray& head, qint64 size) {
        return request.makeBlock(item.displayText, titleValue(item.name, head, size));
    });
    if (!made) {
        localError = copy.error();
        return false;
    }
    return session.library().Download(session.owner(), session.handle(), 0, copy.path());
}

} // namespace

qint64 requiredSpace(const SendRequest& request)
{
    qint64 total = 0;
    for (int position : inListOrder(request.selectedRows, request.local.count())) {
        const LocalFileRow& row = request.local.row(position);
        total += currentSize(row);
        if (carriesBlock(request.session, row.name))
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
    for (const SendItem& item : batch) {
        const TransferProgress progress{item.name, outcome.transferred + 1, outcome.batchSize, item.size};
        if (request.observer && !request.observer->fileStarting(progress)) {
            outcome.status = Status::Cancelled;
            break;
        }
        QString localError;
        const bool ok = sendOne(request, item, localError);
        if (request.observer)
            request.observer->fileFinished(progress, ok);
        if (!ok) {
            outcome.status = Status::Failed;
            outcome.failedName = item.name;
            const int notSent = outcome.batchSize - outcome.transferred;
            request.prompt.showMessage(failureMessage(session.texts().sendFail, item.name, localError,
                                                      notSent, outcome.batchSize, false),
                                       session.texts().title, Prompt::Icon::Critical);
            break;
        }
        ++outcome.transferred;
    }
    session.RefreshPlayerList();
    return outcome;
}
