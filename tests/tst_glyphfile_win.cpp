// SPDX-License-Identifier: MIT
#include "files/glyphfile.h"
#include "testfiles.h"

#include <cstring>
#include <cwchar>
#include <QMap>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <vector>
#include <windows.h>

#include <sddl.h> // after windows.h, which it needs

using namespace glimra;

// Glyph files on Windows: file attributes, the read-only attribute, Japanese names, a file
// with two names, and system calls that fail.
class TestGlyphFileWin : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void saveKeepsWhatTheFileHad_data();
    void saveKeepsWhatTheFileHad();
    void aLinkIsFollowedToItsFile();
    void failingSystemCallLosesNothing_data();
    void failingSystemCallLosesNothing();
    void aRetriedMoveKeepsTheAccessRules_data();
    void aRetriedMoveKeepsTheAccessRules();
    void pathsPastTheOldLimitWork_data();
    void pathsPastTheOldLimitWork();

private:
    // The user's own data folder, where a copy of a file written in place goes when its own
    // folder takes none.
    QString m_userCopies;
};

namespace {

/// System calls made to fail, as "ReplaceFileW 1 1177, MoveFileExW 1-3 32": the first
/// call of ReplaceFileW after arming fails with that error, the first three of MoveFileExW
/// with a sharing violation; a call may be named more than once. A ReplaceFileW that fails does
/// first what the error says it did: with 1177 the old file has gone to the backup name.
class SystemCallFaults
{
public:
    static SystemCallFaults &armed()
    {
        static SystemCallFaults faults;
        return faults;
    }

    void arm(const QByteArray &wanted)
    {
        m_faults.clear();
        m_calls.clear();
        for (const QByteArray &fault : wanted.split(',')) {
            const QList<QByteArray> words = fault.simplified().split(' ');
            const QList<QByteArray> range = words.value(1).split('-');
            QVERIFY2(words.size() == 3, fault.constData());
            m_faults.append({words[0], range[0].toInt(), range.last().toInt(), words[2].toUInt()});
        }
    }
    void disarm() { m_faults.clear(); }

    /// The error this call of `name` is to fail with, or 0 when it is to run.
    DWORD fails(const char *name)
    {
        int call = 0;
        for (const Fault &fault : std::as_const(m_faults)) {
            if (fault.name != name)
                continue;
            if (call == 0)
                call = ++m_calls[fault.name];
            if (call >= fault.first && call <= fault.last)
                return fault.error;
        }
        return 0;
    }

private:
    struct Fault
    {
        QByteArray name;
        int first, last;
        DWORD error;
    };
    QList<Fault> m_faults;
    QMap<QByteArray, int> m_calls;
};

/// Points the program's own imports of `name` from kernel32 at `replacement`, as a POSIX
/// test puts its functions before the C library's; returns the real function. Every call
/// in the program goes through this one table, Qt's among them.
template <typename Function> Function *redirectImport(const char *name, Function *replacement)
{
    auto *const base = reinterpret_cast<BYTE *>(GetModuleHandleW(nullptr));
    const auto *nt = reinterpret_cast<const IMAGE_NT_HEADERS *>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER *>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY &imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto *library =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR *>(base + imports.VirtualAddress);
         library->Name; ++library) {
        if (_stricmp(reinterpret_cast<const char *>(base + library->Name), "kernel32.dll") != 0)
            continue;
        const auto *names =
            reinterpret_cast<const IMAGE_THUNK_DATA *>(base + library->OriginalFirstThunk);
        auto *slot = reinterpret_cast<IMAGE_THUNK_DATA *>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) ||
                std::strcmp(
                    reinterpret_cast<const IMAGE_IMPORT_BY_NAME *>(base + names->u1.AddressOfData)
                        ->Name,
                    name) != 0)
                continue;
            DWORD protection = 0;
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE,
                           &protection);
            auto *real = reinterpret_cast<Function *>(slot->u1.Function);
            slot->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            return real;
        }
    }
    return nullptr;
}

// Windows refuses a path of 260 characters or more unless it is in the extended-length form
// or the program declares long paths and the system allows them; Wine takes any path. Set,
// the calls below follow Windows' rule.
bool oldPathLimit = false;

