// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "OptionsFixture.h"

#include <QDir>
#include <QFile>

void OptionsFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    const QDir root(m_dir.path());
    m_folders.program = root.filePath(QStringLiteral("program/Language"));
    m_folders.user = root.filePath(QStringLiteral("user/Language"));
    ASSERT_TRUE(QDir().mkpath(m_folders.program));
}

QString OptionsFixture::writeFile(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
}

QString OptionsFixture::writeLanguage(const QString& name, const QString& eng, const QString& local,
                                      const QString& okText, QString folder)
{
    const QString text = QStringLiteral("[UI]\r\nENG = %1\r\nLOCAL = %2\r\n[Main]\r\nTitle = %3 title\r\n"
                                        "[OPTION]\r\nFont = %3 font\r\nBold = %3 bold\r\nTitle = %3 LCD\r\n"
                                        "Filename = %3 file name\r\nID3Tag = %3 tag\r\nArtist = %3 artist\r\n"
                                        "Genre = %3 genre\r\nLanguage = %3 language\r\nBrowse = %3 browse\r\n"
                                        "Ok = %4\r\nCancel = %3 cancel\r\n")
                             .arg(eng, local, eng.isEmpty() ? name : eng, okText);
    return writeFile(folder.isEmpty() ? m_folders.program : folder, name, text.toLatin1());
}

OptionsValues OptionsFixture::defaults(const QString& language)
{
    OptionsValues values;
    values.titleFont = QFont(QStringLiteral("Liberation Sans"));
    values.titleFont.setPointSize(12);
    values.displayName = 1;
    values.sizeUnit = 1;
    values.language = language;
    return values;
}

frmOptions& OptionsFixture::open(const OptionsValues& values)
{
    frmOptions::Services services;
    services.folders = m_folders;
    services.measureHeight = m_measure;
    services.chooseFile = [this](QWidget*, const QString& filter) {
        ++m_fileDialogShown;
        m_lastFilter = filter;
        return m_nextChoice;
    };
    m_dialog = std::make_unique<frmOptions>(values, nullptr, services);
    m_dialog->setLanguageApplier([this](const QString& file) { m_applied.append(file); });
    return *m_dialog;
}
