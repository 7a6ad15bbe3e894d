// SPDX-License-Identifier: MIT
#include "files/replacefile.h"

#include "files/writepieces.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <memory>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <utility>

namespace glimra {

namespace {

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool writeAll(int fd, const char *data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool writePieces(int fd, const MakeContents &make, const WriteFault &fault)
{
    return WritePieces(make, fault,
                       [fd](const char *data, qsizetype size) { return writeAll(fd, data, size); });
}

// Copies the whole of one file over another, both from their starts, cuts the other to
// that length and puts it on disk.
bool copyWhole(int from, int to)
{
    if (::lseek(from, 0, SEEK_SET) != 0 || ::lseek(to, 0, SEEK_SET) != 0)
        return false;
    char chunk[64 * 1024];
    off_t size = 0;
    for (;;) {
        const ssize_t got = ::read(from, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return ::ftruncate(to, size) == 0 && ::fsync(to) == 0;
        if (!writeAll(to, chunk, got))
            return false;
        size += got;
    }
}

QList<QByteArray> attributeNames(const QByteArray &list)
{
    QList<QByteArray> names = list.split('\0');
    names.removeAll(QByteArray());
    return names;
}

// Gives the new file exactly the old file's extended attributes, its ACL among them.
bool copyAttributes(const QByteArray &from, int to)
{
    ssize_t size = ::listxattr(from.constData(), nullptr, 0);
    if (size < 0)
        return errno == ENOTSUP; // a file system without them has none to lose
    QByteArray list(size, '\0');
    size = ::listxattr(from.constData(), list.data(), list.size());
    if (size < 0)
        return false;
    list.resize(size);
    const QList<QByteArray> names = attributeNames(list);
    for (const QByteArray &name : names) {
        ssize_t valueSize = ::getxattr(from.constData(), name.constData(), nullptr, 0);
        if (valueSize < 0)
            return false;
        QByteArray value(valueSize, '\0');
        valueSize = ::getxattr(from.constData(), name.constData(), value.data(), value.size());
        if (valueSize < 0 ||
            ::fsetxattr(to, name.constData(), value.constData(), size_t(valueSize), 0) != 0)
            return false;
    }
    // The folder's default ACL may have given the new file one that the old did not have.
    size = ::flistxattr(to, nullptr, 0);
    if (size < 0)
        return false;
    list.resize(size);
    size = ::flistxattr(to, list.data(), list.size());
    if (size < 0)
        return false;
    list.resize(size);
    for (const QByteArray &name : attributeNames(list)) {
        if (!names.contains(name) && ::fremovexattr(to, name.constData()) != 0)
            return false;
    }
    return true;
}

// Makes the new file the old one's equal in all but its contents. Ownership goes first,
// since changing it clears the set-id bits; the mode goes last, since it sets an ACL's mask.
bool takeOver(const QByteArray &target, const struct stat &old, int fd)
{
    struct stat now;
    if (::fstat(fd, &now) != 0)
        return false;
    if ((now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
        ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return false;
    return copyAttributes(target, fd) && ::fchmod(fd, old.st_mode & 07777) == 0;
}

// A new file beside the target that nobody sees until it replaces it. An unnamed one
// vanishes with the process if that is killed; where the file system cannot make one, it
// gets a short name, which fits in a folder whatever the target's own name is.
class TemporaryFile
{
public:
    TemporaryFile(const QByteArray &folder, mode_t mode, const QByteArray &stem = ".glimra-",
                  const QByteArray &suffix = {})
        : m_folder(folder), m_stem(stem), m_suffix(suffix)
    {
        m_fd = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, mode);
        for (int tries = 0; m_fd < 0 && tries < 100; ++tries) {
            const QByteArray name = randomName();
            m_fd = ::open(name.constData(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, mode);
            if (m_fd >= 0)
                m_name = name;
            else if (errno != EEXIST)
                break;
        }
    }
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;
    ~TemporaryFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_name.isEmpty())
            ::unlink(m_name.constData());
    }

    int fd() const { return m_fd; }

    /// Gives the file a name in its folder, if it has none yet.
    bool name()
    {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
        for (int tries = 0; m_name.isEmpty() && tries < 100; ++tries) {
            const QByteArray name = randomName();
            if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(),
                         AT_SYMLINK_FOLLOW) == 0)
                m_name = name;
            else if (errno != EEXIST)
                return false;
        }
        return !m_name.isEmpty();
    }

    bool replace(const QByteArray &target)
    {
        if (!name() || ::rename(m_name.constData(), target.constData()) != 0)
            return false;
        m_name.clear();
        return true;
    }

    /// The file's name, which it keeps once this is gone.
    QByteArray keep() { return std::exchange(m_name, QByteArray()); }

private:
    QByteArray randomName() const
    {
        static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
        QByteArray name = m_folder + '/' + m_stem;
        for (int i = 0; i < 8; ++i)
            name.append(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)]);
        return name + m_suffix;
    }