/// The error Windows would give for any of `paths` under that rule, or 0.
DWORD pathFault(std::initializer_list<LPCWSTR> paths)
{
    constexpr std::size_t MaxPath = 260;
    for (LPCWSTR path : paths) {
        if (oldPathLimit && path && std::wcslen(path) >= MaxPath &&
            std::wcsncmp(path, L"\\\\?\\", 4) != 0)
            return ERROR_FILENAME_EXCED_RANGE;
    }
    return 0;
}

/// The error this call is to fail with: the path rule's, else an armed fault's, else 0.
DWORD faultOf(const char *name, std::initializer_list<LPCWSTR> paths = {})
{
    const DWORD error = pathFault(paths);
    return error ? error : SystemCallFaults::armed().fails(name);
}

decltype(&CreateFileW) realCreateFileW;
decltype(&GetFileAttributesW) realGetFileAttributesW;
decltype(&WriteFile) realWriteFile;
decltype(&FlushFileBuffers) realFlushFileBuffers;
decltype(&MoveFileExW) realMoveFileExW;
decltype(&ReplaceFileW) realReplaceFileW;

template <typename Result> Result failWith(DWORD error, Result result)
{
    SetLastError(error);
    return result;
}

HANDLE WINAPI faultableCreateFileW(LPCWSTR name, DWORD access, DWORD share,
                                   LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                   HANDLE templateFile)
{
    if (const DWORD error = faultOf("CreateFileW", {name}))
        return failWith(error, INVALID_HANDLE_VALUE);
    return realCreateFileW(name, access, share, security, disposition, flags, templateFile);
}

DWORD WINAPI faultableGetFileAttributesW(LPCWSTR name)
{
    if (const DWORD error = pathFault({name}))
        return failWith(error, INVALID_FILE_ATTRIBUTES);
    return realGetFileAttributesW(name);
}

BOOL WINAPI faultableWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written,
                               LPOVERLAPPED overlapped)
{
    if (const DWORD error = faultOf("WriteFile"))
        return failWith(error, FALSE);
    return realWriteFile(file, data, size, written, overlapped);
}

BOOL WINAPI faultableFlushFileBuffers(HANDLE file)
{
    if (const DWORD error = faultOf("FlushFileBuffers"))
        return failWith(error, FALSE);
    return realFlushFileBuffers(file);
}

BOOL WINAPI faultableMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags)
{
    if (const DWORD error = faultOf("MoveFileExW", {from, to}))
        return failWith(error, FALSE);
    return realMoveFileExW(from, to, flags);
}

BOOL WINAPI faultableReplaceFileW(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup,
                                  DWORD flags, LPVOID exclude, LPVOID reserved)
{
    const DWORD error = faultOf("ReplaceFileW", {replaced, replacement, backup});
    if (!error)
        return realReplaceFileW(replaced, replacement, backup, flags, exclude, reserved);
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        realMoveFileExW(replaced, backup, 0);
    return failWith(error, FALSE);
}

const QByteArray Old = "41,00,00,00,00,\"old\"\r\n";
const QByteArray New = "7F,08,08,08,7F,\"\x90\x56\"\r\n";
const QStringList NewEntries{u"7F 08 08 08 7F    新"_qs};

} // namespace

void TestGlyphFileWin::initTestCase()
{
    realCreateFileW = redirectImport("CreateFileW", &faultableCreateFileW);
    realGetFileAttributesW = redirectImport("GetFileAttributesW", &faultableGetFileAttributesW);
    realWriteFile = redirectImport("WriteFile", &faultableWriteFile);
    realFlushFileBuffers = redirectImport("FlushFileBuffers", &faultableFlushFileBuffers);
    realMoveFileExW = redirectImport("MoveFileExW", &faultableMoveFileExW);
    realReplaceFileW = redirectImport("ReplaceFileW", &faultableReplaceFileW);
    QVERIFY(realCreateFileW && realGetFileAttributesW && realWriteFile && realFlushFileBuffers &&
            realMoveFileExW && realReplaceFileW);
    QStandardPaths::setTestModeEnabled(true);
    m_userCopies =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/glimra-editor";
}

void TestGlyphFileWin::init()
{
    QVERIFY(QDir(m_userCopies).removeRecursively());
}

