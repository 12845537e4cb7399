// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "i18n/MessageTexts.h"

#include "i18n/LangReader.h"

#include <QFileInfo>

namespace
{

struct Slot {
    const char* section;
    const char* key;
    QString MessageTexts::*member;
};

constexpr Slot Slots[] = {
    {"UI", "Title", &MessageTexts::title},
    {"Main", "Single File", &MessageTexts::singleFile},
    {"Main", "Multi File", &MessageTexts::multiFile},
    {"Main", "byte", &MessageTexts::byteWord},
    {"Main", "Memory", &MessageTexts::memory},
    {"Main", "Connect", &MessageTexts::connect},
    {"Main", "DisConnect", &MessageTexts::disconnect},
    {"Msgbox", "NOTENOUGH", &MessageTexts::notEnough},
    {"Msgbox", "SameFile1", &MessageTexts::sameFile1},
    {"Msgbox", "SameFile2", &MessageTexts::sameFile2},
    {"Msgbox", "FirmUp", &MessageTexts::firmUp},
    {"Msgbox", "Delete", &MessageTexts::deleteText},
    {"Msgbox", "Del_Format", &MessageTexts::delFormat},
    {"Msgbox", "Format", &MessageTexts::format},
    {"Msgbox", "Format_Low", &MessageTexts::formatLow},
    {"Msgbox", "DelFail", &MessageTexts::delFail},
    {"Msgbox", "FirmFail", &MessageTexts::firmFail},
    {"Msgbox", "SendFail", &MessageTexts::sendFail},
    {"Msgbox", "RecvFail", &MessageTexts::recvFail},
    {"Msgbox", "FirmAsk", &MessageTexts::firmAsk},
    {"Msgbox", "NotSent", &MessageTexts::notSent},
    {"Msgbox", "NotReceived", &MessageTexts::notReceived},
    {"Msgbox", "ReplaceUnread", &MessageTexts::replaceUnread},
    {"Msgbox", "ReplaceChanged", &MessageTexts::replaceChanged},
    {"Msgbox", "ReplaceRefused", &MessageTexts::replaceRefused},
    {"Msgbox", "OldCopyStays", &MessageTexts::oldCopyStays},
    {"Msgbox", "OldCopyGone", &MessageTexts::oldCopyGone},
    {"Msgbox", "OldCopyAside", &MessageTexts::oldCopyAside},
    {"Msgbox", "Detached", &MessageTexts::detached},
    {"Msgbox", "NameInOtherView", &MessageTexts::nameInOtherView},
    {"Msgbox", "NameTaken", &MessageTexts::nameTaken},
    {"Msgbox", "NotPlainName", &MessageTexts::notPlainName},
    {"Msgbox", "SizeUnknown", &MessageTexts::sizeUnknown},
    {"Msgbox", "ShortRead", &MessageTexts::shortRead},
    {"Msgbox", "MemoryUnread", &MessageTexts::memoryUnread},
    {"Msgbox", "EntriesUnread", &MessageTexts::entriesUnread},
    {"Msgbox", "NotTried", &MessageTexts::notTried},
    {"Msgbox", "AsideNotDeleted", &MessageTexts::asideNotDeleted},
    {"Msgbox", "AsideNotRenamed", &MessageTexts::asideNotRenamed},
    {"Msgbox", "ConvNotAFile", &MessageTexts::convNotAFile},
    {"Msgbox", "ConvSameFile", &MessageTexts::convSameFile},
    {"Msgbox", "ConvUnreadable", &MessageTexts::convUnreadable},
    {"Msgbox", "ConvEncoder", &MessageTexts::convEncoder},
    {"Msgbox", "ConvWrite", &MessageTexts::convWrite},
    {"Msgbox", "ConvUnavailable", &MessageTexts::convUnavailable},
    {"Msgbox", "ConvNoRoom", &MessageTexts::convNoRoom},
    {"Msgbox", "NotConverted", &MessageTexts::notConverted},
};

struct Fallback {
    QString MessageTexts::*member;
    const char* text;
};

// Failure messages exist only in newer language files; an older file must not leave the user
// with an empty box when something went wrong.
constexpr Fallback Fallbacks[] = {
    {&MessageTexts::delFail, "This file could not be deleted from the player:"},
    {&MessageTexts::firmFail, "The firmware upgrade failed. The player keeps its current firmware."},
    {&MessageTexts::sendFail, "This file could not be sent to the player:"},
    {&MessageTexts::recvFail, "This file could not be received from the player:"},
    {&MessageTexts::firmAsk, "Replace the player's firmware with this file?"},
    {&MessageTexts::notSent, "%1 of %2 files were not sent."},
    {&MessageTexts::notReceived, "%1 of %2 files were not received."},
    {&MessageTexts::replaceUnread, "the player's entries could not be read; the old copy was left as it was"},
    {&MessageTexts::replaceChanged,
     "the player's entries changed meanwhile; the old copy was left as it was"},
    {&MessageTexts::replaceRefused,
     "the old copy on the player could not be replaced (it was left as it was)"},
    {&MessageTexts::oldCopyStays, "the new copy arrived, but the old copy could not be deleted: it stays on "
                                  "the player as %1 until the next connection removes it"},
    {&MessageTexts::oldCopyGone, "the old copy of %1 is gone from the player"},
    {&MessageTexts::oldCopyAside,
     "the old copy stays on the player as %1 and gets its name back at the next connection"},
    {&MessageTexts::detached, "no player attached: the player was detached during the transfer"},
    {&MessageTexts::nameInOtherView, "the player already holds a file of this name in another view"},
    {&MessageTexts::nameTaken, "another program stored a file of this name on the player meanwhile"},
    {&MessageTexts::notPlainName, "the name is not a plain file name"},
    {&MessageTexts::sizeUnknown, "the entry's size cannot be fetched"},
    {&MessageTexts::shortRead, "the player delivered %1 of %2 bytes"},
    {&MessageTexts::memoryUnread, "the player's memory could not be read"},
    {&MessageTexts::entriesUnread, "the player's entries could not be read"},
    {&MessageTexts::notTried, "Not tried either:"},
    {&MessageTexts::asideNotDeleted, "the old copy of %1 (now %2) could not be deleted"},
    {&MessageTexts::asideNotRenamed, "%2 could not be given its name %1 back"},
    {&MessageTexts::convNotAFile, "it is missing or not a regular file (a pipe, a device or a folder)"},
    {&MessageTexts::convSameFile, "its MP3 would replace the file itself"},
    {&MessageTexts::convUnreadable, "it cannot be read as music: an unknown or protected format, or damaged"},
    {&MessageTexts::convEncoder, "the MP3 encoder cannot take its audio"},
    {&MessageTexts::convWrite, "its MP3 could not be written (is the disk full?)"},
    {&MessageTexts::convUnavailable,
     "this build of ZVD cannot convert files to MP3; convert it to MP3 first"},
    {&MessageTexts::convNoRoom, "its MP3 (%1 bytes) does not fit in the space left on the player"},
    {&MessageTexts::notConverted, "These files were not sent:"},
};

} // namespace

