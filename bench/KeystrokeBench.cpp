// Figures of the editor control while the user types. From the repository root:
//   cmake -S . -B build-bench -G Ninja -DTOLVANE_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target bench_keystroke && build-bench/bench/bench_keystroke [maps]
// The scripts are the map scripts of the maps folder repeated to 1,000 and to
// 200,000 lines, loaded the way the main window loads a file, with the JASS
// keywords as word classes. A keystroke is timed from the key press to the end
// of its handling: the toolkit's edit, the owner's selection and change steps,
// the restyle and the bracket marking (the repaint that follows is shown
// apart).

#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "platform/TextFile.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

const QStringList kKeywords { "@clNavy", "!bold", "function", "endfunction", "takes", "returns", "nothing",
    "local", "set", "call", "if", "then", "else", "elseif", "endif", "loop", "endloop", "exitwhen", "return",
    "globals", "endglobals", "constant", "native", "type", "extends", "array", "and", "or", "not", "@clGreen",
    "!italic", "true", "false", "null", "integer", "real", "boolean", "string", "handle", "code" };

void Key(QWidget &w, Qt::Key key, const QString &text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(&w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(&w, &release);
}

struct Figures {
    double median;
    double p90;
};

Figures Summary(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return { times[times.size() / 2], times[times.size() * 9 / 10] };
}

// An owner doing what the main window does on each event: the caret's line
// and column for the status bar.
void ConnectOwner(TSyntaxEdit &edit, QString &status)
{
    auto position = [&edit, &status] {
        const int start = edit.selStart();
        const int line = edit.lineFromChar(start);
        status = QStringLiteral("%1 : %2").arg(line + 1).arg(start - edit.lineIndex(line) + 1);
    };
    QObject::connect(&edit, &TRichEdit::OnChange, &edit, position);
    QObject::connect(&edit, &TRichEdit::OnSelectionChange, &edit, position);
}

void Load(TSyntaxEdit &edit, const QStringList &lines)
{
    edit.LoadingText = true;
    edit.setLines(lines);
    edit.LoadingText = false;
}

// Types `key` 1,000 times, each time on the next line from the middle, after
// its first word (or at its end).
void Typing(TSyntaxEdit &edit, QTextStream &out, const char *what, Qt::Key key, const QString &text)
{
    std::vector<double> handling;
    std::vector<double> painted;
    const int middle = edit.lineCount() / 2 - 500;
    for (int i = 0; i < 1000; ++i) {
        const int line = middle + i;
        edit.setSelStart(edit.lineIndex(line) + ColumnAfterFirstWord(edit.line(line)));
        QCoreApplication::processEvents();
        QElapsedTimer t;
        t.start();
        Key(edit, key, text);
        handling.push_back(t.nsecsElapsed() / 1e6);
        edit.viewport()->repaint();
        painted.push_back(t.nsecsElapsed() / 1e6);
    }
    const Figures h = Summary(handling);
    const Figures p = Summary(painted);
    out << "  " << what << ": median " << h.median << " ms (90th percentile " << h.p90
        << "), with the repaint " << p.median << " ms\n";
}

void Paste(TSyntaxEdit &edit, QTextStream &out, const QStringList &source, int count)
{
    QGuiApplication::clipboard()->setText(RepeatLines(source, count, 17).join(QLatin1String("\r\n")) + "\r\n");
    std::vector<double> times;
    for (int round = 0; round < 5; ++round) {
        edit.setSelStart(edit.lineIndex(edit.lineCount() / 2));
        QCoreApplication::processEvents();
        const int before = edit.lineCount();
        QElapsedTimer t;
        t.start();
        Key(edit, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
        times.push_back(t.nsecsElapsed() / 1e6);
        if (edit.lineCount() != before + count) {
            std::fprintf(stderr, "the paste did not arrive\n");
            std::exit(1);
        }
        edit.undo();
    }
    const double median = Summary(times).median;
    out << "  paste " << count << " lines: median " << median << " ms, " << median * 1000 / count
        << " us per line\n";
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString maps = argc > 1
        ? QString::fromLocal8Bit(argv[1])
        : BenchDataPath("scripts/maps");
    const QStringList source = LoadMapScripts(maps);
    QTextStream out(stdout);

    for (int size : { 1000, 200000 }) {
        TSyntaxEdit edit;
        edit.resize(800, 600);
        LoadWordClasses(kKeywords, nullptr, { &edit });
        edit.RebuildHighlighting();
        edit.AutoHighlight = true;
        QString status;
        ConnectOwner(edit, status);
        QElapsedTimer t;
        t.start();
        Load(edit, RepeatLines(source, size));
        out << size << " lines (loaded and highlighted in " << t.elapsed() << " ms):\n";
        edit.show();
        edit.setFocus();
        QCoreApplication::processEvents();
        Typing(edit, out, "typing a letter", Qt::Key_X, QStringLiteral("x"));
        Typing(edit, out, "typing a bracket", Qt::Key_ParenLeft, QStringLiteral("("));
        for (int count : { 100, 1000, 10000 })
            Paste(edit, out, source, count);
        out.flush();
    }
    return 0;
}