void TestGlyphFileWin::saveKeepsWhatTheFileHad_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<uint>("attributes");
    QTest::addColumn<bool>("written");
    QTest::newRow("plain file") << "old.glm" << uint(FILE_ATTRIBUTE_ARCHIVE) << true;
    QTest::newRow("hidden file stays hidden")
        << "old.glm" << uint(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE) << true;
    QTest::newRow("Japanese name") << u"外字の一覧.glm"_qs << uint(FILE_ATTRIBUTE_ARCHIVE) << true;
    // Typed so, the name is the one Windows makes of it everywhere else.
    QTest::newRow("a name typed with a dot and a space after it")
        << "glyphs. " << uint(FILE_ATTRIBUTE_ARCHIVE) << true;
    QTest::newRow("a second name sees the new glyphs")
        << "two names.glm" << uint(FILE_ATTRIBUTE_ARCHIVE) << true;
    QTest::newRow("read-only attribute refused")
        << "old.glm" << uint(FILE_ATTRIBUTE_READONLY) << false;
    QTest::newRow("read-only and hidden refused")
        << "old.glm" << uint(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN) << false;
}

void TestGlyphFileWin::saveKeepsWhatTheFileHad()
{
    QFETCH(QString, name);
    QFETCH(uint, attributes);
    QFETCH(bool, written);
    QTemporaryDir dir;
    // A name typed with trailing dots or spaces names the file Windows makes of it.
    QString stored = name;
    while (stored.endsWith(u'.') || stored.endsWith(u' '))
        stored.chop(1);
    const QString file = dir.filePath(stored);
    const std::wstring native = QDir::toNativeSeparators(file).toStdWString();
    writeFileBytes(file, Old);
    const QString other = dir.filePath("other.glm");
    const bool twoNames = name.startsWith("two names");
    if (twoNames)
        QVERIFY(CreateHardLinkW(QDir::toNativeSeparators(other).toStdWString().c_str(),
                                native.c_str(), nullptr));
    QVERIFY(SetFileAttributesW(native.c_str(), attributes));
    const DWORD before = GetFileAttributesW(native.c_str()); // Wine adds the archive bit

    const WriteResult result = WriteGlyphFile(dir.filePath(name), NewEntries);
    QCOMPARE(result == WriteResult::Written, written);
    QCOMPARE(fileBytes(file), written ? New : Old);
    QCOMPARE(GetFileAttributesW(native.c_str()), before);
    if (twoNames) {
        QCOMPARE(fileBytes(other), New);
        QCOMPARE(folderEntries(dir.path()), QStringList({"other.glm", stored}));
    } else {
        QCOMPARE(folderEntries(dir.path()), QStringList{stored});
    }
    SetFileAttributesW(native.c_str(), FILE_ATTRIBUTE_NORMAL); // so that the folder can go
}

