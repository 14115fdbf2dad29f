// Figures of the writing help in a 200,000-line script (the map scripts of the
// maps folder repeated) with the shipped catalogue. From the repository root:
//   cmake -S . -B build-bench -G Ninja -DTOLVANE_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target bench_writinghelp && build-bench/bench/bench_writinghelp [maps]
// Completion: the second letter typed to the list shown and filled (median of
// five); the analysis of the script that follows the first is shown apart. Call tip:
// "(" after CreateUnit to the tip shown. Keystroke: a letter typed in the middle of the
// script with the gutter and the writing help, then in the same run with both
// taken away.

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "editor/LineNumberGutter.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/EditorHelp.h"
#include "mainwindow/Main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kLines = 200000;
constexpr int kRuns = 21;

void Type(QWidget &w, const QString &text)
{
    for (const QChar c : text)
        SendKey(w, Qt::Key(c.toUpper().unicode()), QString(c));
}

double Keystroke(TSyntaxEdit &editor)
{
    return MedianMs(10 * kRuns, [&editor] {
        SendKey(editor, Qt::Key_X, QStringLiteral("x"));
        SendKey(editor, Qt::Key_Backspace, QString());
    }) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString maps = argc > 1 ? QString::fromLocal8Bit(argv[1]) : BenchDataPath("scripts/maps");
    BenchProgram program;
    TMainForm &form = program.Form();
    TSyntaxEdit &editor = *form.Editbox;
    editor.LoadingText = true;
    editor.setLines(BuildMapScript(maps, kLines));
    editor.LoadingText = false;
    // A fresh line in the middle, inside no function.
    editor.setSelStart(editor.lineIndex(kLines / 2));
    SendKey(editor, Qt::Key_Return, QStringLiteral("\r"));
    SendKey(editor, Qt::Key_Up, QString());
    QCoreApplication::processEvents();
    EditorHelp &help = *form.WritingHelper;

    QElapsedTimer t;
    std::vector<double> shownRuns;
    double analysed = 0;
    for (int run = 0; run < 5; ++run) {
        Type(editor, QStringLiteral("G"));
        t.start();
        Type(editor, QStringLiteral("e"));
        shownRuns.push_back(Ms(t));
        const bool open = help.CompletionOpen();
        t.start();
        QCoreApplication::processEvents();
        analysed = std::max(analysed, Ms(t));
        SendKey(editor, Qt::Key_Escape, QString());
        SendKey(editor, Qt::Key_Backspace, QString());
        SendKey(editor, Qt::Key_Backspace, QString());
        if (!open)
            return 1;
    }
    std::sort(shownRuns.begin(), shownRuns.end());
    const double shown = shownRuns[shownRuns.size() / 2];
    const double completion = MedianMs(kRuns, [&] {
        Type(editor, QStringLiteral("Ge"));
        SendKey(editor, Qt::Key_Escape, QString());
        SendKey(editor, Qt::Key_Backspace, QString());
        SendKey(editor, Qt::Key_Backspace, QString());
    });
    QCoreApplication::processEvents();
    Type(editor, QStringLiteral("call CreateUnit"));
    SendKey(editor, Qt::Key_Escape, QString());
    double tip = MedianMs(kRuns, [&] {
        Type(editor, QStringLiteral("("));
        SendKey(editor, Qt::Key_Backspace, QString());
    });
    const bool tipShown = (Type(editor, QStringLiteral("(")), help.TipOpen());
    SendKey(editor, Qt::Key_Escape, QString());

    // Typing as it costs once the script's analysis is done.
    while (help.Analysing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double with = Keystroke(editor);
    delete form.WritingHelper;
    form.WritingHelper = nullptr;
    delete editor.findChild<LineNumberGutter *>();
    const double without = Keystroke(editor);
    std::printf("200000 lines, shipped catalogue:\n");
    std::printf("  completion shown and filled, first after an edit: median %.2f ms\n", shown);
    std::printf("  analysis that follows the first: %.1f ms\n", analysed);
    std::printf("  completion, Ge + Escape + 2 Backspace: median %.2f ms\n", completion);
    std::printf("  call tip, ( + Backspace: median %.3f ms\n", tip);
    std::printf("  keystroke with gutter and help: median %.4f ms\n", with);
    std::printf("  keystroke without them: median %.4f ms\n", without);
    std::printf("  keystroke ratio %.2f, tip shown %s\n", with / without, tipShown ? "yes" : "no");
    return 0;
}
