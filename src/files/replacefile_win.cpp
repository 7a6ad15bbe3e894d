// SPDX-License-Identifier: MIT
#include "files/replacefile.h"

#include "files/systempath_win.h"
#include "files/writepieces.h"

#include <memory>
#include <QRandomGenerator>
#include <string>
#include <vector>
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

bool writePieces(HANDLE handle, const MakeContents &make, const WriteFault &fault)
{
    return WritePieces(make, fault, [handle](const char *data, qsizetype size) {
        return writeAll(handle, data, size);
    });
}

bool rewind(HANDLE handle)
{
    LARGE_INTEGER start{};
    return SetFilePointerEx(handle, start, nullptr, FILE_BEGIN);
}

// Copies the whole of one file over another, both from their starts, cuts the other to
// that length and puts it on disk.
bool copyWhole(HANDLE from, HANDLE to)
{
    if (!rewind(from) || !rewind(to))
        return false;
    char chunk[64 * 1024];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(from, chunk, sizeof chunk, &got, nullptr))
            return false;
        if (got == 0)
            return SetEndOfFile(to) && FlushFileBuffers(to);
        if (!writeAll(to, chunk, got))
            return false;
    }
}

std::wstring folderOf(const std::wstring &path)
{
    return path.substr(0, path.rfind(L'\\') + 1);
}

// A short name in the folder, which fits there whatever the target's own name.
std::wstring randomName(const std::wstring &folder, const char *stem, const char *suffix)
{
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = stem;
    for (int i = 0; i < 8; ++i)
        name += Letters[QRandomGenerator::global()->bounded(int(sizeof Letters) - 1)];
    return folder + QString::fromLatin1(name + suffix).toStdWString();
}

std::wstring nameBeside(const std::wstring &target, const char *suffix)
{
    return randomName(folderOf(target), ".glimra-", suffix);
}

