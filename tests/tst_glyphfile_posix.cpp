// SPDX-License-Identifier: MIT
#include "files/glyphfile.h"
#include "files/regularfile.h"
#include "testfiles.h"

#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>
#include <grp.h>
#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QTest>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace glimra;

// Glyph files on a POSIX system: owners, groups, ACLs and extended attributes, file size
// limits, a killed save, and system calls that fail.
class TestGlyphFilePosix : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void shortLastBlockKeepsTheOldFile_data();
    void shortLastBlockKeepsTheOldFile();
    void saveKeepsWhatTheFileHad_data();
    void saveKeepsWhatTheFileHad();
    void linkToNothingGetsItsFile();
    void killedSaveLeavesTheOldFile_data();
    void killedSaveLeavesTheOldFile();
    void failingSystemCallKeepsTheOldFile_data();
    void failingSystemCallKeepsTheOldFile();
    void failingSystemCallRefusesTheRead_data();
    void failingSystemCallRefusesTheRead();

private:
    // The user's own data folder, where a copy of a file written in place goes when its own
    // folder takes none; open to all, as the tests save as another user too.
    QTemporaryDir m_home;
    QString m_userCopies;
};

// A coverage build writes its counts at exit(), which a forked child skips with _exit().
extern "C" void __gcov_dump() __attribute__((weak));

namespace {

[[noreturn]] void endChild(int status)
{
    if (__gcov_dump)
        __gcov_dump();
    _exit(status);
}

/// Writes in a child process whose files cannot grow past `limit` bytes, as a full disk
/// would stop them, and returns what the write said there.
int writeUnderSizeLimit(const QString &path, const QStringList &entries, rlim_t limit)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN); // fail the write with EFBIG instead of dying
        rlimit size{};
        getrlimit(RLIMIT_FSIZE, &size);
        const rlim_t unlimited = size.rlim_cur;
        size.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &size);
        const int result = int(WriteGlyphFile(path, entries));
        size.rlim_cur = unlimited; // nor may the counts of a coverage build be cut short
        setrlimit(RLIMIT_FSIZE, &size);
        endChild(result);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// Runs `work` in a child process as uid 1000, in groups 1000 and 2000, and returns what it
