// The bridge against a stand-in game editor run under Wine: the helper, built
// from the same window-message code as the editor on Windows, reads and writes
// the script box of a "Trigger Editor" dialog in another Windows process.
// Exits with 77 (skipped) when MinGW or Wine is not there.

#include "bridge/BridgeProtocol.h"
#include "bridge/ChildProcess.h"
#include "bridge/WineTriggerBridge.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <memory>
#include <string>

namespace {

constexpr auto WineStartTimeout = std::chrono::seconds(300);
constexpr int StandInTimeoutMs = 120000;

QString WindowsPath(const QString &path)
{
    return "Z:" + QDir::toNativeSeparators(path).replace('/', '\\');
}

QByteArray ScriptWithHighBytes()
{
    QByteArray text = "function Main takes nothing returns nothing\r\n    // ";
    for (int value = 0x80; value <= 0xff; ++value)
        text += static_cast<char>(value);
    return text + "\r\n    call DoNothing()\r\nendfunction\r\n";
}

QList<QByteArray> Frames(const QByteArray &bytes)
{
    QList<QByteArray> frames;
    const std::string all = bytes.toStdString();
    std::string_view stream = all;
    while (std::optional<std::string> frame = BridgeProtocol::TakeFrame(stream))
        frames.append(QByteArray::fromStdString(*frame));
    if (!stream.empty())
        frames.append("<broken frame>");
    return frames;
}

bool WaitForFile(const QString &path, const QProcess &process)
{
    for (int waited = 0; waited < StandInTimeoutMs; waited += 50) {
        if (QFile::exists(path))
            return true;
        if (process.state() == QProcess::NotRunning)
            return false;
        QTest::qWait(50);
    }
    return false;
}

} // namespace

class WineStandInTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    std::unique_ptr<WineTriggerBridge> m_bridge;
    QProcess m_standIn;
    int m_run = 0;
    QString m_folder;

    // Starts the stand-in with the given mode and script box text; returns the
    // style words of its direct children.
    QList<QByteArray> StartStandIn(const QString &mode, const QByteArray &text)
    {
        m_folder = m_dir.filePath(QString::number(++m_run));
        QDir().mkpath(m_folder);
        QFile textFile(m_folder + "/text");
        if (!textFile.open(QIODevice::WriteOnly) || textFile.write(text) != text.size())
            return {};
        textFile.close();
        m_standIn.setStandardOutputFile(QProcess::nullDevice());
        m_standIn.setStandardErrorFile(QProcess::nullDevice());
        m_standIn.start(
            "wine", { TOLVANE_STANDIN_EXE, mode, WindowsPath(textFile.fileName()), WindowsPath(m_folder) });
        if (!WaitForFile(m_folder + "/ready", m_standIn)) {
            qWarning("stand-in: %s, exit code %d", qPrintable(m_standIn.errorString()), m_standIn.exitCode());
            return {};
        }
        QFile ready(m_folder + "/ready");
        return ready.open(QIODevice::ReadOnly) ? Frames(ready.readAll()) : QList<QByteArray>();
    }

    // Ends the stand-in; returns its children's texts and, last, the key presses they got.
    QList<QByteArray> StopStandIn()
    {
        QFile stop(m_folder + "/stop");
        if (!stop.open(QIODevice::WriteOnly))
            return {};
        stop.close();
        const bool dumped = WaitForFile(m_folder + "/dump", m_standIn);
        m_standIn.waitForFinished(StandInTimeoutMs);
        QFile dump(m_folder + "/dump");
        return dumped && dump.open(QIODevice::ReadOnly) ? Frames(dump.readAll()) : QList<QByteArray>();
    }

    static ChildProcess::Result RunWine(const std::vector<std::string> &arguments)
    {
        ChildProcess::Options options;
        options.timeout = WineStartTimeout;
        return ChildProcess::Run(arguments, {}, options);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // The first start creates the prefix; the null driver needs no display.
        const ChildProcess::Result result = RunWine(
            { "wine", "reg", "add", "HKCU\\Software\\Wine\\Drivers", "/v", "Graphics", "/d", "null", "/f" });
        QCOMPARE(int(result.outcome), int(ChildProcess::Outcome::Exited));
        QCOMPARE(result.exitCode, 0);
        // The desktop process started with the prefix keeps the driver it found
        // then; programs started after a restart get the null driver.
        (void)RunWine({ "wineserver", "-k" });
        (void)RunWine({ "wineserver", "-w" });
        WineBridgeOptions options;
        options.helperPath = TOLVANE_BRIDGE_HELPER_EXE;
        options.timeout = std::chrono::seconds(60);
        m_bridge = std::make_unique<WineTriggerBridge>(options);
    }

    void cleanup()
    {
        if (m_standIn.state() != QProcess::NotRunning) {
            m_standIn.kill();
            m_standIn.waitForFinished();
        }
    }

    void cleanupTestCase() { (void)RunWine({ "wineserver", "-k" }); }

    void noTriggerWindowReadsEmptyAndWritesNothing()
    {
        QCOMPARE(QByteArray::fromStdString(m_bridge->ReadTriggerText()), QByteArray());
        m_bridge->WriteTriggerText("nobody reads this");
        QVERIFY(!m_bridge->HasTriggerTextBox());
    }

    void readTakesTheFirstExactScriptBox_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("script with bytes 0x80 to 0xff")
            << "visible" << ScriptWithHighBytes() << ScriptWithHighBytes();
        QTest::newRow("empty script box") << "visible" << QByteArray() << QByteArray();
        QTest::newRow("hidden script box") << "hidden" << ScriptWithHighBytes() << QByteArray();
    }
    void readTakesTheFirstExactScriptBox()
    {
        QFETCH(QString, mode);
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, expected);
        const QList<QByteArray> styles = StartStandIn(mode, text);
        QVERIFY2(!styles.isEmpty(), "the stand-in did not start");
        QCOMPARE(styles.count("50311044"), mode == "visible" ? 2 : 0);
        QCOMPARE(m_bridge->HasTriggerTextBox(), mode == "visible");
        QCOMPARE(QByteArray::fromStdString(m_bridge->ReadTriggerText()), expected);
        QCOMPARE(StopStandIn().value(mode == "visible" ? 4 : 2), text);
    }

    void writeReplacesOnlyTheScriptBox_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QList<QByteArray>>("after");
        const QByteArray written = "// new\r\n" + ScriptWithHighBytes();
        QTest::newRow("visible script box") << "visible"
                                            << QList<QByteArray> { "label", "one line", "hidden box",
                                                   "read-only box", written, "second box", "4:32 4:8 " };
        QTest::newRow("hidden script box")
            << "hidden" << QList<QByteArray> { "holder", "one line", "old text", "" };
    }
    void writeReplacesOnlyTheScriptBox()
    {
        QFETCH(QString, mode);
        QFETCH(QList<QByteArray>, after);
        QVERIFY2(!StartStandIn(mode, "old text").isEmpty(), "the stand-in did not start");
        const QByteArray written = "// new\r\n" + ScriptWithHighBytes();
        m_bridge->WriteTriggerText(written.toStdString());
        // The posted space and backspace reach the box before the stand-in dumps it,
        // so the dump shows the text they leave.
        QCOMPARE(StopStandIn(), after);
    }
};

int main(int argc, char *argv[])
{
    if (std::string(TOLVANE_BRIDGE_HELPER_EXE).empty() || std::string(TOLVANE_STANDIN_EXE).empty()
        || !ProgramExists("wine")) {
        std::puts("SKIP: the bridge helper, the stand-in or Wine is missing");
        return 77;
    }
    // A prefix of the tests' own, never the user's; code page 1252 for the ANSI texts.
    qputenv("WINEPREFIX", TOLVANE_TEST_WINEPREFIX);
    qputenv("WINEDEBUG", "-all");
    qputenv("WINEDLLOVERRIDES", "mscoree,mshtml=");
    qputenv("LC_ALL", "C.UTF-8");
    QCoreApplication app(argc, argv);
    WineStandInTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WineStandInTest.moc"
