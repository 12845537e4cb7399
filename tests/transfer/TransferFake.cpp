// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "TransferFake.h"

#include "localfiles/FolderScanner.h"

#include <QFile>
#include <QFileInfo>

TransferFixture* TransferFixture::current = nullptr;

namespace
{

int16_t fakeDownload(void*, int32_t, int32_t, const char* path)
{
    TransferFixture& self = *TransferFixture::current;
    const QString file = QFile::decodeName(path);
    QFile source(file);
    DownloadCall call{file, source.open(QIODevice::ReadOnly) ? source.readAll() : QByteArray()};
    const bool fail = int(self.downloads.size()) == self.failDownloadAt;
    self.downloads.push_back(call);
    if (fail)
        return 0;
    const QFileInfo info(file);
    FakeEntry entry{"SHORT", info.suffix().toUpper().toStdString(), uint32_t(call.content.size()),
                    info.fileName().toStdString()};
    FakeDevice::current->entries.push_back(entry);
    return 1;
}

int16_t fakeUpload(void*, int32_t, int32_t, int32_t index, const char* path, const char* name, int32_t count,
                   int32_t)
{
    TransferFixture& self = *TransferFixture::current;
    const bool fail = int(self.uploads.size()) == self.failUploadAt;
    self.uploads.push_back({index, QFile::decodeName(path), QString::fromLatin1(name), count});
    QFile target(QFile::decodeName(path));
    if (!target.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    const QByteArray content = self.playerContent.value(QString::fromLatin1(name)).left(count);
    // A failing transfer still leaves half a file, as a pulled cable would, and a scratch file of
    // the library's own named after the path it was given.
    target.write(fail ? content.left(content.size() / 2) : content);
    if (fail) {
        QFile scratch(QFile::decodeName(path) + QStringLiteral(".lib-scratch"));
        if (scratch.open(QIODevice::WriteOnly))
            scratch.write("half");
    }
    return fail ? 0 : 1;
}

DeviceFunctions withTransfers(DeviceFunctions table)
{
    table.Download = fakeDownload;
    table.Upload = fakeUpload;
    return table;
}

} // namespace

TransferFixture::TransferFixture() : library(withTransfers(fake.table())), session(library, texts)
{
    current = this;
    fake.setMedium(7800, 200, 512, 8, 4);
    texts.title = QStringLiteral("Box Title");
    texts.sameFile1 = QStringLiteral("Same name.");
    texts.sameFile2 = QStringLiteral("Replace?");
    texts.notEnough = QStringLiteral("Not enough space.");
    texts.applyFallbacks();
}

void TransferFixture::connect(PlayerView view)
{
    fake.connection = 1;
    session.setView(view);
    session.tick();
    session.RefreshPlayerList();
    fake.calls.clear();
}

TransferFixture::~TransferFixture()
{
    current = nullptr;
}

QString TransferFixture::makeLocalFile(const QString& name, const QByteArray& content)
{
    QFile file(localDir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return file.fileName();
}

void TransferFixture::scanLocal(mFileAPI::ViewTab tab)
{
    mFileAPI::ScanFolderForView(local, localDir.path(), tab);
}
