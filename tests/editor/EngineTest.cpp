#include "TestRegistry.h"

#include "editor/SyntaxDocument.h"
#include "editor/WordClasses.h"
#include "platform/Rtf.h"
#include "platform/StringLists.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

const QByteArray kWorkedExample
    = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1030{\\fonttbl{\\f0\\fnil Courier New;}}\r\n"
      "{\\colortbl ;\\red0\\green0\\blue255;\\red120\\green120\\blue120;\\red0\\green0\\blue255;"
      "\\red0\\green0\\blue128;\\red0\\green0\\blue0;\\red0\\green0\\blue0;}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs18 \\cf1\\b call\\b0  \\cf6 Foo\\cf5\\b (\\b0 \\cf4 1\\cf5\\b )\\b0 "
      "\\cf0\\par\r\n"
      "\\par }\r\n";

QString DataPath(const QString &name)
{
    return QStringLiteral(TOLVANE_TEST_DATA_DIR "/") + name;
}

// The worked example's setup: one bold clBlue class holding "call".
void LoadWorkedClasses(WordClassTarget &target)
{
    LoadWordClasses({ "@clBlue", "!bold", "call" }, nullptr, { &target });
    target.RebuildHighlighting();
}

// The classes of the golden files, registered in the start-up order.
void LoadGoldenClasses(WordClassTarget &target)
{
    const TSyntaxType functions(0x800000, 0);
    const TSyntaxType constants(0x000080, 0);
    LoadWordClasses(TextFile::LoadLines(DataPath("Func.txt")), &functions, { &target });
    LoadWordClasses(TextFile::LoadLines(DataPath("Const.txt")), &constants, { &target });
    LoadWordClasses(TextFile::LoadLines(DataPath("Syn.txt")), nullptr, { &target });
    target.RebuildHighlighting();
}

// Records what the classifier says, as "token:class" with the class's index.
class TraceSink : public HighlightSink {
public:
    void Space(QStringView, qsizetype, qsizetype) override { }
    void Token(QStringView line, qsizetype start, qsizetype length, TSyntaxType *type) override
    {
        tokens << line.mid(start, length).toString();
        types.push_back(type);
    }
    QStringList tokens;
    std::vector<TSyntaxType *> types;
};

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

