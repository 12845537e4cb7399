// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// A main window on the fake device, with a folder of files to list, a language file of the
// test's own, an empty settings store and a prompt that answers from a script.
#pragma once

#include "DeviceTestSupport.h"
#include "FakeDevice.h"
#include "app/LocalFileView.h"
#include "app/PlayerListModel.h"
#include "app/PlayerListView.h"
#include "app/SettingsStore.h"
#include "app/StatusPanels.h"
#include "app/frmMain.h"
#include "tests/app/frmMainTestAccess.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

// A prompt that can look at the window while a question is open.
class WatchingPrompt : public RecordingPrompt
{
public:
    std::function<void()> onQuestion;
    bool askYesNo(const QString& text, const QString& title) override
    {
        if (onQuestion)
            onQuestion();
        return RecordingPrompt::askYesNo(text, title);
    }
};

class MainWindowTest : public ::testing::Test
{
protected:
    MainWindowTest() : library(fake.table())
    {
        fake.connection = 0;
        fake.setMedium(7800, 200, 512, 8, 4);
        fake.entries = {{"SONG", "MP3", 1001546, "Song.mp3"},
                        {"REC001", "ZVD", 5000, "rec001.zvd"},
                        {"TUNE", "MP3", 2001546, "Tune.mp3"},
                        {"NOTES", "TXT", 300, "notes.txt"}};
        folder = dir.filePath(QStringLiteral("music"));
        QDir().mkpath(folder);
        writeFile(QStringLiteral("a.mp3"), 1000);
        writeFile(QStringLiteral("b.mp3"), 999);
        writeFile(QStringLiteral("c.wma"), 20);
        writeFile(QStringLiteral("REC001.ZVD"), 70);
        writeFile(QStringLiteral("notes.txt"), 5);
        languageFile = writeLanguage(QStringLiteral("english.lng"), QString());
        auto store = SettingsStore::open();
        store->clear();
        store->setValue(QStringLiteral("Display/Language"), languageFile);
        store->setValue(QStringLiteral("Display/PATH"), folder);
        store->sync();
    }

    ~MainWindowTest() override
    {
        if (window)
            window->close();
    }

    void writeFile(const QString& name, int size)
    {
        QFile file(QDir(folder).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, 'x'));
    }

    // A language file whose every text starts with the prefix, so two files tell apart.
    QString writeLanguage(const QString& name, const QString& prefix)
    {
        const QString p = prefix;
        const QString text =
            QStringLiteral(
                "[Menu]\r\nFile = %1File\r\nExit = %1Exit\r\nView = %1View\r\nLICON = %1Large\r\n"
                "SIcon = %1Small\r\nList = %1List\r\nDetail = %1Detail\r\nFilename = %1By name\r\n"
                "Filesize = %1By size\r\nTitle = %1By title\r\nArtist = %1By artist\r\nTool = %1Tool\r\n"
                "LowFormat = %1Low\r\nUpgrade = %1Upgrade\r\nOption = %1Option\r\n"
                "[UI]\r\nTitle = %1Manager\r\n"
                "[Main]\r\nfolder = %1Folder\r\nfiles = %1Files\r\nAudio = %1Music\r\nRecord = %1Voice\r\n"
                "HDD = %1Other\r\nDownload = %1Send\r\nUpload = %1Fetch\r\nDelete = %1Remove\r\n"
                "Format = %1Wipe\r\nFilename = %1Name\r\nFilesize = %1Size\r\nTitle = %1Song\r\n"
                "Artist = %1Singer\r\nGenre = %1Style\r\nSingle File = %1file\r\nMulti File = %1files\r\n"
                "byte = %1bytes\r\nMemory = %1Memory\r\nConnect = %1Connected\r\n"
                "DisConnect = %1Not connected\r\n"
                "[Msgbox]\r\nNOTENOUGH = %1Too big\r\nSameFile1 = %1Same\r\nSameFile2 = %1Replace?\r\n"
                "FirmUp = %1Done\r\nDelete = %1Delete?\r\nDel_Format = 0 %1items\r\nFormat = %1Format?\r\n"
                "Format_Low = %1Low?\r\n")
                .arg(p);
        const QString path = dir.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(text.toLatin1());
        return path;
    }

    void start()
    {
        window = std::make_unique<frmMain>(library, &prompt);
        ui().setStepObserver([this](const QString& step) {
            steps << step;
            callsAtStep[step] = fake.callNames();
        });
        window->resize(900, 700);
        window->Load();
        window->show();
        QCoreApplication::processEvents();
    }

    // The window's handlers, controls and state.
    frmMainTestAccess ui() const { return frmMainTestAccess(*window); }

    void attach()
    {
        fake.connection = 1;
        ui().tmrCheck_Timer();
    }

    QStringList fileNames() const
    {
        QStringList names;
        for (int i = 0; i < ui().fileModel().count(); ++i)
            names << ui().fileModel().row(i).name;
        return names;
    }

    QStringList playerNames() const
    {
        QStringList names;
        for (const PlayerListRow& row : ui().session().list().rows())
            names << row.name;
        return names;
    }

    void selectFiles(const QStringList& names)
    {
        QItemSelectionModel* selection = ui().lvwFile()->selectionModel();
        selection->clearSelection();
        for (int i = 0; i < ui().fileModel().count(); ++i) {
            if (names.contains(ui().fileModel().row(i).name))
                selection->select(ui().fileModel().index(i, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
        }
    }

    void selectPlayerRows(const QList<int>& rows)
    {
        QItemSelectionModel* selection = ui().lvwPlayer()->selectionModel();
        selection->clearSelection();
        for (int row : rows)
            selection->select(ui().playerModel()->index(row, 0),
                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    FakeDevice fake;
    mTCC730 library;
    WatchingPrompt prompt;
    QTemporaryDir dir;
    QString folder;
    QString languageFile;
    std::unique_ptr<frmMain> window;
    QStringList steps;
    QMap<QString, QStringList> callsAtStep;
};
