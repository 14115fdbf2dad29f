#include "TestRegistry.h"

#include "editor/SyntaxEdit.h"
#include "platform/Rtf.h"
#include "platform/TextFile.h"

#include <QSignalSpy>
#include <QTest>

namespace {

QString DataPath(const QString &name)
{
    return QStringLiteral(TOLVANE_TEST_DATA_DIR "/") + name;
}

std::vector<TextAttributes> LineChars(const TRichEdit &edit, int line)
{
    std::vector<TextAttributes> chars;
    for (const StyleRun &run : edit.lineRuns(line))
        chars.insert(chars.end(), size_t(run.length), run.attributes);
    chars.resize(size_t(edit.line(line).size()));
    return chars;
}

class TraceSink : public HighlightSink {
public:
    void Space(QStringView, qsizetype start, qsizetype length) override
    {
        for (qsizetype i = 0; i < length; ++i)
            types.push_back(nullptr);
        (void)start;
    }
    void Token(QStringView, qsizetype, qsizetype length, TSyntaxType *type) override
    {
        for (qsizetype i = 0; i < length; ++i)
            types.push_back(type);
    }
    std::vector<TSyntaxType *> types;
};

void LoadClasses(TSyntaxEdit &edit)
{
    const TSyntaxType functions(0x800000, 0);
    LoadWordClasses(TextFile::LoadLines(DataPath("Func.txt")), &functions, { &edit });
    LoadWordClasses(TextFile::LoadLines(DataPath("Syn.txt")), nullptr, { &edit });
    LoadWordClasses({ "@clBtnFace", "sys" }, nullptr, { &edit });
    edit.RebuildHighlighting();
}

} // namespace

class SyntaxEditTest : public QObject {
    Q_OBJECT

private slots:
    void highlightAllKeepsTextAndColoursIt()
    {
        TSyntaxEdit edit;
        edit.setLines({ "call Foo(1)", "", "  ", QString(6000, 'x') + " {y}" });
        LoadWordClasses({ "@clBlue", "!bold", "call" }, nullptr, { &edit });
        edit.select(5, 2);
        QSignalSpy changes(&edit, &TRichEdit::OnChange);
        QSignalSpy selections(&edit, &TRichEdit::OnSelectionChange);
        edit.RebuildHighlighting();
        QCOMPARE(changes.count(), 0);
        QCOMPARE(selections.count(), 0);
        QVERIFY(edit.AllowInvalidate);
        QCOMPARE(edit.lines(), (QStringList { "call Foo(1)", "", "  ", QString(6000, 'x') + " {y}" }));
        QCOMPARE(edit.selStart(), 0);
        QCOMPARE(edit.selLength(), 0);
        QVERIFY(!edit.isModified());
        const auto chars = LineChars(edit, 0);
        QCOMPARE(chars[0].color, 0xFF0000u);
        QCOMPARE(chars[0].style, FontStyle::Bold);
        QCOMPARE(chars[0].halfPoints, uint16_t(18));
        QCOMPARE(chars[5].color, 0u);
        QCOMPARE(chars[8].style, FontStyle::Bold); // (
        QCOMPARE(chars[9].color, 0x800000u); // 1
    }

    // In place and through rich text, every token looks the same.
    void inPlaceMatchesRichText()
    {
        TSyntaxEdit edit;
        QStringList lines = TextFile::LoadLines(DataPath("highlight/edge-cases.j"));
        lines += TextFile::LoadLines(DataPath("highlight/blizzard-excerpt.j"));
        lines << "sys call";
        edit.setLines(lines);
        LoadClasses(edit);
        std::vector<std::vector<TextAttributes>> loaded;
        for (int l = 0; l < edit.lineCount(); ++l)
            loaded.push_back(LineChars(edit, l));
        edit.setLines(lines); // plain again
        for (int l = 0; l < edit.lineCount(); ++l) {
            QByteArray rtf;
            edit.HighlightLine(l, HighlightMode::InPlace, rtf);
            TraceSink trace;
            edit.Engine().ClassifyLine(lines.at(l), trace);
            const auto chars = LineChars(edit, l);
            for (size_t i = 0; i < chars.size(); ++i) {
                if (!trace.types[i])
                    continue; // whitespace keeps its own style in place
                TextAttributes inPlace = chars[i];
                inPlace.color &= 0xFFFFFF; // system colours: the rich text holds the low bytes
                QVERIFY2(inPlace == loaded[size_t(l)][i],
                    qPrintable(QStringLiteral("line %1 col %2").arg(l).arg(i)));
            }
        }
    }