/// returned there.
int asOrdinaryUser(const std::function<int()> &work)
{
    const pid_t child = fork();
    if (child == 0) {
        const gid_t groups[] = {1000, 2000};
        if (setgroups(2, groups) != 0 || setresgid(1000, 1000, 1000) != 0 ||
            setresuid(1000, 1000, 1000) != 0)
            endChild(100);
        endChild(work());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

/// System calls made to fail, as "open 1-2 EACCES, fstat 1 EIO": the first two calls of
/// open() after arming fail with EACCES, the first of fstat() with EIO; a call may be
/// named more than once ("open 1-2 EACCES, open 4-5 EACCES"). "stat 1 pipe" lets
/// the first stat() through and then puts a pipe where the file it looked at was.
class SystemCallFaults
{
public:
    static SystemCallFaults &armed()
    {
        static SystemCallFaults faults;
        return faults;
    }

    void arm(const QByteArray &wanted, const QString &pipePath = {})
    {
        static const QMap<QByteArray, int> Errors{
            {"EACCES", EACCES}, {"EEXIST", EEXIST}, {"EINTR", EINTR},     {"EINVAL", EINVAL},
            {"EIO", EIO},       {"ENOSPC", ENOSPC}, {"ENOTSUP", ENOTSUP}, {"EPERM", EPERM},
            {"EXDEV", EXDEV},   {"pipe", 0}};
        m_faults.clear();
        m_calls.clear();
        m_pipePath = pipePath;
        for (const QByteArray &fault : wanted.split(',')) {
            const QList<QByteArray> words = fault.simplified().split(' ');
            const QList<QByteArray> range = words.value(1).split('-');
            QVERIFY2(words.size() == 3 && Errors.contains(words[2]), fault.constData());
            m_faults.append({words[0], range[0].toInt(), range.last().toInt(), Errors[words[2]]});
        }
    }
    void disarm() { m_faults.clear(); }

    /// Whether this call of `name` is to fail; sets errno when it is.
    bool fails(const char *name)
    {
        int call = 0;
        for (const Fault &fault : std::as_const(m_faults)) {
            if (fault.name != name)
                continue;
            if (call == 0)
                call = ++m_calls[fault.name];
            if (call < fault.first || call > fault.last || fault.error == 0)
                continue;
            errno = fault.error;
            return true;
        }
        return false;
    }
    /// After a call of stat() has looked, swaps the file for a pipe where asked.
    void looked()
    {
        for (const Fault &fault : std::as_const(m_faults)) {
            if (fault.name == "stat" && fault.error == 0 && m_calls.value("stat") == fault.first) {
                const QByteArray path = QFile::encodeName(m_pipePath);
                ::unlink(path.constData());
                ::mkfifo(path.constData(), 0644);
            }
        }
    }

private:
    struct Fault
    {
        QByteArray name;
        int first, last, error;
    };
    QList<Fault> m_faults;
    QMap<QByteArray, int> m_calls;
    QString m_pipePath;
};

template <typename Function> Function *next(const char *name)
{
    return reinterpret_cast<Function *>(::dlsym(RTLD_NEXT, name));
}

} // namespace

// The program's own calls of these land here first, and pass on to the C library.
#define GLIMRA_FAULTABLE(result, name, parameters, arguments)                                      \
    extern "C" result name parameters                                                              \
    {                                                                                              \
        static auto *const real = next<result parameters>(#name);                                  \
        return SystemCallFaults::armed().fails(#name) ? result(-1) : real arguments;               \
    }
GLIMRA_FAULTABLE(int, fstat, (int fd, struct stat *info), (fd, info))
GLIMRA_FAULTABLE(ssize_t, read, (int fd, void *data, size_t size), (fd, data, size))
GLIMRA_FAULTABLE(ssize_t, write, (int fd, const void *data, size_t size), (fd, data, size))
GLIMRA_FAULTABLE(off_t, lseek, (int fd, off_t offset, int whence), (fd, offset, whence))
GLIMRA_FAULTABLE(int, ftruncate, (int fd, off_t size), (fd, size))
GLIMRA_FAULTABLE(int, fsync, (int fd), (fd))
GLIMRA_FAULTABLE(int, fchmod, (int fd, mode_t mode), (fd, mode))
GLIMRA_FAULTABLE(int, rename, (const char *from, const char *to), (from, to))
GLIMRA_FAULTABLE(int, linkat, (int fromAt, const char *from, int toAt, const char *to, int flags),
                 (fromAt, from, toAt, to, flags))
GLIMRA_FAULTABLE(ssize_t, listxattr, (const char *path, char *list, size_t size),
                 (path, list, size))
GLIMRA_FAULTABLE(ssize_t, flistxattr, (int fd, char *list, size_t size), (fd, list, size))
GLIMRA_FAULTABLE(ssize_t, getxattr, (const char *path, const char *name, void *value, size_t size),
                 (path, name, value, size))
GLIMRA_FAULTABLE(int, fsetxattr,
                 (int fd, const char *name, const void *value, size_t size, int flags),
                 (fd, name, value, size, flags))
#undef GLIMRA_FAULTABLE

extern "C" int open(const char *path, int flags, ...)
{
    static auto *const real = next<int(const char *, int, ...)>("open");
    va_list rest;
    va_start(rest, flags);
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? mode_t(va_arg(rest, int)) : 0;
    va_end(rest);
    return SystemCallFaults::armed().fails("open") ? -1 : real(path, flags, mode);
}

extern "C" int stat(const char *path, struct stat *info)
{
    static auto *const real = next<int(const char *, struct stat *)>("stat");
    if (SystemCallFaults::armed().fails("stat"))
        return -1;
    const int result = real(path, info);
    SystemCallFaults::armed().looked();
    return result;
}

namespace {

/// A POSIX ACL as the kernel stores it: (tag, permissions, id) entries in tag order.
QByteArray aclBytes(std::initializer_list<std::array<quint32, 3>> entries)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<quint32>(2, bytes.data());
    for (const auto &[tag, permissions, id] : entries) {
        char entry[8];
        qToLittleEndian<quint16>(quint16(tag), entry);
        qToLittleEndian<quint16>(quint16(permissions), entry + 2);
        qToLittleEndian<quint32>(id, entry + 4);
        bytes.append(entry, sizeof entry);
    }
    return bytes;
}

bool setAttribute(const QString &path, const char *name, const QByteArray &value)
{
    return ::setxattr(QFile::encodeName(path).constData(), name, value.constData(),
                      size_t(value.size()), 0) == 0;
}

/// Every extended attribute of a file, the ACL among them, with its value.
QMap<QByteArray, QByteArray> attributes(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    QByteArray names(4096, '\0');
    names.resize(qMax<ssize_t>(::listxattr(native.constData(), names.data(), names.size()), 0));
    QMap<QByteArray, QByteArray> values;
    for (const QByteArray &name : names.split('\0')) {
        QByteArray value(4096, '\0');
        if (!name.isEmpty())
            values[name] = value.left(
                ::getxattr(native.constData(), name.constData(), value.data(), value.size()));
    }
    return values;
}

} // namespace

void TestGlyphFilePosix::initTestCase()
{
    QVERIFY(m_home.isValid());
    QVERIFY(::chmod(QFile::encodeName(m_home.path()).constData(), 0777) == 0);
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.path()));
    m_userCopies = m_home.filePath("glimra-editor");
}

