#include "TestRegistry.h"

#include "editor/SyntaxEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <utility>

namespace {

constexpr uint32_t kSentinel = 0x123456;
const TextAttributes kKeyword { 0x800000, FontStyle::Bold, 18 }; // clNavy, bold
const TextAttributes kBracket { 0x000000, FontStyle::Bold, 18 };
const TextAttributes kMatch { 0x0000FF, FontStyle::Bold, 18 };

// An editor as the main window has it: shown, focused, highlighting as the
// user types, its text loaded the way an owner loads a file.
struct Editor {
    explicit Editor(const QStringList &lines, bool autoHighlight = true)
    {
        LoadWordClasses({ "@clNavy", "!bold", "call", "set", "function" }, nullptr, { &edit });
        edit.RebuildHighlighting();
        edit.AutoHighlight = autoHighlight;
        edit.LoadingText = true;
        edit.setLines(lines);
        edit.LoadingText = false;
        edit.show();
        edit.setFocus();
    }

    // Paints every character in a colour the highlighter never gives, so the
    // lines a later edit restyles stand out.
    void paintSentinel() { edit.setRangeAttributes(0, edit.textLength(), { kSentinel, 0, 18 }); }

    // The lines holding a character that no longer has the sentinel colour.
    QList<int> restyledLines() const
    {
        QList<int> out;
        for (int l = 0; l < edit.lineCount(); ++l) {
            const int start = edit.lineIndex(l);
            for (int c = 0; c < edit.line(l).size(); ++c) {
                if (edit.attributesAt(start + c).color != kSentinel) {
                    out << l;
                    break;
                }
            }
        }
        return out;
    }

    void caretAt(int line, int column) { edit.setSelStart(edit.lineIndex(line) + column); }

    // Presses keys: "\r" Return, "\b" Backspace, "\x7f" Delete, "\x16" Ctrl+V,
    // anything else types itself.
    void press(const QString &keys)
    {
        for (QChar key : keys) {
            switch (key.unicode()) {
            case '\r':
                QTest::keyClick(&edit, Qt::Key_Return);
                break;
            case '\b':
                QTest::keyClick(&edit, Qt::Key_Backspace);
                break;
            case 0x7f:
                QTest::keyClick(&edit, Qt::Key_Delete);
                break;
            case 0x16:
                QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
                break;
            default:
                QTest::keyClick(&edit, key.toLatin1());
                break;
            }
        }
    }

    TSyntaxEdit edit;
};

void SetClipboard(const QString &text, const QString &html = {})
{
    auto *data = new QMimeData;
    if (!text.isNull())
        data->setText(text);
    if (!html.isNull())
        data->setHtml(html);
    QGuiApplication::clipboard()->setMimeData(data);
}

QStringList Lines(int count, const QString &text)
{
    return QStringList(count, text);
}

} // namespace