    // HighlightAll builds the runs without the rich text; they must be the
    // runs reading that rich text back gives, attributes carried over line
    // ends included.
    void runsEqualTheRichTextReadBack()
    {
        TSyntaxEdit edit;
        QStringList lines = TextFile::LoadLines(DataPath("highlight/edge-cases.j"));
        lines += TextFile::LoadLines(DataPath("highlight/blizzard-excerpt.j"));
        lines += { "sys call", "x", "call", "  plain after a coloured line end", "{\\}\t\u0001 \\\"esc\\\"",
            QStringLiteral("\u0105\u017c \u20ac call integer sys"), "\"open string", "still plain //c", "",
            "integer i // end", "i", "'a' 0x1F $FF 1.5e3 <= >= != ()[]" };
        edit.setLines(lines);
        LoadClasses(edit);
        auto compare = [&] {
            const RichText read = Rtf::Read(edit.HighlightDocument());
            QCOMPARE(read.text.split(u'\n'), edit.lines());
            const std::vector<LineRuns> runs = edit.HighlightRuns();
            QCOMPARE(runs.size(), read.lines.size());
            for (size_t l = 0; l < runs.size(); ++l)
                QVERIFY2(runs[l] == read.lines[l],
                    qPrintable(QStringLiteral("line %1: %2").arg(l).arg(lines.value(int(l)))));
        };
        compare();
        // A styled plain class leaves its style open after each plain word.
        edit.Builtins().Plain->Style = FontStyle::Italic;
        edit.RebuildHighlighting();
        compare();
        // Words added after the codes were assigned write no codes.
        LoadWordClasses({ "@clRed", "!bold", "late" }, nullptr, { &edit });
        edit.setLines({ "late call late", "late" });
        compare();
        edit.HighlightAll();
        const std::vector<LineRuns> runs = edit.HighlightRuns();
        for (int l = 0; l < edit.lineCount(); ++l)
            QVERIFY(edit.lineRuns(l) == runs[size_t(l)]);
    }

    void inPlaceLeavesTheSelectionOnTheLastToken()
    {
        TSyntaxEdit edit;
        edit.setLines({ "first", "  call Foo ( x )  " });
        LoadClasses(edit);
        QByteArray rtf;
        edit.HighlightLine(1, HighlightMode::InPlace, rtf);
        QCOMPARE(rtf, QByteArray("        \\par")); // only the whitespace, and \par
        QCOMPARE(edit.selStart(), 7 + 15);
        QCOMPARE(edit.selLength(), 1);
        edit.HighlightLine(1, HighlightMode::ToRtf, rtf);
        QCOMPARE(edit.selStart(), 7 + 15); // untouched
        QVERIFY(rtf.startsWith("  \\cf"));
    }

    void styleRangeKeepsTheColourValue()
    {
        TSyntaxEdit edit;
        edit.setLines({ "sys x" });
        LoadClasses(edit);
        // The colour table holds the low bytes; the control keeps the value.
        QVERIFY(edit.ColorTable().contains("\\red15\\green0\\blue0;"));
        QCOMPARE(LineChars(edit, 0)[0].color, 0x00000Fu);
        QByteArray rtf;
        edit.HighlightLine(0, HighlightMode::InPlace, rtf);
        QCOMPARE(LineChars(edit, 0)[0].color, 0xFF00000Fu);
        edit.StyleRange(4, 1, *edit.Builtins().Match);
        QCOMPARE(edit.selStart(), 4);
        QCOMPARE(edit.selLength(), 1);
        QCOMPARE(LineChars(edit, 0)[4].color, 0x0000FFu);
        QCOMPARE(LineChars(edit, 0)[4].style, FontStyle::Bold);
    }

    void underlineSurvivesARichTextLoad()
    {
        TSyntaxEdit edit;
        edit.setLines({ "integer i" });
        LoadClasses(edit);
        const auto loaded = LineChars(edit, 0);
        QCOMPARE(loaded[0].style, FontStyle::Underline);
        QByteArray rtf;
        edit.HighlightLine(0, HighlightMode::InPlace, rtf);
        QVERIFY(LineChars(edit, 0)[0] == loaded[0]);
        QCOMPARE(loaded[7].style, uint8_t(0)); // the blank after \ulnone
    }

    void noLinesNothingHappens()
    {
        TSyntaxEdit edit;
        edit.RebuildHighlighting();
        QCOMPARE(edit.text(), QString());
        QCOMPARE(edit.HighlightDocument().isEmpty(), false); // one empty line
    }
};

TOLVANE_TEST(SyntaxEditTest);
#include "SyntaxEditTest.moc"