void TestGlyphFilePosix::init()
{
    QVERIFY(QDir(m_userCopies).removeRecursively());
}

void TestGlyphFilePosix::shortLastBlockKeepsTheOldFile_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("limit");
    // Small lists sit whole in the write buffer until the end; large ones fill it many times.
    QTest::newRow("300 entries, 4 KiB fit") << 300 << 4096;
    QTest::newRow("300 entries, nothing fits") << 300 << 0;
    QTest::newRow("one entry, all but its last byte fits") << 1 << 28;
    QTest::newRow("5000 entries, the last block falls short") << 5000 << 120000;
    QTest::newRow("5000 entries, a middle block falls short") << 5000 << 20000;
}

void TestGlyphFilePosix::shortLastBlockKeepsTheOldFile()
{
    QFETCH(int, count);
    QFETCH(int, limit);
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.glm");
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    writeFileBytes(path, old);
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries << QStringLiteral("01 02 03 04 05    glyph%1").arg(i, 5, 10, QChar(u'0'));
    QCOMPARE(writeUnderSizeLimit(path, entries, rlim_t(limit)), int(WriteResult::CannotWrite));
    QCOMPARE(fileBytes(path), old);
    QCOMPARE(folderEntries(dir.path()), QStringList{"keep.glm"});
}

