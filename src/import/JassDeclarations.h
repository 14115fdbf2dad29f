#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The declarations of a JASS file as the game's declaration files write them:
// types, globals blocks, natives and functions. Function bodies are skipped.
// Texts are normalised: runs of spaces and tabs outside literals become one
// space, comments are gone.

struct FunctionDeclaration {
    QString name;
    QString parameters; // "nothing" or "integer i, real r"
    QString returnType;
    bool isConstant = false;
    bool isNative = false;
};

struct GlobalDeclaration {
    QString type;
    QString name;
    QString value; // empty when the declaration has no initial value
    bool isConstant = false;
    bool isArray = false;
};

struct TypeDeclaration {
    QString name;
    QString parent;
};

struct DeclarationSet {
    QList<FunctionDeclaration> functions; // natives and functions in file order
    QList<GlobalDeclaration> globals;
    QList<TypeDeclaration> types;
};

// Reads the lines of one file. A declaration may run over several lines; it
// ends with its "returns TYPE" (natives and functions) or with a complete
// value (globals). Raises TolvaneError, naming the file and the line, when
// the text is not JASS, a block is left open, or nothing is declared.
[[nodiscard]] DeclarationSet ParseDeclarations(const QStringList &lines, const QString &fileName);

// The code part of a line: the text before a "//" that stands outside string
// and character literals, with spaces normalised as above. `openQuote` is the
// literal a previous line left open, so the line starts inside it.
[[nodiscard]] QString CodePart(const QString &line, QChar openQuote = QChar());
// The quote character of a literal left open at the end of code text, or null.
[[nodiscard]] QChar OpenQuoteAtEnd(const QString &code);