std::optional<MessageTexts> MessageTexts::load(const QString& languageFile)
{
    // One snapshot of the file serves every slot, so a file replaced meanwhile cannot mix languages.
    const std::optional<QByteArray> bytes = mControlUI::ReadLanguageFile(languageFile);
    if (!bytes)
        return std::nullopt;
    // A key the file lacks takes the shipped English text, read once and only when needed.
    std::optional<QByteArray> english;
    const QString englishFile = mControlUI::DefaultLanguageFile();
    MessageTexts texts;
    for (const Slot& slot : Slots) {
        const QString section = QLatin1String(slot.section);
        const QString key = QLatin1String(slot.key);
        if (auto value = mControlUI::FindLangKeyInBytes(*bytes, section, key)) {
            texts.*slot.member = *value;
            continue;
        }
        if (!english && QFileInfo(englishFile) != QFileInfo(languageFile))
            english = mControlUI::ReadLanguageFile(englishFile).value_or(QByteArray());
        if (english)
            texts.*slot.member = mControlUI::ReadLangKeyFromBytes(*english, section, key);
    }
    texts.applyFallbacks();
    return texts;
}

MessageTexts MessageTexts::builtIn()
{
    MessageTexts texts;
    texts.applyFallbacks();
    return texts;
}

void MessageTexts::applyFallbacks()
{
    for (const Fallback& fallback : Fallbacks)
        if ((this->*fallback.member).isEmpty())
            this->*fallback.member = QLatin1String(fallback.text);
}