// A save through a symbolic link writes the file it leads to, and the link stays a link.
void TestGlyphFileWin::aLinkIsFollowedToItsFile()
{
    QTemporaryDir dir;
    writeFileBytes(dir.filePath("file.glm"), Old);
    const std::wstring link = QDir::toNativeSeparators(dir.filePath("link.glm")).toStdWString();
    if (!CreateSymbolicLinkW(link.c_str(), L"file.glm",
                             SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE))
        QSKIP("this system makes no symbolic links");
    // Wine makes the link but shows no reparse point where it stands.
    const DWORD attributes = GetFileAttributesW(link.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        QSKIP("this system shows its symbolic links as no reparse points");
    QCOMPARE(WriteGlyphFile(dir.filePath("link.glm"), NewEntries), WriteResult::Written);
    QCOMPARE(fileBytes(dir.filePath("file.glm")), New);
    QVERIFY(QFileInfo(dir.filePath("link.glm")).isSymbolicLink());
    QCOMPARE(folderEntries(dir.path()), QStringList({"file.glm", "link.glm"}));
}

void TestGlyphFileWin::failingSystemCallLosesNothing_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("holds"); // what stands under the file's name afterwards
    QTest::addColumn<int>("left");         // files left beside it, both copies where one is
    const auto row = [](const char *name, bool exists, const char *faults, bool written,
                        const QByteArray &holds, int left = 0) {
        QTest::newRow(name) << exists << QByteArray(faults)
                            << int(written ? WriteResult::Written : WriteResult::CannotWrite)
                            << holds << left;
    };
    // Written in place once no new file can be made beside it (CreateFileW 2): the third
    // CreateFileW opens the file, the fourth makes its copy, which is written (WriteFile 1)
    // and flushed (FlushFileBuffers 1). Then the new list is written (WriteFile 2), and on
    // a failure the copy put back (WriteFile 3, FlushFileBuffers 2).
    const auto inPlace = [](const char *name, const char *faults, WriteResult result,
                            const QByteArray &holds, int left = 0) {
        QTest::newRow(name) << true << "CreateFileW 2 5, " + QByteArray(faults) << int(result)
                            << holds << left;
    };
    inPlace("in place: no copy beside, one in the user's folder", "CreateFileW 4 5",
            WriteResult::Written, New);
    inPlace("in place: no copy anywhere", "CreateFileW 4-5 5", WriteResult::CannotWrite, Old);
    inPlace("in place: the copy not written", "WriteFile 1 112", WriteResult::CannotWrite, Old);
    inPlace("in place: the copy not flushed", "FlushFileBuffers 1 5", WriteResult::CannotWrite,
            Old);
    inPlace("in place: not even the old bytes go back, the copy kept", "WriteFile 2-3 112",
            WriteResult::CopyKept, Old, 1);
    inPlace("in place: the old bytes back but not flushed, the copy kept",
            "WriteFile 2 112, FlushFileBuffers 2 5", WriteResult::CopyKept, Old, 1);
    inPlace("in place: the copy in the user's folder kept", "CreateFileW 4 5, WriteFile 2-3 112",
            WriteResult::CopyKept, Old);
    // ReplaceFileW's own errors, each as the documentation says it leaves the files.
    row("the new file could not take the name (1176): a retry moves it in", true,
        "ReplaceFileW 1 1176", true, New);
    row("the old file moved to the backup name (1177): a retry moves the new one in", true,
        "ReplaceFileW 1 1177", true, New);
    row("1177, the new file held a while by another program", true,
        "ReplaceFileW 1 1177, MoveFileExW 1-3 32", true, New);
    row("1177, the new file held all along: the old one back from the backup", true,
        "ReplaceFileW 1 1177, MoveFileExW 1-10 32", false, Old);
    row("1177, nothing can be moved: both copies kept", true,
        "ReplaceFileW 1 1177, MoveFileExW 1-20 32", false, QByteArray(), 2);
    row("the old file could not be deleted (1175): it stays", true, "ReplaceFileW 1 1175", false,
        Old);
    row("the old file may not be replaced: written in place", true, "ReplaceFileW 1 5", true, New);
    // What comes before the replace.
    row("no new file beside it: in place", true, "CreateFileW 2 5", true, New);
    row("in place: the open refused", true, "CreateFileW 2-3 5", false, Old);
    row("the disk full", true, "WriteFile 1 112", false, Old);
    inPlace("in place: the disk full, old bytes back", "WriteFile 2 112", WriteResult::CannotWrite,
            Old);
    row("not flushed", true, "FlushFileBuffers 1 5", false, Old);
    row("a new file held a while by another program", false, "MoveFileExW 1-2 32", true, New);
    row("a new file held all along", false, "MoveFileExW 1-10 32", false, QByteArray());
}

// Whatever call fails, a save says so truly, and the user's glyphs are still there: under
// the file's name, or where no call could put them back, beside it.
void TestGlyphFileWin::failingSystemCallLosesNothing()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, faults);
    QFETCH(int, result);
    QFETCH(QByteArray, holds);
    QFETCH(int, left);
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.glm");
    if (fileExists)
        writeFileBytes(path, Old);
    SystemCallFaults::armed().arm(faults);
    const WriteResult written = WriteGlyphFile(path, NewEntries);
    SystemCallFaults::armed().disarm();

    QCOMPARE(int(written), result);
    // A copy of the old file stays where it was made: beside it, or in the user's folder.
    const bool kept = written == WriteResult::CopyKept;
    const bool besideIt = !faults.contains("CreateFileW 4 ");
    QCOMPARE(keptCopies(besideIt ? dir.path() : m_userCopies),
             kept ? QByteArrayList{Old} : QByteArrayList{});
    QCOMPARE(folderEntries(m_userCopies).size(), kept && !besideIt ? 1 : 0);
    QStringList entries = folderEntries(dir.path());
    if (holds.isEmpty()) {
        QVERIFY(!QFile::exists(path));
    } else {
        QCOMPARE(fileBytes(path), holds);
        entries.removeOne("keep.glm");
    }
    QCOMPARE(entries.size(), left);
    if (left == 2) {
        QList<QByteArray> copies{fileBytes(dir.filePath(entries[0])),
                                 fileBytes(dir.filePath(entries[1]))};
        std::sort(copies.begin(), copies.end());
        QCOMPARE(copies, QList<QByteArray>({Old, New}));
    }
}

