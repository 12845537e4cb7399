// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The device engineer's fake library with transfers that act: a download keeps the bytes the
// library was handed and adds the entry; an upload writes the entry's bytes; either can be
// made to fail on its Nth call.
#pragma once

#include "DeviceTestSupport.h"
#include "localfiles/LocalFileModel.h"
#include "localfiles/ScanRule.h"
#include "transfer/TransferObserver.h"

#include <QHash>
#include <QTemporaryDir>

struct DownloadCall {
    QString path;
    QByteArray content; // the file as it was when the library read it
};

struct UploadCall {
    int32_t index;
    QString path;
    QString name;
    int32_t count;
};

class TransferFixture : public ::testing::Test
{
public:
    TransferFixture();
    ~TransferFixture() override;

    // Attaches the player and lists the view, forgetting the calls made so far.
    void connect(PlayerView view);
    void addEntries(std::initializer_list<FakeEntry> list) { fake.entries.insert(fake.entries.end(), list); }

    FakeDevice fake;
    MessageTexts texts;
    mTCC730 library;
    PlayerSession session;
    RecordingPrompt prompt;

    // Writes a file into the local folder and returns its path.
    QString makeLocalFile(const QString& name, const QByteArray& content);
    // Lists the local folder in the model as the given view does.
    void scanLocal(mFileAPI::ViewTab tab);

    QTemporaryDir localDir;
    LocalFileModel local;

    int failDownloadAt = -1; // 0-based
    int failUploadAt = -1;   // 0-based
    std::vector<DownloadCall> downloads;
    std::vector<UploadCall> uploads;
    QHash<QString, QByteArray> playerContent; // by entry name: what an upload writes

    static TransferFixture* current;
};

// Cancels before the file with the given number; records what it saw.
class RecordingObserver : public TransferObserver
{
public:
    int cancelAt = -1;
    QList<TransferProgress> started;
    QList<bool> results;

    bool fileStarting(const TransferProgress& progress) override
    {
        if (progress.number == cancelAt)
            return false;
        started << progress;
        return true;
    }
    void fileFinished(const TransferProgress&, bool ok) override { results << ok; }
};
