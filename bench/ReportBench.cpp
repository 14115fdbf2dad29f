// The figures of the performance report, one measurement per process so each
// process's peak memory is its own. tools/bench.sh runs it several times per
// figure and prints the table; by hand:
//   bench_report MODE LINES MAPS DECLARATIONS
// MODE is one of
//   plain      a bare QPlainTextEdit::setPlainText of the script, painted
//   sci        a bare QsciScintilla (no lexer) given the script, painted
//   open       the whole program: File > Open of the script, read, decoded,
//              highlighted and painted
//   tokens     a plain pass over the script's bytes that only splits tokens
//   generate   the highlighter's rich text of the script
//   keystroke  typing a letter in the editor control holding the script
//   keystroke-long  typing a letter in a 100,000-character line put in the
//              middle of the script, at 100 places along it; also the same
//              with the repaint, and typed into a bare QPlainTextEdit and a
//              bare QsciScintilla
// The script is the map scripts of MAPS repeated to LINES lines; the word
// classes are the names declared in DECLARATIONS (common.j, blizzard.j,
// common.ai). Every output line is a tab-separated row: figure, value, unit.

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "BenchWords.h"
#include "editor/SyntaxDocument.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "platform/TextFile.h"

#include <Qsci/qsciscintilla.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextBlock>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sys/resource.h>

namespace {

void Row(const char *figure, double value, const char *unit)
{
    std::printf("%s\t%.3f\t%s\n", figure, value, unit);
}

int Plain(const QStringList &lines)
{
    const QString text = lines.join(u'\n');
    QPlainTextEdit edit;
    edit.resize(814 - 185, 619 - 100);
    edit.show();
    Paint(edit);
    QElapsedTimer t;
    t.start();
    edit.setPlainText(text);
    Paint(edit);
    Row("plain", Ms(t), "ms");
    Row("plain-memory", PeakKb() / 1024.0, "MB");
    return 0;
}

// The view the editor is built on, bare: no lexer, no margin.
int Scintilla(const QStringList &lines)
{
    const QString text = lines.join(u'\n');
    QsciScintilla edit;
    edit.resize(814 - 185, 619 - 100);
    edit.show();
    Paint(edit);
    QElapsedTimer t;
    t.start();
    edit.setText(text);
    Paint(edit);
    Row("sci", Ms(t), "ms");
    Row("sci-memory", PeakKb() / 1024.0, "MB");
    return 0;
}

int Open(const QStringList &lines)
{
    BenchProgram program;
    const QString script = program.FilePath("big.j");
    TextFile::SaveScript(script, lines, TextFile::Encoding::Cp1252);
    TMainForm &form = program.Form();
    QElapsedTimer t;
    t.start();
    program.Open(script);
    Row("open", Ms(t), "ms");
    Row("open-memory", PeakKb() / 1024.0, "MB");
    // Coloured on loading: the first keyword "function" at a line start, if
    // the script has one within its lines, is bold.
    const int at = form.Editbox->text().indexOf(QLatin1String("\r\nfunction ")) + 2;
    const bool highlighted = at <= 1 || (form.Editbox->attributesAt(at).style & FontStyle::Bold) != 0;
    return form.Editbox->lineCount() == lines.size() && highlighted && program.Dialogs().Messages().isEmpty()
        ? 0
        : 1;
}

// The floor for any highlighter: one pass over the file's bytes that splits
// words, numbers and single other characters, as the tokenizer does.
int Tokens(const QStringList &lines)
{
    const QByteArray bytes = lines.join(QLatin1String("\r\n")).toLatin1();
    std::vector<double> times;
    qsizetype tokens = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        tokens = 0;
        const char *p = bytes.constData();
        const char *end = p + bytes.size();
        auto word = [](unsigned char c) { return std::isalnum(c) || c == '_' || c == '.'; };
        while (p < end) {
            const unsigned char c = static_cast<unsigned char>(*p);
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
                ++p;
                continue;
            }
            ++tokens;
            if (word(c)) {
                while (p < end && word(static_cast<unsigned char>(*p)))
                    ++p;
            } else {
                ++p;
            }
        }
        times.push_back(Ms(t));
    }
    std::sort(times.begin(), times.end());
    Row("tokens", times[times.size() / 2], "ms");
    return tokens > 0 ? 0 : 1;
}

int Generate(const QStringList &lines, const QString &declarations)
{
    SyntaxDocument doc;
    LoadBenchWords(doc, DeclaredNames(declarations));
    doc.SetLines(lines);
    std::vector<double> times;
    qsizetype size = 0;
    for (int round = 0; round < 5; ++round) {
        QElapsedTimer t;
        t.start();
        size = doc.HighlightAll().size();
        times.push_back(Ms(t));
    }
    std::sort(times.begin(), times.end());
    Row("generate", times[times.size() / 2], "ms");
    return size > 0 ? 0 : 1;
}

// The editor as typing finds it: the word classes, the script loaded and
// coloured, shown with the focus.
void ShowLoaded(TSyntaxEdit &edit, const QStringList &lines, const QString &declarations)
{
    edit.resize(800, 600);
    LoadBenchWords(edit, DeclaredNames(declarations));
    edit.AutoHighlight = true;
    edit.LoadingText = true;
    edit.setLines(lines);
    edit.LoadingText = false;
    edit.show();
    edit.setFocus();
    QCoreApplication::processEvents();
}

