#include "FaultInjection.h"
#include "TestFiles.h"
#include "TestRegistry.h"

#include "platform/Errors.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QStringDecoder>
#include <QTest>

namespace {

void WriteRaw(const QString &path, const QByteArray &bytes)
{
    QVERIFY(WriteAll(path, bytes));
}

} // namespace

class TextFileTest : public QObject
{
    Q_OBJECT

private slots:
    void splitLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << QString() << QStringList();
        QTest::newRow("one line no break") << "abc" << QStringList{"abc"};
        QTest::newRow("final CR LF adds no line") << "abc\r\n" << QStringList{"abc"};
        QTest::newRow("mixed ends") << "a\r\nb\nc\rd" << QStringList{"a", "b", "c", "d"};
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("blank lines kept") << "\r\n\r\nx\r\n" << QStringList{"", "", "x"};
        QTest::newRow("lone CR at end") << "a\r" << QStringList{"a"};
        QTest::newRow("break only") << "\n" << QStringList{""};
    }
    void splitLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(TextFile::SplitLines(text), lines);
        // The editor's whole-text readings break the same lines.
        QCOMPARE(TextFile::DecodeScriptText(text.toLatin1()).text, lines.join(u'\n'));
        QString utf8 = QString::fromUtf8(TextFile::DecodeScriptUtf8(text.toLatin1()).text);
        QCOMPARE(utf8.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n'),
            lines.join(u'\n'));
    }

    void joinLinesEndsEveryLineWithCrLf()
    {
        QCOMPARE(TextFile::JoinLines({"a", "", "b"}), QStringLiteral("a\r\n\r\nb\r\n"));
        QCOMPARE(TextFile::JoinLines({}), QString());
    }

    void cp1252RoundTripsAllByteValues()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        const QString text = TextCodec::DecodeCp1252(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text.at(0x80), QChar(0x20AC)); // euro sign
        QCOMPARE(text.at(0x81), QChar(0x81));   // undefined in the code page
        QCOMPARE(text.at(0xE9), QChar(0xE9));
        QCOMPARE(TextCodec::EncodeCp1252(text), all);
        QCOMPARE(TextCodec::EncodeCp1252(QString(QChar(0x4E2D))), QByteArray("?"));
    }

    void fileRoundTripIsByteExact()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // Every byte value except the line-break ones, in CR LF lines.
        QByteArray bytes;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                bytes.append(char(b));
            if (b % 32 == 31)
                bytes.append("\r\n");
        }
        const QString path = dir.filePath("all.txt");
        WriteRaw(path, bytes);
        const QStringList lines = TextFile::LoadLines(path);
        QCOMPARE(lines.size(), 8);
        TextFile::SaveLines(dir.filePath("out.txt"), lines);
        QCOMPARE(ReadAll(dir.filePath("out.txt")), bytes);
    }

    void lineEndStylesReadAlike()
    {
        QTemporaryDir dir;
        const QStringList expected{"one", "", "three"};
        for (const QByteArray &eol : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
            const QString path = dir.filePath("f.txt");
            WriteRaw(path, "one" + eol + eol + "three" + eol);
            QCOMPARE(TextFile::LoadLines(path), expected);
            TextFile::SaveLines(path, expected);
            QCOMPARE(ReadAll(path), QByteArray("one\r\n\r\nthree\r\n"));
        }
    }

    void scriptEncodingDetection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("utf8");
        QTest::newRow("ascii") << QByteArray("call X()\r\n") << false;
        QTest::newRow("utf8 text") << QByteArray("// caf\xC3\xA9\r\n") << true;
        QTest::newRow("1252 text") << QByteArray("// caf\xE9\r\n") << false;
        QTest::newRow("truncated sequence") << QByteArray("a\xE2\x82") << false;
        QTest::newRow("overlong") << QByteArray("\xC0\xAF") << false;
        QTest::newRow("surrogate") << QByteArray("\xED\xA0\x80") << false;
        QTest::newRow("byte order mark, ascii") << QByteArray("\xEF\xBB\xBF" "call X()\r\n") << true;
        QTest::newRow("byte order mark twice") << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBFx\r\n") << true;
    }
    void scriptEncodingDetection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, utf8);
        QCOMPARE(TextCodec::LooksLikeUtf8(bytes), utf8);
        const TextFile::Content content = TextFile::DecodeScript(bytes);
        QCOMPARE(content.encoding != TextFile::Encoding::Cp1252, utf8);
        const TextFile::ScriptText whole = TextFile::DecodeScriptText(bytes);
        QCOMPARE(whole.encoding, content.encoding);
        QCOMPARE(whole.text, content.lines.join(u'\n'));
        const TextFile::ScriptUtf8 utf8Text = TextFile::DecodeScriptUtf8(bytes);
        QCOMPARE(utf8Text.encoding, content.encoding);
        QStringDecoder keepingMarks(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        QCOMPARE(QString(keepingMarks(utf8Text.text)).replace(QLatin1String("\r\n"), QLatin1String("\n")),
            whole.text);
        // Same bytes back, apart from the line ends.
        QCOMPARE(TextFile::Encode(TextFile::JoinLines(content.lines), content.encoding),
            bytes.endsWith("\r\n") ? bytes : bytes + "\r\n");
    }

    // Inputs the fuzzer found: a script saved unchanged loads back the same.
    void savedScriptLoadsBackTheSame_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("two UTF-8 byte order marks") << "utf8-two-byte-order-marks.j";
    }
    void savedScriptLoadsBackTheSame()
    {
        QFETCH(QString, file);
        const TextFile::Content content
            = TextFile::LoadScript(QStringLiteral(TOLVANE_TEST_DATA_DIR "/") + file);
        const QByteArray saved = TextFile::Encode(TextFile::JoinLines(content.lines), content.encoding);
        const TextFile::Content again = TextFile::DecodeScript(saved);
        QCOMPARE(again.lines, content.lines);
        QCOMPARE(again.encoding, content.encoding);
    }

    void fileExistsOnlyForRegularFiles()
    {
        QTemporaryDir dir;
        WriteRaw(dir.filePath("a.txt"), "x");
        QDir(dir.path()).mkdir("folder");
        QVERIFY(TextFile::FileExists(dir.filePath("a.txt")));
        QVERIFY(!TextFile::FileExists(dir.filePath("folder")));
        QVERIFY(!TextFile::FileExists(dir.filePath("missing.txt")));
        QVERIFY(!TextFile::FileExists(QString()));
    }

    void errorsNameTheFileAndReason()
    {
        QTemporaryDir dir;
        const QString missing = dir.filePath("missing.txt");
        try {
            (void)TextFile::LoadLines(missing);
            QFAIL("no error for a missing file");
        } catch (const TolvaneError &e) {
            QVERIFY2(e.message().contains(missing), qPrintable(e.message()));
            QVERIFY2(e.message().startsWith("Cannot open file"), qPrintable(e.message()));
        }
        QDir(dir.path()).mkdir("folder");
        QVERIFY_THROWS_EXCEPTION(TolvaneError, TextFile::SaveLines(dir.filePath("folder"), {"x"}));
        QVERIFY_THROWS_EXCEPTION(TolvaneError, (void)TextFile::LoadLines(dir.filePath("folder")));
        QVERIFY_THROWS_EXCEPTION(TolvaneError,
                                 TextFile::SaveLines(dir.filePath("no/such/dir/x.txt"), {"x"}));
    }

    // A folder that takes no new file: a writable target is written over in
    // place, a read-only one stays whole.
    void readOnlyFolderWritesInPlaceOrLeavesTheFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("keep.txt");
        const QString locked = dir.filePath("locked.txt");
        WriteRaw(path, "old\r\n");
        WriteRaw(locked, "old\r\n");
        QFile::setPermissions(locked, QFile::ReadOwner);
        ShareWithUnprivilegedUser(dir.path());
        {
            ReadOnlyFolder readOnly(dir.path());
            if (!readOnly.Failure().isEmpty())
                QSKIP(qPrintable(readOnly.Failure()));
            TextFile::SaveLines(path, { "new" });
            QVERIFY_THROWS_EXCEPTION(TolvaneError, TextFile::SaveLines(locked, { "new" }));
        }
        QCOMPARE(ReadAll(path), QByteArray("new\r\n"));
        QCOMPARE(ReadAll(locked), QByteArray("old\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            (QStringList { "keep.txt", "locked.txt" }));
    }

    void saveKeepsPermissions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("script.j");
        WriteRaw(path, "old\r\n");
        const auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QFile::setPermissions(path, perms);
        TextFile::SaveLines(path, {"new"});
        QCOMPARE(ReadAll(path), QByteArray("new\r\n"));
        QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), perms);
    }
};

TOLVANE_TEST(TextFileTest);
#include "TextFileTest.moc"
