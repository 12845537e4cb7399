// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// Lets one fuzz input choose the code page, so the double-byte paths are fuzzed too.
#pragma once

#include "core/CodePage.h"

#include <cstddef>

inline void chooseCodePageFor(std::size_t size)
{
    static const char* const pages[] = {"CP1252", "CP949", "CP932"};
    CodePage::setCodePage(pages[size % 3]);
}
