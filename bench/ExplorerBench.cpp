// Figures of the explorer and the declaration preview, in the real main
// window (offscreen) with the shipped language files:
// 1. One keystroke in the search box: the filter over the four categories and
//    the refill of the list; typing names letter by letter, then deleting
//    them back to the empty text, which lists every function. Measured without
//    and with the list's layout and painting that follow.
// 2. One selection change in a 100,000-line script (the map scripts of the
//    maps folder repeated): the position text and the preview of the name.
//   cmake --build build-bench --target bench_explorer && build-bench/bench/bench_explorer [maps folder]
// Targets: a keystroke 5 ms, a selection change 1 ms.

#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLines = 100000;

struct Figures {
    std::vector<double> times;
    void Add(double ms) { times.push_back(ms); }
    void Print(const char *what)
    {
        std::sort(times.begin(), times.end());
        std::printf("%-52s median %.3f ms, 90%% %.3f ms, worst %.3f ms (%zu runs)\n", what,
            times[times.size() / 2], times[times.size() * 9 / 10], times.back(), times.size());
    }
};

void Key(QWidget *target, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString maps = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : BenchDataPath("scripts/maps");
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    const QDir data(QStringLiteral(TOLVANE_SOURCE_DIR "/data"));
    for (const QString &name : data.entryList({ "*.txt" }, QDir::Files))
        QFile::copy(data.filePath(name), QDir(work.path()).filePath(name));

    ScriptedDialogService dialogs;
    TMainForm form(dialogs, work.path(), work.path());
    form.show();
    QCoreApplication::processEvents();
    qsizetype declarations = 0;
    for (const DeclarationCategory &category : form.State.Declarations.Categories)
        declarations += category.Names.size();
    std::printf("catalogue: %lld declarations, %d functions listed at start\n",
        static_cast<long long>(declarations), form.Functionlist->count());

    // 1. Keystrokes.
    QLineEdit *search = form.FunctionSearch;
    search->setFocus();
    QElapsedTimer t;
    t.start();
    Key(search, Qt::Key_G, "G");
    const double first = Ms(t);
    Key(search, Qt::Key_Backspace, {});
    Figures typed;
    Figures painted;
    Figures emptied;
    const QStringList words { "GetUnit", "SetPlayer", "bj_", "AI", "Trigger", "x", "Create" };
    for (int round = 0; round < 5; ++round) {
        for (const QString &word : words) {
            for (const QChar c : word) {
                t.restart();
                Key(search, c.toUpper().unicode(), QString(c));
                typed.Add(Ms(t));
                QCoreApplication::processEvents();
                form.Functionlist->repaint();
                painted.Add(Ms(t));
            }
            for (qsizetype i = 0; i < word.size(); ++i) {
                t.restart();
                Key(search, Qt::Key_Backspace, {});
                const double ms = Ms(t);
                (search->text().isEmpty() ? emptied : typed).Add(ms);
                QCoreApplication::processEvents();
                form.Functionlist->repaint();
                painted.Add(Ms(t));
            }
        }
    }
    std::printf("first keystroke: %.3f ms\n", first);
    Figures ordering;
    for (int run = 0; run < 15; ++run) {
        Catalogue copy = form.State.Declarations;
        ExplorerFilter filter;
        t.restart();
        filter.Prepare(copy);
        ordering.Add(Ms(t));
    }
    ordering.Print("ordering the catalogue by name, once at start");
    typed.Print("keystroke, filter and list refill");
    emptied.Print("keystroke back to the empty text (all listed)");
    painted.Print("keystroke with layout and painting of the list");

    // 2. Selection changes in a big script.
    const QStringList lines = BuildMapScript(maps, kLines);
    form.Editbox->setLines(lines);
    form.Editbox->setFocus();
    // Every "call Name(" line: its name selected.
    std::vector<std::pair<int, int>> names;
    for (int line = 0; line < lines.size(); line += 97) {
        const QString &text = lines.at(line);
        const qsizetype call = text.indexOf(QLatin1String("call "));
        const qsizetype open = text.indexOf(u'(', call + 5);
        if (call >= 0 && open > call + 5)
            names.emplace_back(form.Editbox->lineIndex(line) + int(call) + 5, int(open - call - 5));
    }
    // The first pass scrolls to parts of the text not shown before, which the
    // control lays out then; the second selects the same names again.
    for (int pass = 1; pass <= 2; ++pass) {
        Figures selected;
        Figures handler;
        Figures moved;
        int previews = 0;
        for (const auto &[start, length] : names) {
            form.HelpEdit->setText({});
            t.restart();
            form.Editbox->select(start, length);
            selected.Add(Ms(t));
            previews += form.HelpEdit->text().isEmpty() ? 0 : 1;
            form.HelpEdit->setText({});
            t.restart();
            form.EditboxSelectionChange();
            handler.Add(Ms(t));
            t.restart();
            form.Editbox->setSelStart(start + length);
            moved.Add(Ms(t));
        }
        if (pass == 1)
            std::printf("script: %d lines, %d of %zu selected names previewed\n", form.Editbox->lineCount(),
                previews, names.size());
        std::printf("pass %d:\n", pass);
        selected.Print("  selection of a name, preview shown");
        handler.Print("  of it, the position text and the preview alone");
        moved.Print("  caret moved, no selection");
    }
    return dialogs.History.isEmpty() ? 0 : 1;
}