void TestGlyphFilePosix::saveKeepsWhatTheFileHad_data()
{
    QTest::addColumn<bool>("asUser"); // uid 1000 in groups 1000 and 2000, or root
    QTest::addColumn<uint>("owner");
    QTest::addColumn<uint>("group");
    QTest::addColumn<int>("mode");
    QTest::addColumn<uint>("folderOwner"); // the folder's group is 2000
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<QString>("extra");
    QTest::addColumn<bool>("written");
    QTest::newRow("root saves a user's 0600 file: owner kept")
        << false << 1000u << 1000u << 0600 << 0u << 0755 << "" << true;
    QTest::newRow("mode 0640 kept") << false << 0u << 0u << 0640 << 0u << 0755 << "" << true;
    QTest::newRow("user in a shared folder: group kept")
        << true << 1000u << 2000u << 0664 << 0u << 0775 << "" << true;
    QTest::newRow("user saves another's group-writable file: in place")
        << true << 1001u << 2000u << 0664 << 0u << 0777 << "" << true;
    QTest::newRow("ACL with a named user kept")
        << false << 0u << 0u << 0640 << 0u << 0755 << "acl" << true;
    QTest::newRow("extended attribute kept, as user")
        << true << 1000u << 1000u << 0644 << 0u << 0777 << "xattr" << true;
    QTest::newRow("no ACL from the folder's default")
        << false << 0u << 0u << 0644 << 0u << 0755 << "default acl" << true;
    QTest::newRow("read-only file refused, even for root")
        << false << 0u << 0u << 0444 << 0u << 0755 << "" << false;
    QTest::newRow("read-only file refused to its owner")
        << true << 1000u << 1000u << 0444 << 0u << 0777 << "" << false;
    QTest::newRow("another user's 0644 file refused in a folder open to all")
        << true << 1001u << 1001u << 0644 << 0u << 0777 << "" << false;
    QTest::newRow("writable file in a 0555 folder: in place")
        << true << 1000u << 1000u << 0644 << 1000u << 0555 << "" << true;
    QTest::newRow("in-place write fails part-way: old bytes back")
        << true << 1000u << 1000u << 0644 << 1000u << 0555 << "fault" << false;
    QTest::newRow("name of 250 bytes")
        << false << 0u << 0u << 0644 << 0u << 0755 << "long name" << true;
    QTest::newRow("a link stays a link, its target written")
        << false << 0u << 0u << 0644 << 0u << 0755 << "link" << true;
    QTest::newRow("set-group-id bit kept")
        << false << 0u << 2000u << 02664 << 0u << 0755 << "" << true;
    QTest::newRow("a second name sees the new glyphs: in place")
        << false << 0u << 0u << 0644 << 0u << 0755 << "hard link" << true;
    QTest::newRow("a second name, the write fails part-way: old bytes back")
        << true << 1000u << 1000u << 0644 << 0u << 0777 << "hard link, fault" << false;
}

