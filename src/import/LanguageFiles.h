#pragma once

#include "analysis/Analysis.h"
#include "import/JassDeclarations.h"

#include <QList>
#include <QString>
#include <QStringList>

// The five language files the default configuration names, made from the
// game's declaration files: "Func.txt", "Const.txt", "AIFunc.txt",
// "AIConst.txt" and "Syn.txt". Each list holds the lines of one file. Beside
// them go the two compact API files of the script check (langdata/ApiFiles.h).
struct LanguageFiles {
    QStringList functions;
    QStringList constants;
    QStringList aiFunctions;
    QStringList aiConstants;
    QStringList syntax;
    Analysis::Api api;
    Analysis::Api aiApi;
    // What the game would stop at in the declaration files: the API files
    // then lack what the faulty lines declare.
    struct ApiError {
        QString file;
        Analysis::Diagnostic diagnostic;
    };
    QList<ApiError> apiErrors;
};

// Where a file's declarations go: common.j and blizzard.j feed the function
// and constant lists, common.ai the AI lists. All of them add their types to
// the syntax file.
enum class SourceKind { Game, AI };

struct ImportSource {
    QString fileName;
    SourceKind kind = SourceKind::Game;
};

// "*.ai" files are AI scripts, every other name is a game declaration file.
[[nodiscard]] SourceKind KindOfFileName(const QString &fileName);

// One line per declaration, in the forms the catalogue reads:
// "Name takes ARGS returns TYPE" (name first, return type last);
// "type name" or "type name = value" (name second);
// AI globals as declared: "constant integer X = 1", "integer array X".
[[nodiscard]] QString FunctionLine(const FunctionDeclaration &f);
[[nodiscard]] QString ConstantLine(const GlobalDeclaration &g);
[[nodiscard]] QString AIGlobalLine(const GlobalDeclaration &g);
// Keywords, literals, the base types and the given declared types, each
// class with its colour and styles.
[[nodiscard]] QStringList SyntaxLines(const QStringList &declaredTypes);

struct ParsedSource {
    SourceKind kind = SourceKind::Game;
    DeclarationSet declarations;
};
[[nodiscard]] LanguageFiles BuildLanguageFiles(const QList<ParsedSource> &sources);

struct ApiSource {
    SourceKind kind = SourceKind::Game;
    Analysis::Source source;
};
// What the script check is given before a script. Map scripts: the six
// primitive types and every game file (common.j, blizzard.j). AI scripts: the
// game files without function bodies (common.j; the game does not load the
// library blizzard.j before an AI script) and the AI files (common.ai). Both
// stand alone, so one file is read for a check.
void BuildApis(LanguageFiles &files, const QList<ApiSource> &sources);

// Reads and parses every source before anything else, so a file that is not
// JASS stops the import with TolvaneError and nothing written.
[[nodiscard]] LanguageFiles ImportDeclarationFiles(const QList<ImportSource> &sources);

// Writes the five files into `folder` (created when missing), in code page
// 1252 with CR LF, and the two API files; none replaces its old file before
// all are written out. Raises TolvaneError.
void WriteLanguageFiles(const QString &folder, const LanguageFiles &files);
