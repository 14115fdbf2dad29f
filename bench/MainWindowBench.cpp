// Figures of the main window:
//   bench_mainwindow [maps folder]
// 1. Start-up to an interactive window: application object, the five windows
//    with the creation step (configuration, the full game catalogue, type
//    menu, recent files) in a folder holding the shipped language files, the
//    window shown and its activation step done.
// 2. Opening a 100,000-line script (the map scripts of the maps folder
//    repeated) through File > Open with the dialog answered: read, decoded,
//    highlighted and painted; against a bare QPlainTextEdit::setPlainText of
//    the same text, painted, in the same run.
// Every figure comes from a child process of its own, so each reports its own
// peak memory.

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int kLines = 100000;
constexpr int kStartRuns = 7;

int RunChild(const QString &mode, const QString &maps, int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QElapsedTimer total;
    total.start();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));

    if (mode == QLatin1String("startup")) {
        QTemporaryDir work;
        QDir::setCurrent(work.path());
        SeedLanguageFiles(work.path());
        ScriptedDialogService dialogs;
        const double appInit = Ms(total);
        Program program = CreateProgram(dialogs, work.path(), work.path());
        const double created = Ms(total);
        program.MainForm->show();
        Paint(*program.MainForm);
        const double shown = Ms(total);
        const bool catalogued = program.MainForm->Functionlist->count() > 1000;
        std::printf("%.1f %.1f %.1f %ld\n", appInit, created - appInit, shown - created, PeakKb());
        return dialogs.History.isEmpty() && catalogued ? 0 : 1;
    }

    const QStringList lines = BuildMapScript(maps, kLines);
    if (mode == QLatin1String("plain")) {
        const QString text = lines.join(u'\n');
        QPlainTextEdit edit;
        edit.resize(814 - 185, 619 - 100);
        edit.show();
        Paint(edit);
        const long before = PeakKb();
        QElapsedTimer t;
        t.start();
        edit.setPlainText(text);
        Paint(edit);
        std::printf("%.1f %ld %ld\n", Ms(t), before, PeakKb());
        return 0;
    }

    BenchProgram program;
    TMainForm &form = program.Form();
    const QString script = program.FilePath("big.j");
    TextFile::SaveScript(script, lines, TextFile::Encoding::Cp1252);
    if (mode == QLatin1String("parts")) {
        // The stages of Open one by one: reading, loading the plain text,
        // and the whole-text highlighting that reloads it as rich text.
        QElapsedTimer t;
        t.start();
        const TextFile::ScriptText content = TextFile::DecodeScriptText(TextFile::ReadBytes(script));
        const double read = Ms(t);
        form.Editbox->AutoHighlight = false;
        form.Editbox->setText(content.text);
        const double load = Ms(t);
        form.Editbox->HighlightAll();
        Paint(form);
        std::printf("%.1f %.1f %.1f\n", read, load - read, Ms(t) - load);
        return 0;
    }
    const long before = PeakKb();
    QElapsedTimer t;
    t.start();
    program.Open(script);
    const double open = Ms(t);
    const long afterOpen = PeakKb();
    // Whether the control coloured the text on loading: the first keyword
    // "function" at a line start is bold then.
    const int at = form.Editbox->text().indexOf(QLatin1String("\r\nfunction ")) + 2;
    const bool highlighted = at > 1 && (form.Editbox->attributesAt(at).style & 1) != 0;
    double explicitHighlight = 0;
    if (!highlighted) {
        QElapsedTimer h;
        h.start();
        form.Editbox->HighlightAll();
        Paint(form);
        explicitHighlight = Ms(h);
    }
    std::printf("%.1f %ld %ld %d %.1f %ld\n", open, before, afterOpen, highlighted ? 1 : 0, explicitHighlight,
        PeakKb());
    return form.Editbox->lineCount() == kLines && program.Dialogs().Messages().isEmpty() ? 0 : 1;
}

// Runs this program as a child in `mode`; returns its output line.
QByteArray Child(const char *self, const char *mode, const QByteArray &maps)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    char *args[] = { const_cast<char *>(self), const_cast<char *>("--child"), const_cast<char *>(mode),
        const_cast<char *>(maps.constData()), nullptr };
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, self, &actions, nullptr, args, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    QByteArray output;
    char buffer[256];
    for (ssize_t n; (n = read(fds[0], buffer, sizeof buffer)) > 0;)
        output.append(buffer, n);
    close(fds[0]);
    if (spawned != 0)
        return {};
    int status = 0;
    waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "child %s failed\n", mode);
    return output.trimmed();
}

QList<double> Numbers(const QByteArray &line)
{
    QList<double> numbers;
    for (const QByteArray &part : line.split(' '))
        numbers.append(part.toDouble());
    return numbers;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 4 && QByteArray(argv[1]) == "--child")
        return RunChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), 1, argv);

    const QByteArray maps = argc > 1 ? QByteArray(argv[1]) : BenchDataPath("scripts/maps").toLocal8Bit();

    std::printf("start-up to an interactive window (median of %d runs, ms):\n", kStartRuns);
    QList<QList<double>> runs;
    for (int i = 0; i < kStartRuns; ++i)
        runs.append(Numbers(Child(argv[0], "startup", maps)));
    std::sort(runs.begin(), runs.end(), [](const QList<double> &a, const QList<double> &b) {
        return a.value(0) + a.value(1) + a.value(2) < b.value(0) + b.value(1) + b.value(2);
    });
    const QList<double> median = runs.at(kStartRuns / 2);
    std::printf(
        "  application object %.1f, windows + creation step %.1f, show + activation + first paint %.1f\n",
        median.value(0), median.value(1), median.value(2));
    std::printf("  total %.1f ms, peak memory %.1f MB\n", median.value(0) + median.value(1) + median.value(2),
        median.value(3) / 1024.0);

    const QList<double> plain = Numbers(Child(argv[0], "plain", maps));
    const QList<double> open = Numbers(Child(argv[0], "open", maps));
    std::printf("%d-line script:\n", kLines);
    std::printf("  bare setPlainText + paint: %.1f ms, peak memory %.1f MB (%.1f MB before)\n",
        plain.value(0), plain.value(2) / 1024.0, plain.value(1) / 1024.0);
    std::printf(
        "  File > Open (read, decode, load, paint): %.1f ms, peak memory %.1f MB (%.1f MB before)%s\n",
        open.value(0), open.value(2) / 1024.0, open.value(1) / 1024.0,
        open.value(3) != 0 ? ", highlighted by the control" : "");
    const QList<double> parts = Numbers(Child(argv[0], "parts", maps));
    std::printf("  its stages: read + decode %.1f ms, plain text into the control %.1f ms, "
                "HighlightAll (generate, read, reload) + paint %.1f ms\n",
        parts.value(0), parts.value(1), parts.value(2));
    double full = open.value(0);
    if (open.value(3) == 0) {
        // The control does not yet colour a loaded text by itself; the bench
        // adds the whole-text highlighting it will run.
        full += open.value(4);
        std::printf("  + HighlightAll + paint: %.1f ms, peak memory %.1f MB\n", open.value(4),
            open.value(5) / 1024.0);
    }
    if (plain.value(0) > 0)
        std::printf("  ratio (open, highlighted) / bare: %.2f\n", full / plain.value(0));
    return 0;
}
