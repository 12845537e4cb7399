// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "transfer/ReceiveFiles.h"

#include "core/AppPaths.h"
#include "core/Prompt.h"
#include "device/PlayerSession.h"
#include "localfiles/FolderScanner.h"
#include "localfiles/LocalFileModel.h"
#include "localfiles/PathJoin.h"
#include "transfer/FailureMessage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTemporaryFile>

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

namespace
{

struct ReceiveItem {
    const PlayerListRow* entry;
    QString target;   // folder + entry name
    QString replaces; // the local file the user agreed to replace, if any
    bool plainName;   // false: the name would lead out of the folder, so the entry is refused
};

// Entry names are bytes from the player's records. A name with a separator, a drive colon, or
// one that is "." or "..", would write outside the chosen folder (or onto it), so such an entry
// is never fetched; no file system the player uses allows such names.
bool isPlainFileName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.contains(QLatin1Char(':'));
}

std::vector<ReceiveItem> buildBatch(ReceiveRequest& request)
{
    const PlayerSession& session = request.session;
    const MessageTexts& texts = session.texts();
    std::vector<int> rows = request.selectedRows;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());

    const QString folder = mFileAPI::AddSlash(QDir::toNativeSeparators(request.folder));
    std::vector<ReceiveItem> batch;
    ReplaceQuestions replace(request.prompt);
    for (int position : rows) {
        if (position < 0 || position >= session.list().count())
            continue;
        const PlayerListRow& entry = session.list().row(position);
        ReceiveItem item{&entry, folder + entry.name, QString(), isPlainFileName(entry.name)};
        if (!item.plainName) {
            batch.push_back(item); // reported when its turn comes; nothing to ask
            continue;
        }
        const int match = request.local.findNameIgnoringCase(entry.name);
        if (match >= 0)
            item.replaces = request.local.row(match).path;
        else if (QFileInfo::exists(item.target))
            item.replaces = item.target; // a file the list does not show is still the user's
        if (!item.replaces.isEmpty() &&
            !replace.ask(entry.name, texts.sameFile1 + QLatin1String("\r\n") + texts.sameFile2, texts.title))
            continue;
        batch.push_back(item);
    }
    return batch;
}

// Moves the fetched file into place; the old file goes only now that the new one is complete.
bool putInPlace(const QString& fetched, const ReceiveItem& item, QString& error)
{
    std::error_code code;
    const std::filesystem::path target = QFile::encodeName(item.target).toStdString();
    std::filesystem::rename(QFile::encodeName(fetched).toStdString(), target, code);
    if (code) {
        error = QString::fromStdString(code.message());
        return false;
    }
    // The replaced file may differ from the target in letter case only.
    if (!item.replaces.isEmpty() && QFileInfo(item.replaces) != QFileInfo(item.target))
        QFile::remove(item.replaces);
    return true;
}

bool receiveOne(ReceiveRequest& request, const ReceiveItem& item, QString& error, bool& playerGone)
{
    PlayerSession& session = request.session;
    const PlayerListRow& entry = *item.entry;
    if (!item.plainName) {
        error = session.texts().notPlainName;
        return false;
    }
    if (entry.size < 0 || entry.size > std::numeric_limits<int32_t>::max()) {
        error = session.texts().sizeUnknown;
        return false;
    }
    // A name of our own in the target folder, carrying our process id; removed again unless it
    // became the new file (and by a later start, should this process be killed meanwhile).
    QString partName;
    {
        QTemporaryFile part(
            QDir(request.folder).filePath(AppPaths::tempPrefix() + QStringLiteral("XXXXXX.part")));
        part.setAutoRemove(false);
        if (!part.open()) {
            error = part.errorString();
            return false;
        }
        partName = part.fileName();
        // QTemporaryFile::close() keeps its handle; only its end releases the file, and on Windows
        // an open handle keeps the library from replacing it.
    }
    // A library that failed midway (or whose host was killed) may leave its own scratch file
    // named after the path it was given; a name that starts with our unique part's is ours too.
    // Only a failed upload is searched for such files: listing the target folder after every
    // file would make a batch into a large folder cost the square of its size.
    bool uploadFailed = true;
    const auto removePart = qScopeGuard([&] {
        QFile::remove(partName);
        if (!uploadFailed)
            return;
        const QFileInfo part(partName);
        const QDir folder = part.absoluteDir();
        for (const QString& name : folder.entryList({part.fileName() + QStringLiteral(".*")},
                                                    QDir::Files | QDir::Hidden | QDir::System))
            QFile::remove(folder.filePath(name));
    });
    if (!session.library().Upload(session.owner(), session.handle(), 0, entry.index, partName, entry.name,
                                  int32_t(entry.size))) {
        if (session.library().TestConnection() != 1) {
            playerGone = true;
            error = session.texts().detached;
        }
        return false;
    }
    if (QFileInfo(partName).size() != entry.size) {
        error = QString(session.texts().shortRead).arg(QFileInfo(partName).size()).arg(entry.size);
        return false;
    }
    uploadFailed = false;
    return putInPlace(partName, item, error);
}

} // namespace

TransferOutcome ReceiveSelectedFiles(ReceiveRequest& request)
{
    using Status = TransferOutcome::Status;
    PlayerSession& session = request.session;
    TransferOutcome outcome;
    if (!session.isConnected())
        return {Status::NotConnected, 0, 0, QString()};

    const std::vector<ReceiveItem> batch = buildBatch(request);
    outcome.batchSize = int(batch.size());
    // Parts left in this folder by a process of ours that was killed go before we write here.
    if (!batch.empty())
        AppPaths::removeStaleTempFiles(request.folder);
    for (const ReceiveItem& item : batch) {
        const TransferProgress progress{item.entry->name, outcome.transferred + 1, outcome.batchSize,
                                        item.entry->size};
        if (request.observer && !request.observer->fileStarting(progress)) {
            outcome.status = Status::Cancelled;
            break;
        }
        QString error;
        bool playerGone = false;
        const bool ok = receiveOne(request, item, error, playerGone);
        if (request.observer)
            request.observer->fileFinished(progress, ok);
        if (!ok) {
            outcome.status = Status::Failed;
            outcome.failedName = item.entry->name;
            outcome.playerGone = playerGone;
            request.prompt.showMessage(failureMessage(session.texts(), item.entry->name, error,
                                                      outcome.batchSize - outcome.transferred,
                                                      outcome.batchSize, true),
                                       session.texts().title, Prompt::Icon::Critical);
            break;
        }
        ++outcome.transferred;
    }
    mFileAPI::ScanFolderForView(request.local, request.folder, request.tab);
    return outcome;
}
