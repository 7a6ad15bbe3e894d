// SPDX-License-Identifier: MIT
#include "files/replacefile.h"

#include "files/writepieces.h"

#include <optional>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <string>
#include <windows.h>

namespace glimra {

namespace {

class Handle
{
public:
    explicit Handle(HANDLE handle) : m_handle(handle) {}
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    ~Handle() { reset(); }
    HANDLE get() const { return m_handle; }
    bool isValid() const { return m_handle != INVALID_HANDLE_VALUE; }
    void reset(HANDLE handle = INVALID_HANDLE_VALUE)
    {
        if (isValid())
            CloseHandle(m_handle);
        m_handle = handle;
    }

private:
    HANDLE m_handle;
};

std::wstring nativeName(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

bool writeAll(HANDLE handle, const char *data, qsizetype size)
{
    while (size > 0) {
        DWORD written = 0;
        const DWORD chunk = DWORD(qMin<qsizetype>(size, 1 << 30));
        if (!WriteFile(handle, data, chunk, &written, nullptr) || written == 0)
            return false;
        data += written;
        size -= written;
    }
    return true;
}

bool writePieces(HANDLE handle, const QList<QByteArray> &pieces, const WriteFault &fault)
{
    return WritePieces(pieces, fault, [handle](const char *data, qsizetype size) {
        return writeAll(handle, data, size);
    });
}

std::optional<QByteArray> readAll(HANDLE handle)
{
    QByteArray bytes;
    char chunk[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(handle, chunk, sizeof chunk, &got, nullptr))
            return std::nullopt;
        if (got == 0)
            return bytes;
        bytes.append(chunk, got);
    }
}

bool rewind(HANDLE handle)
{
    LARGE_INTEGER start{};
    return SetFilePointerEx(handle, start, nullptr, FILE_BEGIN);
}

// A short name beside the target, which fits in the folder whatever the target's own name.
std::wstring temporaryName(const QString &folder)
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QString name = folder + QStringLiteral("/.glimra-");
    for (int i = 0; i < 8; ++i)
        name.append(QChar(Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)]));
    return nativeName(name + QStringLiteral(".tmp"));
}

// Where no new file can take the old one's place. Its bytes are read first, so that they
// can be put back if the write fails part-way.
bool writeInPlace(const std::wstring &target, const QList<QByteArray> &pieces,
                  const WriteFault &fault)
{
    const Handle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isValid() || GetFileType(file.get()) != FILE_TYPE_DISK)
        return false;
    const std::optional<QByteArray> old = readAll(file.get());
    if (!old || !rewind(file.get()))
        return false;
    if (writePieces(file.get(), pieces, fault) && SetEndOfFile(file.get()) &&
        FlushFileBuffers(file.get()))
        return true;
    // Not cut short first, the old bytes still have their place on the disk.
    if (rewind(file.get()) && writeAll(file.get(), old->constData(), old->size()))
        SetEndOfFile(file.get());
    FlushFileBuffers(file.get());
    return false;
}

} // namespace

bool ReplaceFileContents(const QString &path, const QList<QByteArray> &pieces,
                         const WriteFault &fault)
{
    const QFileInfo info(path);
    const std::wstring target = nativeName(info.absoluteFilePath());
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    if (exists) {
        // The read-only attribute is the user's own "do not overwrite"; and nobody replaces a
        // file they could not write, even where the folder lets them.
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
            return false;
        const Handle writable(CreateFileW(target.c_str(), GENERIC_WRITE,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!writable.isValid() || GetFileType(writable.get()) != FILE_TYPE_DISK)
            return false;
    }

    // ReplaceFileW gives the new file the old one's attributes, but Wine's does not: the new
    // file starts with them.
    constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD start = exists && (attributes & Kept) ? attributes & Kept : FILE_ATTRIBUTE_NORMAL;
    std::wstring temporary;
    Handle file(INVALID_HANDLE_VALUE);
    for (int tries = 0; tries < 100 && !file.isValid(); ++tries) {
        temporary = temporaryName(info.absolutePath());
        file.reset(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, start, nullptr));
        if (!file.isValid() && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file.isValid())
        return exists && writeInPlace(target, pieces, fault);
    const bool written = writePieces(file.get(), pieces, fault) && FlushFileBuffers(file.get());
    file.reset();
    // ReplaceFileW also gives it the old one's ACL, streams and creation time.
    const bool replaced =
        written &&
        (exists ? ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                 REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                : ::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH));
    if (replaced)
        return true;
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    // The file could not be replaced as a whole, but may still be written where it is.
    return written && exists && error == ERROR_ACCESS_DENIED && writeInPlace(target, pieces, fault);
}

} // namespace glimra
