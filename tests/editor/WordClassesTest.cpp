#include "TestRegistry.h"

#include "editor/WordClasses.h"
#include "platform/Errors.h"
#include "platform/Rtf.h"

#include <QTest>

namespace {

class RecordingTarget : public WordClassTarget {
public:
    explicit RecordingTarget(QStringList &log, QString name)
        : m_log(log)
        , m_name(std::move(name))
    {
    }
    void AddWords(const WordPairs &words) override
    {
        m_log << m_name;
        received = words;
    }
    void RebuildHighlighting() override { }
    WordPairs received;

private:
    QStringList &m_log;
    QString m_name;
};

QString Describe(const WordPairs &pairs)
{
    QStringList out;
    for (const WordClassPair &p : pairs)
        out << QStringLiteral("%1:%2:%3").arg(p.Word).arg(p.WordClass->Color, 0, 16).arg(p.WordClass->Style);
    return out.join(QLatin1Char(' '));
}

} // namespace

class WordClassesTest : public QObject {
    Q_OBJECT

private slots:
    void syntaxDefinition_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("pairs");
        QTest::newRow("the small definition") << QStringList { ";keywords", "@clBlue", "!bold", "function",
            "endfunction", "", "@$008000", "!italic", "true", "Function" }
                                              << "endfunction:ff0000:1 function:ff0000:1 true:8000:2";
        QTest::newRow("style lines compared exactly") << QStringList { "@clRed", "!Bold", "! bold", "!bold ",
            "!underline", "!underline", "w" } << "w:ff:4";
        QTest::newRow("styles accumulate")
            << QStringList { "@0", "!bold", "!italic", "!underline", "w" } << "w:0:7";
        QTest::newRow("unknown style ignored") << QStringList { "@0", "!strike", "w" } << "w:0:0";
        QTest::newRow("words before a class ignored") << QStringList { "w", "!bold", "@1", "v" } << "v:1:0";
        QTest::newRow("first spelling wins") << QStringList { "@1", "Call", "@2", "call" } << "Call:1:0";
        QTest::newRow("words kept as they stand") << QStringList { "@1", " x ", "a b" } << " x :1:0 a b:1:0";
        QTest::newRow("@clred") << QStringList { "@clred", "w" } << "w:ff:0";
        QTest::newRow("@255") << QStringList { "@255", "w" } << "w:ff:0";
        QTest::newRow("@$FF0000") << QStringList { "@$FF0000", "w" } << "w:ff0000:0";
        QTest::newRow("comments only") << QStringList { ";x", ";y" } << "";
    }
    void syntaxDefinition()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, pairs);
        QCOMPARE(Describe(CollectWordClasses(lines, nullptr)), pairs);
    }

    void badColourRaisesAndRegistersNothing_data()
    {
        QTest::addColumn<QString>("colour");
        QTest::newRow("@ clRed") << " clRed";
        QTest::newRow("lone @") << "";
        QTest::newRow("@blue") << "blue";
    }
    void badColourRaisesAndRegistersNothing()
    {
        QFETCH(QString, colour);
        QStringList log;
        RecordingTarget editbox(log, "Editbox");
        try {
            LoadWordClasses({ "@clBlue", "good", "@" + colour, "bad" }, nullptr, { &editbox });
            QFAIL("no error raised");
        } catch (const TolvaneError &error) {
            QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(colour));
        }
        QVERIFY(log.isEmpty());
    }

    void plainWordListUsesOneCopyOfTheClass()
    {
        const TSyntaxType given(0x800000, FontStyle::Italic);
        const WordPairs pairs = CollectWordClasses({ "b", "", "a", "b" }, &given);
        QCOMPARE(Describe(pairs), QStringLiteral("b:800000:2 :800000:2 a:800000:2 b:800000:2"));
        QVERIFY(pairs[0].WordClass.get() != &given);
        QVERIFY(pairs[0].WordClass == pairs[3].WordClass);
    }

    void givesTheWordsToEachTargetInOrder()
    {
        QStringList log;
        RecordingTarget editbox(log, "Editbox");
        RecordingTarget helpEdit(log, "HelpEdit");
        LoadWordClasses({}, nullptr, { &editbox, &helpEdit });
        QVERIFY(log.isEmpty());
        LoadWordClasses({ "@1", "w" }, nullptr, { &editbox, &helpEdit });
        QCOMPARE(log, (QStringList { "Editbox", "HelpEdit" }));
        // Both controls share the class objects.
        QVERIFY(editbox.received[0].WordClass == helpEdit.received[0].WordClass);
    }
};

TOLVANE_TEST(WordClassesTest);
#include "WordClassesTest.moc"
