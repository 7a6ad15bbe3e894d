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

qint64 peakMemory()
{
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return qint64(counters.PeakWorkingSetSize);
}

} // namespace glimra