void TestGlyphFilePosix::saveKeepsWhatTheFileHad()
{
    QFETCH(bool, asUser);
    QFETCH(uint, owner);
    QFETCH(uint, group);
    QFETCH(int, mode);
    QFETCH(uint, folderOwner);
    QFETCH(int, folderMode);
    QFETCH(QString, extra);
    QFETCH(bool, written);
    if (geteuid() != 0)
        QSKIP("files owned by others need root");
    QTemporaryDir dir;
    QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
    const QString folder = dir.filePath("shared");
    QVERIFY(QDir().mkdir(folder));
    const QString file =
        folder + '/' + (extra == "long name" ? QString(82, u'あ') : "old") + ".glm";
    const QByteArray native = QFile::encodeName(file);
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    writeFileBytes(file, old);
    QVERIFY(::chown(native.constData(), owner, group) == 0);
    QVERIFY(::chmod(native.constData(), mode_t(mode)) == 0);
    constexpr quint32 Any = 0xFFFFFFFF;
    if (extra == "acl")
        QVERIFY(setAttribute(
            file, "system.posix_acl_access",
            aclBytes({{1, 6, Any}, {2, 6, 1000}, {4, 4, Any}, {0x10, 6, Any}, {0x20, 0, Any}})));
    if (extra == "xattr")
        QVERIFY(setAttribute(file, "user.glimra-test", "kept"));
    if (extra == "default acl")
        QVERIFY(setAttribute(
            folder, "system.posix_acl_default",
            aclBytes({{1, 7, Any}, {2, 7, 1000}, {4, 5, Any}, {0x10, 7, Any}, {0x20, 5, Any}})));
    QString saved = file;
    if (extra.startsWith("hard link"))
        QVERIFY(::link(native.constData(), QFile::encodeName(folder + "/other.glm")) == 0);
    if (extra == "link") {
        saved = folder + "/link.glm";
        QVERIFY(QFile::link("old.glm", saved));
    }
    const QByteArray folderNative = QFile::encodeName(folder);
    QVERIFY(::chown(folderNative.constData(), folderOwner, 2000) == 0);
    QVERIFY(::chmod(folderNative.constData(), mode_t(folderMode)) == 0);
    struct stat before;
    QVERIFY(::stat(native.constData(), &before) == 0);
    const QMap<QByteArray, QByteArray> attributesBefore = attributes(file);
    const QStringList entriesBefore = folderEntries(folder);

    QStringList entries{"01 00 00 00 00    one", "02 00 00 00 00    two"};
    // Enough lines that the fault comes after a first block has been written over the file.
    const bool faulty = extra.endsWith("fault");
    if (faulty)
        entries += QStringList(20'000, u"03 00 00 00 00    three"_qs);
    const WriteFault fault = [&](int line) { return !faulty || line < 15'000; };
    const auto save = [&] { return int(WriteGlyphFile(saved, entries, fault)); };
    const int result = asUser ? asOrdinaryUser(save) : save();

    QCOMPARE(result, int(written ? WriteResult::Written : WriteResult::CannotWrite));
    QCOMPARE(fileBytes(file), written ? QByteArray("01,00,00,00,00,\"one\"\r\n"
                                                   "02,00,00,00,00,\"two\"\r\n")
                                      : old);
    struct stat after;
    QVERIFY(::stat(native.constData(), &after) == 0);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    QCOMPARE(after.st_mode, before.st_mode);
    if (extra.startsWith("hard link")) {
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(fileBytes(folder + "/other.glm"), fileBytes(file));
    }
    QCOMPARE(attributes(file), attributesBefore);
    QCOMPARE(folderEntries(folder), entriesBefore);
    QCOMPARE(folderEntries(m_userCopies), QStringList{});
    if (extra == "link")
        QVERIFY(QFileInfo(saved).isSymLink());
}

void TestGlyphFilePosix::linkToNothingGetsItsFile()
{
    // The file a link names is made where the link points, through a second link and a
    // relative path; the links stay links. A loop of links is refused.
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("sub"));
    QVERIFY(QFile::link("sub/made.glm", dir.filePath("link.glm")));
    QVERIFY(QFile::link(dir.filePath("link.glm"), dir.filePath("second.glm")));
    QCOMPARE(WriteGlyphFile(dir.filePath("second.glm"), {"01 00 00 00 00    one"}),
             WriteResult::Written);
    QCOMPARE(fileBytes(dir.filePath("sub/made.glm")), QByteArray("01,00,00,00,00,\"one\"\r\n"));
    QVERIFY(QFileInfo(dir.filePath("link.glm")).isSymLink());
    QVERIFY(QFileInfo(dir.filePath("second.glm")).isSymLink());
    QCOMPARE(folderEntries(dir.filePath("sub")), QStringList{"made.glm"});

    // A chain of ten links is followed to its end, as the system itself would.
    QVERIFY(QDir(dir.path()).mkdir("chain"));
    for (int link = 1; link <= 10; ++link)
        QVERIFY(
            QFile::link(u"%1.glm"_qs.arg(link - 1), dir.filePath(u"chain/%1.glm"_qs.arg(link))));
    QCOMPARE(WriteGlyphFile(dir.filePath("chain/10.glm"), {"01 00 00 00 00    one"}),
             WriteResult::Written);
    QCOMPARE(fileBytes(dir.filePath("chain/0.glm")), QByteArray("01,00,00,00,00,\"one\"\r\n"));
    for (int link = 1; link <= 10; ++link)
        QVERIFY(QFileInfo(dir.filePath(u"chain/%1.glm"_qs.arg(link))).isSymLink());

    QVERIFY(QFile::link("loop2.glm", dir.filePath("loop1.glm")));
    QVERIFY(QFile::link("loop1.glm", dir.filePath("loop2.glm")));
    QCOMPARE(WriteGlyphFile(dir.filePath("loop1.glm"), {"01 00 00 00 00    one"}),
             WriteResult::CannotWrite);
    QCOMPARE(folderEntries(dir.path()),
             QStringList({"chain", "link.glm", "loop1.glm", "loop2.glm", "second.glm", "sub"}));
}

void TestGlyphFilePosix::killedSaveLeavesTheOldFile_data()
{
    QTest::addColumn<bool>("secondName");
    QTest::newRow("through a new file") << false;
    QTest::newRow("a second name: in place, a copy beside") << true;
}

// Killed half-way through writing, a save leaves the old file, or where it was being
// written in place, a whole copy of it beside it.
void TestGlyphFilePosix::killedSaveLeavesTheOldFile()
{
    QFETCH(bool, secondName);
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.glm");
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    writeFileBytes(path, old);
    if (secondName)
        QVERIFY(::link(QFile::encodeName(path).constData(),
                       QFile::encodeName(dir.filePath("other.glm")).constData()) == 0);
    const QStringList entries(1'000'000, u"01 02 03 04 05    glyph"_qs);
    int midway[2];
    QVERIFY(::pipe(midway) == 0);
    const pid_t child = fork();
    if (child == 0) {
        WriteGlyphFile(path, entries, [&](int line) {
            if (line == 600'000 && ::write(midway[1], "!", 1) == 1)
                ::pause();
            return true;
        });
        _exit(0);
    }
    char byte = 0;
    QCOMPARE(::read(midway[0], &byte, 1), ssize_t(1));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    QVERIFY(WIFSIGNALED(status));
    ::close(midway[0]);
    ::close(midway[1]);
    if (!secondName) {
        QCOMPARE(fileBytes(path), old);
        QCOMPARE(folderEntries(dir.path()), QStringList{"keep.glm"});
        return;
    }
    QVERIFY(fileBytes(path).startsWith("01,02,03,04,05,\"glyph\"\r\n")); // neither list
    QCOMPARE(keptCopies(dir.path()), QByteArrayList{old});
    QCOMPARE(folderEntries(dir.path()).size(), 3);
}

void TestGlyphFilePosix::failingSystemCallKeepsTheOldFile_data()
{
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("replaced"); // the new bytes are in place, said or not
    const auto row = [](const char *name, bool exists, const char *faults, bool written,
                        std::optional<bool> replaced = {}) {
        QTest::newRow(name) << exists << QByteArray(faults)
                            << int(written ? WriteResult::Written : WriteResult::CannotWrite)
                            << replaced.value_or(written);
    };
    // Written in place once no new file can be made beside it: the first open makes an
    // unnamed file, the second a named one, the third opens the file itself. Its copy
    // comes first: the fourth open, then the copy read (read 1-2), written (write 1),
    // cut (ftruncate 1), flushed (fsync 1), named (linkat 1) and its folder flushed
    // (fsync 2). Then the new list is written (lseek 3, write 2, ftruncate 2, fsync 3),
    // and on a failure the copy put back the same way as it was made: after a failed
    // write 2, from lseek 4-5, read 3-4, write 3, ftruncate 2 and fsync 3.
    const auto inPlace = [](const char *name, const char *faults, WriteResult result) {
        QTest::newRow(name) << true << "open 1-2 EACCES, " + QByteArray(faults) << int(result)
                            << (result == WriteResult::Written);
    };
    row("no unnamed files here: a named one", true, "open 1 ENOTSUP", true);
    row("the name was taken: another", true, "open 1-2 EEXIST", true);
    row("no new file beside it: in place", true, "open 1-2 EACCES", true);
    row("in place: the open refused", true, "open 1-3 EACCES", false);
    inPlace("in place: no second look", "fstat 1 EIO", WriteResult::CannotWrite);
    inPlace("in place: no copy beside, one in the user's folder", "open 4-5 EACCES",
            WriteResult::Written);
    inPlace("in place: no copy anywhere", "open 4-7 EACCES", WriteResult::CannotWrite);
    inPlace("in place: a read of the old file interrupted", "read 1 EINTR", WriteResult::Written);
    inPlace("in place: the old file unreadable", "read 1 EIO", WriteResult::CannotWrite);
    inPlace("in place: the copy not written", "write 1 ENOSPC", WriteResult::CannotWrite);
    inPlace("in place: the copy not cut", "ftruncate 1 EIO", WriteResult::CannotWrite);
    inPlace("in place: the copy not flushed", "fsync 1 EIO", WriteResult::CannotWrite);
    inPlace("in place: the copy cannot be named", "linkat 1 EPERM", WriteResult::CannotWrite);
    inPlace("in place: the copy's folder not flushed", "fsync 2 EIO", WriteResult::CannotWrite);
    inPlace("in place: no way back to the start", "lseek 3 EIO", WriteResult::CannotWrite);
    inPlace("in place: a write interrupted", "write 2 EINTR", WriteResult::Written);
    inPlace("in place: the disk full, old bytes back", "write 2 ENOSPC", WriteResult::CannotWrite);
    inPlace("in place: the end not cut, old bytes back", "ftruncate 2 EIO",
            WriteResult::CannotWrite);
    inPlace("in place: not flushed, old bytes back", "fsync 3 EIO", WriteResult::CannotWrite);
    inPlace("in place: no way back to the copy's start, the copy kept",
            "write 2 ENOSPC, lseek 4 EIO", WriteResult::CopyKept);
    inPlace("in place: the copy unreadable, the copy kept", "write 2 ENOSPC, read 3 EIO",
            WriteResult::CopyKept);
    inPlace("in place: not even the old bytes go back, the copy kept", "write 2-3 ENOSPC",
            WriteResult::CopyKept);
    inPlace("in place: the old bytes back but not cut, the copy kept",
            "write 2 ENOSPC, ftruncate 2 EIO", WriteResult::CopyKept);
    inPlace("in place: the old bytes back but not flushed, the copy kept",
            "write 2 ENOSPC, fsync 3 EIO", WriteResult::CopyKept);
    inPlace("in place: the copy in the user's folder kept", "open 4-5 EACCES, write 2-3 ENOSPC",
            WriteResult::CopyKept);
    row("the owner unknown: in place", true, "fstat 1 EIO", true);
    row("no attributes on this file system", true, "listxattr 1 ENOTSUP", true);
    row("the attributes unlisted: in place", true, "listxattr 1 EIO", true);
    row("the attributes unlisted at second ask: in place", true, "listxattr 2 EIO", true);
    row("an attribute unread: in place", true, "getxattr 1 EIO", true);
    row("an attribute unread at second ask: in place", true, "getxattr 2 EIO", true);
    row("an attribute not taken over: in place", true, "fsetxattr 1 EPERM", true);
    row("the new file's attributes unlisted: in place", true, "flistxattr 1 EIO", true);
    row("the new file's attributes unlisted at second ask: in place", true, "flistxattr 2 EIO",
        true);
    row("the mode not taken over: in place", true, "fchmod 1 EPERM", true);
    row("the disk full", true, "write 1 ENOSPC", false);
    row("not flushed", true, "fsync 1 EIO", false);
    row("the new file's name taken: another", true, "linkat 1 EEXIST", true);
    row("the new file cannot be named", true, "linkat 1 EPERM", false);
    row("the named file cannot replace the old", true, "open 1 ENOTSUP, rename 1 EXDEV", false);
    row("the file cannot be looked at", true, "stat 1 EACCES", false);
    row("a new file not flushed", false, "fsync 1 EIO", false);
    row("the folder not flushed: the rename may not last", true, "fsync 2 EIO", false, true);
    row("a new file's folder not flushed", false, "fsync 2 EIO", false, true);
    row("a folder that cannot be flushed", true, "fsync 2 EINVAL", true);
    row("no new file can be made", false, "open 1-2 EACCES", false);
}

// Whatever call fails, a save says so and leaves the old file as it was, with nothing beside;
// or, where it could not put the old bytes back, says that a whole copy of them stays.
void TestGlyphFilePosix::failingSystemCallKeepsTheOldFile()
{
    QFETCH(bool, fileExists);
    QFETCH(QByteArray, faults);
    QFETCH(int, result);
    QFETCH(bool, replaced);
    QTemporaryDir dir;
    const QString path = dir.filePath("keep.glm");
    const QByteArray old = "41,00,00,00,00,\"old\"\r\n";
    if (fileExists) {
        writeFileBytes(path, old);
        if (!setAttribute(path, "user.glimra-test", "kept"))
            QSKIP("this file system keeps no extended attributes");
    }
    SystemCallFaults::armed().arm(faults);
    const WriteResult written = WriteGlyphFile(path, {"01 00 00 00 00    one"});
    SystemCallFaults::armed().disarm();

    QCOMPARE(int(written), result);
    const bool kept = written == WriteResult::CopyKept;
    if (!kept && (replaced || fileExists))
        QCOMPARE(fileBytes(path), replaced ? QByteArray("01,00,00,00,00,\"one\"\r\n") : old);
    // The copy stays beside the file, or in the user's folder where it went.
    const bool besideIt = !faults.contains("open 4-5");
    QCOMPARE(keptCopies(besideIt ? dir.path() : m_userCopies),
             kept ? QByteArrayList{old} : QByteArrayList{});
    QCOMPARE(folderEntries(dir.path()).size(),
             (replaced || fileExists ? 1 : 0) + (kept && besideIt ? 1 : 0));
    QCOMPARE(folderEntries(m_userCopies).size(), kept && !besideIt ? 1 : 0);
    if (fileExists && !faults.contains("ENOTSUP"))
        QCOMPARE(attributes(path).value("user.glimra-test"), QByteArray("kept"));
}

void TestGlyphFilePosix::failingSystemCallRefusesTheRead_data()
{
    QTest::addColumn<QByteArray>("faults");
    QTest::addColumn<int>("read"); // 0: refused, 1: in part, 2: whole
    QTest::newRow("the file cannot be looked at") << QByteArray("stat 1 EACCES") << 0;
    QTest::newRow("a regular file refuses the open") << QByteArray("open 1 EACCES") << 0;
    QTest::newRow("no second look") << QByteArray("fstat 1 EIO") << 0;
    QTest::newRow("a pipe put in its place between the look and the open")
        << QByteArray("stat 1 pipe") << 0;
    QTest::newRow("a read interrupted") << QByteArray("read 1 EINTR") << 2;
    QTest::newRow("the disk fails while reading") << QByteArray("read 1 EIO") << 1;
}

void TestGlyphFilePosix::failingSystemCallRefusesTheRead()
{
    QFETCH(QByteArray, faults);
    QFETCH(int, read);
    QTemporaryDir dir;
    const QString path = dir.filePath("read.glm");
    writeFileBytes(path, "41,00,00,00,00,\"one\"\r\n");
    SystemCallFaults::armed().arm(faults, path);
    const std::optional<GlyphFileContents> contents = ReadGlyphFile(path);
    SystemCallFaults::armed().disarm();

    QCOMPARE(contents.has_value(), read > 0);
    if (contents)
        QCOMPARE(contents->complete, read == 2);
    // A file that is somehow open already takes no second handle, and none is left open.
    const QString other = dir.filePath("other.glm");
    writeFileBytes(other, "41,00,00,00,00,\"one\"\r\n");
    QFile file(other);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const qsizetype handles = QDir("/proc/self/fd").count();
    QTest::ignoreMessage(QtWarningMsg,
                         qPrintable("QFile::open: File (" + other + ") already open"));
    QVERIFY(!OpenRegularFile(other, file));
    QCOMPARE(QDir("/proc/self/fd").count(), handles);
}

QTEST_APPLESS_MAIN(TestGlyphFilePosix)
#include "tst_glyphfile_posix.moc"
