// SPDX-License-Identifier: MIT
#pragma once

#include <QDir>
#include <QFileInfo>
#include <string>

namespace glimra {

/// `native` as the system cleans a path that is not in the extended-length form, which
/// keeps what it is given: a name that ends in one dot loses it, and the path its trailing
/// dots and spaces, so that "glyphs." is "glyphs" as everywhere else on Windows.
inline QString CleanedAsWindowsDoes(const QString &native)
{
    QStringList names = native.split(u'\\');
    for (QString &name : names) {
        if (name.endsWith(u'.') && !name.endsWith(QStringLiteral("..")))
            name.chop(1);
    }
    QString cleaned = names.join(u'\\');
    while (cleaned.endsWith(u'.') || cleaned.endsWith(u' '))
        cleaned.chop(1);
    return cleaned;
}

/// `path` in the extended-length form that the system's file calls take whatever its
/// length: absolute, cleaned as the system cleans other paths (it resolves no "." or ".."
/// in that form), with backslashes, and `\\?\` in front (`\\?\UNC\` for a share). A
/// device path (`\\.\`) stays as it is.
inline std::wstring SystemPath(const QString &path)
{
    const QString given = QDir::toNativeSeparators(path);
    if (given.startsWith(QStringLiteral("\\\\?\\")) || given.startsWith(QStringLiteral("\\\\.\\")))
        return given.toStdWString();
    const QString native = CleanedAsWindowsDoes(
        QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath())));
    if (native.startsWith(QStringLiteral("\\\\")))
        return (QStringLiteral("\\\\?\\UNC\\") + native.mid(2)).toStdWString();
    return (QStringLiteral("\\\\?\\") + native).toStdWString();
}

/// A path in the form the user knows it, without the extended-length prefix.
inline QString UserPath(const std::wstring &path)
{
    const QString system = QString::fromStdWString(path);
    if (system.startsWith(QStringLiteral("\\\\?\\UNC\\")))
        return QStringLiteral("\\\\") + system.mid(8);
    if (system.startsWith(QStringLiteral("\\\\?\\")))
        return system.mid(4);
    return system;
}

} // namespace glimra
