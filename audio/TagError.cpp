// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "audio/TagError.h"

#include "core/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

TagError::TagError(qint32 number, QString source, QString description)
    : m_number(number), m_source(std::move(source)), m_description(std::move(description)),
      m_what((m_source + QLatin1String(": ") + m_description).toStdString())
{
}

void TagError::openForReading(QFile& file, const QString& className)
{
    const QString path = file.fileName();
    QString why;
    if (!RegularFile::open(file, path, QIODevice::ReadOnly | QIODevice::Unbuffered, &why))
        throw TagError(QFileDevice::OpenError, sourceFor(className), path + QLatin1String(": ") + why);
}

TagError TagError::fromFile(const QFileDevice& file, const QString& className)
{
    QString description = file.errorString();
    if (!file.fileName().isEmpty())
        description = file.fileName() + QLatin1String(": ") + description;
    // A device that failed without saying why still reports a non-zero number.
    const qint32 number = file.error() == QFileDevice::NoError ? QFileDevice::UnspecifiedError : file.error();
    return TagError(number, sourceFor(className), description);
}

QString TagError::sourceFor(const QString& className)
{
    QString program = QStringLiteral("ZVD");
    if (QCoreApplication::instance())
        program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return program + QLatin1Char('.') + className;
}
