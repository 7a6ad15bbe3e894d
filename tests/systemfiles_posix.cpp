// SPDX-License-Identifier: MIT
#include "systemfiles.h"

#include <csignal>
#include <iconv.h>
#include <map>
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

namespace {

std::optional<QByteArray> convert(const char *to, const char *from, QByteArray in)
{
    static thread_local std::map<std::pair<const char *, const char *>, iconv_t> open;
    iconv_t &handle = open[{to, from}];
    if (!handle)
        handle = iconv_open(to, from);
    if (handle == iconv_t(-1))
        return std::nullopt;
    iconv(handle, nullptr, nullptr, nullptr, nullptr);
    char out[8];
    char *input = in.data(), *output = out;
    size_t inLeft = size_t(in.size()), outLeft = sizeof out;
    if (iconv(handle, &input, &inLeft, &output, &outLeft) == size_t(-1) || inLeft != 0)
        return std::nullopt;
    return QByteArray(out, qsizetype(sizeof out - outLeft));
}

} // namespace

std::optional<QString> systemDecode932(const QByteArray &bytes)
{
    const std::optional<QByteArray> units = convert("UTF-16LE", "CP932", bytes);
    if (!units)
        return std::nullopt;
    return QString::fromUtf16(reinterpret_cast<const char16_t *>(units->constData()),
                              units->size() / 2);
}

std::optional<QByteArray> systemEncode932(char16_t unit)
{
    return convert("CP932", "UTF-16LE", QByteArray(1, char(unit & 0xFF)) + char(unit >> 8));
}

bool linkFile(const QString &file, const QString &name)
{
    return ::link(QFile::encodeName(file).constData(), QFile::encodeName(name).constData()) == 0;
}

// No file may grow past nothing: a write fails with EFBIG rather than killing the process.
bool failFileWrites(bool fail)
{
    static rlimit before{};
    if (!fail) {
        std::signal(SIGXFSZ, SIG_DFL);
        return ::setrlimit(RLIMIT_FSIZE, &before) == 0;
    }
    std::signal(SIGXFSZ, SIG_IGN);
    ::getrlimit(RLIMIT_FSIZE, &before);
    rlimit none = before;
    none.rlim_cur = 0;
    return ::setrlimit(RLIMIT_FSIZE, &none) == 0;
}

qint64 peakMemory()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return qint64(usage.ru_maxrss) * 1024;
}

} // namespace glimra
