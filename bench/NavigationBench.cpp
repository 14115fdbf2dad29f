// Figures of go to symbol and the outline in 200,000-line scripts, from the
// last analysis: the map scripts of the maps folder repeated (their names
// repeat, so the analysis keeps each once), and a generated script of as many
// lines whose every function and global has a name of its own. From the
// repository root:
//   cmake -S . -B build-bench -G Ninja -DTOLVANE_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target bench_navigation && build-bench/bench/bench_navigation [maps]
// Go to symbol: Ctrl+Shift+O to the box shown, filled and painted; a letter
// typed in its search box. Outline: shown, filled and painted. The symbols
// of a new analysis are sorted in the background before either uses them,
// timed apart. Keystroke: a letter typed in the script with the outline open
// (it follows the caret) and with it closed.

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/EditorHelp.h"
#include "mainwindow/Main.h"
#include "mainwindow/OutlinePanel.h"
#include "mainwindow/SymbolBox.h"
#include "mainwindow/SymbolNavigator.h"
#include "navigation/Navigation.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTreeView>

#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int kLines = 200000;
constexpr int kRuns = 9;

// A new analysis of the script, done.
void Analyse(TMainForm &form)
{
    TSyntaxEdit &editor = *form.Editbox;
    SendKey(editor, Qt::Key_X, QStringLiteral("x"));
    SendKey(editor, Qt::Key_Backspace, QString());
    form.WritingHelper->RefreshScript();
    while (form.WritingHelper->Analysing() || form.Navigator->Preparing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Paint(form);
}

// This thread's processor time in milliseconds: on a busy machine the time
// on the clock also counts the other programs.
double CpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

struct Timing {
    std::vector<double> wall, cpu;
};

void Time(Timing &timing, const std::function<void()> &work)
{
    QElapsedTimer t;
    const double cpu = CpuMs();
    t.start();
    work();
    timing.wall.push_back(Ms(t));
    timing.cpu.push_back(CpuMs() - cpu);
}

void OpenBox(TMainForm &form, Timing &timing)
{
    Time(timing, [&form] {
        form.Navigator->GoToSymbol1->trigger();
        Paint(*form.Navigator->SymbolBox1);
    });
    if (form.Navigator->SymbolBox1->SymbolList->model()->rowCount() == 0)
        std::exit(1);
}

void ShowOutline(TMainForm &form, Timing &timing)
{
    Time(timing, [&form] {
        form.Navigator->Outline1->trigger();
        Paint(form);
    });
    if (form.Navigator->Outline->OutlineTree->model()->rowCount() == 0)
        std::exit(1);
    form.Navigator->Outline1->trigger(); // hidden again
}

double Keystroke(TSyntaxEdit &editor)
{
    const int revision = editor.revision();
    SendKey(editor, Qt::Key_X, QStringLiteral("x"));
    if (editor.revision() == revision)
        std::exit(1); // the key went nowhere
    SendKey(editor, Qt::Key_Backspace, QString());
    return MedianMs(200, [&editor] {
        SendKey(editor, Qt::Key_X, QStringLiteral("x"));
        SendKey(editor, Qt::Key_Backspace, QString());
    }) / 2;
}

// Every function and global named apart: some 4,000 globals, then functions
// of eight lines that call the one before.
QStringList GeneratedScript(int lines)
{
    QStringList script { QStringLiteral("globals") };
    for (int i = 0; i < lines / 50; ++i)
        script << QStringLiteral("    integer udg_Counter_%1 = %1").arg(i);
    script << QStringLiteral("endglobals");
    for (int i = 0; script.size() + 8 <= lines; ++i) {
        script << QStringLiteral("function Trig_Spawn_%1_Actions takes nothing returns nothing").arg(i)
               << QStringLiteral("    local integer i = udg_Counter_%1").arg(i % (lines / 50))
               << QStringLiteral("    local unit u = null") << QStringLiteral("    set i = i + 1")
               << QStringLiteral("    if i > 10 then")
               << (i > 0 ? QStringLiteral("        call Trig_Spawn_%1_Actions()").arg(i - 1)
                         : QStringLiteral("        set u = null"))
               << QStringLiteral("    endif") << QStringLiteral("endfunction");
    }
    return script;
}

void Measure(TMainForm &form, const char *what, const QStringList &lines, bool keystrokes)
{
    TSyntaxEdit &editor = *form.Editbox;
    editor.LoadingText = true;
    editor.setLines(lines);
    editor.LoadingText = false;
    // In the middle of a function body.
    int line = kLines / 2;
    while (line + 1 < editor.lineCount() && !editor.line(line).startsWith(QStringLiteral("function")))
        ++line;
    editor.setSelStart(editor.lineIndex(line + 2));
    SymbolBox &box = *form.Navigator->SymbolBox1;

    Timing boxShown, outlineShown;
    for (int run = 0; run < kRuns; ++run) {
        Analyse(form);
        OpenBox(form, boxShown);
        box.Close();
        ShowOutline(form, outlineShown);
    }
    const SymbolIndexPtr symbols = form.Navigator->Symbols();
    const Analysis::Result &result = form.WritingHelper->LastScript().Result();
    const double sorted
        = MedianMs(kRuns, [&result] { Navigation::SymbolIndex(Navigation::Symbols(result)); });
    Timing ignored;
    OpenBox(form, ignored);
    const double letter = MedianMs(21, [&box] {
        SendKey(*box.SymbolSearch, Qt::Key_S, QStringLiteral("s"));
        SendKey(*box.SymbolSearch, Qt::Key_Backspace, QString());
    }) / 2;
    box.Close();
    std::printf("%s, %d lines, %lld symbols, from the last analysis:\n", what, int(editor.lineCount()),
        qlonglong(symbols->Size()));
    std::printf("  go to symbol shown and filled: median %.2f ms\n", Median(boxShown.wall));
    std::printf("  the same, processor time: median %.2f ms\n", Median(boxShown.cpu));
    std::printf("  go to symbol, a letter typed or erased: median %.2f ms\n", letter);
    std::printf("  outline shown and filled: median %.2f ms\n", Median(outlineShown.wall));
    std::printf("  the same, processor time: median %.2f ms\n", Median(outlineShown.cpu));
    std::printf("  symbols of an analysis sorted (in the background): median %.2f ms\n", sorted);
    if (!keystrokes)
        return;
    const double closed = Keystroke(editor);
    form.Navigator->Outline1->trigger();
    Paint(form);
    const double open = Keystroke(editor);
    form.Navigator->Outline1->trigger();
    std::printf("  keystroke, outline closed: median %.4f ms\n", closed);
    std::printf("  keystroke, outline open: median %.4f ms\n", open);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString maps = argc > 1 ? QString::fromLocal8Bit(argv[1]) : BenchDataPath("scripts/maps");
    BenchProgram program;
    Measure(program.Form(), "map scripts", BuildMapScript(maps, kLines), true);
    Measure(program.Form(), "generated", GeneratedScript(kLines), false);
    return 0;
}
