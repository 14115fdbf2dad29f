#include "TestRegistry.h"

#include "editor/SyntaxDocument.h"
#include "langdata/Catalogue.h"
#include "platform/Errors.h"
#include "platform/StringLists.h"
#include "platform/TextFile.h"

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records what reaches a registration target, in one log shared by the two
// targets and the explorer list.
struct EventLog {
    QStringList events;
};

class RecordingTarget : public WordClassTarget {
public:
    RecordingTarget(QString name, EventLog &log)
        : m_name(std::move(name))
        , m_log(log)
    {
    }

    void AddWords(const WordPairs &Words) override
    {
        QStringList words;
        for (const WordClassPair &pair : Words)
            words.append(pair.Word);
        m_log.events.append(m_name + u' ' + words.join(u','));
        batches.push_back(Words);
    }
    void RebuildHighlighting() override { m_log.events.append(m_name + QLatin1String(" rebuild")); }

    std::vector<WordPairs> batches;

private:
    QString m_name;
    EventLog &m_log;
};

// Declaration files in a temporary folder, named by absolute paths.
class Files {
public:
    QString Write(const QString &name, const QStringList &lines)
    {
        const QString path = m_dir.filePath(name);
        TextFile::SaveLines(path, lines);
        return path;
    }
    [[nodiscard]] QString Path(const QString &name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

struct Loaded {
    Catalogue catalogue;
    EventLog log;
    QStringList functionlist;
};

void Load(const Configuration &config, Loaded &loaded, RecordingTarget &editbox, RecordingTarget &helpEdit)
{
    LoadCatalogue(config, loaded.catalogue, editbox, helpEdit, [&loaded](const QStringList &names) {
        loaded.functionlist = names;
        loaded.log.events.append(QStringLiteral("Functionlist"));
    });
}

void VerifyIndexMatch(const Catalogue &catalogue)
{
    for (int k = 0; k < kCategoryCount; ++k) {
        const auto kind = CategoryKind(k);
        const DeclarationCategory &category = catalogue[kind];
        QCOMPARE(category.ShownLines.size(), category.ShownNames.size());
        for (qsizetype i = 0; i < category.ShownNames.size(); ++i)
            QCOMPARE(DeclarationName(kind, category.ShownLines.at(i)), category.ShownNames.at(i));
    }
}

int Sign(int value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private slots:
    void namesByCategory_data()
    {
        QTest::addColumn<CategoryKind>("kind");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        const auto F = CategoryKind::Functions;
        const auto C = CategoryKind::Constants;
        const auto AF = CategoryKind::AIFunctions;
        const auto G = CategoryKind::AIGlobals;
        QTest::newRow("function") << F << "CreateUnit takes player id returns unit"
                                  << "CreateUnit";
        QTest::newRow("function comment line") << F << "// note"
                                               << "//";
        QTest::newRow("function blank line") << F << ""
                                             << "";
        QTest::newRow("function with tab") << F << "Foo\ttakes nothing"
                                           << "Foo\ttakes";
        QTest::newRow("AI function") << AF << "GetAiPlayer takes nothing returns integer"
                                     << "GetAiPlayer";
        QTest::newRow("constant") << C << "real bj_PI = 3.14159"
                                  << "bj_PI";
        QTest::newRow("constant without blanks") << C << "integer bj_X=5"
                                                 << "bj_X";
        QTest::newRow("constant line starting with constant") << C << "constant integer X = 1"
                                                              << "integer";
        QTest::newRow("constant blank line") << C << ""
                                             << "";
        QTest::newRow("AI global") << G << "boolean b"
                                   << "b";
        QTest::newRow("AI global array") << G << "integer array X"
                                         << "X";
        QTest::newRow("AI global constant array") << G << "constant integer array X"
                                                  << "X";
        QTest::newRow("AI global constant") << G << "constant integer ARCHMAGE = 'Hamg'"
                                            << "ARCHMAGE";
        QTest::newRow("AI global without blanks") << G << "integer x=5"
                                                  << "x=5";
        QTest::newRow("AI global indented constant") << G << "  constant integer X"
                                                     << "X";
        QTest::newRow("AI global constant glued") << G << "constantinteger x y"
                                                  << "x";
        QTest::newRow("AI global comment") << G << "// AI globals"
                                           << "AI";
    }
    void namesByCategory()
    {
        QFETCH(CategoryKind, kind);
        QFETCH(QString, line);
        QTEST(DeclarationName(kind, line), "name");
        if (kind == CategoryKind::AIGlobals)
            QTEST(AIGlobalName(line), "name");
    }

    void compareConstantLines_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("by second word") << "integer bj_B"
                                        << "boolean bj_A" << 1;
        QTest::newRow("case ignored") << "integer ABC = 1"
                                      << "real abc" << 0;
        QTest::newRow("name before '='") << "integer X=5"
                                         << "integer X = 6" << 0;
        QTest::newRow("constant line sorts by its type") << "constant integer A"
                                                         << "real b" << 1;
    }
    void compareConstantLines()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        QCOMPARE(Sign(CompareConstantLines(a, b)), sign);
        QCOMPARE(Sign(CompareConstantLines(b, a)), -sign);
    }

