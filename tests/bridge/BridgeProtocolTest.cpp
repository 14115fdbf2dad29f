#include "TestRegistry.h"

#include "bridge/BridgeProtocol.h"

#include <QTest>

#include <optional>
#include <string>

namespace {

QByteArray AllByteValues()
{
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes += static_cast<char>(value);
    return bytes;
}

// The decoded text, or a marker that cannot be a decoded text's printout.
QByteArray Shown(const std::optional<std::string> &text)
{
    return text ? QByteArray::fromStdString(*text) : QByteArray("<no frame>");
}

} // namespace

class BridgeProtocolTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("hello") << QByteArray("hello");
        QTest::newRow("lines with CR LF") << QByteArray("a\r\nb\r\n");
        QTest::newRow("digits, colon, comma") << QByteArray("12:ab,3:");
        QTest::newRow("all 256 byte values") << AllByteValues();
    }
    void roundTrip()
    {
        QFETCH(QByteArray, text);
        const std::string frame = BridgeProtocol::EncodeFrame(text.toStdString());
        QVERIFY(frame.starts_with(std::to_string(text.size()) + ':'));
        QCOMPARE(Shown(BridgeProtocol::DecodeFrame(frame)), text);
    }

    void decodeRejectsMalformedStreams_data()
    {
        QTest::addColumn<QByteArray>("stream");
        QTest::newRow("empty stream") << QByteArray();
        QTest::newRow("5:abc,") << QByteArray("5:abc,");
        QTest::newRow("3:abcd,") << QByteArray("3:abcd,");
        QTest::newRow("3:abc") << QByteArray("3:abc");
        QTest::newRow("3:abc;") << QByteArray("3:abc;");
        QTest::newRow("3:abc,x") << QByteArray("3:abc,x");
        QTest::newRow("3:abc,3:abc,") << QByteArray("3:abc,3:abc,");
        QTest::newRow(":abc,") << QByteArray(":abc,");
        QTest::newRow("-3:abc,") << QByteArray("-3:abc,");
        QTest::newRow("3abc,") << QByteArray("3abc,");
        QTest::newRow("x3:abc,") << QByteArray("x3:abc,");
        QTest::newRow("noise before the frame") << QByteArray("hello 3:abc,");
        QTest::newRow("eleven-digit count") << QByteArray("18446744073:abc,");
        QTest::newRow("count beyond 64 bits") << QByteArray("99999999999999999999999:,");
    }
    void decodeRejectsMalformedStreams()
    {
        QFETCH(QByteArray, stream);
        QCOMPARE(Shown(BridgeProtocol::DecodeFrame(stream.toStdString())), QByteArray("<no frame>"));
    }

    void takeFrameWalksASequence()
    {
        const std::string all = "1:a,0:,4:b,c:,";
        std::string_view stream = all;
        QCOMPARE(Shown(BridgeProtocol::TakeFrame(stream)), QByteArray("a"));
        QCOMPARE(Shown(BridgeProtocol::TakeFrame(stream)), QByteArray(""));
        QCOMPARE(Shown(BridgeProtocol::TakeFrame(stream)), QByteArray("b,c:"));
        QVERIFY(stream.empty());
        QCOMPARE(Shown(BridgeProtocol::TakeFrame(stream)), QByteArray("<no frame>"));
    }

    void takeFrameLeavesABrokenStreamAlone()
    {
        const std::string all = "9:short,";
        std::string_view stream = all;
        QCOMPARE(Shown(BridgeProtocol::TakeFrame(stream)), QByteArray("<no frame>"));
        QVERIFY(stream == all);
    }
};

TOLVANE_TEST(BridgeProtocolTest);
#include "BridgeProtocolTest.moc"
