#include "TestRegistry.h"

#include "platform/RichEdit.h"

#include <QAccessible>
#include <QApplication>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What the control should hold, kept the simple way: one attribute per
// character, line breaks included (they carry nothing).
struct Reference {
    QString text; // '\n' between lines
    std::vector<TextAttributes> chars;
};

std::vector<TextAttributes> Flatten(const TRichEdit &edit)
{
    std::vector<TextAttributes> out;
    for (int l = 0; l < edit.lineCount(); ++l) {
        if (l > 0)
            out.push_back({});
        const int length = int(edit.line(l).size());
        int n = 0;
        for (const StyleRun &run : edit.lineRuns(l))
            for (int k = 0; k < run.length && n < length; ++k, ++n)
                out.push_back(run.attributes);
        for (; n < length; ++n)
            out.push_back({});
    }
    return out;
}

TextAttributes Color(uint32_t color, uint8_t style = 0)
{
    return { color, style, 0 };
}

// The character at `position` is painted in `color`: some pixel of its cell
// is, give or take the smoothing of the glyph's edges.
bool ShowsColor(TRichEdit &edit, int position, const QColor &color)
{
    const QImage image = edit.viewport()->grab().toImage();
    const QRect cell = edit.positionRect(position).united(edit.positionRect(position + 1));
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x < cell.right(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - color.red()) + std::abs(p.green() - color.green())
                    + std::abs(p.blue() - color.blue())
                < 60)
                return true;
        }
    }
    return false;
}

} // namespace

