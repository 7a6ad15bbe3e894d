// SPDX-License-Identifier: MIT
// glimra-convert beside the least its work needs: reading the input and writing as many bytes
// as it wrote, in one go each, on the disk before the clock stops, as the safe replace is.
// Then its peak memory on ten times the entries, which streaming keeps flat.
// Usage: bench_convert path/to/glimra-convert [entries]   (1,000,000 by default)
#include "bigfile.h"
#include "files/cp932codec.h"

#include <algorithm>
#include <cstdio>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using namespace glimra;

/// One run of the program as a process of its own: how long it took, or -1 when it failed.
double run(const QString &program, const QStringList &arguments)
{
    std::vector<QByteArray> bytes{program.toLocal8Bit()};
    for (const QString &argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &b : bytes)
        argv.push_back(b.data());
    argv.push_back(nullptr);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(clock.nsecsElapsed()) / 1e6;
}

/// The peak resident memory of one run, in KiB, as time(1) tells it: a child spawned from
/// this process would count this process's own peak, which exec keeps.
long peakKiB(const QString &program, const QStringList &arguments, const QString &report)
{
    if (run(u"/usr/bin/time"_qs,
            QStringList{u"-f"_qs, u"%M"_qs, u"-o"_qs, report, program} + arguments) < 0)
        return 0;
    QFile file(report);
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLong() : 0;
}

/// Reads `input` and writes `size` bytes to `output` in one go each, to the disk.
double floorMilliseconds(const QString &input, const QString &output, qint64 size)
{
    QElapsedTimer clock;
    clock.start();
    QFile in(input);
    if (!in.open(QIODevice::ReadOnly) || in.readAll().isEmpty())
        return -1;
    QFile out(output);
    const QByteArray bytes(size, 'x');
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != size || !out.flush() ||
        ::fsync(out.handle()) != 0)
        return -1;
    return double(clock.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_convert path/to/glimra-convert [entries]\n");
        return 2;
    }
    const QString converter = QString::fromLocal8Bit(argv[1]);
    const int count = argc > 2 ? std::atoi(argv[2]) : 1000000;
    QTemporaryDir folder;
    const auto path = [&](const char *name) { return folder.filePath(QString::fromLatin1(name)); };
    if (!writeBigFile(path("list.glm"), count) ||
        run(converter, {path("list.glm"), path("list.h")}) < 0)
        return 1;

    struct Conversion
    {
        const char *figure, *input, *output;
    };
    const Conversion conversions[] = {{"glm -> c", "list.glm", "out.h"},
                                      {"c -> glm", "list.h", "out.glm"},
                                      {"glm -> python", "list.glm", "out.py"},
                                      {"glm -> bdf", "list.glm", "out.bdf"}};
    std::printf("%-16s %12s %12s %7s %6s\n", "figure", "converter", "floor", "ratio", "goal");
    int met = 0, goals = 0;
    for (const Conversion &c : conversions) {
        std::vector<double> times, floors;
        for (int i = 0; i < 3; ++i) {
            QFile::remove(path(c.output));
            times.push_back(run(converter, {path(c.input), path(c.output)}));
            const qint64 size = QFile(path(c.output)).size();
            floors.push_back(floorMilliseconds(path(c.input), path("floor"), size));
        }
        const double time = median(times), floor = median(floors);
        const bool ok = time >= 0 && floor > 0 && time <= 2 * floor;
        met += ok;
        ++goals;
        std::printf("%-16s %9.0f ms %9.0f ms %6.2fx %5s %s\n", c.figure, time, floor, time / floor,
                    "2x", ok ? "met" : "MISSED");
    }
    // Memory: the same conversion on ten times the entries.
    const long small = peakKiB(converter, {path("list.glm"), path("out.h")}, path("rss"));
    if (!writeBigFile(path("big.glm"), count * 10))
        return 1;
    const long big = peakKiB(converter, {path("big.glm"), path("out.h")}, path("rss"));
    const double growth = double(big) / double(small);
    const bool flat = small > 0 && big > 0 && growth <= 1.2;
    met += flat;
    ++goals;
    std::printf("peak memory, glm -> c: %.1f MB at %d, %.1f MB at %d: %.2fx (goal 1.2x) %s\n",
                small / 1024.0, count, big / 1024.0, count * 10, growth, flat ? "met" : "MISSED");
    std::printf("%d of %d goals met (%d entries)\n", met, goals, count);
    return met == goals ? 0 : 1;
}
