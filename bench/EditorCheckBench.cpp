// Figures of Check Script in the main window:
//   bench_editorcheck [maps folder]
// 1. Shift+F5 on a 100,000-line script (the map scripts of the maps folder
//    repeated, with the API of the shipped language files): from the command
//    to the list and the marks painted.
// 2. A keystroke in a 200,000-line script, timed from the key press to the
//    end of its handling, before the first check and then with checking
//    while typing on, in the same window.
// 3. The same two on a 20,000-line vJASS script: the libraries of the vJASS
//    map project of the test data in one file.

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "mainwindow/ProblemsPanel.h"
#include "platform/TextFile.h"

#include <QAction>
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {

void Open(BenchProgram &program, const QString &name, const QStringList &lines)
{
    const QString path = program.FilePath(name);
    TextFile::SaveLines(path, lines);
    program.Open(path);
}

// The library files of the vJASS project beside the maps folder, one after
// the other, whole, until they make `count` lines.
QStringList BuildVjassScript(const QString &mapsFolder, qsizetype count)
{
    QStringList files;
    QDirIterator it(QDir::cleanPath(mapsFolder + QStringLiteral("/../../vjass/titanland/trigger")),
        { QStringLiteral("*.j") }, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    QStringList lines;
    for (const QString &file : std::as_const(files)) {
        const QStringList text = TextFile::LoadLines(file);
        if (text.isEmpty() || !text.first().startsWith(QLatin1String("library")))
            continue;
        lines += text;
        if (lines.size() >= count)
            break;
    }
    return lines;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString maps = argc > 1 ? QString::fromLocal8Bit(argv[1]) : BenchDataPath("scripts/maps");
    BenchProgram program;
    TMainForm &form = program.Form();
    ScriptedDialogService &dialogs = program.Dialogs();

    Open(program, "map100k.j", BuildMapScript(maps, 100000));
    std::vector<double> checks;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        form.CheckScript1->trigger();
        Paint(form);
        checks.push_back(Ms(t));
    }
    if (dialogs.Kinds().contains(QStringLiteral("error")) || form.Problems->isHidden()) {
        std::fprintf(stderr, "Check Script did not run: %s\n", qPrintable(dialogs.Messages().join(u'\n')));
        return 1;
    }
    std::printf("Check Script, 100000 lines, list and marks shown: median %.1f ms (%zu problems)\n",
        Median(checks), form.Editbox->Marks().Marks().All().size());

    Open(program, "map200k.j", BuildMapScript(maps, 200000));
    // Each figure types on lines of its own, as they were when checked: a
    // line typed on before the check holds a mistake the check then marks.
    const int middle = form.Editbox->lineCount() / 2;
    const double off = TypingMs(*form.Editbox, middle - 2000, 500);
    form.CheckScript1->trigger();
    Paint(form);
    const double on = TypingMs(*form.Editbox, middle + 2000, 500);
    // The first key on a marked line takes its mark and its row away.
    const double marked = TypingMs(*form.Editbox, middle - 2000, 500);
    std::printf("200000 lines, typing a letter:\n");
    std::printf("  without checking while typing: median %.4f ms\n", off);
    std::printf("  with checking while typing: median %.4f ms\n", on);
    std::printf("  ratio %.2f\n", on / off);
    std::printf("  on a marked line, with checking while typing: median %.4f ms\n", marked);

    Open(program, "vjass20k.j", BuildVjassScript(maps, 20000));
    std::vector<double> vjassChecks;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        form.CheckScript1->trigger();
        Paint(form);
        vjassChecks.push_back(Ms(t));
    }
    std::printf("vJASS, %d lines: Check Script, list and marks shown: median %.1f ms (%zu problems)\n",
        form.Editbox->lineCount(), Median(vjassChecks), form.Editbox->Marks().Marks().All().size());
    form.ClearCheck();
    const int vjassMiddle = form.Editbox->lineCount() / 2;
    const double vjassOff = TypingMs(*form.Editbox, vjassMiddle - 2000, 500);
    form.CheckScript1->trigger();
    Paint(form);
    const double vjassOn = TypingMs(*form.Editbox, vjassMiddle + 2000, 500);
    std::printf("vJASS, typing a letter:\n");
    std::printf("  without checking while typing: median %.4f ms\n", vjassOff);
    std::printf("  with checking while typing: median %.4f ms\n", vjassOn);
    std::printf("  ratio %.2f\n", vjassOn / vjassOff);
    return 0;
}