class RichEditTest : public QObject {
    Q_OBJECT

private slots:
    void positionsCountLineBreaksAsTwo_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("lineStart");
        QTest::newRow("start") << "ab\r\ncd\r\n\r\nx" << 0 << 0 << 0;
        QTest::newRow("at CR") << "ab\r\ncd\r\n\r\nx" << 2 << 0 << 0;
        QTest::newRow("between CR and LF") << "ab\r\ncd\r\n\r\nx" << 3 << 0 << 0;
        QTest::newRow("second line") << "ab\r\ncd\r\n\r\nx" << 4 << 1 << 4;
        QTest::newRow("empty line") << "ab\r\ncd\r\n\r\nx" << 8 << 2 << 8;
        QTest::newRow("last line") << "ab\r\ncd\r\n\r\nx" << 10 << 3 << 10;
        QTest::newRow("end of text") << "ab\r\ncd\r\n\r\nx" << 11 << 3 << 10;
        QTest::newRow("after final break") << "ab\r\n" << 4 << 1 << 4;
        QTest::newRow("empty control") << "" << 0 << 0 << 0;
        // Positions count UTF-16 units, whatever the characters' bytes.
        const QString wide = QString::fromUtf8("\xc3\xa9\xe2\x82\xac\r\n\xf0\x9f\x98\x80y\r\n\r\nx");
        QTest::newRow("after two non-ASCII") << wide << 2 << 0 << 0;
        QTest::newRow("after a surrogate pair") << wide << 6 << 1 << 4;
        QTest::newRow("non-ASCII last line") << wide << 11 << 3 << 11;
        QTest::newRow("byte order marks") << QStringLiteral("\uFEFFa\r\n\uFEFFb") << 4 << 1 << 4;
    }
    void positionsCountLineBreaksAsTwo()
    {
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(int, line);
        QFETCH(int, lineStart);
        TRichEdit edit;
        edit.setText(text);
        QCOMPARE(edit.text(), text);
        QCOMPARE(edit.textLength(), int(text.size()));
        QCOMPARE(edit.lineFromChar(position), line);
        QCOMPARE(edit.lineIndex(line), lineStart);
        QCOMPARE(edit.lineIndex(edit.lineCount()), -1);
        edit.select(position, 0);
        QCOMPARE(edit.selStart(), std::min(position, position == 3 ? 2 : position));
    }

    void selectionAcrossLines()
    {
        TRichEdit edit;
        edit.setText("ab\ncd\r\nef");
        QCOMPARE(edit.lineCount(), 3);
        edit.select(1, 5); // "b", CR LF, "cd"
        QCOMPARE(edit.selStart(), 1);
        QCOMPARE(edit.selLength(), 5);
        QCOMPARE(edit.selText(), QStringLiteral("b\r\ncd"));
        edit.replaceSelection("X\r\nY\rZ");
        QCOMPARE(edit.text(), QStringLiteral("aX\r\nY\r\nZ\r\nef"));
        QCOMPARE(edit.selStart(), 8);
        QCOMPARE(edit.selLength(), 0);
        edit.setSelStart(4);
        edit.setSelLength(3);
        QCOMPARE(edit.selText(), QStringLiteral("Y\r\n"));
    }

    // Styling is not an edit: no notification, no undo step, no modified flag.
    void stylingIsNoEdit()
    {
        TRichEdit edit;
        edit.setText("hello world\r\nsecond");
        QSignalSpy changes(&edit, &TRichEdit::OnChange);
        QSignalSpy edits(&edit, &TRichEdit::LinesEdited);
        edit.show();
        edit.setRangeAttributes(0, 5, Color(0xFF0000, FontStyle::Bold));
        edit.select(6, 9);
        edit.setSelAttributes(Color(0x0000FF, FontStyle::Italic));
        edit.setSelStart(0);
        edit.repaint();
        QCoreApplication::processEvents();
        QCOMPARE(changes.count(), 0);
        QCOMPARE(edits.count(), 0);
        QVERIFY(!edit.isModified());
        QVERIFY(!edit.isUndoAvailable());
        QCOMPARE(edit.attributesAt(0).color, 0xFF0000u);
        QCOMPARE(edit.attributesAt(4).style, FontStyle::Bold);
        QCOMPARE(edit.attributesAt(5).color, 0u);
        QCOMPARE(edit.attributesAt(13).color, 0x0000FFu); // "s" of the second line
        edit.select(6, 9);
        QCOMPARE(edit.selAttributes().color, 0x0000FFu);
        edit.setSelStart(0);
        QVERIFY(ShowsColor(edit, 1, QColor(0, 0, 255)));
        QVERIFY(ShowsColor(edit, 13, QColor(255, 0, 0)));
    }

    // Random edits against a per-character reference: inserted text takes the
    // style of the character before it, deleted text takes its style along.
    void runsFollowEdits_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 1; seed <= 12; ++seed)
            QTest::addRow("seed %d", seed) << seed;
    }
    void runsFollowEdits()
    {
        QFETCH(int, seed);
        QRandomGenerator random { quint32(seed) };
        TRichEdit edit;
        edit.setText("first line\nsecond\n\nfourth line here");
        Reference ref;
        ref.text = edit.lines().join('\n');
        ref.chars.assign(size_t(ref.text.size()), TextAttributes());
        const QString alphabet = "abc \n";
        for (int step = 0; step < 150; ++step) {
            const int length = int(ref.text.size());
            const int op = random.bounded(4);
            const int at = random.bounded(length + 1);
            const int count = random.bounded(0, std::min(6, length - at) + 1);
            if (op == 0) { // style a range
                const TextAttributes a = Color(random.bounded(1, 0xFFFFFF), uint8_t(random.bounded(8)));
                edit.setRangeAttributes(at + int(ref.text.left(at).count('\n')),
                    count + int(ref.text.mid(at, count).count('\n')), a);
                for (int i = at; i < at + count; ++i)
                    if (ref.text.at(i) != '\n')
                        ref.chars[size_t(i)] = a;
                continue;
            }
            QString inserted;
            if (op != 1)
                for (int k = random.bounded(0, 5); k > 0; --k)
                    inserted.append(alphabet.at(random.bounded(int(alphabet.size()))));
            const auto position = [&](int i) { return i + int(ref.text.left(i).count('\n')); };
            edit.select(position(at), position(at + count) - position(at));
            edit.replaceSelection(inserted);
            TextAttributes style;
            if (at > 0) {
                int before = at - 1;
                // A line break looks like the character before it; an empty
                // line's break has no style.
                if (ref.text.at(before) == '\n')
                    before = (before > 0 && ref.text.at(before - 1) != '\n') ? before - 1 : -1;
                if (before >= 0)
                    style = ref.chars[size_t(before)];
            }
            ref.text.replace(at, count, inserted);
            ref.chars.erase(ref.chars.begin() + at, ref.chars.begin() + at + count);
            std::vector<TextAttributes> added;
            for (QChar c : inserted)
                added.push_back(c == '\n' ? TextAttributes() : style);
            ref.chars.insert(ref.chars.begin() + at, added.begin(), added.end());
            for (size_t i = 0; i < ref.chars.size(); ++i)
                if (ref.text.at(qsizetype(i)) == '\n')
                    ref.chars[i] = TextAttributes();
            QCOMPARE(edit.lines().join('\n'), ref.text);
            const std::vector<TextAttributes> got = Flatten(edit);
            QCOMPARE(got.size(), ref.chars.size());
            for (size_t i = 0; i < got.size(); ++i)
                QVERIFY2(
                    got[i] == ref.chars[i], qPrintable(QStringLiteral("step %1 char %2").arg(step).arg(i)));
        }
    }

    // One undo takes back one edit; the styling never was a step of its own.
    void undoTakesBackOneEdit()
    {
        TRichEdit edit;
        edit.setText("abc");
        edit.setRangeAttributes(0, 3, Color(0xFF0000));
        edit.setSelStart(3);
        edit.replaceSelection("d");
        edit.setRangeAttributes(3, 1, Color(0x00FF00));
        QCOMPARE(edit.text(), QStringLiteral("abcd"));
        edit.undo();
        QCOMPARE(edit.text(), QStringLiteral("abc"));
        QCOMPARE(edit.attributesAt(2).color, 0xFF0000u);
        QVERIFY(!edit.isUndoAvailable());
        edit.redo();
        QCOMPARE(edit.text(), QStringLiteral("abcd"));
        QCOMPARE(edit.attributesAt(3).color, 0xFF0000u); // the style of the character before
    }

    // The selection change comes first, then the change, once per edit.
    void notificationsInTheControlsOrder()
    {
        TRichEdit edit;
        edit.setText("abc");
        QStringList events;
        connect(&edit, &TRichEdit::OnChange, &edit, [&] { events << "change"; });
        connect(&edit, &TRichEdit::OnSelectionChange, &edit,
            [&] { events << QStringLiteral("sel %1,%2").arg(edit.selStart()).arg(edit.selLength()); });
        edit.select(1, 1);
        QCOMPARE(events, QStringList { "sel 1,1" });
        events.clear();
        edit.replaceSelection("XY");
        QCOMPARE(events, (QStringList { "sel 3,0", "change" }));
        events.clear();
        edit.show();
        edit.setFocus();
        QTest::keyClick(&edit, Qt::Key_Z);
        QCOMPARE(events, (QStringList { "sel 4,0", "change" }));
        QCOMPARE(edit.text(), QStringLiteral("aXYzc"));
    }

    // With focus, the toolkit queries the control while the whole text is
    // replaced; the handlers hear of it once, when every line is there to
    // style.
    void replacingTheTextNotifiesOnceItIsComplete()
    {
        TRichEdit edit;
        edit.show();
        QApplication::setActiveWindow(&edit);
        edit.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&edit));
        edit.setText("a");
        int changes = 0;
        connect(&edit, &TRichEdit::OnChange, &edit, [&] {
            ++changes;
            edit.setRangeAttributes(edit.lineIndex(edit.lineCount() - 1), 1, Color(0xFF0000, 0));
        });
        edit.setLines({ "one", "two", "three" });
        QCOMPARE(changes, 1);
        QCOMPARE(edit.attributesAt(edit.lineIndex(2)).color, 0xFF0000u);
    }

    void keyNotificationsCanConsumeTheKey()
    {
        TRichEdit edit;
        edit.show();
        edit.setFocus();
        QStringList keys;
        connect(&edit, &TRichEdit::OnKeyDown, &edit,
            [&](QKeyEvent *e) { keys << "down " + QString::number(e->key()); });
        connect(&edit, &TRichEdit::OnKeyPress, &edit, [&](QKeyEvent *e) {
            keys << "press " + e->text();
            if (e->text() == "q")
                edit.consumeKey();
        });
        QTest::keyClick(&edit, Qt::Key_A);
        QTest::keyClick(&edit, Qt::Key_Q);
        QTest::keyClick(&edit, Qt::Key_Left);
        QCOMPARE(edit.text(), QStringLiteral("a"));
        QCOMPARE(keys, (QStringList { "down 65", "press a", "down 81", "press q", "down 16777234" }));
        // Shift+Enter breaks the line, not with U+2028; Ctrl+Enter ("\r" on X11) types nothing.
        QTest::sendKeyEvent(QTest::Press, &edit, Qt::Key_Return, "\r", Qt::ShiftModifier);
        QTest::sendKeyEvent(QTest::Press, &edit, Qt::Key_Return, "\r", Qt::ControlModifier);
        QCOMPARE(edit.text(), QStringLiteral("\r\na"));
        QCOMPARE(keys.count("press \r"), 1);
    }

    void typingAttributesApplyToTheNextText()
    {
        TRichEdit edit;
        edit.setText("ab");
        edit.setRangeAttributes(0, 2, Color(0xFF0000, FontStyle::Bold));
        edit.setSelStart(2);
        edit.setSelAttributes(Color(0));
        QCOMPARE(edit.selAttributes().color, 0u);
        edit.replaceSelection("c");
        QCOMPARE(edit.attributesAt(2).color, 0u);
        QCOMPARE(edit.attributesAt(2).style, uint8_t(0));
        QCOMPARE(edit.attributesAt(1).color, 0xFF0000u);
    }

    void richTextFilesRoundTrip()
    {
        QTemporaryDir dir;
        const QString rtfName = dir.filePath("a.rtf");
        TRichEdit edit;
        edit.setText(QString::fromUtf8("call {x}\r\n\r\n\"é\" \\ end"));
        edit.setRangeAttributes(0, 4, Color(0xFF0000, FontStyle::Bold | FontStyle::Underline));
        edit.setRangeAttributes(12, 3, Color(0xFF000008, FontStyle::Italic));
        edit.saveToFile(rtfName);
        TRichEdit back;
        back.loadFromFile(rtfName);
        QCOMPARE(back.text(), edit.text());
        const auto a = Flatten(edit);
        const auto b = Flatten(back);
        QCOMPARE(b.size(), a.size());
        for (size_t i = 0; i < a.size(); ++i) {
            QCOMPARE(b[i].color, a[i].color);
            QCOMPARE(b[i].style, a[i].style);
        }

        const QString plainName = dir.filePath("a.txt");
        edit.saveToFile(plainName, TRichEdit::FileFormat::PlainText);
        back.loadFromFile(plainName);
        QCOMPARE(back.text(), edit.text());
        QCOMPARE(back.lineRuns(0).size(), size_t(0));
    }

    // Loading the text the control already shows (whole-text colouring)
    // leaves it as loading another text would: caret and scroll at the start,
    // no undo history, not modified, one selection notification and one
    // change.
    void reloadActsAsLoading_data()
    {
        QTest::addColumn<bool>("sameText");
        QTest::newRow("the text it shows") << true;
        QTest::newRow("another text") << false;
    }

    void reloadActsAsLoading()
    {
        QFETCH(bool, sameText);
        QStringList lines;
        for (int i = 0; i < 80; ++i)
            lines << QStringLiteral("call Line%1(%2)").arg(i).arg(QString(i, u'x'));
        const QString initial = lines.join(u'\n');
        TRichEdit edit;
        edit.resize(200, 150);
        edit.show();
        edit.setText(initial);
        edit.setSelStart(edit.textLength());
        edit.replaceSelection(QStringLiteral("!"));
        edit.select(5, 4);
        edit.verticalScrollBar()->setValue(edit.verticalScrollBar()->maximum());
        edit.horizontalScrollBar()->setValue(edit.horizontalScrollBar()->maximum());
        QCoreApplication::processEvents();
        QVERIFY(edit.isUndoAvailable());
        QVERIFY(edit.isModified());

        RichText content;
        content.text = sameText ? initial + u'!' : initial + QStringLiteral("\nendfunction");
        const int count = int(content.text.count(u'\n')) + 1;
        content.lines.assign(size_t(count), LineRuns { { 4, Color(0xFF0000, FontStyle::Bold) } });
        QStringList events;
        connect(&edit, &TRichEdit::OnChange, &edit, [&] { events << "change"; });
        connect(&edit, &TRichEdit::OnSelectionChange, &edit,
            [&] { events << QStringLiteral("sel %1,%2").arg(edit.selStart()).arg(edit.selLength()); });
        edit.loadRtf(Rtf::Write(content, 18));
        QCoreApplication::processEvents();

        QCOMPARE(events, (QStringList { "sel 0,0", "change" }));
        QCOMPARE(edit.lines().join(u'\n'), content.text);
        QCOMPARE(edit.lineCount(), count);
        QVERIFY(!edit.isUndoAvailable());
        QVERIFY(!edit.isRedoAvailable());
        QVERIFY(!edit.isModified());
        QCOMPARE(edit.verticalScrollBar()->value(), 0);
        QCOMPARE(edit.horizontalScrollBar()->value(), 0);
        for (int l : { 0, count - 1 }) {
            const int at = edit.lineIndex(l);
            QCOMPARE(edit.attributesAt(at + 3).color, 0xFF0000u);
            QCOMPARE(edit.attributesAt(at + 4).color, 0u);
        }
        QVERIFY(ShowsColor(edit, 1, QColor(0, 0, 255)));
        edit.undo();
        QCOMPARE(edit.lines().join(u'\n'), content.text);
    }

    void loadFromMissingFileRaises()
    {
        TRichEdit edit;
        QVERIFY_THROWS_EXCEPTION(std::exception, edit.loadFromFile("/nonexistent/x.rtf"));
    }

    void findText_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("options");
        QTest::addColumn<int>("found");
        const int whole = TRichEdit::FindWholeWord;
        const int match = TRichEdit::FindMatchCase;
        QTest::newRow("plain") << "call" << 0 << -1 << 0 << 0;
        QTest::newRow("case ignored") << "CALL" << 0 << -1 << 0 << 0;
        QTest::newRow("match case") << "Call" << 0 << -1 << match << 17;
        QTest::newRow("from a start") << "call" << 1 << -1 << 0 << 5;
        QTest::newRow("whole word skips call_x") << "call" << 1 << -1 << whole << 17;
        QTest::newRow("whole word digits") << "x" << 0 << -1 << whole << -1;
        QTest::newRow("range too short") << "Call" << 0 << 19 << 0 << 0;
        QTest::newRow("range ends inside a match") << "Call" << 1 << 19 << match << -1;
        QTest::newRow("not found") << "nothing" << 0 << -1 << 0 << -1;
    }
    void findText()
    {
        QFETCH(QString, what);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(int, options);
        QFETCH(int, found);
        TRichEdit edit;
        edit.setText("call call_x1 x2\r\nCall");
        QCOMPARE(edit.findText(what, start, length, TRichEdit::FindOptions(options)), found);
    }

    // Without the focus it is not painted at all: every character keeps its colour.
    void hiddenSelectionIsNotPainted()
    {
        TRichEdit edit;
        edit.setFocusPolicy(Qt::NoFocus);
        edit.setHideSelection(true);
        edit.setText("returns real");
        edit.setRangeAttributes(8, 4, Color(0x808000));
        edit.show();
        const QImage unselected = edit.viewport()->grab().toImage();
        edit.select(8, 4);
        QCOMPARE(edit.viewport()->grab().toImage(), unselected);
    }

    // Assistive technology reads the control's own positions.
    void accessibleText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("ASCII lines") << "call f\r\nset x" << 8 << 3;
        QTest::newRow("non-ASCII") << QString::fromUtf8("\xc3\xa9t\xc3\xa9\r\n\xe2\x82\xac x") << 5 << 2;
    }
    void accessibleText()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        TRichEdit edit;
        edit.setText(text);
        edit.select(start, length);
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&edit);
        QVERIFY(accessible != nullptr);
        QAccessibleTextInterface *texts = accessible->textInterface();
        QVERIFY(texts != nullptr);
        QCOMPARE(texts->characterCount(), int(text.size()));
        QCOMPARE(texts->cursorPosition(), start + length);
        int from = -1;
        int to = -1;
        texts->selection(0, &from, &to);
        QCOMPARE(texts->text(from, to), text.mid(start, length));
    }

    void systemColoursShowAsPaletteColours()
    {
        QPalette p;
        p.setColor(QPalette::Active, QPalette::Text, QColor(1, 2, 3));
        p.setColor(QPalette::Active, QPalette::Button, QColor(4, 5, 6));
        QCOMPARE(ColorFromValue(0xFF000008, p), QColor(1, 2, 3)); // clWindowText
        QCOMPARE(ColorFromValue(0xFF00000F, p), QColor(4, 5, 6)); // clBtnFace
        QCOMPARE(ColorFromValue(0xFF000006, QPalette()), QColor(Qt::black)); // clWindowFrame
        QCOMPARE(ColorFromValue(0x0000FF, p), QColor(255, 0, 0));
        QCOMPARE(ColorFromValue(0x800000, p), QColor(0, 0, 128));
    }
};

TOLVANE_TEST(RichEditTest);
#include "RichEditTest.moc"
