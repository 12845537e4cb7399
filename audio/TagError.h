// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
// The error the tag classes raise: a number, a source ("<program>.<class>") and a description.
#pragma once

#include <QString>

#include <exception>
#include <string>

class QFile;
class QFileDevice;

class TagError : public std::exception
{
public:
    // Raised by cMP3ID3v1::Update for an empty file.
    static constexpr qint32 NotValidMp3 = static_cast<qint32>(0x80041001u);
    // A frame that is not in the model, or a position outside it.
    static constexpr qint32 InvalidArgument = 5;
    static constexpr qint32 OutOfRange = 9;

    TagError(qint32 number, QString source, QString description);

    // A failed file operation: Qt's error code of the device and its system message.
    static TagError fromFile(const QFileDevice& file, const QString& className);

    // Opens the file (named by its file name) for reading without waiting on a pipe, or raises
    // the error that says why it could not be opened: missing, no access, not a regular file.
    static void openForReading(QFile& file, const QString& className);

    // "<executable name without extension>.<className>".
    static QString sourceFor(const QString& className);

    qint32 number() const { return m_number; }
    const QString& source() const { return m_source; }
    const QString& description() const { return m_description; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    qint32 m_number;
    QString m_source;
    QString m_description;
    std::string m_what;
};
