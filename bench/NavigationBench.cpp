// Figures of go to symbol and the outline in a 200,000-line script (the map
// scripts of the maps folder repeated), from the last analysis. From the
// repository root:
//   cmake -S . -B build-bench -G Ninja -DTOLVANE_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target bench_navigation && build-bench/bench/bench_navigation [maps]
// Go to symbol: Ctrl+Shift+O to the box shown, filled and painted, the first
// time after a new analysis (its symbols sorted then) and later; a letter
// typed in its search box. Outline: shown, filled and painted, first after an
// analysis and later. Keystroke: a letter typed in the script with the
// outline open (it follows the caret) and with it closed.

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/EditorHelp.h"
#include "mainwindow/Main.h"
#include "mainwindow/OutlinePanel.h"
#include "mainwindow/SymbolBox.h"
#include "mainwindow/SymbolNavigator.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTreeView>

#include <cstdio>
#include <vector>

namespace {

constexpr int kLines = 200000;
constexpr int kRuns = 5;

// A new analysis of the script, done.
void Analyse(TMainForm &form)
{
    TSyntaxEdit &editor = *form.Editbox;
    SendKey(editor, Qt::Key_X, QStringLiteral("x"));
    SendKey(editor, Qt::Key_Backspace, QString());
    form.WritingHelper->RefreshScript();
    while (form.WritingHelper->Analysing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

double OpenBox(TMainForm &form)
{
    QElapsedTimer t;
    t.start();
    form.Navigator->GoToSymbol1->trigger();
    Paint(*form.Navigator->SymbolBox1);
    const double ms = Ms(t);
    if (form.Navigator->SymbolBox1->SymbolList->model()->rowCount() == 0)
        std::exit(1);
    return ms;
}

double ShowOutline(TMainForm &form)
{
    QElapsedTimer t;
    t.start();
    form.Navigator->Outline1->trigger();
    Paint(form);
    const double ms = Ms(t);
    if (form.Navigator->Outline->OutlineTree->model()->rowCount() == 0)
        std::exit(1);
    form.Navigator->Outline1->trigger(); // hidden again
    return ms;
}

double Keystroke(TSyntaxEdit &editor)
{
    return MedianMs(200, [&editor] {
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
    // In the middle of a function body.
    editor.setSelStart(editor.lineIndex(kLines / 2));
    while (editor.line(editor.lineFromChar(editor.selStart())).startsWith(QStringLiteral("function")))
        editor.setSelStart(editor.lineIndex(editor.lineFromChar(editor.selStart()) + 1));
    SymbolBox &box = *form.Navigator->SymbolBox1;

    std::vector<double> boxFirst, boxLater, outlineFirst, outlineLater;
    for (int run = 0; run < kRuns; ++run) {
        Analyse(form);
        boxFirst.push_back(OpenBox(form));
        box.Close();
        boxLater.push_back(OpenBox(form));
        box.Close();
        Analyse(form);
        outlineFirst.push_back(ShowOutline(form));
        outlineLater.push_back(ShowOutline(form));
    }
    const int symbols = int(form.Navigator->Symbols()->Size());
    OpenBox(form);
    const double letter = MedianMs(21, [&box] {
        SendKey(*box.SymbolSearch, Qt::Key_S, QStringLiteral("s"));
        SendKey(*box.SymbolSearch, Qt::Key_Backspace, QString());
    }) / 2;
    box.Close();

    const double closed = Keystroke(editor);
    form.Navigator->Outline1->trigger();
    Paint(form);
    const double open = Keystroke(editor);
    std::printf("200000 lines, %d symbols, from the last analysis:\n", symbols);
    std::printf(
        "  go to symbol shown and filled, first after an analysis: median %.2f ms\n", Median(boxFirst));
    std::printf("  go to symbol shown and filled, later: median %.2f ms\n", Median(boxLater));
    std::printf("  go to symbol, a letter typed or erased: median %.2f ms\n", letter);
    std::printf(
        "  outline shown and filled, first after an analysis: median %.2f ms\n", Median(outlineFirst));
    std::printf("  outline shown and filled, later: median %.2f ms\n", Median(outlineLater));
    std::printf("  keystroke, outline closed: median %.4f ms\n", closed);
    std::printf("  keystroke, outline open: median %.4f ms\n", open);
    return 0;
}