// A letter typed after the first word of 200 lines from the middle, from the
// key press to the end of its handling (restyle and notifications), without
// the repaint.
int Keystroke(const QStringList &lines, const QString &declarations)
{
    TSyntaxEdit edit;
    ShowLoaded(edit, lines, declarations);
    const int count = std::min(200, int(lines.size()));
    const int first = std::max(0, int(lines.size()) / 2 - count / 2);
    Row("keystroke", TypingMs(edit, first, count), "ms");
    return edit.lineCount() == lines.size() ? 0 : 1;
}

// One call of `length` characters that joins strings and calls, as generated
// map code can hold.
QString LongLine(int length)
{
    QString line
        = QStringLiteral("    call DisplayTextToPlayer(GetLocalPlayer(), 0, 0, \"msg // not a comment\"");
    for (int n = 0;; ++n) {
        const QString piece = QStringLiteral(" + I2S(%1) + \"msg %1\"").arg(n);
        if (line.size() + piece.size() + 6 > length)
            break;
        line += piece;
    }
    return line + QStringLiteral(" + \"") + QString(length - line.size() - 6, u'w') + QStringLiteral("\")");
}

// A letter typed at 100 places spread along a 100,000-character line, from
// the key press to the end of its handling, and to the end of the repaint
// that shows it; the bare control's figure is the floor the toolkit sets.
int KeystrokeLong(QStringList lines, const QString &declarations)
{
    const int at = int(lines.size()) / 2;
    if (lines.isEmpty())
        lines.append(QString());
    lines[at] = LongLine(100000);
    const int count = 100;
    const auto columns = [&](int i) { return 1000 * i + 500; };

    TSyntaxEdit edit;
    ShowLoaded(edit, lines, declarations);
    std::vector<double> handled;
    std::vector<double> painted;
    for (int i = 0; i < count; ++i) {
        edit.setSelStart(edit.lineIndex(at) + columns(i) + i);
        Paint(edit);
        QElapsedTimer t;
        t.start();
        SendKey(edit, Qt::Key_X, QStringLiteral("x"));
        handled.push_back(Ms(t));
        edit.viewport()->repaint();
        painted.push_back(Ms(t));
    }
    Row("keystroke-long", Median(handled), "ms");
    Row("keystroke-long-painted", Median(painted), "ms");
    const bool whole = edit.lineCount() == lines.size() && edit.line(at).size() == 100000 + count;

    QPlainTextEdit bare;
    bare.resize(800, 600);
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    bare.setPlainText(lines.join(u'\n'));
    bare.show();
    bare.setFocus();
    QCoreApplication::processEvents();
    const int lineStart = bare.document()->findBlockByNumber(at).position();
    std::vector<double> bareHandled;
    std::vector<double> barePainted;
    for (int i = 0; i < count; ++i) {
        QTextCursor cursor = bare.textCursor();
        cursor.setPosition(lineStart + columns(i) + i);
        bare.setTextCursor(cursor);
        Paint(bare);
        QElapsedTimer t;
        t.start();
        SendKey(bare, Qt::Key_X, QStringLiteral("x"));
        bareHandled.push_back(Ms(t));
        bare.viewport()->repaint();
        barePainted.push_back(Ms(t));
    }
    Row("keystroke-long-bare", Median(bareHandled), "ms");
    Row("keystroke-long-bare-painted", Median(barePainted), "ms");

    QsciScintilla sci;
    sci.resize(800, 600);
    sci.setText(lines.join(u'\n'));
    sci.show();
    sci.setFocus();
    QCoreApplication::processEvents();
    const long sciLineStart = sci.SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, ulong(at));
    std::vector<double> sciHandled;
    std::vector<double> sciPainted;
    for (int i = 0; i < count; ++i) {
        sci.SendScintilla(QsciScintillaBase::SCI_GOTOPOS, ulong(sciLineStart + columns(i) + i));
        Paint(sci);
        QElapsedTimer t;
        t.start();
        SendKey(sci, Qt::Key_X, QStringLiteral("x"));
        sciHandled.push_back(Ms(t));
        sci.viewport()->repaint();
        sciPainted.push_back(Ms(t));
    }
    Row("keystroke-long-sci", Median(sciHandled), "ms");
    Row("keystroke-long-sci-painted", Median(sciPainted), "ms");
    return whole ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr,
            "usage: %s plain|sci|open|tokens|generate|keystroke|keystroke-long LINES MAPS DECLARATIONS\n",
            argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const QByteArray mode = argv[1];
    const int count = QByteArray(argv[2]).toInt();
    const QString maps = QString::fromLocal8Bit(argv[3]);
    const QString declarations = QString::fromLocal8Bit(argv[4]);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    const QStringList lines = BuildMapScript(maps, count);
    if (mode == "plain")
        return Plain(lines);
    if (mode == "sci")
        return Scintilla(lines);
    if (mode == "open")
        return Open(lines);
    if (mode == "tokens")
        return Tokens(lines);
    if (mode == "generate")
        return Generate(lines, declarations);
    if (mode == "keystroke")
        return Keystroke(lines, declarations);
    if (mode == "keystroke-long")
        return KeystrokeLong(lines, declarations);
    std::fprintf(stderr, "unknown mode %s\n", argv[1]);
    return 2;
}
