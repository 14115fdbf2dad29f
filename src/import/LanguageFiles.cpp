#include "LanguageFiles.h"

#include "langdata/ApiFiles.h"
#include "langdata/Configuration.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QSet>

#include <algorithm>

namespace {

const QStringList kKeywords = {
    QStringLiteral("function"),
    QStringLiteral("endfunction"),
    QStringLiteral("takes"),
    QStringLiteral("returns"),
    QStringLiteral("nothing"),
    QStringLiteral("native"),
    QStringLiteral("constant"),
    QStringLiteral("local"),
    QStringLiteral("set"),
    QStringLiteral("call"),
    QStringLiteral("if"),
    QStringLiteral("then"),
    QStringLiteral("else"),
    QStringLiteral("elseif"),
    QStringLiteral("endif"),
    QStringLiteral("loop"),
    QStringLiteral("exitwhen"),
    QStringLiteral("endloop"),
    QStringLiteral("return"),
    QStringLiteral("globals"),
    QStringLiteral("endglobals"),
    QStringLiteral("type"),
    QStringLiteral("extends"),
    QStringLiteral("array"),
    QStringLiteral("and"),
    QStringLiteral("or"),
    QStringLiteral("not"),
    QStringLiteral("debug"),
};
// The words vJASS adds, a class of their own with the keywords' look, so
// library code reads as code.
const QStringList kVJassKeywords = {
    QStringLiteral("library"),
    QStringLiteral("library_once"),
    QStringLiteral("endlibrary"),
    QStringLiteral("scope"),
    QStringLiteral("endscope"),
    QStringLiteral("requires"),
    QStringLiteral("needs"),
    QStringLiteral("uses"),
    QStringLiteral("optional"),
    QStringLiteral("initializer"),
    QStringLiteral("private"),
    QStringLiteral("public"),
    QStringLiteral("struct"),
    QStringLiteral("endstruct"),
    QStringLiteral("interface"),
    QStringLiteral("endinterface"),
    QStringLiteral("module"),
    QStringLiteral("endmodule"),
    QStringLiteral("implement"),
    QStringLiteral("method"),
    QStringLiteral("endmethod"),
    QStringLiteral("static"),
    QStringLiteral("stub"),
    QStringLiteral("readonly"),
    QStringLiteral("delegate"),
    QStringLiteral("operator"),
    QStringLiteral("this"),
    QStringLiteral("thistype"),
    QStringLiteral("super"),
    QStringLiteral("defaults"),
    QStringLiteral("keyword"),
    QStringLiteral("hook"),
    QStringLiteral("key"),
};

const QStringList kLiterals = { QStringLiteral("true"), QStringLiteral("false"), QStringLiteral("null") };
const QStringList kBaseTypes = {
    QStringLiteral("integer"),
    QStringLiteral("real"),
    QStringLiteral("boolean"),
    QStringLiteral("string"),
    QStringLiteral("handle"),
    QStringLiteral("code"),
};

// The bytes of an UTF-8 byte order mark read as code page 1252.
const QString kByteOrderMark = QStringLiteral("\u00EF\u00BB\u00BF");

// A declaration whose line the game rejects may name a type that does not
// exist; it stays out of the API file, which names declared types only.
Analysis::Api WithKnownTypes(const Analysis::Api &declared)
{
    using namespace Analysis;
    Api api = PrimitiveApi();
    QSet<QString> types;
    for (const Type &t : api.types)
        types.insert(t.name);
    for (const Type &t : declared.types) {
        if (!types.contains(t.name) && (t.parent.isEmpty() || types.contains(t.parent))) {
            types.insert(t.name);
            api.types.append(t);
        }
    }
    const auto known = [&types](const QString &type) { return types.contains(type); };
    for (const Function &f : declared.functions) {
        if ((f.returns == QLatin1String("nothing") || known(f.returns))
            && std::all_of(
                f.parameters.begin(), f.parameters.end(), [&](const Variable &p) { return known(p.type); }))
            api.functions.append(f);
    }
    for (const Variable &g : declared.globals) {
        if (known(g.type))
            api.globals.append(g);
    }
    return api;
}

} // namespace

SourceKind KindOfFileName(const QString &fileName)
{
    return fileName.endsWith(QLatin1String(".ai"), Qt::CaseInsensitive) ? SourceKind::AI : SourceKind::Game;
}

QString FunctionLine(const FunctionDeclaration &f)
{
    return QStringLiteral("%1 takes %2 returns %3").arg(f.name, f.parameters, f.returnType);
}

// The catalogue names a constant by its second word and the type filter reads
// the first, so "constant" is dropped and "array" goes after the name:
// "unit array bj_ghoul" becomes "unit bj_ghoul array".
QString ConstantLine(const GlobalDeclaration &g)
{
    QString line = g.type + u' ' + g.name;
    if (g.isArray)
        line += QLatin1String(" array");
    if (!g.value.isEmpty())
        line += QLatin1String(" = ") + g.value;
    return line;
}

// AI globals keep their declared form: the catalogue names them by the word
// after the type, skipping a leading "constant" and an "array".
QString AIGlobalLine(const GlobalDeclaration &g)
{
    QString line;
    if (g.isConstant)
        line += QLatin1String("constant ");
    line += g.type;
    if (g.isArray)
        line += QLatin1String(" array");
    line += u' ' + g.name;
    if (!g.value.isEmpty())
        line += QLatin1String(" = ") + g.value;
    return line;
}

