// SPDX-License-Identifier: MIT
// The editor measured against the least that the same work needs, in one run. Prints one
// table (figure, editor, baseline, ratio, goal, met) and "N of M goals met".
// Usage: bench_editor [entries] (100000 by default); QT_QPA_PLATFORM=offscreen. From
// 10,000,000 entries on, the figures that must grow linearly are set against a run at
// 1,000,000, made by the same program with --scale.
#include "app/editor.h"
#include "bigfile.h"
#include "core/platformservices.h"
#include "files/cp932codec.h"
#include "files/fileline.h"
#include "files/glyphfile.h"
#include "ui/listbox.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <QAccessible>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
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
    QString clipboardText() override { return {}; }
    void endProgram() override {}
    void stillWorking() override {}
    void workDone() override {}
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

// The bytes the program has taken from the allocator and not given back. Resident pages
// would count what an earlier step freed and the next one reuses, or miss it.
qint64 heapBytes()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}

void press(QWidget *widget, Qt::Key key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &up);
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
    // --scale: only the figures that must grow linearly, one per line, for a larger run.
    const bool scaleOnly = argc > 2 && qstrcmp(argv[2], "--scale") == 0;
    // --kept: only the memory of the list with the one an undoable Open replaced.
    const bool keptOnly = argc > 2 && qstrcmp(argv[2], "--kept") == 0;
    const bool huge = count >= 10000000;
    const int runs = count >= 10000000 ? 3 : count > 100000 ? 5 : 7;
    QTemporaryDir dir;
    const QString big = dir.filePath("big.glm");
    const QString small = dir.filePath("small.glm");
    if (!writeBigFile(big, count) || !writeBigFile(small, 3))
        return 1;

    FixedPlatform platform;
    Editor editor(platform);
    MainWindow &window = editor.mainWindow();
    ListBox *list = window.list();
    editor.show();
    settle(window);
    // Memory first, on one Open, before timing loops leave freed memory behind.
    platform.file = big;
    const qint64 empty = heapBytes();
    editor.fileCommands().openFromToolbar();
    settle(window);
    const double memory = (heapBytes() - empty) / 1e6;
    if (keptOnly) {
        // An Open that can be undone keeps the list it replaced, moved, not copied. Measured
        // in a process of its own, so that the timings do not run beside two lists.
        emit window.commandChosen(Command::Open);
        settle(window);
        std::printf("%f\n", (heapBytes() - empty) / 1e6);
        return 0;
    }
    const auto newFile = [&] {
        editor.entries().clear();
        settle(window);
    };
    std::vector<Row> rows;

    // Open: the command through to the list holding and showing every entry, against the
    // floor's own work: read, decode once, cut into entry texts, show them. The three take
    // turns, so that each meets the allocator in the same state; run one after the other,
    // whichever came later found the memory the earlier ones had freed. The floors make
    // a widget per entry, more than ten million of which no desktop holds, so the largest
    // runs measure against the run at a million instead.
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
        if (huge || scaleOnly)
            continue;
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
    const double openFloor = huge || scaleOnly
                                 ? 0
                                 : std::min(middle({widgetFloors.begin() + 1, widgetFloors.end()}),
                                            middle({modelFloors.begin() + 1, modelFloors.end()}));
    rows.push_back({"Open", open, openFloor, "ms", huge ? 0.0 : 0.5, true});
    editor.fileCommands().openFromToolbar();
    settle(window);

    // Save: the toolbar Save to the current file, atomic replace and flush included,
    // against formatting the same entries from plain texts, encoding them once and
    // writing them in one go.
    const QString saved = dir.filePath("saved.glm");
    editor.fileCommands().setFileName(saved);
    editor.fileCommands().setFileReady(FileCommands::Ready);
    const double save = median(runs, nullptr, [&] { editor.fileCommands().saveFromToolbar(); });
    double saveFloor = 0;
    if (!huge && !scaleOnly) {
        const QStringList entries = entryTexts();
        saveFloor = median(runs, nullptr, [&] {
            QString text;
            for (const QString &entry : entries)
                text += FormatFileLine(ParseListEntry(entry)) + QStringLiteral("\r\n");
            const QByteArray bytes = *cp932::encode(text);
            QFile file(dir.filePath("floor.glm"));
            file.open(QIODevice::WriteOnly);
            file.write(bytes);
        });
    }
    rows.push_back({"Save", save, saveFloor, "ms", huge ? 0.0 : 1.5, true});

    // Actions on the full list, each with its repaint.
    const auto action = [&](const QString &figure, const std::function<void()> &prepare,
                            const std::function<void()> &work) {
        const double time = median(runs, prepare, [&] {
            work();
            settle(window);
        });
        rows.push_back({figure, time, 0, "ms", 16.0, false});
        return time;
    };
    const auto run = [&](Command command) { emit window.commandChosen(command); };
    const auto nothing = [] {};
    const auto select = [&](int row) { return [list, row] { list->setCurrentRow(row); }; };
    const int last = count - 1;
    window.setQuickPreview(true);
    const double selectLast =
        action("Select the last entry, quick preview on", select(0), select(last));
    if (scaleOnly) {
        std::printf("%f\n%f\n%f\n%f\n", open, save, selectLast, memory);
        return 0;
    }
    action("Select the first entry, quick preview on", select(last), select(0));
    action("Read", select(count / 2), [&] { run(Command::Read); });
    list->setFocus();
    action("End in the list", select(count / 2), [&] { press(list, Qt::Key_End); });
    action("Home in the list", select(count / 2), [&] { press(list, Qt::Key_Home); });
    action("PageDown in the list", select(count / 2), [&] { press(list, Qt::Key_PageDown); });
    window.setQuickPreview(false);
    action(
        "Add",
        [&] {
            window.setText(Field::DataA, "41");
            window.setText(Field::DataName, "x");
        },
        [&] { run(Command::Add); });
    action("Delete the first entry", select(0), [&] { run(Command::Delete); });
    action(
        "Delete a middle entry", [&] { list->setCurrentRow(editor.entries().count() / 2); },
        [&] { run(Command::Delete); });
    action(
        "Delete the last entry", [&] { list->setCurrentRow(editor.entries().count() - 1); },
        [&] { run(Command::Delete); });

    // What a screen reader asks first of a list it comes to, on an interface made afresh.
    const int selected = editor.entries().count() - 1;
    list->setCurrentRow(selected);
    settle(window);
    QString spoken;
    const double reader = median(runs, nullptr, [&] {
        QAccessible::deleteAccessibleInterface(
            QAccessible::uniqueId(QAccessible::queryAccessibleInterface(list)));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(list);
        QAccessibleTableInterface *table = accessible->tableInterface();
        QAccessibleInterface *row = table->selectedCells().value(0);
        spoken = row ? QString::number(accessible->role()) + u' ' +
                           QString::number(table->rowCount()) + u' ' +
                           row->text(QAccessible::Name) + u' ' +
                           QString::number(row->tableCellInterface()->rowIndex())
                     : QString();
    });
    if (spoken != u"%1 %2 %3 %4"_qs.arg(int(QAccessible::List))
                      .arg(editor.entries().count())
                      .arg(editor.entries().entry(selected))
                      .arg(selected))
        return 1;
    rows.push_back(
        {"Screen reader: role, count, selected entry, place", reader, 0, "ms", 100.0, false});

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
        [&] { editor.entries().clear(); });

    // Undo and Redo of each kind of step, on the full list.
    const auto undoAndRedo = [&](const QString &what, const std::function<void()> &prepare,
                                 const std::function<void()> &change, double goal = 16.0) {
        const double undo = action(
            "Undo " + what,
            [&] {
                prepare();
                change();
                settle(window);
            },
            [&] { run(Command::Undo); });
        const double redo = action(
            "Redo " + what,
            [&] {
                prepare();
                change();
                run(Command::Undo);
                settle(window);
            },
            [&] { run(Command::Redo); });
        if (goal != 16.0) {
            rows[rows.size() - 2] = {"Undo " + what, undo, goal, "ms", 1.0, true};
            rows.back() = {"Redo " + what, redo, goal, "ms", 1.0, true};
        }
    };
    platform.file = big;
    run(Command::Open);
    settle(window);
    const auto typed = [&] {
        window.setText(Field::DataA, "41");
        window.setText(Field::DataName, "x");
    };
    undoAndRedo("Add", typed, [&] { run(Command::Add); });
    undoAndRedo("Delete the first entry", select(0), [&] { run(Command::Delete); });
    undoAndRedo(
        "Delete a middle entry", [&] { list->setCurrentRow(editor.entries().count() / 2); },
        [&] { run(Command::Delete); });
    undoAndRedo(
        "Delete the last entry", [&] { list->setCurrentRow(editor.entries().count() - 1); },
        [&] { run(Command::Delete); });
    undoAndRedo("a stroke of three dots", nothing, [&] {
        emit window.dotPressed(3, 4);
        emit window.dotStroked(3, 5, true);
        emit window.dotStroked(3, 6, true);
        emit window.strokeEnded();
    });
    undoAndRedo("Read", select(count / 2), [&] { run(Command::Read); });
    undoAndRedo(
        "Open a small file over the list", [&] { platform.file = small; },
        [&] { run(Command::Open); });
    // The Open of the big file itself, over an empty list, set against that Open.
    platform.file = big;
    undoAndRedo(
        "Open the big file", newFile, [&] { run(Command::Open); }, open);

    rows.push_back({"Memory over the empty editor", memory, 0, "MB", 5.0 * count / 100000, false});
    QProcess kept;
    kept.start(QCoreApplication::applicationFilePath(), {QString::number(count), "--kept"});
    kept.waitForFinished(-1);
    rows.push_back({"Memory with the list an Open replaced, for Undo",
                    kept.readAllStandardOutput().trimmed().toDouble(), 0, "MB",
                    2 * 5.0 * count / 100000, false});

    if (huge) {
        // Growth from a million: the same figures from the same program at that size.
        QProcess smaller;
        smaller.start(QCoreApplication::applicationFilePath(), {"1000000", "--scale"});
        smaller.waitForFinished(-1);
        const QList<QByteArray> figures = smaller.readAllStandardOutput().split('\n');
        if (figures.size() < 4)
            return 1;
        const auto growth = [&](const QString &figure, double value, int line) {
            rows.push_back({figure + " against 1,000,000", value, figures[line].toDouble(),
                            line == 3 ? "MB" : "ms", 10.5, true});
        };
        growth("Open", open, 0);
        growth("Save", save, 1);
        growth("Select the last entry", selectLast, 2);
        growth("Memory", memory, 3);
    }

    // Start-up: whole processes, the editor and the bare window in turn, so that both meet
    // the machine as it is at that moment; the goal holds the median of the paired ratios.
    // Each counts from the moment the process is asked for until its window has painted
    // whole, which the process tells on the same monotonic clock: its end is no part of it.
    const QString starter = QCoreApplication::applicationDirPath() + "/bench_startup";
    const auto start = [&](const QString &mode) {
        QProcess process;
        const auto asked = std::chrono::steady_clock::now().time_since_epoch();
        process.start(starter, {mode});
        process.waitForFinished(10000);
        const qint64 painted = process.readAllStandardOutput().trimmed().toLongLong();
        return (painted - std::chrono::duration_cast<std::chrono::nanoseconds>(asked).count()) /
               1e6;
    };
    std::vector<double> editorStarts, bareStarts, ratios;
    for (int pair = 0; pair < 31; ++pair) {
        editorStarts.push_back(start("editor"));
        bareStarts.push_back(start("bare"));
        ratios.push_back(editorStarts.back() / bareStarts.back());
    }
    const double editorStart = middle(editorStarts);
    // The baseline is set so that the ratio shown is the median of the paired ones.
    rows.push_back({"Start-up to the first paint (median of paired ratios)", editorStart,
                    editorStart / middle(ratios), "ms", 1.25, true});
    std::printf("start-up: editor %.1f ms, bare %.1f ms (medians)\n", editorStart,
                middle(bareStarts));

    int met = 0;
    int goals = 0;
    std::printf("%-52s %12s %12s %7s %6s %4s\n", "figure", "editor", "baseline", "ratio", "goal",
                "met");
    for (const Row &r : rows) {
        const double ratio = r.baseline > 0 ? r.editor / r.baseline : 0;
        const bool hasGoal = r.goal > 0;
        const bool ok = r.ratioGoal ? ratio <= r.goal : r.editor <= r.goal;
        goals += hasGoal;
        met += hasGoal && ok;
        std::printf("%-52s %9.1f %-2s %9s %-2s %7s %6s %4s\n", qPrintable(r.figure), r.editor,
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
