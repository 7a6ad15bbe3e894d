// SPDX-License-Identifier: MIT
#include "systemfiles.h"

#include <QDir>
#include <QFile>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace glimra {

QStringList nonRegularKinds()
{
    return {"missing", "folder", "fifo", "socket", "device link"};
}

// A fifo has no writer, so a reader that waited on it would never return; the link leads
// to an endless device.
QString makeNonRegularFile(const QString &kind, const QString &folder)
{
    const QString path = folder + QStringLiteral("/odd.glm");
    const QByteArray native = QFile::encodeName(path);
    bool made = false;
    if (kind == "missing") {
        made = true;
    } else if (kind == "folder") {
        made = QDir().mkdir(path);
    } else if (kind == "fifo") {
        made = ::mkfifo(native.constData(), 0600) == 0;
    } else if (kind == "device link") {
        made = QFile::link("/dev/zero", path);
    } else if (kind == "socket") {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (size_t(native.size()) < sizeof address.sun_path) {
            qstrcpy(address.sun_path, native.constData());
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            made = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0;
            ::close(fd); // the socket file stays
        }
    }
    return made ? path : QString();
}

qint64 peakMemory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

} // namespace glimra
