// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <QList>

class QByteArray;
class QString;

namespace glimra {

/// Asked before each piece is written; false makes the write fail there, as a full disk
/// would. Tests use it to fail; the editor, to keep its window painted during a long save.
using WriteFault = std::function<bool(int piece)>;

/// Puts the pieces, in order, in place of the file's contents, or creates the file.
/// The old file keeps everything but its contents: owner, group, mode, ACL and extended
/// attributes, and a link stays a link. It is replaced through a new file once every byte
/// is on disk; where such a file cannot be made the same as the old one, it is written in
/// place and its old bytes are put back on failure. On any failure the file stays as it
/// was. A file without write permission, for anyone or for this user, is refused.
bool ReplaceFileContents(const QString &path, const QList<QByteArray> &pieces,
                         const WriteFault &fault);

} // namespace glimra
