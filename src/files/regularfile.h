// SPDX-License-Identifier: MIT
#pragma once

class QFile;
class QString;

namespace glimra {

/// Opens `path` into `file`, unbuffered and for reading, only when it is a regular file,
/// and never waits on it: a pipe would block and a device may never end. False, with
/// `file` closed, for anything else or a file that cannot be opened.
bool OpenRegularFile(const QString &path, QFile &file);

} // namespace glimra