void TestGlyphFileWin::aRetriedMoveKeepsTheAccessRules_data()
{
    QTest::addColumn<QByteArray>("faults");
    QTest::newRow("the new file could not take the name (1176)")
        << QByteArray("ReplaceFileW 1 1176");
    QTest::newRow("the old file moved to the backup name (1177)")
        << QByteArray("ReplaceFileW 1 1177");
}

// Where ReplaceFileW fails and the new file is moved into place instead, it keeps the old
// file's access rules, as ReplaceFileW would have kept them.
void TestGlyphFileWin::aRetriedMoveKeepsTheAccessRules()
{
    QFETCH(QByteArray, faults);
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.glm");
    writeFileBytes(path, Old);
    const std::wstring native = QDir::toNativeSeparators(path).toStdWString();
    const auto rules = [&] {
        DWORD size = 0;
        GetFileSecurityW(native.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
        std::vector<char> descriptor(qMax<DWORD>(size, 1));
        LPWSTR text = nullptr;
        QString rules;
        if (GetFileSecurityW(native.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size,
                             &size) &&
            ConvertSecurityDescriptorToStringSecurityDescriptorW(
                descriptor.data(), SDDL_REVISION_1, DACL_SECURITY_INFORMATION, &text, nullptr)) {
            rules = QString::fromWCharArray(text);
            LocalFree(text);
        }
        return rules;
    };
    const QString fresh = rules(); // what a new file gets
    // Everyone may do anything with it.
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    QVERIFY(ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;;FA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    const bool set = SetFileSecurityW(native.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
    QVERIFY(set);
    const QString before = rules();
    QVERIFY(!before.isEmpty());
    QVERIFY(before != fresh);

    SystemCallFaults::armed().arm(faults);
    const WriteResult written = WriteGlyphFile(path, NewEntries);
    SystemCallFaults::armed().disarm();
    QCOMPARE(written, WriteResult::Written);
    QCOMPARE(fileBytes(path), New);
    QCOMPARE(rules(), before);
    QCOMPARE(folderEntries(dir.path()), QStringList{"keep.glm"});
}

void TestGlyphFileWin::pathsPastTheOldLimitWork_data()
{
    QTest::addColumn<int>("folderLength");
    QTest::newRow("a folder of 245 characters: only the new file's name is too long") << 245;
    QTest::newRow("a path of 300 characters") << 300;
}

// A new file saved with a name, saved over, and opened, with the system held to the old
// limit of 260 characters.
void TestGlyphFileWin::pathsPastTheOldLimitWork()
{
    QFETCH(int, folderLength);
    QTemporaryDir dir;
    QString folder = dir.path();
    while (folder.size() < folderLength)
        folder += u'/' + QString(qBound(1, int(folderLength - folder.size() - 1), 100), u'd');
    QCOMPARE_LE(folder.size(), folderLength + 1);
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + u"/a.glm"_qs;
    oldPathLimit = true;
    const WriteResult made = WriteGlyphFile(path, {u"41 00 00 00 00    old"_qs});
    const WriteResult replaced = WriteGlyphFile(path, NewEntries);
    const std::optional<GlyphFileContents> read = ReadGlyphFile(path);
    oldPathLimit = false;
    QCOMPARE(made, WriteResult::Written);
    QCOMPARE(replaced, WriteResult::Written);
    QVERIFY(read);
    QCOMPARE(read->entries, NewEntries);
    QCOMPARE(folderEntries(folder), QStringList{"a.glm"});
}

QTEST_APPLESS_MAIN(TestGlyphFileWin)
#include "tst_glyphfile_win.moc"
