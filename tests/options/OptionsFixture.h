// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A temporary program Language folder (and user folder) with language files written by the
// tests, and an options dialog built over them with a recorded file dialog.
#pragma once

#include "app/options/frmOptions.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class OptionsFixture : public ::testing::Test
{
protected:
    void SetUp() override;

    // A language file in folder (program's by default) with these UI names and OPTION/Ok text.
    QString writeLanguage(const QString& name, const QString& eng, const QString& local,
                          const QString& okText = QStringLiteral("OK"), QString folder = {});
    // Writes raw language-file text (Latin-1) as folder/name.
    QString writeFile(const QString& folder, const QString& name, const QByteArray& bytes);

    // Opens the dialog over the fixture's folders; the file dialog answers `nextChoice`.
    frmOptions& open(const OptionsValues& values);
    static OptionsValues defaults(const QString& language = {});

    QTemporaryDir m_dir;
    LanguageFolders m_folders;
    QString m_nextChoice; // what the injected file dialog returns
    int m_fileDialogShown = 0;
    QString m_lastFilter;
    FontFit::HeightMeasure m_measure; // empty: real metrics
    QStringList m_applied;            // files the dialog applied to the "main window"
    std::unique_ptr<frmOptions> m_dialog;
};