    void compareAIGlobalLines_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("sign");
        QTest::newRow("by name") << "integer B"
                                 << "real a" << 1;
        QTest::newRow("constant skipped") << "constant integer A"
                                          << "integer B" << -1;
        QTest::newRow("array skipped") << "constant integer array Z"
                                       << "integer array y" << 1;
        QTest::newRow("case ignored") << "integer abc"
                                      << "boolean ABC" << 0;
        // Only the first eight characters are looked at: indented, the line
        // sorts by its type word "integer".
        QTest::newRow("indented constant") << "  constant integer A"
                                           << "integer B" << 1;
        QTest::newRow("constant glued to the type") << "constantinteger x y"
                                                    << "integer x" << 1;
    }
    void compareAIGlobalLines()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, sign);
        QCOMPARE(Sign(CompareAIGlobalLines(a, b)), sign);
        QCOMPARE(Sign(CompareAIGlobalLines(b, a)), -sign);
    }

    void loadsInOrderAndRegistersEachFileWithBothControls()
    {
        Files files;
        Configuration config;
        config.FunctionFiles = { files.Write("F1.txt", { "Foo takes nothing returns nothing", "" }),
            files.Write("F2.txt", { "Bar takes nothing returns integer" }) };
        config.ConstantFiles = { files.Write("C.txt", { "integer bj_X = 1" }) };
        config.SyntaxFiles = { files.Write("S.txt", { "@clBlue", "call" }) };
        config.AIFunctionFiles = { files.Write("AF.txt", { "GetAiPlayer takes nothing returns integer" }) };
        config.AIConstantFiles = { files.Write("AG.txt", { "constant integer array X" }) };

        Loaded loaded;
        RecordingTarget editbox("Editbox", loaded.log);
        RecordingTarget helpEdit("HelpEdit", loaded.log);
        Load(config, loaded, editbox, helpEdit);

        const QStringList expected = {
            "Editbox Foo,",
            "HelpEdit Foo,",
            "Editbox Bar",
            "HelpEdit Bar",
            "Functionlist",
            "Editbox bj_X",
            "HelpEdit bj_X",
            "Editbox call",
            "HelpEdit call",
            "Editbox GetAiPlayer",
            "HelpEdit GetAiPlayer",
            "Editbox X",
            "HelpEdit X",
            "Editbox rebuild",
            "HelpEdit rebuild",
        };
        QCOMPARE(loaded.log.events, expected);
        QCOMPARE(loaded.functionlist, QStringList({ "", "Bar", "Foo" }));

        // Each file gets a fresh copy of its category's class, shared by both
        // controls; the syntax file brings its own.
        const QList<uint32_t> colors = { 0x800000, 0x800000, 0x000080, 0xFF0000, 0x800000, 0x000080 };
        QCOMPARE(editbox.batches.size(), size_t(colors.size()));
        for (size_t i = 0; i < editbox.batches.size(); ++i) {
            const SyntaxTypePtr &type = editbox.batches[i].front().WordClass;
            QCOMPARE(type->Color, colors.at(qsizetype(i)));
            QCOMPARE(type.get(), helpEdit.batches[i].front().WordClass.get());
            QVERIFY(type.get() != &FunctionWordClass() && type.get() != &ConstantWordClass());
        }
        QVERIFY(editbox.batches[0].front().WordClass != editbox.batches[1].front().WordClass);
    }

    void everyLineIsCatalogued()
    {
        Files files;
        const QString longName = QString(5000, u'x');
        const QStringList lines = {
            "Foo takes nothing returns nothing",
            "",
            "// note",
            "   ",
            QString::fromUtf8("Caf\u00e9\ttakes \u20ac returns \u00ff"),
            longName + " takes nothing returns nothing",
            QString(QChar(1)) + "ctl",
        };
        Configuration config;
        config.FunctionFiles = { files.Write("F.txt", lines) };
        Loaded loaded;
        RecordingTarget editbox("Editbox", loaded.log);
        RecordingTarget helpEdit("HelpEdit", loaded.log);
        Load(config, loaded, editbox, helpEdit);

        const DeclarationCategory &functions = loaded.catalogue[CategoryKind::Functions];
        QCOMPARE(functions.Lines, lines);
        const QStringList names = { "Foo", "", "//", "", QString::fromUtf8("Caf\u00e9\ttakes"), longName,
            QString(QChar(1)) + "ctl" };
        QCOMPARE(functions.Names, names);
        QCOMPARE(functions.ShownNames.size(), lines.size());
        QCOMPARE(editbox.batches.front().size(), size_t(lines.size()));
        QCOMPARE(editbox.batches.front()[1].Word, QString());
        VerifyIndexMatch(loaded.catalogue);
    }

    void duplicatesShownTwiceAfterLoadingOnceAfterFiltering()
    {
        Files files;
        Configuration config;
        config.FunctionFiles = {
            files.Write(
                "F1.txt", { "Foo takes integer a returns nothing", "Zed takes nothing returns nothing" }),
            files.Write("F2.txt", { "foo takes nothing returns real", "Bar takes nothing returns nothing" }),
        };
        config.ConstantFiles = { files.Write("C1.txt", { "integer X = 1", "constant real Y = 1" }),
            files.Write("C2.txt", { "real X = 2", "boolean A" }) };
        config.AIConstantFiles
            = { files.Write("G.txt", { "integer Q", "constant integer array Q", "real b" }) };
        Loaded loaded;
        RecordingTarget editbox("Editbox", loaded.log);
        RecordingTarget helpEdit("HelpEdit", loaded.log);
        Load(config, loaded, editbox, helpEdit);

        DeclarationCategory &functions = loaded.catalogue[CategoryKind::Functions];
        QCOMPARE(functions.ShownNames.count(QStringLiteral("Foo"))
                + functions.ShownNames.count(QStringLiteral("foo")),
            2);
        QCOMPARE(loaded.functionlist.size(), 4);
        QCOMPARE(
            loaded.catalogue[CategoryKind::Constants].ShownNames, QStringList({ "A", "real", "X", "X" }));
        QCOMPARE(loaded.catalogue[CategoryKind::AIGlobals].ShownNames, QStringList({ "b", "Q", "Q" }));
        VerifyIndexMatch(loaded.catalogue);

        // The explorer refills the shown lists from the loaded ones.
        for (DeclarationCategory &category : loaded.catalogue.Categories) {
            category.ClearShown();
            for (qsizetype i = 0; i < category.Names.size(); ++i)
                category.AddShown(category.Names.at(i), category.Lines.at(i));
        }
        QCOMPARE(functions.ShownNames, QStringList({ "Bar", "Foo", "Zed" }));
        QCOMPARE(functions.ShownLines.at(1), "Foo takes integer a returns nothing");
        QCOMPARE(loaded.catalogue[CategoryKind::Constants].ShownNames, QStringList({ "A", "real", "X" }));
        QCOMPARE(loaded.catalogue[CategoryKind::Constants].ShownLines.at(2), "integer X = 1");
        VerifyIndexMatch(loaded.catalogue);
        QCOMPARE(functions.Names.size(), 4);
    }

    void shownListsSortByNameWithTheirLines_data()
    {
        QTest::addColumn<CategoryKind>("kind");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("functions") << CategoryKind::Functions
                                   << QStringList { "beta takes nothing returns nothing",
                                          "Alpha takes nothing returns nothing", "// comment", "",
                                          "alpha takes integer returns nothing", "Gamma_2 takes x",
                                          "Gamma takes x" };
        QTest::newRow("constants") << CategoryKind::Constants
                                   << QStringList { "integer zeta", "constant real Y = 1", "real Alpha=2",
                                          "boolean alpha", "  integer   spaced", "" };
        QTest::newRow("AI globals") << CategoryKind::AIGlobals
                                    << QStringList { "integer Zed", "  constant integer Mid",
                                           "constant integer array Alpha", "integer array beta",
                                           "boolean b" };
    }
    void shownListsSortByNameWithTheirLines()
    {
        QFETCH(CategoryKind, kind);
        QFETCH(QStringList, lines);
        DeclarationCategory category;
        for (const QString &line : lines) {
            category.ShownNames.append(DeclarationName(kind, line));
            category.ShownLines.append(line);
        }
        SortShown(category, kind);
        QStringList sorted = category.ShownNames;
        std::stable_sort(sorted.begin(), sorted.end(), [](const QString &a, const QString &b) {
            return StringComparer::CaseInsensitive().Compare(a, b) < 0;
        });
        QCOMPARE(category.ShownNames, sorted);
        QCOMPARE(category.ShownLines.size(), lines.size());
        for (qsizetype i = 0; i < category.ShownNames.size(); ++i)
            QCOMPARE(DeclarationName(kind, category.ShownLines.at(i)), category.ShownNames.at(i));
    }

    void addShownKeepsOrderAndDropsDuplicates()
    {
        DeclarationCategory category;
        QVERIFY(category.AddShown("Mid", "Mid line"));
        QVERIFY(category.AddShown("alpha", "alpha line"));
        QVERIFY(category.AddShown("Zulu", "Zulu line"));
        QVERIFY(!category.AddShown("ALPHA", "ALPHA line"));
        QVERIFY(category.AddShown("", "")); // a blank line's name sorts first
        QCOMPARE(category.ShownNames, QStringList({ "", "alpha", "Mid", "Zulu" }));
        QCOMPARE(category.ShownLines, QStringList({ "", "alpha line", "Mid line", "Zulu line" }));
    }

    void missingCategoriesAndEmptyFilesRegisterNothing()
    {
        Files files;
        Configuration config;
        config.ConstantFiles = { files.Write("Empty.txt", {}) };
        config.AIFunctionFiles = { files.Write("AF.txt", { "GetAiPlayer takes nothing returns integer" }) };
        Loaded loaded;
        RecordingTarget editbox("Editbox", loaded.log);
        RecordingTarget helpEdit("HelpEdit", loaded.log);
        Load(config, loaded, editbox, helpEdit);
        QCOMPARE(loaded.log.events,
            QStringList({ "Functionlist", "Editbox GetAiPlayer", "HelpEdit GetAiPlayer", "Editbox rebuild",
                "HelpEdit rebuild" }));
        QVERIFY(loaded.functionlist.isEmpty());
        QVERIFY(loaded.catalogue[CategoryKind::Constants].Names.isEmpty());
        QCOMPARE(loaded.catalogue[CategoryKind::AIFunctions].ShownNames, QStringList({ "GetAiPlayer" }));
    }

    void vanishedFileStopsTheLoad_data()
    {
        QTest::addColumn<int>("missing"); // 0 functions, 1 constants, 2 syntax, 3 AI functions, 4 AI globals
        QTest::addColumn<QStringList>("events");
        const QStringList functions = { "Editbox Foo", "HelpEdit Foo" };
        const QStringList constants = functions + QStringList { "Functionlist", "Editbox X", "HelpEdit X" };
        const QStringList syntax = constants + QStringList { "Editbox call", "HelpEdit call" };
        const QStringList aiFunctions = syntax + QStringList { "Editbox Ai", "HelpEdit Ai" };
        const QStringList aiGlobals = aiFunctions + QStringList { "Editbox G", "HelpEdit G" };
        QTest::newRow("function file") << 0 << functions;
        QTest::newRow("constant file") << 1 << constants;
        QTest::newRow("syntax file") << 2 << syntax;
        QTest::newRow("AI function file") << 3 << aiFunctions;
        QTest::newRow("AI globals file") << 4 << aiGlobals;
    }
    void vanishedFileStopsTheLoad()
    {
        QFETCH(int, missing);
        QFETCH(QStringList, events);
        Files files;
        Configuration config;
        config.FunctionFiles = { files.Write("F.txt", { "Foo takes nothing returns nothing" }) };
        config.ConstantFiles = { files.Write("C.txt", { "integer X" }) };
        config.SyntaxFiles = { files.Write("S.txt", { "@clRed", "call" }) };
        config.AIFunctionFiles = { files.Write("AF.txt", { "Ai takes nothing returns nothing" }) };
        config.AIConstantFiles = { files.Write("AG.txt", { "integer G" }) };
        QStringList *lists[] = { &config.FunctionFiles, &config.ConstantFiles, &config.SyntaxFiles,
            &config.AIFunctionFiles, &config.AIConstantFiles };
        const QString vanished = files.Path("Vanished.txt");
        lists[missing]->append(vanished);

        Loaded loaded;
        RecordingTarget editbox("Editbox", loaded.log);
        RecordingTarget helpEdit("HelpEdit", loaded.log);
        try {
            Load(config, loaded, editbox, helpEdit);
            QFAIL("no error raised");
        } catch (const TolvaneError &error) {
            QVERIFY2(error.message().contains(vanished), qPrintable(error.message()));
        }
        QCOMPARE(loaded.log.events, events);
        VerifyIndexMatch(loaded.catalogue);
        QVERIFY(loaded.catalogue[CategoryKind::AIGlobals].Names.isEmpty());
    }

    void badColourInSyntaxFileStopsTheLoad()
    {
        Files files;
        Configuration config;
        config.SyntaxFiles = { files.Write("S.txt", { "@clNavyBlue", "call" }) };
        config.AIFunctionFiles = { files.Write("AF.txt", { "Ai takes nothing returns nothing" }) };
        Loaded loaded;
        RecordingTarget editbox("Editbox", loaded.log);
        RecordingTarget helpEdit("HelpEdit", loaded.log);
        QVERIFY_THROWS_EXCEPTION(TolvaneError, Load(config, loaded, editbox, helpEdit));
        QCOMPARE(loaded.log.events, QStringList({ "Functionlist" }));
    }

    // The shipped language files name every native of the game's common.j,
    // and the function and constant names colour in a headless document.
    void shippedFilesNameEveryNative()
    {
        const QString data = QStringLiteral(TOLVANE_SOURCE_DIR "/data/");
        Configuration config;
        config.FunctionFiles = { data + "Func.txt" };
        config.ConstantFiles = { data + "Const.txt" };
        config.SyntaxFiles = { data + "Syn.txt" };
        config.AIFunctionFiles = { data + "AIFunc.txt" };
        config.AIConstantFiles = { data + "AIConst.txt" };
        Catalogue catalogue;
        SyntaxDocument editbox;
        SyntaxDocument helpEdit;
        LoadCatalogue(config, catalogue, editbox, helpEdit, nullptr);

        const QSet<QString> names(catalogue[CategoryKind::Functions].Names.cbegin(),
            catalogue[CategoryKind::Functions].Names.cend());
        const QRegularExpression native("^\\s*(?:constant\\s+)?native\\s+(\\w+)");
        int natives = 0;
        const QString common = QStringLiteral(TOLVANE_SOURCE_DIR "/tests/import/data/2.0.4/common.j");
        for (const QString &line : TextFile::LoadLines(common)) {
            const QRegularExpressionMatch m = native.match(line);
            if (!m.hasMatch())
                continue;
            ++natives;
            QVERIFY2(names.contains(m.captured(1)), qPrintable(m.captured(1)));
        }
        QVERIFY(natives > 1000);
        VerifyIndexMatch(catalogue);

        QCOMPARE(editbox.FindWordClass(u"CreateUnit")->Color, 0x800000u);
        QCOMPARE(helpEdit.FindWordClass(u"CreateUnit")->Color, 0x800000u);
        QCOMPARE(editbox.FindWordClass(u"bj_PI")->Color, 0x000080u);
        QCOMPARE(editbox.FindWordClass(u"GetAiPlayer")->Color, 0x800000u);
        QCOMPARE(editbox.FindWordClass(u"createunit"), editbox.Engine().Builtins().Plain.get());
        QVERIFY(editbox.FindWordClass(u"CreateUnit")->ColorIndex > 0);
    }
};

TOLVANE_TEST(CatalogueTest);
#include "CatalogueTest.moc"
