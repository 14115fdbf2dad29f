#include "TestRegistry.h"

#include "bridge/BridgeProtocol.h"
#include "bridge/ChildProcess.h"
#include "bridge/WineTriggerBridge.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The Wine bridge and its process runner against fake "wine" programs: shell
// scripts that answer, fail, hang or vanish the way a broken helper would.
class WineTriggerBridgeTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Path(const QString &name) const { return m_dir.filePath(name); }

    // A fake wine program: a shell script with the given body.
    std::string FakeWine(const QString &name, const QByteArray &body)
    {
        QFile script(Path(name));
        if (!script.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(script.fileName()));
        script.write("#!/bin/sh\n" + body + "\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return script.fileName().toStdString();
    }

    WineBridgeOptions Options(const std::string &wineProgram) const
    {
        WineBridgeOptions options;
        options.helperPath = Path("tolvane-bridge.exe").toStdString();
        options.wineProgram = wineProgram;
        options.winePrefix = Path("prefix").toStdString();
        options.timeout = std::chrono::seconds(5);
        return options;
    }

    QByteArray FileBytes(const QString &name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir(m_dir.path()).mkdir("prefix"));
        QFile helper(Path("tolvane-bridge.exe"));
        QVERIFY(helper.open(QIODevice::WriteOnly));
        QFile big(Path("big-frame"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        big.write(BridgeProtocol::EncodeFrame(std::string(300000, '\xe9')).c_str());
    }

    void readGivesTheHelpersTextOrNothing_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("frame") << QByteArray("printf '6:a\\r\\nb\\351\\377,'")
                               << QByteArray("a\r\nb\xe9\xff");
        QTest::newRow("empty frame") << QByteArray("printf '0:,'") << QByteArray();
        QTest::newRow("frame larger than a pipe holds")
            << QByteArray("cat \"$(dirname \"$0\")/big-frame\"") << QByteArray(300000, '\xe9');
        QTest::newRow("frame but exit code 1") << QByteArray("printf '1:a,'; exit 1") << QByteArray();
        QTest::newRow("truncated frame") << QByteArray("printf '9:abc'") << QByteArray();
        QTest::newRow("noise after the frame") << QByteArray("printf '1:a,wine: oops'") << QByteArray();
        QTest::newRow("killed by a signal") << QByteArray("printf '1:a,'; kill -9 $$") << QByteArray();
        QTest::newRow("leaves a process holding the output")
            << QByteArray("sleep 8 & printf '2:ok,'") << QByteArray("ok");
    }
    void readGivesTheHelpersTextOrNothing()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, expected);
        WineTriggerBridge bridge(Options(FakeWine("wine", body)));
        QCOMPARE(QByteArray::fromStdString(bridge.ReadTriggerText()), expected);
    }

    void helperRunsInThePrefixWithItsCommand()
    {
        const std::string wine = FakeWine("wine",
            "echo \"$1|$2|$WINEPREFIX\" > \"$(dirname \"$0\")/args\"; "
            "cat > \"$(dirname \"$0\")/input\"");
        WineTriggerBridge bridge(Options(wine));
        const std::string text = "x\r\n\x80\x9d" + std::string(200000, 'y');
        bridge.WriteTriggerText(text);
        QCOMPARE(
            FileBytes("args"), (Path("tolvane-bridge.exe") + "|write|" + Path("prefix") + "\n").toUtf8());
        QCOMPARE(FileBytes("input"), QByteArray::fromStdString(BridgeProtocol::EncodeFrame(text)));
        (void)bridge.ReadTriggerText();
        QCOMPARE(FileBytes("args"), (Path("tolvane-bridge.exe") + "|read|" + Path("prefix") + "\n").toUtf8());
    }

    void wineIsNotStartedWithoutHelperOrPrefix_data()
    {
        QTest::addColumn<bool>("helperThere");
        QTest::addColumn<bool>("prefixThere");
        QTest::newRow("helper missing") << false << true;
        QTest::newRow("prefix missing") << true << false;
    }
    void wineIsNotStartedWithoutHelperOrPrefix()
    {
        QFETCH(bool, helperThere);
        QFETCH(bool, prefixThere);
        QFile::remove(Path("started"));
        WineBridgeOptions options
            = Options(FakeWine("wine", "touch \"$(dirname \"$0\")/started\"; printf '1:a,'"));
        if (!helperThere)
            options.helperPath = Path("no-such-helper.exe").toStdString();
        if (!prefixThere)
            options.winePrefix = Path("no-such-prefix").toStdString();
        WineTriggerBridge bridge(options);
        QCOMPARE(bridge.ReadTriggerText(), std::string());
        bridge.WriteTriggerText("text");
        QVERIFY(!QFile::exists(Path("started")));
    }

    void factoryFallsBackToTheEmptyBridge_data()
    {
        QTest::addColumn<bool>("helperThere");
        QTest::addColumn<bool>("wineThere");
        QTest::addColumn<bool>("expectWine");
        QTest::newRow("helper and wine") << true << true << true;
        QTest::newRow("no helper") << false << true << false;
        QTest::newRow("no wine") << true << false << false;
    }
    void factoryFallsBackToTheEmptyBridge()
    {
        QFETCH(bool, helperThere);
        QFETCH(bool, wineThere);
        QFETCH(bool, expectWine);
        WineBridgeOptions options
            = Options(wineThere ? FakeWine("wine", "exit 0") : Path("no-wine").toStdString());
        if (!helperThere)
            options.helperPath = Path("no-such-helper.exe").toStdString();
        const std::unique_ptr<TriggerBridge> bridge = CreateWineOrNullBridge(options);
        QCOMPARE(dynamic_cast<WineTriggerBridge *>(bridge.get()) != nullptr, expectWine);
        QCOMPARE(dynamic_cast<NullTriggerBridge *>(bridge.get()) != nullptr, !expectWine);
        QVERIFY(dynamic_cast<NullTriggerBridge *>(CreateTriggerBridge(Path("nowhere").toStdString()).get()));
    }

    void runnerOutcomes_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("exit 0") << QByteArray("exit 0") << int(ChildProcess::Outcome::Exited) << 0;
        QTest::newRow("exit 3") << QByteArray("exit 3") << int(ChildProcess::Outcome::Exited) << 3;
        QTest::newRow("hangs") << QByteArray("exec sleep 30") << int(ChildProcess::Outcome::TimedOut) << -1;
        QTest::newRow("hangs with output")
            << QByteArray("printf '1:a,'; exec sleep 30") << int(ChildProcess::Outcome::TimedOut) << -1;
        QTest::newRow("killed") << QByteArray("kill -9 $$") << int(ChildProcess::Outcome::Crashed) << -1;
        QTest::newRow("floods its output")
            << QByteArray("exec cat /dev/zero") << int(ChildProcess::Outcome::OutputTooLarge) << -1;
    }
    void runnerOutcomes()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, outcome);
        QFETCH(int, exitCode);
        ChildProcess::Options options;
        options.timeout = std::chrono::milliseconds(700);
        options.maxOutputBytes = 100000;
        // Large enough to fill the pipe: a child that never reads it must not end this program.
        const std::string input(1 << 20, 'i');
        const ChildProcess::Result result = ChildProcess::Run({ FakeWine("program", body) }, input, options);
        QCOMPARE(int(result.outcome), outcome);
        QCOMPARE(result.exitCode, exitCode);
    }

    void runnerReportsAMissingProgram()
    {
        const ChildProcess::Result result
            = ChildProcess::Run({ "tolvane-no-such-program" }, "input", ChildProcess::Options());
        QCOMPARE(int(result.outcome), int(ChildProcess::Outcome::StartFailed));
        QVERIFY(!ProgramExists("tolvane-no-such-program"));
        QVERIFY(ProgramExists("sh"));
    }
};

TOLVANE_TEST(WineTriggerBridgeTest);
#include "WineTriggerBridgeTest.moc"
