// Figures of Replace All:
//   bench_find
// A 100,000-line script with 10,000 occurrences of one name, shown in the
// main window with the shipped language files and highlighted; Replace All
// of that name through the replace dialog, until the window has painted
// again. Also the search and replace over the text alone, without the editor.

#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/FindDialogs.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int kLines = 100000;
constexpr int kRuns = 5;

// The thread's own processor time: a busy machine stretches the wall clock.
double CpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

void Paint(QWidget &widget)
{
    QCoreApplication::processEvents();
    widget.repaint();
}

// Blocks of ten lines, each naming udg_Target once.
QStringList BuildScript()
{
    QStringList lines;
    lines.reserve(kLines);
    for (int block = 0; lines.size() < kLines; ++block) {
        const QString n = QString::number(block);
        lines << QStringLiteral("function Trig_Unit%1_Actions takes nothing returns nothing").arg(n)
              << QStringLiteral("    local unit u = GetTriggerUnit()")
              << QStringLiteral("    local real x = GetUnitX(u) + 10.00")
              << QStringLiteral("    // move the unit a little to the east")
              << QStringLiteral("    if ( GetUnitState(u, UNIT_STATE_LIFE) > 0 ) then")
              << QStringLiteral("        call SetUnitPosition(udg_Target, x, GetUnitY(u))")
              << QStringLiteral("        call DisplayTextToPlayer(Player(0), 0, 0, \"moved %1\")").arg(n)
              << QStringLiteral("    endif") << QStringLiteral("    set u = null")
              << QStringLiteral("endfunction");
    }
    return lines;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir work;
    QDir::setCurrent(work.path());
    const QDir data(QStringLiteral(TOLVANE_SOURCE_DIR "/data"));
    for (const QString &name : data.entryList({ "*.txt" }, QDir::Files))
        QFile::copy(data.filePath(name), work.filePath(name));

    ScriptedDialogService dialogs;
    TMainForm form(dialogs, work.path(), work.path());
    form.show();
    Paint(form);
    const QStringList lines = BuildScript();
    form.Editbox->AutoHighlight = false;
    form.Editbox->setLines(lines);
    form.Editbox->HighlightAll();
    form.Editbox->AutoHighlight = true;
    Paint(form);
    const QString original = form.Editbox->text();

    FindReplaceDialog &replace = *form.ReplaceDialog1;
    replace.setFindText(QStringLiteral("udg_Target"));
    replace.setReplaceText(QStringLiteral("udg_Hero"));
    replace.MatchCase->setChecked(true);
    replace.WholeWord->setChecked(true);

    QList<double> whole;
    QList<double> wholeCpu;
    QList<double> textOnly;
    int count = 0;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        const ReplaceAllResult result
            = ReplaceEveryMatch(original, replace.FindText(), replace.ReplaceText(), replace.Options());
        textOnly.append(Ms(t));
        count = result.Count;

        t.restart();
        const double cpu = CpuMs();
        replace.ReplaceAllButton->click();
        Paint(form);
        whole.append(Ms(t));
        wholeCpu.append(CpuMs() - cpu);
        if (form.Editbox->text().count(QLatin1String("udg_Hero")) != 10000 || !dialogs.History.isEmpty()) {
            std::fprintf(stderr, "Replace All did not replace 10,000 names\n");
            return 1;
        }
        form.Editbox->undo();
        Paint(form);
        if (form.Editbox->text() != original) {
            std::fprintf(stderr, "Undo did not bring the text back\n");
            return 1;
        }
    }
    std::sort(whole.begin(), whole.end());
    std::sort(wholeCpu.begin(), wholeCpu.end());
    std::sort(textOnly.begin(), textOnly.end());
    std::printf(
        "Replace All, %d lines, %d occurrences (median of %d; target 1000 ms)\n", kLines, count, kRuns);
    std::printf("  whole command, painted:  %8.1f ms (min %.1f, max %.1f)\n", whole.at(kRuns / 2),
        whole.constFirst(), whole.constLast());
    std::printf("  the same, processor time: %8.1f ms\n", wholeCpu.at(kRuns / 2));
    std::printf("  search and replace only: %8.1f ms\n", textOnly.at(kRuns / 2));
    return 0;
}
