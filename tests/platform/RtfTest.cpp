#include "TestRegistry.h"

#include "platform/Rtf.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace {

// One line of characters per line of text, each with its attributes.
struct Flat {
    QString text;
    std::vector<TextAttributes> chars;
};

Flat Flatten(const RichText &doc, int defaultHalfPoints)
{
    Flat flat;
    const QStringList lines = doc.text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (i > 0)
            flat.text.append(QLatin1Char('\n'));
        flat.text.append(lines[i]);
        const LineRuns runs = size_t(i) < doc.lines.size() ? doc.lines[size_t(i)] : LineRuns();
        qsizetype n = 0;
        for (const StyleRun &run : runs) {
            for (int32_t k = 0; k < run.length && n < lines[i].size(); ++k, ++n) {
                TextAttributes a = run.attributes;
                if (a.halfPoints == 0)
                    a.halfPoints = uint16_t(defaultHalfPoints);
                flat.chars.push_back(a);
            }
        }
        for (; n < lines[i].size(); ++n)
            flat.chars.push_back({ 0, 0, uint16_t(defaultHalfPoints) });
    }
    return flat;
}

// The reader's own promises: one run list per line, runs covering each line.
bool WellFormed(const RichText &doc)
{
    const QStringList lines = doc.text.split(QLatin1Char('\n'));
    if (size_t(lines.size()) != doc.lines.size())
        return false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        int64_t sum = 0;
        for (const StyleRun &run : doc.lines[size_t(i)]) {
            if (run.length <= 0)
                return false;
            sum += run.length;
        }
        if (sum != lines[i].size())
            return false;
    }
    return true;
}

TextAttributes A(uint32_t color, uint8_t style = 0, uint16_t halfPoints = 18)
{
    return { color, style, halfPoints };
}

const QByteArray kWorkedExample
    = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1030{\\fonttbl{\\f0\\fnil Courier New;}}\r\n"
      "{\\colortbl ;\\red0\\green0\\blue255;\\red120\\green120\\blue120;\\red0\\green0\\blue255;"
      "\\red0\\green0\\blue128;\\red0\\green0\\blue0;\\red0\\green0\\blue0;}\r\n"
      "\\viewkind4\\uc1\\pard\\f0\\fs18 \\cf1\\b call\\b0  \\cf6 Foo\\cf5\\b (\\b0 \\cf4 1\\cf5\\b )\\b0 "
      "\\cf0\\par\r\n"
      "\\par }\r\n";

} // namespace

class RtfTest : public QObject {
    Q_OBJECT

private slots:
    void readsTheHighlighterDocument()
    {
        const RichText doc = Rtf::Read(kWorkedExample);
        QCOMPARE(doc.text, QStringLiteral("call Foo(1)"));
        const Flat flat = Flatten(doc, 18);
        const uint8_t bold = FontStyle::Bold;
        const std::vector<TextAttributes> expected { A(0xFF0000, bold), A(0xFF0000, bold), A(0xFF0000, bold),
            A(0xFF0000, bold),
            A(0xFF0000), // the blank after \b0
            A(0), A(0), A(0), A(0, bold), A(0x800000), A(0, bold) };
        QCOMPARE(flat.chars.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i)
            QVERIFY2(flat.chars[i] == expected[i], qPrintable(QString::number(i)));
    }

