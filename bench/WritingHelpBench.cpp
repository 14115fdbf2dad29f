// Figures of the writing help in a 200,000-line script (the map scripts of the
// maps folder repeated) with the shipped catalogue. From the repository root:
//   cmake -S . -B build-bench -G Ninja -DTOLVANE_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target bench_writinghelp && build-bench/bench/bench_writinghelp [maps]
// Completion: the second letter typed to the list shown and filled (median of
// five); the analysis of the script that follows the first is shown apart. Call tip:
// "(" after CreateUnit to the tip shown. Keystroke: a letter typed in the middle of the
// script with the gutter and the writing help, then in the same run with both
// taken away. Members: "." after a local of the last of 2,000 vJASS structs to
// the list of its members shown, once the script is analysed.

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "editor/LineNumberGutter.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/EditorHelp.h"
#include "mainwindow/Main.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>

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

// A library of structs of ten fields and a method, and a function with a
// local of the last struct and an empty line to type on.
QStringList VjassStructs(int count)
{
    QStringList lines { QStringLiteral("library Shapes") };
    for (int s = 0; s < count; ++s) {
        lines << QStringLiteral("struct S%1").arg(s);
        for (int m = 0; m < 10; ++m)
            lines << QStringLiteral("    integer field%1").arg(m);
        lines << QStringLiteral("    method move takes integer d returns thistype")
              << QStringLiteral("        return this") << QStringLiteral("    endmethod")
              << QStringLiteral("endstruct");
    }
    lines << QStringLiteral("endlibrary") << QStringLiteral("function F takes nothing returns nothing")
          << QStringLiteral("    local S%1 s = 0").arg(count - 1) << QStringLiteral("    set s")
          << QStringLiteral("endfunction");
    return lines;
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

    const QStringList vjass = VjassStructs(2000);
    const int memberLine = int(vjass.size()) - 2;
    editor.LoadingText = true;
    editor.setLines(vjass);
    editor.LoadingText = false;
    editor.setSelStart(editor.lineIndex(memberLine) + int(vjass[memberLine].size()));
    help.OpenCompletion();
    QCoreApplication::processEvents();
    while (help.Analysing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    SendKey(editor, Qt::Key_Escape, QString());
    bool membersShown = true;
    const double members = MedianMs(kRuns, [&] {
        Type(editor, QStringLiteral("."));
        membersShown = membersShown && help.CompletionOpen() && help.CompletionList->count() == 13;
        SendKey(editor, Qt::Key_Escape, QString());
        SendKey(editor, Qt::Key_Backspace, QString());
    });
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
    std::printf("vJASS, %d lines, 2000 structs:\n", int(vjass.size()));
    std::printf("  members after \".\" + Escape + Backspace: median %.2f ms\n", members);
    return membersShown ? 0 : 1;
}
