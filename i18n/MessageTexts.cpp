// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "MessageTexts.h"

#include "LangReader.h"

#include <QFileInfo>

namespace {

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
