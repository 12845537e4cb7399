// SPDX-FileCopyrightText: 2026 The ZVD developers
// SPDX-License-Identifier: MIT
#include "AppSettings.h"

#include "AppPaths.h"

#include <QDir>
#include <QSettings>
#include <QtMath>

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

QString singleText(double value)
{
    return QString::number(float(value), 'g', 7);
}

} // namespace

QFont AppSettings::defaultTitleFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(16);
    font.setBold(false);
    return font;
}

void AppSettings::load(QSettings& store)
{
    if (const auto bold = number(store, kFont + QStringLiteral("BOLD")))
        titleFont.setBold(*bold == 1);
    if (const auto size = number(store, kFont + QStringLiteral("SIZE")); size && *size > 0 && *size < 1e4)
        titleFont.setPointSizeF(*size);
    if (const auto name = text(store, kFont + QStringLiteral("NAME")); name && !name->isEmpty())
        titleFont.setFamily(*name);
    sizeUnit = 0;
    if (const auto lcd = number(store, kDisplay + QStringLiteral("LCD")); lcd && qAbs(*lcd) < 32768)
        displayName = qRound(*lcd);
    if (const auto h = number(store, kDisplay + QStringLiteral("HSplit")); h && *h > 0 && *h < 1e7)
        hsplit = qRound(*h);
    if (const auto v = number(store, kDisplay + QStringLiteral("VSplit")); v && *v > 0 && *v < 1e7)
        vsplit = qRound(*v);
    language = text(store, kDisplay + QStringLiteral("Language"))
                   .value_or(DefaultLanguageFile(AppPaths::programFolder()));
    path = text(store, kDisplay + QStringLiteral("PATH")).value_or(QString());
    if (const auto style = number(store, kDisplay + QStringLiteral("Style")); style && *style >= 0 && *style <= 3)
        displayStyle = qRound(*style);
    const auto w = number(store, kDisplay + QStringLiteral("Width"));
    const auto h = number(store, kDisplay + QStringLiteral("Height"));
    const auto l = number(store, kDisplay + QStringLiteral("Left"));
    const auto t = number(store, kDisplay + QStringLiteral("Top"));
    if (w && h && l && t && *w > 0 && *h > 0 && qAbs(*l) < 1e7 && qAbs(*t) < 1e7 && *w < 1e7 && *h < 1e7)
        geometry = QRect(qRound(*l), qRound(*t), qRound(*w), qRound(*h));
}

void AppSettings::save(QSettings& store) const
{
    store.setValue(kFont + QStringLiteral("BOLD"),
                   titleFont.bold() ? QStringLiteral("1") : QStringLiteral("0"));
    store.setValue(kFont + QStringLiteral("SIZE"), QString::number(titleFont.pointSizeF()));
    store.setValue(kFont + QStringLiteral("NAME"), titleFont.family());
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
    store.sync();
}

void AppSettings::savePath(QSettings& store) const
{
    store.setValue(kDisplay + QStringLiteral("PATH"), path);
    store.sync();
}

QString DefaultLanguageFile(const QString& programFolder)
{
    QString folder = QDir::toNativeSeparators(programFolder);
    if (!folder.endsWith(QDir::separator()))
        folder += QDir::separator();
    return folder + QStringLiteral("Language") + QDir::separator() + QStringLiteral("english.lng");
}