// A whole copy of a file on disk, in the folder given, under a name of its own; it goes
// with this unless kept.
class CopyOfFile
{
public:
    CopyOfFile(HANDLE file, const std::wstring &folder)
    {
        for (int tries = 0; tries < 100 && !m_handle.isValid(); ++tries) {
            m_name = randomName(folder, KeptCopyStem, KeptCopySuffix);
            m_handle.reset(CreateFileW(m_name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!m_handle.isValid() && GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        m_whole = m_handle.isValid() && copyWhole(file, m_handle.get());
    }
    CopyOfFile(const CopyOfFile &) = delete;
    CopyOfFile &operator=(const CopyOfFile &) = delete;
    ~CopyOfFile()
    {
        if (m_handle.isValid() && !m_kept) {
            m_handle.reset();
            DeleteFileW(m_name.c_str());
        }
    }

    bool isMade() const { return m_handle.isValid(); }
    bool isWhole() const { return m_whole; }
    HANDLE get() const { return m_handle.get(); }
    /// Its name as the user knows it; the file stays once this is gone.
    QString keep()
    {
        m_kept = true;
        return UserPath(m_name);
    }

private:
    Handle m_handle{INVALID_HANDLE_VALUE};
    std::wstring m_name;
    bool m_whole = false, m_kept = false;
};

// A whole copy of the open file: beside `target`, or where its folder takes no new file,
// in the user's own. Null when neither can hold one.
std::unique_ptr<CopyOfFile> copyOf(HANDLE file, const std::wstring &target)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const QString userFolder = attempt == 0 ? QString() : KeptCopyFolder();
        if (attempt > 0 && userFolder.isEmpty())
            break;
        auto copy = std::make_unique<CopyOfFile>(
            file, attempt == 0 ? folderOf(target) : SystemPath(userFolder) + L'\\');
        if (copy->isMade())
            return copy->isWhole() ? std::move(copy) : nullptr;
    }
    return nullptr;
}

bool exists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Moves the new file into the target's place, trying again for a while: what holds a file
// just written, such as a virus scanner or a cloud folder's sync, soon lets it go.
bool moveIntoPlace(const std::wstring &from, const std::wstring &to)
{
    constexpr int Tries = 10;
    constexpr DWORD Pause = 100; // milliseconds
    for (int attempt = 0; attempt < Tries; ++attempt) {
        if (attempt > 0)
            Sleep(Pause);
        if (MoveFileExW(from.c_str(), to.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
    }
    return false;
}

// A moved file keeps its own access rules: the new file takes the old one's first, as
// ReplaceFileW would have given them. A file system without them has none to lose.
bool takeAccessRules(const std::wstring &from, const std::wstring &to)
{
    constexpr SECURITY_INFORMATION Rules = DACL_SECURITY_INFORMATION;
    DWORD size = 0;
    if (!GetFileSecurityW(from.c_str(), Rules, nullptr, 0, &size) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return GetLastError() == ERROR_NOT_SUPPORTED || GetLastError() == ERROR_INVALID_FUNCTION;
    std::vector<char> descriptor(size);
    return GetFileSecurityW(from.c_str(), Rules, descriptor.data(), size, &size) &&
           SetFileSecurityW(to.c_str(), Rules, descriptor.data());
}

// ReplaceFileW failed after it had moved a file: the new data is only in the temporary
// file, and the old may be only in the backup. Puts one of them in the target's place,
// new first, and deletes neither unless the other is there.
bool recover(const std::wstring &target, const std::wstring &temporary, const std::wstring &backup)
{
    if (takeAccessRules(exists(target) ? target : backup, temporary) &&
        moveIntoPlace(temporary, target)) {
        DeleteFileW(backup.c_str());
        return true;
    }
    if (!exists(target) && exists(backup))
        moveIntoPlace(backup, target);
    if (exists(target))
        DeleteFileW(temporary.c_str());
    return false;
}

// Where no new file can take the old one's place, it is written where it is, but only once
// a whole copy of it is on disk: whenever the program stops, the file holds the old glyphs
// or the new, or the copy holds the old.
Replaced writeInPlace(const std::wstring &target, const MakeContents &make,
                      const WriteFault &fault)
{
    const Handle file(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.isValid() || GetFileType(file.get()) != FILE_TYPE_DISK)
        return {};
    const std::unique_ptr<CopyOfFile> copy = copyOf(file.get(), target);
    if (!copy)
        return {};
    if (rewind(file.get()) && writePieces(file.get(), make, fault) && SetEndOfFile(file.get()) &&
        FlushFileBuffers(file.get()))
        return {true, {}};
    if (copyWhole(copy->get(), file.get()))
        return {};
    return {false, copy->keep()};
}

// The file that `target` names once every link is followed, as on other systems: saving
// writes that file and leaves the links. A link to nothing stays as it is, and the open
// that follows it is refused.
std::wstring linkedFile(const std::wstring &target)
{
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return target;
    const Handle file(CreateFileW(target.c_str(), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.isValid())
        return target;
    std::wstring final(32768, L'\0');
    const DWORD size = GetFinalPathNameByHandleW(file.get(), final.data(), DWORD(final.size()),
                                                 FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (size == 0 || size >= final.size())
        return target;
    final.resize(size);
    return final;
}

} // namespace

Replaced ReplaceFileContents(const QString &path, const MakeContents &make,
                             const WriteFault &fault)
{
    const std::wstring target = linkedFile(SystemPath(path));
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool existed = attributes != INVALID_FILE_ATTRIBUTES;
    if (!existed && GetLastError() != ERROR_FILE_NOT_FOUND)
        return {};
    if (existed) {
        // The read-only attribute is the user's own "do not overwrite"; and nobody replaces a
        // file they could not write, even where the folder lets them.
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))
            return {};
        Handle writable(CreateFileW(target.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        BY_HANDLE_FILE_INFORMATION info;
        if (!writable.isValid() || GetFileType(writable.get()) != FILE_TYPE_DISK ||
            !GetFileInformationByHandle(writable.get(), &info))
            return {};
        // A new file would take only this one name; the file's other names would keep the
        // old glyphs.
        if (info.nNumberOfLinks > 1) {
            writable.reset(); // it would share the file with no one
            return writeInPlace(target, make, fault);
        }
    }

    // ReplaceFileW gives the new file the old one's attributes, but Wine's does not: the new
    // file starts with them.
    constexpr DWORD Kept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                           FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    const DWORD start = existed && (attributes & Kept) ? attributes & Kept : FILE_ATTRIBUTE_NORMAL;
    std::wstring temporary;
    Handle file(INVALID_HANDLE_VALUE);
    for (int tries = 0; tries < 100 && !file.isValid(); ++tries) {
        temporary = nameBeside(target, ".tmp");
        file.reset(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, start, nullptr));
        if (!file.isValid() && GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!file.isValid())
        return existed ? writeInPlace(target, make, fault) : Replaced{};
    const bool written = writePieces(file.get(), make, fault) && FlushFileBuffers(file.get());
    file.reset();
    if (!written) {
        DeleteFileW(temporary.c_str());
        return {};
    }
    if (!existed) {
        if (moveIntoPlace(temporary, target))
            return {true, {}};
        DeleteFileW(temporary.c_str());
        return {};
    }
    // ReplaceFileW also gives it the old one's ACL, streams and creation time. The old file
    // goes to a backup name first, so that it is never lost if the new one cannot follow.
    const std::wstring backup = nameBeside(target, ".bak");
    if (ReplaceFileW(target.c_str(), temporary.c_str(), backup.c_str(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        DeleteFileW(backup.c_str());
        return {true, {}};
    }
    switch (const DWORD error = GetLastError()) {
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        // The new file could not take the old one's name, which the old may have left.
        return {recover(target, temporary, backup), {}};
    default:
        if (!exists(target))
            return {recover(target, temporary, backup), {}};
        DeleteFileW(temporary.c_str());
        // The file could not be replaced as a whole, but may still be written where it is.
        return error == ERROR_ACCESS_DENIED ? writeInPlace(target, make, fault) : Replaced{};
    }
}

} // namespace glimra
