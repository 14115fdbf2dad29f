// Figures of the highlighting engine and the rich-edit layer. From the repository root:
//   cmake -S . -B build-bench -G Ninja -DTOLVANE_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target bench_engine && build-bench/bench/bench_engine [maps] [declarations]
// The script is the map scripts of the maps folder repeated to 100,000 lines;
// the word list holds the natives, functions and globals of common.j and
// blizzard.j (and common.ai when present) of the declarations folder. The control runs are made in child
// processes so each reports its own peak memory.

#include "BenchSupport.h"
#include "BenchWords.h"
#include "editor/SyntaxDocument.h"
#include "editor/SyntaxEdit.h"
#include "platform/Rtf.h"
#include "platform/TextFile.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

namespace {

constexpr int kLines = 100000;

template<typename F> double BestMs(int rounds, F f)
{
    double best = 1e99;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

double LapMs(QElapsedTimer &t)
{
    const double ms = t.nsecsElapsed() / 1e6;
    t.restart();
    return ms;
}

void Paint(QWidget &w)
{
    w.show();
    w.repaint();
    QCoreApplication::processEvents();
}

// The control runs, each in a process of its own.
int RunChild(const QString &mode, const QString &maps, const QString &declarations, int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList lines = BuildMapScript(maps, kLines);
    const QString text = lines.join(QLatin1Char('\n'));
    QTextStream out(stdout);
    if (mode == QLatin1String("plain")) {
        QPlainTextEdit edit;
        edit.resize(800, 600);
        QElapsedTimer t;
        t.start();
        edit.setPlainText(text);
        Paint(edit);
        out << "  bare setPlainText + first paint: " << LapMs(t) << " ms\n";
        return 0;
    }
    TSyntaxEdit edit;
    edit.resize(800, 600);
    const QStringList words = DeclaredNames(declarations);
    LoadBenchWords(edit, words); // empty control: nothing to highlight yet
    QElapsedTimer t;
    t.start();
    edit.setText(text);
    out << "  load text (setText, not counted): " << LapMs(t) << " ms\n";
    QByteArray document = edit.HighlightDocument();
    const double generate = LapMs(t);
    RichText parsed = Rtf::Read(document);
    const double parse = LapMs(t);
    document.clear();
    parsed = RichText();
    t.restart();
    edit.HighlightAll();
    const double all = LapMs(t);
    Paint(edit);
    const double paint = LapMs(t);
    out << "  HighlightAll end to end: " << all + paint << " ms (generate " << generate << ", parse " << parse
        << ", fill control " << all - generate - parse << ", first paint " << paint << ")\n";

    // HighlightLine in place on a 200-character line in the middle.
    QString longLine = QStringLiteral(
        "    call DisplayTimedTextToPlayer(GetLocalPlayer(), 0.00, 0.00, 30, \"x\" + I2S(i))");
    while (longLine.size() < 200)
        longLine += QStringLiteral(" + R2S(bj_PI*2.0)");
    longLine.truncate(200);
    const int at = kLines / 2;
    edit.select(edit.lineIndex(at), int(edit.line(at).size()));
    edit.replaceSelection(longLine);
    std::vector<double> times;
    QByteArray rtf;
    for (int i = 0; i < 1000; ++i) {
        QElapsedTimer one;
        one.start();
        edit.HighlightLine(at, HighlightMode::InPlace, rtf);
        times.push_back(one.nsecsElapsed() / 1e3);
    }
    std::sort(times.begin(), times.end());
    out << "  HighlightLine in place, 200 characters: median " << times[500] << " us, 90th percentile "
        << times[900] << " us\n";
    return 0;
}

long RunAndMeasure(const char *self, const char *mode, const QString &maps, const QString &declarations)
{
    const QByteArray m = maps.toLocal8Bit();
    const QByteArray d = declarations.toLocal8Bit();
    char *args[] = { const_cast<char *>(self), const_cast<char *>("--child"), const_cast<char *>(mode),
        const_cast<char *>(m.constData()), const_cast<char *>(d.constData()), nullptr };
    pid_t pid = 0;
    std::fflush(stdout);
    if (posix_spawn(&pid, self, nullptr, nullptr, args, environ) != 0)
        return -1;
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss; // kilobytes
}

} // namespace

int main(int argc, char **argv)
{
    if (argc >= 5 && QByteArray(argv[1]) == "--child")
        return RunChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
            QString::fromLocal8Bit(argv[4]), 1, argv);

    const QString maps = argc > 1 ? QString::fromLocal8Bit(argv[1]) : BenchDataPath("scripts/maps");
    const QString declarations = argc > 2 ? QString::fromLocal8Bit(argv[2]) : BenchDataPath("2.0.4");
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);

    const QStringList lines = BuildMapScript(maps, kLines);
    qsizetype chars = 0;
    for (const QString &l : lines)
        chars += l.size() + 2;
    const QStringList words = DeclaredNames(declarations);
    out << "script: " << lines.size() << " lines, " << chars / 1e6 << " MB; word list: " << words.size()
        << " names\n";

    SyntaxDocument doc;
    LoadBenchWords(doc, words);
    doc.SetLines(lines);

    // FindWordClass: every word of the list, then every token of the script.
    {
        QElapsedTimer t;
        t.start();
        qsizetype hits = 0;
        const int rounds = 50;
        for (int r = 0; r < rounds; ++r)
            for (const QString &w : words)
                hits += doc.FindWordClass(w) != doc.Engine().Builtins().Plain.get();
        const double perHit = t.nsecsElapsed() / double(rounds * words.size());
        std::vector<QStringView> tokens;
        for (const QString &l : lines) {
            qsizetype pos = 0;
            while (pos < l.size()) {
                while (pos < l.size() && (l[pos] == u' ' || l[pos] == u'\t'))
                    ++pos;
                const qsizetype n = SyntaxEngine::NextToken(l, pos);
                if (n == 0)
                    break;
                if (l[pos].isLetter() || l[pos] == u'_')
                    tokens.push_back(QStringView(l).mid(pos, n));
                pos += n;
            }
        }
        t.restart();
        for (QStringView token : tokens)
            hits += doc.FindWordClass(token) != nullptr;
        const double perToken = t.nsecsElapsed() / double(tokens.size());
        out << "FindWordClass: " << perHit << " ns per listed word, " << perToken << " ns per script word ("
            << tokens.size() << " lookups)" << (hits ? "" : " ") << "\n";
    }

    QByteArray document;
    const double firstGenerate = BestMs(1, [&] { document = doc.HighlightAll(); });
    const double generate = BestMs(5, [&] { document = doc.HighlightAll(); });
    out << "rich text of " << lines.size() << " lines: " << generate << " ms best of 5, " << firstGenerate
        << " ms first run (" << document.size() / 1e6 << " MB)\n";
    const double firstRead = BestMs(1, [&] { (void)Rtf::Read(document); });
    const double read = BestMs(5, [&] { (void)Rtf::Read(document); });
    out << "RTF reader on it: " << read << " ms best of 5, " << firstRead << " ms first run\n";
    out.flush();

    out << "control, bare setPlainText (child process):\n";
    out.flush();
    const long plainKb = RunAndMeasure(argv[0], "plain", maps, declarations);
    out << "  peak memory " << plainKb / 1024.0 << " MB\n";
    out << "control, HighlightAll (child process):\n";
    out.flush();
    const long allKb = RunAndMeasure(argv[0], "highlight", maps, declarations);
    out << "  peak memory " << allKb / 1024.0 << " MB (" << double(allKb) / double(plainKb)
        << " x bare; includes the text loaded before HighlightAll)\n";
    return 0;
}
