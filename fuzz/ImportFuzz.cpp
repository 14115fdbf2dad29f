// The declaration importer on any text. Text that is not JASS is the expected
// TolvaneError; what it reads builds the language files, and the declarations
// written out again as JASS read back the same.
#include "FuzzSupport.h"

#include "import/LanguageFiles.h"
#include "platform/Errors.h"

namespace {

// The declarations as the game's files write them.
QStringList AsJass(const DeclarationSet &set)
{
    QStringList lines;
    for (const TypeDeclaration &t : set.types)
        lines.append(QStringLiteral("type %1 extends %2").arg(t.name, t.parent));
    if (!set.globals.isEmpty()) {
        lines.append(QStringLiteral("globals"));
        for (const GlobalDeclaration &g : set.globals)
            lines.append(AIGlobalLine(g));
        lines.append(QStringLiteral("endglobals"));
    }
    for (const FunctionDeclaration &f : set.functions) {
        QString line = f.isConstant ? QStringLiteral("constant ") : QString();
        line += f.isNative ? QStringLiteral("native ") : QStringLiteral("function ");
        lines.append(line + FunctionLine(f));
        if (!f.isNative)
            lines.append(QStringLiteral("endfunction"));
    }
    return lines;
}

bool SameFunctions(const QList<FunctionDeclaration> &a, const QList<FunctionDeclaration> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].parameters != b[i].parameters || a[i].returnType != b[i].returnType
            || a[i].isConstant != b[i].isConstant || a[i].isNative != b[i].isNative)
            return false;
    }
    return true;
}

bool SameGlobals(const QList<GlobalDeclaration> &a, const QList<GlobalDeclaration> &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].type != b[i].type || a[i].name != b[i].name || a[i].value != b[i].value
            || a[i].isConstant != b[i].isConstant || a[i].isArray != b[i].isArray)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = Fuzz::Lines(Fuzz::Bytes(data, size));
    const QString fileName = QStringLiteral("fuzz.j");
    DeclarationSet set;
    try {
        set = ParseDeclarations(lines, fileName);
    } catch (const TolvaneError &error) {
        Fuzz::Require(error.message().contains(fileName), "the message names the file");
        return 0;
    }
    Fuzz::Require(!set.functions.isEmpty() || !set.globals.isEmpty() || !set.types.isEmpty(),
        "a file that reads declares something");
    const LanguageFiles files = BuildLanguageFiles({ { SourceKind::Game, set }, { SourceKind::AI, set } });
    Fuzz::Require(files.functions.size() == set.functions.size() && files.aiFunctions == files.functions,
        "one line per function");
    Fuzz::Require(files.constants.size() == set.globals.size(), "one line per global");

    DeclarationSet again;
    try {
        again = ParseDeclarations(AsJass(set), fileName);
    } catch (const TolvaneError &) {
        Fuzz::Fail("the declarations written as JASS read back");
    }
    Fuzz::Require(SameFunctions(set.functions, again.functions), "functions read back the same");
    Fuzz::Require(SameGlobals(set.globals, again.globals), "globals read back the same");
    Fuzz::Require(set.types.size() == again.types.size(), "types read back the same");
    return 0;
}
