// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "core/StoredSettings.h"

#include <QDir>
#include <QSettings>
#include <QtMath>

namespace StoredSettings
{

namespace
{

const QString kFont = QStringLiteral("FONT/");
const QString kDisplay = QStringLiteral("Display/");

std::optional<QString> text(QSettings& store, const QString& key)
{
    const QVariant value = store.value(key);
    if (!value.isValid())
        return std::nullopt;
    return value.toString();
}

// Numbers are stored as decimal text; a malformed one yields nothing.
std::optional<double> number(QSettings& store, const QString& key)
{
    const std::optional<QString> value = text(store, key);
    if (!value)
        return std::nullopt;
    bool ok = false;
    const double result = value->trimmed().toDouble(&ok);
    if (!ok || !qIsFinite(result))
        return std::nullopt;
    return result;
}

// Window and splitter values were written in single precision.
QString singleText(double value)
{
    return QString::number(float(value), 'g', 7);
}

} // namespace

QString registryRoot()
{
    return QStringLiteral("HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\ZVD");
}

QString registryPath(const QString& section, const QString& key)
{
    return registryRoot() + QLatin1Char('\\') + section + QLatin1Char('\\') + key;
}

QString iniPath(const QString& configHome)
{
    return QDir(configHome).filePath(QStringLiteral("ZVD/ZVD.ini"));
}

std::unique_ptr<QSettings> open()
{
#ifdef Q_OS_WIN
    // QSettings maps "FONT/SIZE" to the subkey FONT and the value SIZE below this key.
    return std::make_unique<QSettings>(registryRoot(), QSettings::NativeFormat);
#else
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("ZVD"),
                                       QStringLiteral("ZVD"));
#endif
}

bool isValidFontSize(double points)
{
    return points > 0 && points < 1e4;
}

bool isValidDisplayName(double selector)
{
    return qAbs(selector) < 32768;
}

bool isValidSplitter(double twips)
{
    return twips > 0 && twips < 1e7;
}

bool isValidDisplayStyle(double style)
{
    return style >= 0 && style <= 3 && style == qRound(style);
}

bool isValidGeometry(double left, double top, double width, double height)
{
    return width > 0 && height > 0 && width < 1e7 && height < 1e7 && qAbs(left) < 1e7 && qAbs(top) < 1e7;
}

void Values::load(QSettings& store)
{
    if (const auto bold = number(store, kFont + QStringLiteral("BOLD")))
        font.bold = *bold == 1;
    if (const auto size = number(store, kFont + QStringLiteral("SIZE")); size && isValidFontSize(*size))
        font.points = *size;
    if (const auto name = text(store, kFont + QStringLiteral("NAME")); name && !name->isEmpty())
        font.face = *name;
    sizeUnit = 0;
    if (const auto lcd = number(store, kDisplay + QStringLiteral("LCD")); lcd && isValidDisplayName(*lcd))
        displayName = qRound(*lcd);
    if (const auto h = number(store, kDisplay + QStringLiteral("HSplit")); h && isValidSplitter(*h))
        hsplit = qRound(*h);
    if (const auto v = number(store, kDisplay + QStringLiteral("VSplit")); v && isValidSplitter(*v))
        vsplit = qRound(*v);
    if (const auto stored = text(store, kDisplay + QStringLiteral("Language")))
        language = *stored;
    if (const auto stored = text(store, kDisplay + QStringLiteral("PATH")))
        path = *stored;
    if (const auto style = number(store, kDisplay + QStringLiteral("Style"));
        style && isValidDisplayStyle(*style))
        displayStyle = qRound(*style);
    // Checked where it is used (an unknown text means the default quality).
    if (const auto quality = text(store, kDisplay + QStringLiteral("Quality"));
        quality && !quality->isEmpty())
        conversionQuality = *quality;
    const auto w = number(store, kDisplay + QStringLiteral("Width"));
    const auto h = number(store, kDisplay + QStringLiteral("Height"));
    const auto l = number(store, kDisplay + QStringLiteral("Left"));
    const auto t = number(store, kDisplay + QStringLiteral("Top"));
    if (w && h && l && t && isValidGeometry(*l, *t, *w, *h))
        geometry = QRect(qRound(*l), qRound(*t), qRound(*w), qRound(*h));
}

void Values::save(QSettings& store) const
{
    store.setValue(kFont + QStringLiteral("BOLD"), font.bold ? QStringLiteral("1") : QStringLiteral("0"));
    store.setValue(kFont + QStringLiteral("SIZE"), QString::number(font.points));
    store.setValue(kFont + QStringLiteral("NAME"), font.face);
    store.setValue(kDisplay + QStringLiteral("MEMSIZE"), QString::number(sizeUnit));
    store.setValue(kDisplay + QStringLiteral("LCD"), QString::number(displayName));
    const QRect g = geometry.value_or(QRect());
    store.setValue(kDisplay + QStringLiteral("Width"), singleText(g.width()));
    store.setValue(kDisplay + QStringLiteral("Height"), singleText(g.height()));
    store.setValue(kDisplay + QStringLiteral("Left"), singleText(g.left()));
    store.setValue(kDisplay + QStringLiteral("Top"), singleText(g.top()));
    store.setValue(kDisplay + QStringLiteral("HSplit"), singleText(hsplit));
    store.setValue(kDisplay + QStringLiteral("VSplit"), singleText(vsplit));
    store.setValue(kDisplay + QStringLiteral("Style"), QString::number(displayStyle));
    store.setValue(kDisplay + QStringLiteral("Quality"), conversionQuality);
    store.sync();
}

void Values::savePath(QSettings& store) const
{
    store.setValue(kDisplay + QStringLiteral("PATH"), path);
    store.sync();
}

QString languageFileOr(const Values& values, const QString& programFolder)
{
    return values.language.value_or(defaultLanguageFile(programFolder));
}

QString defaultLanguageFile(const QString& programFolder)
{
    QString folder = QDir::toNativeSeparators(programFolder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder + QStringLiteral("Language") + QDir::separator() + QStringLiteral("english.lng");
}

} // namespace StoredSettings