private slots:
    void workedExampleByteForByte()
    {
        SyntaxDocument doc;
        LoadWorkedClasses(doc);
        doc.SetLines({ "call Foo(1)" });
        QCOMPARE(doc.HighlightAll(), kWorkedExample);
    }

    void lineRichText_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("rtf");
        // Indexes with the worked example's classes: 1 call, 2 comment,
        // 3 string, 4 operator, 5 bracket, 6 plain.
        QTest::newRow("empty line") << "" << QByteArray("\\par");
        QTest::newRow("blank line") << "   " << QByteArray("   \\par");
        QTest::newRow("tab kept") << "\tcall" << QByteArray("\t\\cf1\\b call\\b0 \\cf0\\par");
        QTest::newRow("comment inside string") << "\"a//b\""
                                               << QByteArray("\\cf3\\i \"\\i0 \\cf3\\i a\\i0 \\cf3\\i //\\i0 "
                                                             "\\cf3\\i b\\i0 \\cf3\\i \"\\i0 \\cf0\\par");
        QTest::newRow("x=1//c") << "x=1//c" << QByteArray("x\\cf2\\i =1//\\i0 \\cf2\\i c\\i0 \\cf0\\par");
        QTest::newRow("'a'+'b'") << "'a'+'b'"
                                 << QByteArray("\\cf3\\i '\\i0 \\cf3\\i a\\i0 \\cf3\\i '+'\\i0 \\cf6 b"
                                               "\\cf3\\i '\\i0 \\cf0\\par");
        QTest::newRow("escaped quote") << "\"a\\\"b\" x"
                                       << QByteArray("\\cf3\\i \"\\i0 \\cf3\\i a\\i0 \\cf3\\i \\\\\"\\i0 "
                                                     "\\cf3\\i b\\i0 \\cf3\\i \"\\i0  \\cf6 x\\par");
        QTest::newRow("escaped backslash")
            << "\"a\\\\\" x"
            << QByteArray("\\cf3\\i \"\\i0 \\cf3\\i a\\i0 \\cf3\\i \\\\\\\\\"\\i0  "
                          "\\cf6 x\\par");
        QTest::newRow(".5") << ".5" << QByteArray(".5\\par");
        QTest::newRow(".5 after a word") << "call .5" << QByteArray("\\cf1\\b call\\b0  \\cf6 .5\\par");
        QTest::newRow("quote in .token") << ".\"//" << QByteArray(".\"//\\par");
        QTest::newRow("lone !") << "!" << QByteArray("\\cf4 !\\cf0\\par");
        QTest::newRow("))") << "))" << QByteArray("\\cf5\\b ))\\b0 \\cf0\\par");
        QTest::newRow("bracket in string")
            << "\"(\"" << QByteArray("\\cf3\\i \"\\i0 \\cf3\\i (\\i0 \\cf3\\i \"\\i0 \\cf0\\par");
        QTest::newRow("bracket in comment")
            << "//(" << QByteArray("\\cf2\\i //\\i0 \\cf2\\i (\\i0 \\cf0\\par");
        QTest::newRow("braces escaped") << "{x}" << QByteArray("\\{x\\}\\par");
        QTest::newRow("backslash escaped") << "a\\b" << QByteArray("a\\cf4 \\\\\\cf6 b\\par");
        QTest::newRow("two adjacent bold words")
            << "call call" << QByteArray("\\cf1\\b call\\b0  \\cf1\\b call\\b0 \\cf0\\par");
        QTest::newRow("operators share one code") << "1 2" << QByteArray("\\cf4 1 2\\cf0\\par");
        QTest::newRow("case counts") << "Call" << QByteArray("Call\\par");
        QTest::newRow("word with digits") << "a1_b c" << QByteArray("a1_b c\\par");
        QTest::newRow("code page 1252") << QString::fromUtf8("é€") << QByteArray("\xe9\x80\\par");
        QTest::newRow("outside code page") << QString::fromUtf8("\u4e2d") << QByteArray("\\u20013?\\par");
    }
    void lineRichText()
    {
        QFETCH(QString, line);
        QFETCH(QByteArray, rtf);
        SyntaxDocument doc;
        LoadWorkedClasses(doc);
        doc.SetLines({ line });
        QCOMPARE(doc.HighlightLine(0), rtf);
    }

    void goldenDocuments_data()
    {
        QTest::addColumn<QString>("name");
        const QStringList inputs = QDir(DataPath("highlight")).entryList({ "*.j" }, QDir::Files, QDir::Name);
        QVERIFY(!inputs.isEmpty());
        for (const QString &input : inputs)
            QTest::newRow(qPrintable(input)) << input.chopped(2);
    }
    void goldenDocuments()
    {
        QFETCH(QString, name);
        SyntaxDocument doc;
        if (name == QLatin1String("worked-example"))
            LoadWorkedClasses(doc);
        else
            LoadGoldenClasses(doc);
        doc.SetLines(TextFile::LoadLines(DataPath("highlight/" + name + ".j")));
        const QByteArray actual = doc.HighlightAll();
        const QString expectedPath = DataPath("highlight/" + name + ".rtf");
        QFile expected(expectedPath);
        const QByteArray wanted = expected.open(QIODevice::ReadOnly) ? expected.readAll() : QByteArray();
        if (actual != wanted) {
            QFile out(expectedPath + ".new");
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(actual);
            QFAIL(qPrintable("differs from " + expectedPath + "; new output in .new"));
        }
        if (name == QLatin1String("worked-example"))
            QCOMPARE(actual, kWorkedExample);
    }

    // The whole document is its lines written one by one; a comment never
    // runs on into the next line; the line break style changes nothing.
    void wholeDocumentEqualsLineByLine()
    {
        SyntaxDocument doc;
        LoadGoldenClasses(doc);
        const QByteArray bytes = TextFile::ReadBytes(DataPath("highlight/edge-cases.j"));
        const QStringList lf = TextFile::SplitLines(QString::fromLatin1(bytes));
        doc.SetLines(lf);
        const QByteArray whole = doc.HighlightAll();
        QByteArray joined;
        for (qsizetype i = 0; i < lf.size(); ++i) {
            SyntaxDocument single;
            LoadGoldenClasses(single);
            single.SetLines({ lf.at(i) });
            joined.append(single.HighlightLine(0)).append("\r\n");
        }
        QVERIFY(whole.contains(joined.mid(0, joined.indexOf("\r\n"))));
        QVERIFY(whole.endsWith(joined.mid(joined.indexOf("\r\n") + 2) + "\\par }\r\n"));

        for (const char *breakText : { "\r\n", "\r" }) {
            QByteArray other = bytes;
            other.replace("\n", breakText);
            doc.SetLines(TextFile::SplitLines(QString::fromLatin1(other)));
            QCOMPARE(doc.HighlightAll(), whole);
        }
    }

    // The generated document read back gives the lines and, per token, the
    // class's colour and style.
    void documentReadsBackAsClassified()
    {
        SyntaxDocument doc;
        LoadGoldenClasses(doc);
        QStringList lines = TextFile::LoadLines(DataPath("highlight/blizzard-excerpt.j"));
        lines += TextFile::LoadLines(DataPath("highlight/edge-cases.j"));
        lines << QString(5000, QLatin1Char('x')) + " call (" + QString(3000, QLatin1Char('{'));
        lines << ""
              << "  ";
        doc.SetLines(lines);
        const RichText back = Rtf::Read(doc.HighlightAll());
        QCOMPARE(back.text, lines.join(QLatin1Char('\n')));
        for (qsizetype l = 0; l < lines.size(); ++l) {
            std::vector<TextAttributes> chars;
            for (const StyleRun &run : back.lines[size_t(l)])
                chars.insert(chars.end(), size_t(run.length), run.attributes);
            TraceSink trace;
            doc.Engine().ClassifyLine(lines.at(l), trace);
            qsizetype at = 0;
            for (qsizetype t = 0; t < trace.tokens.size(); ++t) {
                at = lines.at(l).indexOf(trace.tokens.at(t), at);
                const TSyntaxType *type = trace.types[size_t(t)];
                for (qsizetype k = 0; k < trace.tokens.at(t).size(); ++k) {
                    const TextAttributes &a = chars[size_t(at + k)];
                    QVERIFY2(a.color == type->Color && a.style == type->Style && a.halfPoints == 18,
                        qPrintable(QStringLiteral("line %1 token %2").arg(l).arg(trace.tokens.at(t))));
                }
                at += trace.tokens.at(t).size();
            }
        }
    }

    void colourTableAndCodes()
    {
        SyntaxDocument doc;
        const TSyntaxType system(0xFF00000F, 0); // clBtnFace
        LoadWordClasses({ "zeta" }, &system, { &doc });
        LoadWordClasses({ "@clRed", "!underline", "!bold", "under", "@255", "!bold", "!underline", "same",
                            "@clRed", "plainred" },
            nullptr, { &doc });
        doc.RebuildHighlighting();
        // Sorted order: plainred, same, under, zeta. "same" shares the entry
        // of "under" (same colour and style); zeta's system colour keeps its
        // stored low bytes.
        QCOMPARE(doc.Engine().ColorTable(),
            QByteArray("{\\colortbl ;\\red255\\green0\\blue0;\\red255\\green0\\blue0;\\red15\\green0\\blue0;"
                       "\\red120\\green120\\blue120;\\red0\\green0\\blue255;\\red0\\green0\\blue128;"
                       "\\red0\\green0\\blue0;\\red0\\green0\\blue0;}"));
        QCOMPARE(doc.FindWordClass(u"plainred")->RtfOpen, QByteArray("\\cf1 "));
        QCOMPARE(doc.FindWordClass(u"plainred")->RtfClose, QByteArray());
        QCOMPARE(doc.FindWordClass(u"same")->RtfOpen, QByteArray("\\cf2\\b\\ul "));
        QCOMPARE(doc.FindWordClass(u"under")->RtfClose, QByteArray("\\b0\\ulnone "));
        QCOMPARE(doc.FindWordClass(u"zeta")->ColorIndex, 3);
        QCOMPARE(doc.Engine().Builtins().Plain->RtfOpen, QByteArray("\\cf8 "));
        QCOMPARE(doc.Engine().Builtins().Comment->RtfOpen, QByteArray("\\cf4\\i "));
        QCOMPARE(doc.Engine().Builtins().Bracket->RtfClose, QByteArray("\\b0 "));
        QCOMPARE(doc.Engine().Builtins().Match->ColorIndex, 0);
    }

    void beforeRebuildTheDocumentLoadsUncoloured()
    {
        SyntaxDocument doc;
        doc.SetLines({ "call x" });
        QCOMPARE(doc.HighlightAll(),
            QByteArray(
                "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1030{\\fonttbl{\\f0\\fnil Courier New;}}\r\n"
                "\r\n\\viewkind4\\uc1\\pard\\f0\\fs18 call x\\par\r\n\\par }\r\n"));
        doc.SetLines({});
        QCOMPARE(doc.HighlightAll(), QByteArray());
    }

    void wordLookupFollowsTheComparisonMode()
    {
        SyntaxDocument doc;
        const TSyntaxType a(1, 0);
        const TSyntaxType b(2, 0);
        LoadWordClasses({ "Call", "x" }, &a, { &doc });
        LoadWordClasses({ "call" }, &b, { &doc });
        QCOMPARE(doc.FindWordClass(u"CALL")->Color, 1u); // case ignored, first added wins
        QCOMPARE(doc.FindWordClass(u"nothing"), doc.Engine().Builtins().Plain.get());
        doc.RebuildHighlighting();
        QCOMPARE(doc.FindWordClass(u"Call")->Color, 1u);
        QCOMPARE(doc.FindWordClass(u"call")->Color, 2u);
        QCOMPARE(doc.FindWordClass(u"CALL"), doc.Engine().Builtins().Plain.get());
        LoadWordClasses({ "Late" }, &a, { &doc });
        QCOMPARE(doc.FindWordClass(u"late"), doc.Engine().Builtins().Plain.get());
        QCOMPARE(doc.FindWordClass(u"Late")->Color, 1u);
        const auto &entries = doc.Engine().Words().Entries();
        QStringList words;
        for (const auto &e : entries)
            words << e.word;
        QStringList sorted = words;
        StringLists::Sort(sorted, StringComparer::CaseSensitive());
        QCOMPARE(words, sorted);
    }

    // The exact-match index answers as a binary search with the comparer would.
    void indexAgreesWithBinarySearch()
    {
        QRandomGenerator random(77);
        QStringList words;
        const QString letters = "aAbB_1zZ";
        for (int i = 0; i < 400; ++i) {
            QString w;
            for (int k = random.bounded(0, 5); k >= 0; --k)
                w += letters.at(random.bounded(int(letters.size())));
            words << w;
        }
        SyntaxDocument doc;
        WordPairs pairs;
        for (const QString &w : words)
            pairs.push_back({ w, std::make_shared<TSyntaxType>(uint32_t(pairs.size()), 0) });
        doc.AddWords(pairs);
        doc.RebuildHighlighting();
        QStringList sorted;
        std::vector<uint32_t> colors;
        for (const auto &e : doc.Engine().Words().Entries()) {
            sorted << e.word;
            colors.push_back(e.wordClass->Color);
        }
        for (int i = 0; i < 600; ++i) {
            const QString probe = i < 400 ? words.at(i) : words.at(i - 400).toUpper();
            const auto hit = StringLists::FindSorted(sorted, probe, StringComparer::CaseSensitive());
            const TSyntaxType *found = doc.FindWordClass(probe);
            if (hit.found)
                QCOMPARE(found->Color, colors[size_t(hit.index)]);
            else
                QCOMPARE(found, doc.Engine().Builtins().Plain.get());
        }
    }
};

TOLVANE_TEST(EngineTest);
#include "EngineTest.moc"