class LiveEditTest : public QObject {
    Q_OBJECT

private slots:
    void editRestylesOnlyTheTouchedLines_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("selected");
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<int>>("restyled");
        QTest::newRow("typed character") << 3 << 6 << 0 << QString() << "y" << QList<int> { 3 };
        QTest::newRow("three-line paste at line 5") << 5 << 0 << 0 << "call a\r\ncall b\r\n"
                                                    << "\x16" << QList<int> { 5, 6, 7 };
        // The replaced length, counted from the caret after the paste, reaches
        // a line further.
        QTest::newRow("paste over two lines") << 2 << 2 << 10 << "ll a\r\ncall b"
                                              << "\x16" << QList<int> { 2, 3, 4 };
        QTest::newRow("Return splits a line") << 3 << 4 << 0 << QString() << "\r" << QList<int> { 3, 4 };
        QTest::newRow("Backspace joins two lines") << 4 << 0 << 0 << QString() << "\b" << QList<int> { 3 };
        QTest::newRow("Delete joins two lines") << 3 << 6 << 0 << QString() << "\x7f" << QList<int> { 3 };
        QTest::newRow("typing over a two-line selection")
            << 2 << 2 << 8 << QString() << "z" << QList<int> { 2 };
        QTest::newRow("last line") << 9 << 0 << 0 << QString() << "x" << QList<int> { 9 };
    }
    void editRestylesOnlyTheTouchedLines()
    {
        QFETCH(int, line);
        QFETCH(int, column);
        QFETCH(int, selected);
        QFETCH(QString, clipboard);
        QFETCH(QString, keys);
        QFETCH(QList<int>, restyled);
        Editor e(Lines(10, "call x"));
        if (!clipboard.isNull())
            SetClipboard(clipboard);
        e.paintSentinel();
        e.edit.select(e.edit.lineIndex(line) + column, selected);
        e.press(keys);
        QCOMPARE(e.restyledLines(), restyled);
        QCOMPARE(e.edit.lastLineCount(), e.edit.lineCount());
        for (int l : restyled) {
            if (e.edit.line(l).startsWith("call "))
                QVERIFY(e.edit.attributesAt(e.edit.lineIndex(l)) == kKeyword);
        }
    }

    void autoHighlightOffChangesNoColours()
    {
        Editor e(Lines(3, "call x"), false);
        e.paintSentinel();
        QSignalSpy changes(&e.edit, &TRichEdit::OnChange);
        e.caretAt(1, 0);
        SetClipboard("set y\r\n");
        e.press("call \r\x16");
        QCOMPARE(changes.count(), 7);
        QCOMPARE(e.restyledLines(), QList<int> {});
        QCOMPARE(e.edit.lastLineCount(), 0);
    }

    void bracketMarking_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("match");
        QTest::newRow("f(a) after (") << "f(a)" << 2 << 0 << 3;
        QTest::newRow("f(a) after )") << "f(a)" << 4 << 0 << 1;
        QTest::newRow("nested") << "x(a(b)c)" << 2 << 0 << 7;
        QTest::newRow("nested closing") << "x(a(b)c)" << 8 << 0 << 1;
        QTest::newRow("square") << "a[i] (j)" << 2 << 0 << 3;
        QTest::newRow("selection starts after (") << "f(a)" << 2 << 2 << 3;
        QTest::newRow("in a string") << "s = \"f(a)\"" << 7 << 0 << -1;
        QTest::newRow("after a closed literal") << "'(' f(a)" << 6 << 0 << 7;
        QTest::newRow("double quote in a literal") << "'\"' f(a)" << 6 << 0 << 7;
        QTest::newRow("backslash escapes nothing") << "\"\\\"\" (a)" << 6 << 0 << -1;
        QTest::newRow("after //") << "x // f(a)" << 7 << 0 << -1;
        QTest::newRow("// in a string") << "\"//\" f(a)" << 7 << 0 << 8;
        QTest::newRow("walk counts brackets in strings") << "f(\")\")" << 2 << 0 << 3;
        QTest::newRow("partner on another line") << "f(a\r\n)" << 2 << 0 << -1;
        QTest::newRow("partner on the line before") << "(\r\na)" << 5 << 0 << -1;
        QTest::newRow("unbalanced") << "f((a)" << 2 << 0 << -1;
        QTest::newRow("caret at the start") << "(a)" << 0 << 0 << -1;
        QTest::newRow("caret at a line start") << "f(\r\n)" << 4 << 0 << -1;
        QTest::newRow("one character") << "(" << 1 << 0 << -1;
        QTest::newRow("two characters") << "()" << 1 << 0 << 1;
    }
    void bracketMarking()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(int, match);
        Editor e(text.split("\r\n"));
        e.edit.select(0, e.edit.textLength());
        QSignalSpy selections(&e.edit, &TRichEdit::OnSelectionChange);
        e.edit.select(start, length);
        QCOMPARE(selections.count(), 1);
        QCOMPARE(e.edit.matchPosition(), match);
        QCOMPARE(e.edit.selStart(), start);
        QCOMPARE(e.edit.selLength(), length);
        if (match >= 0) {
            QVERIFY(e.edit.attributesAt(match) == kMatch);
            QVERIFY(e.edit.attributesAt(start - 1) != kMatch); // the bracket itself is not marked
        }
        e.edit.setSelStart(0);
        QCOMPARE(e.edit.matchPosition(), -1);
        if (match >= 0)
            QVERIFY(e.edit.attributesAt(match) == kBracket);
    }

    // The old mark goes back to the bracket class, also when it had another.
    void markFollowsTheCaret()
    {
        Editor e({ "f(a) g[b] h(\")\")" });
        e.edit.setSelStart(2);
        QCOMPARE(e.edit.matchPosition(), 3);
        e.edit.setSelStart(7);
        QCOMPARE(e.edit.matchPosition(), 8);
        QVERIFY(e.edit.attributesAt(3) == kBracket);
        QVERIFY(e.edit.attributesAt(8) == kMatch);
        e.edit.setSelStart(12);
        QCOMPARE(e.edit.matchPosition(), 13); // inside the string
        QVERIFY(e.edit.attributesAt(8) == kBracket);
        e.edit.setSelStart(0);
        QVERIFY(e.edit.attributesAt(13) == kBracket);
    }

    void markSurvivesTheEditThatMadeIt()
    {
        Editor e({ "call f(a", "x" });
        e.caretAt(0, 8);
        e.press(")");
        QCOMPARE(e.edit.line(0), QStringLiteral("call f(a)"));
        QCOMPARE(e.edit.matchPosition(), 6);
        QVERIFY(e.edit.attributesAt(6) == kMatch);
        QVERIFY(e.edit.attributesAt(8) == kBracket);
        QVERIFY(e.edit.attributesAt(0) == kKeyword);
    }

    // The mark follows its bracket through edits elsewhere; a deleted mark
    // leaves nothing to set back.
    void markFollowsItsBracketThroughEdits()
    {
        Editor e({ "f(a) x" });
        e.edit.setSelStart(2);
        // The view's own edits, as anything but the owner's selection makes them.
        e.edit.SendScintilla(QsciScintillaBase::SCI_INSERTTEXT, 0UL, "call ");
        QCOMPARE(e.edit.matchPosition(), 8);
        e.edit.setSelStart(0);
        QVERIFY(e.edit.attributesAt(8) == kBracket);
        QVERIFY(e.edit.attributesAt(0) == kKeyword);

        e.edit.setSelStart(7);
        QCOMPARE(e.edit.matchPosition(), 8);
        e.edit.SendScintilla(QsciScintillaBase::SCI_DELETERANGE, 8UL, 1L);
        QCOMPARE(e.edit.matchPosition(), -1);
        e.edit.setSelStart(0);
        QCOMPARE(e.edit.text(), QStringLiteral("call f(a x"));
        for (int i = 0; i < e.edit.textLength(); ++i)
            QVERIFY(e.edit.attributesAt(i) != kMatch);
    }

    void ownerSeesSelectionThenChange_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("events");
        QTest::newRow("typed character") << 4 << 0 << "x" << QStringList { "selection 5,0", "change 0" };
        QTest::newRow("typed over a selection")
            << 2 << 3 << "x" << QStringList { "selection 3,0", "change 3" };
        QTest::newRow("Delete without a selection")
            << 2 << 0 << "\x7f" << QStringList { "selection 2,0", "change 0" };
        QTest::newRow("Backspace over a selection")
            << 1 << 7 << "\b" << QStringList { "selection 1,0", "change 7" };
        QTest::newRow("Ctrl+V over a line break")
            << 5 << 3 << "\x16" << QStringList { "selection 9,0", "change 3" };
    }
    void ownerSeesSelectionThenChange()
    {
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, keys);
        QFETCH(QStringList, events);
        Editor e({ "call x", "set y" });
        SetClipboard("a\r\nb");
        // An earlier, longer selection must not count as replaced text.
        e.edit.select(0, 9);
        e.edit.select(start, length);
        e.paintSentinel();
        QStringList seen;
        connect(&e.edit, &TRichEdit::OnSelectionChange, &e.edit, [&] {
            seen << QStringLiteral("selection %1,%2").arg(e.edit.selStart()).arg(e.edit.selLength());
        });
        connect(&e.edit, &TRichEdit::OnChange, &e.edit, [&] {
            seen << QStringLiteral("change %1").arg(e.edit.previousSelLength());
            // Before the restyle: the edited line still has its old colours.
            QCOMPARE(e.restyledLines(), QList<int> {});
        });
        e.press(keys);
        QCOMPARE(seen, events);
        QVERIFY(!e.restyledLines().isEmpty());
    }

    // keyDowns: OnKeyDown and OnKeyPress for the V.
    void ctrlVPastesPlainText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("html");
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("result");
        QTest::addColumn<int>("keyDowns");
        QTest::newRow("formatted text")
            << "call f\r\nset y"
            << "<b>call</b> <i>f</i><br>set y" << false << true << "ab call f\r\nset yd" << 0;
        QTest::newRow("formatted text only")
            << QString() << "<b>call</b> f" << false << true << "ab call fd" << 0;
        QTest::newRow("read-only") << "call f" << QString() << true << true << "ab cd" << 1;
        QTest::newRow("disabled") << "call f" << QString() << false << false << "ab cd" << 0;
        QTest::newRow("empty clipboard keeps the selection")
            << "" << QString() << false << true << "ab cd" << 0;
    }
    void ctrlVPastesPlainText()
    {
        QFETCH(QString, text);
        QFETCH(QString, html);
        QFETCH(bool, readOnly);
        QFETCH(bool, enabled);
        QFETCH(QString, result);
        QFETCH(int, keyDowns);
        Editor e({ "ab cd" });
        SetClipboard(text, html);
        e.edit.setReadOnly(readOnly);
        e.edit.setEnabled(enabled);
        e.edit.select(3, 1);
        int downs = 0;
        int presses = 0;
        connect(&e.edit, &TRichEdit::OnKeyDown, &e.edit,
            [&](QKeyEvent *key) { downs += key->key() == Qt::Key_V; });
        connect(&e.edit, &TRichEdit::OnKeyPress, &e.edit, [&](QKeyEvent *) { ++presses; });
        e.press("\x16");
        QCOMPARE(e.edit.text(), result);
        QCOMPARE(downs, keyDowns);
        QCOMPARE(presses, keyDowns);
        if (result != "ab cd") {
            QVERIFY(e.edit.attributesAt(3) == kKeyword); // the pasted text is restyled
            e.edit.undo(); // one step
            QCOMPARE(e.edit.text(), QStringLiteral("ab cd"));
        }
    }

    void loadingTextHighlightsTheWholeText()
    {
        Editor e({ "x" });
        e.edit.setSelStart(1);
        QStringList seen;
        connect(&e.edit, &TRichEdit::OnSelectionChange, &e.edit, [&] { seen << "selection"; });
        connect(&e.edit, &TRichEdit::OnChange, &e.edit, [&] { seen << "change"; });
        QStringList lines;
        for (int i = 0; i < 300; ++i)
            lines << QStringLiteral("call f%1(x)").arg(i);
        e.edit.LoadingText = true;
        e.edit.setLines(lines);
        e.edit.LoadingText = false;
        QCoreApplication::processEvents();
        QCOMPARE(seen, (QStringList { "selection", "change" }));
        QCOMPARE(e.edit.selStart(), 0);
        QCOMPARE(e.edit.selLength(), 0);
        QCOMPARE(e.edit.lastLineCount(), 300);
        for (int l : { 0, 150, 299 }) {
            QVERIFY(e.edit.attributesAt(e.edit.lineIndex(l)) == kKeyword);
            QVERIFY(e.edit.attributesAt(e.edit.lineIndex(l) + e.edit.line(l).size() - 1) == kBracket);
        }
        QVERIFY(e.edit.AllowInvalidate);
    }

    void undoTakesBackACharacterWithItsColouring()
    {
        Editor e({ "cal x", "set y" });
        e.caretAt(0, 3);
        e.press("l");
        QCOMPARE(e.edit.line(0), QStringLiteral("call x"));
        QVERIFY(e.edit.attributesAt(0) == kKeyword);
        QVERIFY(e.edit.isUndoAvailable());
        e.edit.undo();
        QCOMPARE(e.edit.line(0), QStringLiteral("cal x"));
        QCOMPARE(e.edit.attributesAt(0).color, 0u);
        QCOMPARE(e.edit.attributesAt(0).style, uint8_t(0));
        QVERIFY(!e.edit.isUndoAvailable());
        e.edit.redo();
        QCOMPARE(e.edit.line(0), QStringLiteral("call x"));
        QVERIFY(e.edit.attributesAt(0) == kKeyword);
        QVERIFY(e.edit.attributesAt(3) == kKeyword);
    }

    // What the main window does on Return: indent the new line from its
    // change step. The nested change restyles too, and the caret ends after
    // the indent.
    void editInTheOwnersChangeStep()
    {
        Editor e({ "  call f", "x" });
        bool pending = true;
        connect(&e.edit, &TRichEdit::OnChange, &e.edit, [&] {
            if (!std::exchange(pending, false))
                return;
            e.edit.setSelStart(e.edit.lineIndex(1));
            e.edit.replaceSelection("  ");
        });
        e.caretAt(0, 8);
        e.paintSentinel();
        e.press("\rset");
        QCOMPARE(e.edit.lines(), (QStringList { "  call f", "  set", "x" }));
        QCOMPARE(e.edit.selStart(), e.edit.lineIndex(1) + 5);
        QVERIFY(e.edit.attributesAt(e.edit.lineIndex(1) + 2) == kKeyword);
        QCOMPARE(e.restyledLines(), (QList<int> { 0, 1 }));
        QCOMPARE(e.edit.lastLineCount(), 3);
    }

    // The whole text replaced without LoadingText leaves a stale line count:
    // the next edits restyle what exists, never beyond it.
    void staleLineCount()
    {
        Editor e(Lines(50, "call x"));
        e.edit.AutoHighlight = false;
        e.edit.setLines({ "call a" });
        e.edit.AutoHighlight = true;
        e.paintSentinel();
        e.edit.select(0, 6);
        e.edit.setSelStart(6);
        e.press("b");
        QCOMPARE(e.restyledLines(), QList<int> { 0 });
        QCOMPARE(e.edit.lastLineCount(), 1);
        e.edit.AutoHighlight = false;
        e.edit.setLines(Lines(40, "set x"));
        e.edit.AutoHighlight = true;
        e.paintSentinel();
        e.edit.setSelStart(e.edit.lineIndex(39) + 5);
        e.press("y");
        QCOMPARE(e.edit.lastLineCount(), 40);
        QVERIFY(e.restyledLines().contains(39));
    }

    void allowInvalidateGatesOnlyTheProgramsRepaints()
    {
        Editor e({ "call x" }, false);
        QVERIFY(QTest::qWaitForWindowExposed(&e.edit));
        int paints = 0;
        struct Counter : QObject {
            int &count;
            explicit Counter(int &c)
                : count(c)
            {
            }
            bool eventFilter(QObject *, QEvent *event) override
            {
                if (event->type() == QEvent::Paint)
                    ++count;
                return false;
            }
        } counter(paints);
        e.edit.clearFocus(); // no blinking caret
        e.edit.viewport()->installEventFilter(&counter);
        QCoreApplication::processEvents();

        e.edit.AllowInvalidate = false;
        paints = 0;
        e.edit.Invalidate();
        QCoreApplication::processEvents();
        QCOMPARE(paints, 0);
        e.press("y"); // the toolkit's own painting goes on
        QTRY_VERIFY(paints > 0);

        e.edit.AllowInvalidate = true;
        QCoreApplication::processEvents();
        paints = 0;
        e.edit.Invalidate();
        QTRY_VERIFY(paints > 0);
    }
};

TOLVANE_TEST(LiveEditTest);
#include "LiveEditTest.moc"
