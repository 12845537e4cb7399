// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "app/options/LanguageFolders.h"

#include "core/AppPaths.h"
#include "core/StagedFile.h"
#include "i18n/LangReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace
{

QStringList languageFilesIn(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    QStringList files;
    for (const QFileInfo& info : dir.entryInfoList({QStringLiteral("*.lng")}, QDir::Files | QDir::Readable,
                                                   QDir::Name | QDir::IgnoreCase))
        files.append(info.absoluteFilePath());
    return files;
}

bool sameFile(const QString& a, const QString& b)
{
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Writes bytes as folder/name through a file of ours that replaces the old one only when
// complete, so a failed copy never leaves half a language file behind, and a killed one only a
// file that the next start removes.
bool writeInto(const QString& folder, const QString& name, const QByteArray& bytes)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return false;
    StagedFile file(QDir(folder).filePath(name));
    return file.open(nullptr) && file.write(bytes) && file.commit(nullptr);
}

} // namespace

LanguageFolders LanguageFolders::standard()
{
    LanguageFolders folders;
    folders.program = QDir(AppPaths::programFolder()).filePath(QStringLiteral("Language"));
    // Beside the virtual player's folder ($XDG_DATA_HOME/ZVD), whatever the program's name.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!data.isEmpty())
        folders.user = QDir(data).filePath(QStringLiteral("ZVD/Language"));
    return folders;
}

void LanguageFolders::removeStaleTempFiles() const
{
    for (const QString& folder : {program, user})
        AppPaths::removeStaleTempFiles(folder);
}

QStringList LanguageFolders::files() const
{
    QStringList all = languageFilesIn(program);
    if (!user.isEmpty() && !sameFile(user, program))
        all += languageFilesIn(user);
    return all;
}

QString LanguageFolders::install(const QString& source) const
{
    const QString name = QFileInfo(source).fileName();
    for (const QString& folder : {program, user}) {
        const QString target = QDir(folder).filePath(name);
        // Copying a file onto itself would empty it: the file is already in place.
        if (!folder.isEmpty() && sameFile(source, target))
            return QFileInfo(target).absoluteFilePath();
    }
    // A pipe or an oversized file is no language file and is not copied.
    const std::optional<QByteArray> read = mControlUI::ReadLanguageFile(source);
    if (!read)
        return QString();
    const QByteArray& bytes = *read;
    for (const QString& folder : {program, user}) {
        if (writeInto(folder, name, bytes))
            return QFileInfo(QDir(folder).filePath(name)).absoluteFilePath();
    }
    return QString();
}
