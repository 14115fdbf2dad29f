#include "TestRegistry.h"

#include "platform/Colors.h"
#include "platform/Errors.h"

#include <QTest>

class ColorsTest : public QObject {
    Q_OBJECT

private slots:
    void readsColorText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<uint>("value");
        QTest::newRow("clred") << "clred" << 0x0000FFu;
        QTest::newRow("CLNAVY") << "CLNAVY" << 0x800000u;
        QTest::newRow("clMedGray") << "clMedGray" << 0xA4A0A0u;
        QTest::newRow("clNone") << "clNone" << 0x1FFFFFFFu;
        QTest::newRow("clDefault") << "clDefault" << 0x20000000u;
        QTest::newRow("clBtnFace") << "clBtnFace" << 0xFF00000Fu;
        QTest::newRow("clHotLight") << "clHotLight" << 0xFF00001Au;
        QTest::newRow("clMenuBar") << "clMenuBar" << 0xFF00001Eu;
        QTest::newRow("255") << "255" << 0xFFu;
        QTest::newRow("$FF0000") << "$FF0000" << 0xFF0000u;
        QTest::newRow("x10") << "x10" << 0x10u;
        QTest::newRow("X10") << "X10" << 0x10u;
        QTest::newRow("0x8000") << "0x8000" << 0x8000u;
        QTest::newRow("0Xff") << "0Xff" << 0xFFu;
        QTest::newRow("  12") << "  12" << 12u;
        QTest::newRow("+7") << "+7" << 7u;
        QTest::newRow("-1") << "-1" << 0xFFFFFFFFu;
        QTest::newRow("$FFFFFFFF") << "$FFFFFFFF" << 0xFFFFFFFFu;
        QTest::newRow("2147483647") << "2147483647" << 0x7FFFFFFFu;
        QTest::newRow("-2147483648") << "-2147483648" << 0x80000000u;
    }
    void readsColorText()
    {
        QFETCH(QString, text);
        QFETCH(uint, value);
        QCOMPARE(uint(Colors::FromText(text)), value);
    }

    void rejectsWithTheTextAsItStands_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "";
        QTest::newRow(" clRed") << " clRed";
        QTest::newRow("clRed ") << "clRed ";
        QTest::newRow("12 ") << "12 ";
        QTest::newRow("12a") << "12a";
        QTest::newRow("$") << "$";
        QTest::newRow("0x") << "0x";
        QTest::newRow("$G1") << "$G1";
        QTest::newRow("2147483648") << "2147483648";
        QTest::newRow("$100000000") << "$100000000";
        QTest::newRow("--1") << "--1";
        QTest::newRow("1.5") << "1.5";
    }
    void rejectsWithTheTextAsItStands()
    {
        QFETCH(QString, text);
        try {
            (void)Colors::FromText(text);
            QFAIL("no error raised");
        } catch (const TolvaneError &error) {
            QCOMPARE(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(text));
        }
    }
};

TOLVANE_TEST(ColorsTest);
#include "ColorsTest.moc"
