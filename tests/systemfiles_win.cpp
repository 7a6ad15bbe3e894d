// SPDX-License-Identifier: MIT
#include "systemfiles.h"

#include <QDir>
#include <windows.h>

#include <psapi.h> // after windows.h, which it needs

namespace glimra {

QStringList nonRegularKinds()
{
    return {"missing", "folder", "console", "null device"};
}

// Devices are not made but named: they exist in every folder.
QString makeNonRegularFile(const QString &kind, const QString &folder)
{
    const QString path = folder + QStringLiteral("/odd.glm");
    if (kind == "missing")
        return path;
    if (kind == "folder")
        return QDir().mkdir(path) ? path : QString();
    if (kind == "console")
        return QStringLiteral("CONIN$");
    if (kind == "null device")
        return QStringLiteral("\\\\.\\NUL");
    return {};
}

std::optional<QString> systemDecode932(const QByteArray &bytes)
{
    wchar_t units[4];
    const int count = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes.constData(),
                                          int(bytes.size()), units, 4);
    if (count <= 0)
        return std::nullopt;
    return QString::fromWCharArray(units, count);
}

std::optional<QByteArray> systemEncode932(char16_t unit)
{
    const wchar_t in = wchar_t(unit);
    char out[4];
    BOOL lossy = FALSE;
    const int count =
        WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, &in, 1, out, 4, nullptr, &lossy);
    if (count <= 0 || lossy)
        return std::nullopt;
    return QByteArray(out, count);
}

bool linkFile(const QString &file, const QString &name)
{
    return CreateHardLinkW(
        reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(name).utf16()),
        reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(file).utf16()), nullptr);
}

bool failFileWrites(bool)
{
    return false;
}

qint64 peakMemory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return qint64(counters.PeakWorkingSetSize);
}

} // namespace glimra
