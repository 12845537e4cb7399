// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Language files come from anywhere (Browse copies any file in): the reader and the number
// format patterns they carry must survive every byte sequence.
#include "FuzzCodePage.h"
#include "i18n/LangReader.h"
#include "i18n/NumberFormat.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    chooseCodePageFor(size);
    const QByteArrayView bytes(data, qsizetype(size));
    static const char* const Lookups[][2] = {
        {"Main", "Memory"}, {"Msgbox", "Del_Format"}, {"UI", "Title"}, {"Menu", "File"}, {"S", ""}, {"", "K"},
    };
    for (const auto& lookup : Lookups) {
        const QString value =
            mControlUI::ReadLangKeyFromBytes(bytes, QLatin1String(lookup[0]), QLatin1String(lookup[1]));
        // Whatever a file holds under Del_Format is used as a pattern.
        FormatNumber(qint64(size), value);
        FormatNumber(-qint64(size), value);
        FormatNumber(0, value);
    }
    return 0;
}
