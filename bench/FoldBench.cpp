// Figures of folding:
//   bench_fold [maps]
// The map scripts repeated to 200,000 lines, opened in the main window with
// the shipped language files and painted (only the lines shown have their
// fold levels then). Folding every function reads the levels of the whole
// text and hides the functions' lines, until the window has painted again;
// each run opens the script anew. Then Fold and Unfold at the caret, in the
// middle of the text, after every function was unfolded; and typing a letter
// in the main window with folding on and off.

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kLines = 200000;
constexpr int kRuns = 5;

// The thread's own processor time: a busy machine stretches the wall clock.
double CpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// A letter typed after the first word of 200 lines from `first`, handled
// and painted.
double TypedAndPainted(TSyntaxEdit &edit, int first)
{
    std::vector<double> times;
    for (int line = first; line < first + 200; ++line) {
        edit.setSelStart(edit.lineIndex(line) + ColumnAfterFirstWord(edit.line(line)));
        Paint(edit);
        QElapsedTimer t;
        t.start();
        SendKey(edit, Qt::Key_X, QStringLiteral("x"));
        edit.viewport()->repaint();
        times.push_back(Ms(t));
    }
    return Median(times);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString maps = argc > 1 ? QString::fromLocal8Bit(argv[1]) : BenchDataPath("scripts/maps");
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    SeedLanguageFiles(work.path());

    ScriptedDialogService dialogs;
    TMainForm form(dialogs, work.path(), work.path());
    form.show();
    Paint(form);
    TSyntaxEdit &edit = *form.Editbox;
    const QStringList lines = BuildMapScript(maps, kLines);
    auto open = [&] {
        edit.LoadingText = true;
        edit.setLines(lines);
        edit.LoadingText = false;
        Paint(form);
    };

    std::vector<double> all;
    std::vector<double> allCpu;
    int folded = 0;
    for (int run = 0; run < kRuns; ++run) {
        open();
        QElapsedTimer t;
        t.start();
        const double cpu = CpuMs();
        edit.FoldFunctions();
        Paint(form);
        all.push_back(Ms(t));
        allCpu.push_back(CpuMs() - cpu);
        folded = 0;
        for (int line = 0; line < edit.lineCount(); ++line)
            folded += edit.isFolded(line);
    }
    if (folded == 0) {
        std::fprintf(
            stderr, "no function folded (%d lines, folding %d)\n", edit.lineCount(), int(edit.folding()));
        return 1;
    }

    // A function in the middle, its lines shown again.
    open();
    int middle = kLines / 2;
    while (middle < kLines && !edit.line(middle).startsWith(QLatin1String("function ")))
        ++middle;
    edit.setSelStart(edit.lineIndex(middle + 1));
    edit.centerCursor();
    Paint(form);
    std::vector<double> fold;
    std::vector<double> unfold;
    for (int run = 0; run < kRuns; ++run) {
        edit.setSelStart(edit.lineIndex(middle + 1));
        QElapsedTimer t;
        t.start();
        form.Fold1->trigger();
        Paint(form);
        fold.push_back(Ms(t));
        t.restart();
        form.Unfold1->trigger();
        Paint(form);
        unfold.push_back(Ms(t));
    }
    if (!edit.isLineShown(middle + 1)) {
        std::fprintf(stderr, "Unfold left the function folded\n");
        return 1;
    }

    // Typing where the levels after the caret must be read again.
    open();
    const double typed = TypedAndPainted(edit, kLines / 2);
    edit.setFolding(false);
    open();
    const double typedWithout = TypedAndPainted(edit, kLines / 2);

    std::printf("%d lines (%d functions folded, median of %d; target 200 ms):\n", kLines, folded, kRuns);
    std::printf("  fold every function, painted: %.1f ms\n", Median(all));
    std::printf("  the same, processor time: %.1f ms\n", Median(allCpu));
    std::printf("  Fold at the caret, painted: %.2f ms\n", Median(fold));
    std::printf("  Unfold at the caret, painted: %.2f ms\n", Median(unfold));
    std::printf("  typing a letter, painted, folding on: %.3f ms\n", typed);
    std::printf("  typing a letter, painted, folding off: %.3f ms\n", typedWithout);
    return 0;
}
