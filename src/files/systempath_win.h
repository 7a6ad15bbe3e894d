// SPDX-License-Identifier: MIT
#pragma once

#include <QDir>
#include <QFileInfo>
#include <string>

namespace glimra {

/// `path` in the extended-length form that the system's file calls take whatever its
/// length: absolute, cleaned (the system resolves no "." or ".." in it), with backslashes,
/// and `\\?\` in front (`\\?\UNC\` for a share). A device path (`\\.\`) stays as it is.
inline std::wstring SystemPath(const QString &path)
{
    const QString given = QDir::toNativeSeparators(path);
    if (given.startsWith(QStringLiteral("\\\\?\\")) || given.startsWith(QStringLiteral("\\\\.\\")))
        return given.toStdWString();
    const QString native =
        QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
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