QStringList SyntaxLines(const QStringList &declaredTypes)
{
    QStringList lines = {
        QStringLiteral("; Word classes of the editor. A line \"@colour\" starts a class: a colour"),
        QStringLiteral("; name such as clNavy, or a number $BBGGRR. \"!bold\", \"!italic\" and"),
        QStringLiteral("; \"!underline\" add a style; every other line is a word of the class."),
        QStringLiteral("; Words match with case; a word listed twice keeps its first spelling."),
        QString(),
        QStringLiteral("; Keywords"),
        QStringLiteral("@clBlack"),
        QStringLiteral("!bold"),
    };
    lines += kKeywords;
    lines += { QString(), QStringLiteral("; vJASS keywords"), QStringLiteral("@clBlack"),
        QStringLiteral("!bold") };
    lines += kVJassKeywords;
    lines += { QString(), QStringLiteral("; Literal values"), QStringLiteral("@clPurple"),
        QStringLiteral("!bold") };
    lines += kLiterals;
    lines += { QString(), QStringLiteral("; Types"), QStringLiteral("@clTeal") };

    // A word listed twice in one file is dropped by the loader anyway; keep
    // the file free of them.
    QSet<QString> seen;
    for (const QString &word : kKeywords + kVJassKeywords + kLiterals)
        seen.insert(word.toLower());
    for (const QString &type : kBaseTypes + declaredTypes) {
        if (!seen.contains(type.toLower())) {
            seen.insert(type.toLower());
            lines += type;
        }
    }
    return lines;
}

LanguageFiles BuildLanguageFiles(const QList<ParsedSource> &sources)
{
    LanguageFiles files;
    QStringList types;
    for (const ParsedSource &source : sources) {
        const bool ai = source.kind == SourceKind::AI;
        for (const FunctionDeclaration &f : source.declarations.functions)
            (ai ? files.aiFunctions : files.functions).append(FunctionLine(f));
        for (const GlobalDeclaration &g : source.declarations.globals) {
            if (ai)
                files.aiConstants.append(AIGlobalLine(g));
            else
                files.constants.append(ConstantLine(g));
        }
        for (const TypeDeclaration &t : source.declarations.types)
            types.append(t.name);
    }
    files.syntax = SyntaxLines(types);
    return files;
}

void BuildApis(LanguageFiles &files, const QList<ApiSource> &sources)
{
    using namespace Analysis;
    QList<Source> game;
    QList<Source> ai;
    for (const ApiSource &s : sources)
        (s.kind == SourceKind::AI ? ai : game).append(s.source);

    const Result map = Analyse(game, PrimitiveApi());
    files.api = WithKnownTypes(map.declared);

    QList<bool> library(game.size(), false);
    for (const Scope &scope : map.scopes) {
        if (scope.source >= 0 && scope.source < game.size())
            library[scope.source] = true;
    }
    QList<Source> aiProgram;
    for (qsizetype i = 0; i < game.size(); ++i) {
        if (!library[i])
            aiProgram.append(game[i]);
    }
    aiProgram += ai;
    const Result aiResult = Analyse(aiProgram, PrimitiveApi());
    files.aiApi = WithKnownTypes(aiResult.declared);

    // The game files' errors once, from the first program.
    const auto keepErrors = [&files](const Result &result, const QList<Source> &program, qsizetype from) {
        for (const Diagnostic &d : result.diagnostics) {
            if (d.severity == Severity::Error && d.source >= from && d.source < program.size())
                files.apiErrors.append({ program[d.source].name, d });
        }
    };
    keepErrors(map, game, 0);
    keepErrors(aiResult, aiProgram, aiProgram.size() - ai.size());
}

LanguageFiles ImportDeclarationFiles(const QList<ImportSource> &sources)
{
    QList<ParsedSource> parsed;
    QList<ApiSource> apiSources;
    parsed.reserve(sources.size());
    apiSources.reserve(sources.size());
    for (const ImportSource &source : sources) {
        const QByteArray bytes = TextFile::ReadBytes(source.fileName);
        QStringList lines = TextFile::SplitLines(TextCodec::DecodeCp1252(bytes));
        if (!lines.isEmpty() && lines.first().startsWith(kByteOrderMark))
            lines.first().remove(0, kByteOrderMark.size());
        parsed.append(ParsedSource { source.kind, ParseDeclarations(lines, source.fileName) });
        apiSources.append(ApiSource { source.kind, Analysis::Source { source.fileName, bytes } });
    }
    LanguageFiles files = BuildLanguageFiles(parsed);
    BuildApis(files, apiSources);
    return files;
}

void WriteLanguageFiles(const QString &folder, const LanguageFiles &files)
{
    TextFile::MakeFolder(folder);
    const QDir dir(folder);
    const auto file = [&dir](const QString &name, const QStringList &lines) {
        return TextFile::FileBytes { dir.filePath(name),
            TextCodec::EncodeCp1252(TextFile::JoinLines(lines)) };
    };
    // All are replaced together: a failed write leaves the old set.
    TextFile::WriteFiles({ file(kDefaultFunctionFile, files.functions),
        file(kDefaultConstantFile, files.constants), file(kDefaultSyntaxFile, files.syntax),
        file(kDefaultAIFunctionFile, files.aiFunctions), file(kDefaultAIConstantFile, files.aiConstants),
        TextFile::FileBytes { dir.filePath(kApiFileName), Analysis::WriteApi(files.api) },
        TextFile::FileBytes { dir.filePath(kAIApiFileName), Analysis::WriteApi(files.aiApi) } });
}
