// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The options dialog's map from a language's English name (UI/ENG of its file) to that file.
// The first file that claims a name keeps it, unless the name is expressly handed to another.
#pragma once

#include <QHash>
#include <QString>

#include <optional>

class LanguageMap
{
public:
    // Adds name -> file unless the name is taken. True when added.
    bool claim(const QString& name, const QString& file);
    // name -> file, whoever held the name before.
    void assign(const QString& name, const QString& file);

    std::optional<QString> file(const QString& name) const;
    qsizetype size() const { return m_files.size(); }

private:
    QHash<QString, QString> m_files;
};
