#include "TestRegistry.h"

#include "langdata/Configuration.h"
#include "platform/Errors.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

void Touch(const QString &name, const QByteArray &bytes = "x\r\n")
{
    QFile f(name);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Read(const QString &name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QByteArray kDefaultBytes =
    "Warning:\r\n"
    "- Messing up this file can cause errors in Tolvane\r\n"
    "- If there are problems, delete the file and Tolvane restores it automatically.\r\n"
    "You can add your own files to these lists.\r\n"
    "\r\n"
    "[Functions]\r\nFunc.txt\r\n\r\n"
    "[Constants]\r\nConst.txt\r\n\r\n"
    "[Syntax]\r\nSyn.txt\r\n\r\n"
    "[AIFunctions]\r\nAIFunc.txt\r\n\r\n"
    "[AIConstants]\r\nAIConst.txt\r\n";

} // namespace

// Each case runs in a fresh current folder, as the program reads its
// configuration from there.
class ConfigurationTest : public QObject
{
    Q_OBJECT

    QString m_oldDir;
    std::unique_ptr<QTemporaryDir> m_dir;

private slots:
    void init()
    {
        m_oldDir = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir::setCurrent(m_dir->path()));
    }
    void cleanup()
    {
        QDir::setCurrent(m_oldDir);
        m_dir.reset();
    }

    void defaultWrittenByteForByteWhenMissing()
    {
        for (const char *name : {"Func.txt", "Const.txt", "Syn.txt", "AIFunc.txt", "AIConst.txt"})
            Touch(name);
        const Configuration config = LoadConfiguration();
        QCOMPARE(Read("JassConfig.txt"), kDefaultBytes);
        QCOMPARE(config.FunctionFiles, QStringList{"Func.txt"});
        QCOMPARE(config.ConstantFiles, QStringList{"Const.txt"});
        QCOMPARE(config.SyntaxFiles, QStringList{"Syn.txt"});
        QCOMPARE(config.AIFunctionFiles, QStringList{"AIFunc.txt"});
        QCOMPARE(config.AIConstantFiles, QStringList{"AIConst.txt"});
    }

    void defaultWithoutDataFilesGivesEmptyLists()
    {
        const Configuration config = LoadConfiguration();
        QCOMPARE(Read("JassConfig.txt"), kDefaultBytes);
        QVERIFY(config.FunctionFiles.isEmpty() && config.ConstantFiles.isEmpty()
                && config.SyntaxFiles.isEmpty() && config.AIFunctionFiles.isEmpty()
                && config.AIConstantFiles.isEmpty());
    }

    void existingFileIsNeverRewritten()
    {
        Touch("JassConfig.txt", "[functions]\nFunc.txt");
        Touch("Func.txt");
        const Configuration config = LoadConfiguration();
        QVERIFY(config.FunctionFiles.isEmpty());
        QCOMPARE(Read("JassConfig.txt"), QByteArray("[functions]\nFunc.txt"));
    }

    void sectionRules()
    {
        Touch("a.txt");
        Touch("b.txt");
        Touch("c.j");
        QDir().mkdir("folder");
        const QStringList lines{
            "a.txt",                     // before any header: dropped
            "[Functions]",
            "a.txt",
            "a.txt trailing words",      // trailing words are a comment
            "missing.txt",               // not there: dropped
            "folder",                    // a folder is not a file
            "\ta.txt",                   // the tab is part of the name
            "[functions]",               // wrong case: not a header, section stays
            "b.txt",
            "   [Syntax] and more words",
            "c.j",
            "[Bogus]",
            "a.txt",                     // still in [Syntax]
            "[Constants]",
            "b.txt",
            "[AIFunctions]",
            "[Constants]",
            "a.txt",                     // repeated section adds in file order
        };
        const Configuration config = ParseConfiguration(lines);
        QCOMPARE(config.FunctionFiles, (QStringList{"a.txt", "a.txt", "b.txt"}));
        QCOMPARE(config.SyntaxFiles, (QStringList{"c.j", "a.txt"}));
        QCOMPARE(config.ConstantFiles, (QStringList{"b.txt", "a.txt"}));
        QVERIFY(config.AIFunctionFiles.isEmpty());
    }

    void wrongCaseFirstHeaderDropsNames()
    {
        Touch("Func.txt");
        const Configuration config = ParseConfiguration({"[functions]", "Func.txt"});
        QVERIFY(config.FunctionFiles.isEmpty());
    }

    void anyLineEndAndLongLines()
    {
        Touch("Func.txt");
        const QByteArray longLine(200000, 'x');
        Touch("JassConfig.txt", "[Functions]\rFunc.txt\n" + longLine + "\r\n[Syntax]");
        const Configuration config = LoadConfiguration();
        QCOMPARE(config.FunctionFiles, QStringList{"Func.txt"});
    }

    void unreadableOrUncreatableConfigRaisesError()
    {
        // A folder of that name cannot be read, and the default cannot be written over it.
        QDir().mkdir("JassConfig.txt");
        try {
            (void)LoadConfiguration();
            QFAIL("no error");
        } catch (const TolvaneError &e) {
            QVERIFY2(e.message().contains("JassConfig.txt"), qPrintable(e.message()));
        }
        QVERIFY(QFileInfo("JassConfig.txt").isDir());
    }
};

TOLVANE_TEST(ConfigurationTest);
#include "ConfigurationTest.moc"