    QByteArray m_folder, m_stem, m_suffix;
    QByteArray m_name; // empty while the file has no name
    int m_fd = -1;
};

// A file with no write bit is its owner's "do not overwrite", which root's privileges would
// ignore; and nobody replaces a file they could not write, even where the folder lets them.
bool mayWrite(const QByteArray &target, const struct stat &info)
{
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0 &&
           ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) == 0;
}

// A rename is an entry in the folder: until the folder is on disk, a power cut may undo it.
// A file system that cannot sync folders (EINVAL) keeps them its own way.
bool syncFolder(const QByteArray &folder)
{
    const Descriptor handle(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return handle.get() < 0 || ::fsync(handle.get()) == 0 || errno == EINVAL;
}

// A whole copy of the open file, on disk under a name of its own: in `folder`, or where
// that takes no new file, in the user's own. Null when neither can hold one.
std::unique_ptr<TemporaryFile> copyOf(int file, const QByteArray &folder, mode_t mode)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QByteArray place = attempt == 0 ? folder : QFile::encodeName(KeptCopyFolder());
        if (place.isEmpty())
            break;
        auto copy = std::make_unique<TemporaryFile>(place, mode, KeptCopyStem, KeptCopySuffix);
        if (copy->fd() >= 0)
            return copyWhole(file, copy->fd()) && copy->name() && syncFolder(place)
                       ? std::move(copy)
                       : nullptr;
    }
    return nullptr;
}

// Where no new file can stand in for the old one, it is written where it is, but only
// once a whole copy of it is on disk: whenever the program stops, the file holds the old
// glyphs or the new, or the copy holds the old.
Replaced writeInPlace(const QByteArray &target, const QByteArray &folder, const MakeContents &make,
                      const WriteFault &fault)
{
    const Descriptor file(::open(target.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    struct stat info;
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    const std::unique_ptr<TemporaryFile> copy = copyOf(file.get(), folder, info.st_mode & 0666);
    if (!copy)
        return {};
    off_t end = -1;
    if (::lseek(file.get(), 0, SEEK_SET) == 0 && writePieces(file.get(), make, fault) &&
        (end = ::lseek(file.get(), 0, SEEK_CUR)) >= 0 && ::ftruncate(file.get(), end) == 0 &&
        ::fsync(file.get()) == 0)
        return {true, {}};
    if (copyWhole(copy->fd(), file.get()))
        return {};
    return {false, QFile::decodeName(copy->keep())};
}

// The file that `path` names once every symbolic link is followed, also when the last one
// points to nothing yet: saving creates that file and leaves the link.
QByteArray linkedFile(QByteArray path)
{
    constexpr int MostLinks = 40; // as the kernel's own limit: a loop ends in ELOOP below
    for (int hop = 0; hop < MostLinks; ++hop) {
        QByteArray link(PATH_MAX, Qt::Uninitialized);
        const ssize_t size = ::readlink(path.constData(), link.data(), std::size_t(link.size()));
        if (size < 0 || size >= link.size())
            return path;
        link.truncate(size);
        path = link.startsWith('/') ? link : path.left(path.lastIndexOf('/') + 1) + link;
    }
    return path;
}

} // namespace

Replaced ReplaceFileContents(const QString &path, const MakeContents &make, const WriteFault &fault)
{
    const QByteArray target = linkedFile(QFile::encodeName(QFileInfo(path).absoluteFilePath()));
    const QByteArray folder =
        target.lastIndexOf('/') > 0 ? target.left(target.lastIndexOf('/')) : "/";
    struct stat old;
    if (::stat(target.constData(), &old) != 0) {
        if (errno != ENOENT)
            return {};
        TemporaryFile file(folder, 0666);
        return {file.fd() >= 0 && writePieces(file.fd(), make, fault) && ::fsync(file.fd()) == 0 &&
                    file.replace(target) && syncFolder(folder),
                {}};
    }
    if (!S_ISREG(old.st_mode) || !mayWrite(target, old))
        return {};
    // A new file would take only this one name; the file's other names would keep the
    // old glyphs.
    if (old.st_nlink == 1) {
        TemporaryFile file(folder, 0600);
        if (file.fd() >= 0 && takeOver(target, old, file.fd()))
            return {writePieces(file.fd(), make, fault) && ::fsync(file.fd()) == 0 &&
                        file.replace(target) && syncFolder(folder),
                    {}};
    }
    return writeInPlace(target, folder, make, fault);
}

} // namespace glimra
