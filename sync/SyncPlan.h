// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A sync plan: for every music file of a folder and every music entry of the player, whether it
// is sent, deleted, kept or skipped, and why; and whether what is to be sent fits.
#pragma once

#include "sync/OrderKey.h"
#include "sync/SourceFolder.h"
#include "sync/SyncRecord.h"

#include "convert/ConversionQuality.h"
#include "convert/Mp3Converter.h"
#include "device/PlayerFile.h"

#include <QStringList>

#include <functional>
#include <vector>

enum class SyncOrder { Album, Name, None };

struct SyncOptions {
    bool mirror = false; // delete the entries an earlier sync of this folder sent whose file is gone
    SyncOrder order = SyncOrder::Album;
    ConversionQuality quality; // of the files converted to MP3 on their way
};

struct SyncItem {
    enum class Action { Send, Delete, Keep, Skip };
    // Why an item gets its action; the window words each in the user's language.
    enum class Why {
        New,
        NewConverted, // %1: the quality
        Changed,
        ChangedConverted, // %1: the quality
        QualityChanged,   // %1: the quality it was sent at, %2: the one chosen now
        Unchanged,
        NeedsConverting, // a format this build cannot convert
        NotMusic,
        NameNotStorable, // %1: the player's code page
        NameTooLong,     // %1: the most bytes a name may take
        TooLarge,
        NameTaken,  // %1: the file of the folder that has the name
        Mp3HasName, // %1: the MP3 of the folder that has the name
        NameInOtherView,
        AlreadyOnPlayer,
        OtherFileOnPlayer,
        GoneFromFolder,
        GoneKept, // without mirror
        FromOtherFolder,
        NotSentBySync,
        DoesNotFit,
        Last = DoesNotFit
    };
    Action action = Action::Skip;
    Why why = Why::NotMusic;
    QStringList whyArgs;
    QString name;         // on the player: for a converted file, the name of its MP3
    QString relativePath; // in the folder; empty for an entry that has no file there
    QString path;         // absolute local path; empty likewise
    qint64 size = 0;      // the local file's size; for an entry without a file, its listed size
    qint64 sendSize = 0;  // a send's bytes: the file's, or the expected size of its MP3
    qint64 modified = 0;
    qint64 stored = 0;       // the entry's size on the player: expected after a send, as it is otherwise
    bool replaces = false;   // a send that replaces an older copy of the same name
    bool converted = false;  // a send converted to MP3 on its way
    bool fromFolder = false; // a kept or deleted entry that an earlier sync of this folder sent
    OrderKey key;
    QString reason; // why, in English

    // The bytes a plan line shows: what a send puts on the player (for a converted file, its
    // MP3's expected size, the figure the totals count), else the file's or entry's size.
    qint64 shownBytes() const { return action == Action::Send ? sendSize : size; }
};

struct SyncPlan {
    QString folder; // absolute and canonical
    SyncOptions options;
    std::vector<SyncItem> items; // files in folder order, then entries without a file
    qint64 freeBytes = 0;        // on the player now
    qint64 freedBytes = 0;       // by the deletes
    qint64 neededBytes = 0;      // by the sends at their peak (units of the player, old copies kept until
                                 // their replacement is in)
    int sendCount = 0;
    int sendsThatFit = 0; // the first ones in folder order

    bool fits() const { return sendsThatFit == sendCount; }
    // Turns the sends that do not fit into skips ("does not fit"), keeping the first ones in
    // folder order.
    void keepWhatFits();
    int count(SyncItem::Action action) const;
    qint64 bytes(SyncItem::Action action) const;
    // The sends in the order they go to the player: the order the entries are to end in, so that
    // the appended files need no moves.
    std::vector<const SyncItem*> sendOrder() const;
};

struct SyncInput {
    QString folder;
    std::vector<SourceFile> files;
    std::vector<PlayerFile> entries; // every entry of the player, all views
    SyncRecord record;               // as loaded; settled against the entries by makePlan
    qint64 freeBytes = 0;
    qint64 unitBytes = 0; // the player's allocation unit; 0 when unknown
    SyncOptions options;
    // The album-order key of a file that is going to be sent (read from its tags).
    std::function<OrderKey(const SourceFile&)> readKey = [](const SourceFile& f) {
        return OrderKeys::read(f.path, f.relativePath);
    };
    // The bytes the MP3 of a file converted on its way is expected to take; 0 when unknown.
    std::function<qint64(const SourceFile&, const ConversionQuality&)> estimate =
        [](const SourceFile& f, const ConversionQuality& quality) {
            return Mp3Converter::estimatedSize(f.path, quality);
        };
    // Polled between files while tags and sizes are read; true stops the planning (the plan is
    // then incomplete and must not be carried out).
    std::function<bool()> stopped;
};

namespace SyncPlanner
{

// What the record says, checked against the player: pending entries the player holds with the
// expected stored size count as arrived, the others are forgotten; arrived entries the player no
// longer holds, or holds with another size (replaced by hand), are forgotten too.
void settle(SyncRecord& record, const std::vector<PlayerFile>& entries);

// Settles input.record (see settle) and plans.
SyncPlan makePlan(SyncInput& input);

// The stored size of a music file of this many bytes (it carries the LCD title block).
qint64 storedSizeOf(qint64 fileSize);

const char* actionWord(SyncItem::Action action);

// The reason in English, with its arguments in place.
QString englishReason(SyncItem::Why why, const QStringList& args = {});
// The English text of a reason, with %1 and %2 where its arguments go.
const char* reasonTemplate(SyncItem::Why why);
// The text with %1, %2... replaced by the arguments in turn.
QString withArgs(QString text, const QStringList& args);

} // namespace SyncPlanner
