// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/options/LanguageMap.h"

bool LanguageMap::claim(const QString& name, const QString& file)
{
    if (m_files.contains(name))
        return false;
    m_files.insert(name, file);
    return true;
}

void LanguageMap::assign(const QString& name, const QString& file)
{
    m_files.insert(name, file);
}

std::optional<QString> LanguageMap::file(const QString& name) const
{
    const auto found = m_files.constFind(name);
    if (found == m_files.cend())
        return std::nullopt;
    return *found;
}
