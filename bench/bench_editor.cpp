// SPDX-License-Identifier: MIT
// The editor measured against the least that the same work needs, in one run. Prints one
// table (figure, editor, baseline, ratio, goal, met) and "N of M goals met".
// Usage: bench_editor [entries] (100000 by default); QT_QPA_PLATFORM=offscreen.
#include "app/editor.h"
#include "core/platformservices.h"
#include "files/cp932codec.h"
#include "files/fileline.h"
#include "files/glyphfile.h"
#include "ui/listbox.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListView>
#include <QListWidget>
#include <QProcess>
#include <QStringListModel>
#include <QTemporaryDir>
#include <unistd.h>

using namespace glimra;

namespace {

// Answers every file dialog with one name and ignores the rest of the desktop.
class FixedPlatform : public PlatformServices
{
public:
    QString file;
    void message(const QString &) override {}
    void beep() override {}
    QString openFileName(const QString &) override { return file; }
    QString saveFileName(const QString &) override { return file; }
    void clearClipboard() override {}
    void setClipboardText(const QString &) override {}
    void endProgram() override {}
};

double milliseconds(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

double middle(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

/// The median of `runs` timings; `prepare` runs untimed before each.
double median(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        times.push_back(milliseconds(work));
    }
    return middle(times);
}

qint64 residentBytes()
{
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

void settle(QWidget &window)
{
    QCoreApplication::processEvents();
    window.repaint();
}

struct Row
{
    QString figure;
    double editor;
    double baseline; // 0: none
    QString unit;
    double goal; // highest allowed value of the ratio, or of the editor figure alone
    bool ratioGoal;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int count = argc > 1 ? QByteArray(argv[1]).toInt() : 100000;
    const int runs = count > 100000 ? 5 : 7;
    // Open and Save have their goals at every size; the others are set for 100,000 entries.
    const bool goalSize = count == 100000;
    QTemporaryDir dir;
    const QString big = dir.filePath("big.glm");
    const QString small = dir.filePath("small.glm");
    QStringList entries;
    for (int i = 0; i < count; ++i)
        entries << (i % 2 ? QStringLiteral("01 02 03 04 05    glyph%1").arg(i)
                          : QStringLiteral("7F 08 08 08 7F    外字の名前%1").arg(i));
    if (WriteGlyphFile(big, entries) != WriteResult::Written ||
        WriteGlyphFile(small, entries.mid(0, 3)) != WriteResult::Written)
        return 1;

    FixedPlatform platform;
    Editor editor(platform);
    MainWindow &window = editor.mainWindow();
    editor.show();
    settle(window);
    // Memory first, on one Open, before timing loops leave freed memory behind.
    platform.file = big;
    const qint64 empty = residentBytes();
    editor.fileCommands().openFromToolbar();
    settle(window);
    const qint64 full = residentBytes();
    const auto newFile = [&] {
        window.clearEntries();
        settle(window);
    };
    std::vector<Row> rows;

    // Open: the command through to the list holding and showing every entry, against the
    // floor's own work: read, decode once, cut into entry texts, show them. The three take
    // turns, so that each meets the allocator in the same state; run one after the other,
    // whichever came later found the memory the earlier ones had freed.
    const auto entryTexts = [&] {
        QFile file(big);
        file.open(QIODevice::ReadOnly);
        const QString text = *cp932::decode(file.readAll());
        QStringList texts;
        for (QStringView line : QStringView(text).split(u"\r\n", Qt::SkipEmptyParts))
            texts << *ListEntryOfFileLine(line);
        return texts;
    };
    std::vector<double> opens, widgetFloors, modelFloors;
    // One turn more than counted: the first one grows the heap for all three.
    for (int i = 0; i <= runs; ++i) {
        newFile();
        opens.push_back(milliseconds([&] {
            editor.fileCommands().openFromToolbar();
            settle(window);
        }));
        newFile();
        widgetFloors.push_back(milliseconds([&] {
            QListWidget view;
            view.setUniformItemSizes(true);
            view.addItems(entryTexts());
            view.show();
            view.repaint();
        }));
        modelFloors.push_back(milliseconds([&] {
            QStringListModel model(entryTexts());
            QListView view;
            view.setUniformItemSizes(true);
            view.setModel(&model);
            view.show();
            view.repaint();
        }));
    }
    const double open = middle({opens.begin() + 1, opens.end()});
    const double openFloor = middle({widgetFloors.begin() + 1, widgetFloors.end()});
    const double modelFloor = middle({modelFloors.begin() + 1, modelFloors.end()});
    rows.push_back({"Open", open, std::min(openFloor, modelFloor), "ms", 1.2, true});
    editor.fileCommands().openFromToolbar();
    settle(window);

    // Save: the toolbar Save to the current file, atomic replace and flush included.
    const QString saved = dir.filePath("saved.glm");
    editor.fileCommands().setFileName(saved);
    editor.fileCommands().setFileReady(FileCommands::Ready);
    const double save = median(runs, nullptr, [&] { editor.fileCommands().saveFromToolbar(); });
    const double saveFloor = median(runs, nullptr, [&] {
        QString text;
        for (int i = 0; i < window.entryCount(); ++i)
            text += FormatFileLine(ParseListEntry(window.entry(i))) + QStringLiteral("\r\n");
        const QByteArray bytes = *cp932::encode(text);
        QFile file(dir.filePath("floor.glm"));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    });
    rows.push_back({"Save", save, saveFloor, "ms", 2.0, true});

    // Actions on the full list, each with its repaint.
    const auto action = [&](const QString &figure, const std::function<void()> &prepare,
                            const std::function<void()> &work) {
        rows.push_back({figure,
                        median(runs, prepare,
                               [&] {
                                   work();
                                   settle(window);
                               }),
                        0, "ms", goalSize ? 16.0 : 0.0, false});
    };
    const auto run = [&](Command command) { emit window.commandChosen(command); };
    action(
        "Add",
        [&] {
            window.setText(Field::DataA, "41");
            window.setText(Field::DataName, "x");
        },
        [&] { run(Command::Add); });
    action(
        "Delete the first entry", [&] { window.list()->setCurrentRow(0); },
        [&] { run(Command::Delete); });
    action(
        "Delete a middle entry", [&] { window.list()->setCurrentRow(window.entryCount() / 2); },
        [&] { run(Command::Delete); });
    window.setQuickPreview(true);
    int row = 0;
    action("Select with quick preview", nullptr, [&] {
        row = (row + 1000) % window.entryCount();
        window.list()->setCurrentRow(row);
    });
    action("Read", nullptr, [&] { run(Command::Read); });
    platform.file = small;
    action(
        "Open a small file over the list",
        [&] {
            platform.file = big;
            editor.fileCommands().openFromToolbar();
            platform.file = small;
            settle(window);
        },
        [&] { editor.fileCommands().openFromToolbar(); });
    action(
        "New -> new file",
        [&] {
            platform.file = big;
            editor.fileCommands().openFromToolbar();
            settle(window);
        },
        [&] { window.clearEntries(); });

    rows.push_back({"Memory over the empty editor", (full - empty) / 1e6, 0, "MB",
                    goalSize ? 12.0 : 0.0, false});

    // Start-up: whole processes, median of many.
    const QString starter = QCoreApplication::applicationDirPath() + "/bench_startup";
    const auto start = [&](const QString &mode) {
        return median(15, nullptr, [&] {
            QProcess process;
            process.start(starter, {mode});
            process.waitForFinished(10000);
        });
    };
    rows.push_back({"Start-up to the first paint", start("editor"), start("bare"), "ms",
                    goalSize ? 1.3 : 0.0, true});

    int met = 0;
    int goals = 0;
    std::printf("%-34s %12s %12s %7s %6s %4s\n", "figure", "editor", "baseline", "ratio", "goal",
                "met");
    for (const Row &r : rows) {
        const double ratio = r.baseline > 0 ? r.editor / r.baseline : 0;
        const bool hasGoal = r.goal > 0;
        const bool ok = r.ratioGoal ? ratio <= r.goal : r.editor <= r.goal;
        goals += hasGoal;
        met += hasGoal && ok;
        std::printf("%-34s %9.1f %-2s %9s %-2s %7s %6s %4s\n", qPrintable(r.figure), r.editor,
                    qPrintable(r.unit),
                    r.baseline > 0 ? qPrintable(QString::number(r.baseline, 'f', 1)) : "-",
                    r.baseline > 0 ? qPrintable(r.unit) : "",
                    r.baseline > 0 ? qPrintable(QString::number(ratio, 'f', 2)) : "-",
                    hasGoal ? qPrintable(u"≤"_qs + QString::number(r.goal) +
                                         (r.ratioGoal ? u"×"_qs : r.unit))
                            : "-",
                    hasGoal ? (ok ? "yes" : "no") : "-");
    }
    std::printf("%d of %d goals met (%d entries)\n", met, goals, count);
    return 0;
}