    void readsText_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::newRow("lines and closing line") << QByteArray("{\\rtf1 a\\par b\\par\r\n\\par }") << "a\nb";
        QTest::newRow("empty last line kept") << QByteArray("{\\rtf1 a\\par b\\par \\par }") << "a\nb\n";
        QTest::newRow("no final mark") << QByteArray("{\\rtf1 Hello\\par World}") << "Hello\nWorld";
        QTest::newRow("escapes") << QByteArray("{\\rtf1 \\\\ \\{x\\}}") << "\\ {x}";
        QTest::newRow("CR LF between codes ignored") << QByteArray("{\\rtf1 a\r\nb\rc\nd}") << "abcd";
        QTest::newRow("hex escape cp1252") << QByteArray("{\\rtf1 \\'e9\\'80}") << QString::fromUtf8("é€");
        QTest::newRow("raw cp1252 byte") << QByteArray("{\\rtf1 \x80}") << QString::fromUtf8("€");
        QTest::newRow("unicode with fallback")
            << QByteArray("{\\rtf1\\uc1 a\\u8364?b}") << QString::fromUtf8("a€b");
        QTest::newRow("negative unicode") << QByteArray("{\\rtf1\\uc1 \\u-4064?}") << QString(QChar(0xF020));
        QTest::newRow("uc2 skips two")
            << QByteArray("{\\rtf1\\uc2 \\u233\\'65\\'65x}") << QString::fromUtf8("éx");
        QTest::newRow("uc0 skips none") << QByteArray("{\\rtf1\\uc0 \\u233 x}") << QString::fromUtf8("éx");
        QTest::newRow("tab and line") << QByteArray("{\\rtf1 a\\tab b\\line c}") << "a\tb\nc";
        QTest::newRow("ignorable group skipped")
            << QByteArray("{\\rtf1 {\\*\\generator Riched20;}a{\\*\\x{y}z}b}") << "ab";
        QTest::newRow("font table skipped")
            << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fswiss Arial;}{\\f1 Times;}}x}") << "x";
        QTest::newRow("info skipped") << QByteArray("{\\rtf1{\\info{\\title T}{\\author A}}x}") << "x";
        QTest::newRow("unknown words skipped")
            << QByteArray("{\\rtf1\\sa200\\sl276\\slmult1\\lang9 x\\zzz y}") << "xy";
        QTest::newRow("text after the document ignored") << QByteArray("{\\rtf1 a}b") << "a";
        QTest::newRow("control symbols")
            << QByteArray("{\\rtf1 a\\~b\\-c\\_d}") << QString::fromUtf8("a\u00A0bc-d");
        QTest::newRow("backslash newline is a paragraph") << QByteArray("{\\rtf1 a\\\nb}") << "a\nb";
        QTest::newRow("control characters kept") << QByteArray("{\\rtf1 a\x01\tb}") << "a\x01\tb";
    }
    void readsText()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        const RichText doc = Rtf::Read(rtf);
        QCOMPARE(doc.text, text);
        QVERIFY(WellFormed(doc));
    }

    void readsAttributes_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("at");
        QTest::addColumn<uint>("color");
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("halfPoints");
        const QByteArray table("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}");
        QTest::newRow("colour index") << table + "\\cf2 x}"
                                      << "x" << 0 << 0x008000u << 0 << 24;
        QTest::newRow("colour past table") << table + "\\cf9 x}"
                                           << "x" << 0 << 0u << 0 << 24;
        QTest::newRow("cf0 is auto") << table + "\\cf1\\cf0 x}"
                                     << "x" << 0 << 0u << 0 << 24;
        QTest::newRow("group restores") << table + "{\\cf1\\b\\i a}b}"
                                        << "ab" << 1 << 0u << 0 << 24;
        QTest::newRow("inside group") << table + "{\\cf1\\b\\i a}b}"
                                      << "ab" << 0 << 0x0000FFu << 3 << 24;
        QTest::newRow("ul and ulnone") << table + "\\ul a\\ulnone b}"
                                       << "ab" << 0 << 0u << 4 << 24;
        QTest::newRow("ulnone") << table + "\\ul a\\ulnone b}"
                                << "ab" << 1 << 0u << 0 << 24;
        QTest::newRow("b0") << table + "\\b a\\b0 b}"
                            << "ab" << 1 << 0u << 0 << 24;
        QTest::newRow("plain resets") << table + "\\cf1\\b\\fs30 a\\plain b}"
                                      << "ab" << 1 << 0u << 0 << 24;
        QTest::newRow("fs half points") << table + "\\fs18 a}"
                                        << "a" << 0 << 0u << 0 << 18;
        QTest::newRow("huge fs clamped") << table + "\\fs18\\fs99999999999999999 a}"
                                         << "a" << 0 << 0u << 0 << 0xFFFF;
        QTest::newRow("high byte of ours")
            << QByteArray("{\\rtf1{\\colortbl;\\red15\\green0\\blue0\\tolvanehigh255;}\\cf1 x}") << "x" << 0
            << 0xFF00000Fu << 0 << 24;
    }
    void readsAttributes()
    {
        QFETCH(QByteArray, rtf);
        QFETCH(QString, text);
        QFETCH(int, at);
        QFETCH(uint, color);
        QFETCH(int, style);
        QFETCH(int, halfPoints);
        const RichText doc = Rtf::Read(rtf);
        QCOMPARE(doc.text, text);
        const Flat flat = Flatten(doc, 24);
        QCOMPARE(flat.chars.at(size_t(at)).color, color);
        QCOMPARE(int(flat.chars.at(size_t(at)).style), style);
        QCOMPARE(int(flat.chars.at(size_t(at)).halfPoints), halfPoints);
    }

    void roundTripKeepsTextAndAttributes_data()
    {
        QTest::addColumn<int>("seed");
        for (int seed = 1; seed <= 40; ++seed)
            QTest::addRow("seed %d", seed) << seed;
    }
    void roundTripKeepsTextAndAttributes()
    {
        QFETCH(int, seed);
        QRandomGenerator random { quint32(seed) };
        const uint32_t palette[] = { 0, 0xFF0000, 0x787878, 0xFF00000F, 0x1FFFFFFF, 0x20000000, 0x00FF00 };
        const QString alphabet = QString::fromUtf8("ab {}\\\t;é€\u4e2d\u00A0\"'/");
        RichText doc;
        const int lineCount = random.bounded(1, 8);
        for (int l = 0; l < lineCount; ++l) {
            if (l > 0)
                doc.text.append(QLatin1Char('\n'));
            LineRuns runs;
            const int runCount = random.bounded(0, 6);
            for (int r = 0; r < runCount; ++r) {
                const int length = random.bounded(1, 6);
                for (int k = 0; k < length; ++k)
                    doc.text.append(alphabet.at(random.bounded(int(alphabet.size()))));
                TextAttributes a;
                a.color = palette[random.bounded(7)];
                a.style = uint8_t(random.bounded(8));
                a.halfPoints = uint16_t(random.bounded(3) == 0 ? 0 : random.bounded(8, 40));
                runs.push_back({ length, a });
            }
            doc.lines.push_back(runs);
        }
        const QByteArray rtf = Rtf::Write(doc, 18);
        const RichText back = Rtf::Read(rtf);
        QVERIFY(WellFormed(back));
        const Flat a = Flatten(doc, 18);
        const Flat b = Flatten(back, 18);
        QCOMPARE(b.text, a.text);
        QVERIFY(a.chars == b.chars);
    }

    void malformedInputNeverFails_data()
    {
        QTest::addColumn<QByteArray>("rtf");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("lone backslash") << QByteArray("{\\rtf1 a\\");
        QTest::newRow("truncated hex") << QByteArray("{\\rtf1 a\\'4");
        QTest::newRow("bad hex") << QByteArray("{\\rtf1 a\\'zzb}");
        QTest::newRow("unclosed groups") << QByteArray("{\\rtf1 {{{{a");
        QTest::newRow("stray closing") << QByteArray("}}}a{\\rtf1 b}");
        QTest::newRow("long word") << QByteArray("{\\rtf1 \\") + QByteArray(5000, 'a') + " x}";
        QTest::newRow("huge number") << QByteArray("{\\rtf1 \\cf") + QByteArray(500, '9') + " x}";
        QTest::newRow("negative index") << QByteArray("{\\rtf1{\\colortbl;\\red1;}\\cf-5 x}");
        QTest::newRow("unterminated colour table") << QByteArray("{\\rtf1{\\colortbl;\\red300\\green-4");
        QTest::newRow("deep nesting") << QByteArray(100000, '{') + "x";
        QTest::newRow("unicode at end") << QByteArray("{\\rtf1\\uc5 \\u65");
    }
    void malformedInputNeverFails()
    {
        QFETCH(QByteArray, rtf);
        QVERIFY(WellFormed(Rtf::Read(rtf)));
    }

    // Inputs the fuzzer found: what was read writes and reads back the same.
    void readWriteReadKeepsDocument_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("\\u13 carriage return") << "rtf-carriage-return.rtf";
    }
    void readWriteReadKeepsDocument()
    {
        QFETCH(QString, file);
        QFile input(QStringLiteral(TOLVANE_TEST_DATA_DIR "/") + file);
        QVERIFY(input.open(QIODevice::ReadOnly));
        const RichText read = Rtf::Read(input.readAll());
        QVERIFY(WellFormed(read));
        const RichText again = Rtf::Read(Rtf::Write(read, 24));
        QCOMPARE(again.text, read.text);
        QVERIFY(again.lines == read.lines);
    }

    // Random bytes and mutations of a real document, a bounded number of times.
    void fuzzedInputNeverFails()
    {
        QRandomGenerator random(1234);
        const QByteArray pieces[] = { "{", "}", "\\", "\\par ", "\\cf", "\\u", "\\'", "\\*", "\\uc3",
            "\\colortbl", ";", "\\red", "9999999999", "-", " ", "x", "\r\n", "\\b0" };
        for (int round = 0; round < 3000; ++round) {
            QByteArray input = kWorkedExample;
            const int edits = random.bounded(1, 12);
            for (int e = 0; e < edits; ++e) {
                const int at = random.bounded(int(input.size()) + 1);
                switch (random.bounded(3)) {
                case 0:
                    input.insert(at, pieces[random.bounded(int(std::size(pieces)))]);
                    break;
                case 1:
                    input.remove(at, random.bounded(1, 8));
                    break;
                default:
                    if (at < input.size())
                        input[at] = char(random.bounded(256));
                    break;
                }
            }
            if (round % 3 == 0) {
                input.resize(random.bounded(64));
                for (char &c : input)
                    c = char(random.bounded(256));
            }
            QVERIFY2(WellFormed(Rtf::Read(input)), input.toHex().constData());
        }
    }
};

TOLVANE_TEST(RtfTest);
#include "RtfTest.moc"
