#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Every text the analysis shows, in one place: plain words saying what was
// expected and what was found. Arguments are already-quoted where the caller
// builds them ('x', "the end of the line").
namespace Analysis::Messages {

// What a syntax error expected.
enum class Want {
    TypeName,
    Extends,
    ParentType,
    VariableName,
    FunctionName,
    Takes,
    ParameterType,
    ParameterName,
    Returns,
    ReturnType,
    CloseBracket,
    Assign,
    Then,
    CloseParen,
    OpenParen,
    CommaOrParen,
    NativeOrFunction,
    Declaration,
    Type,
    DebugStatement,
    Statement,
    EndifAfterElse,
    Value,
    EndOfLine,
    MacroName,
    MacroArgument,
    FileName,
    VjassDeclaration,
    Member,
    LibraryName,
    ScopeName,
    ModuleName,
    OperatorName,
    ArraySize,
    MemberName,
};

// What an operator needs of its operands.
enum class Operands { Booleans, Numbers, NumbersOrStrings, Integers, Boolean, Number };

QString Expected(Want expected, const QString &found);
QString FoundEndOfLine();
QString FoundEndOfFile();
QString FoundToken(const QString &text);

// Lexer
// Characters as a message shows them: quoted when they can be seen, else by
// their code ("U+00A0", "NUL", "the byte FF" for bytes that are no UTF-8).
QString Character(QByteArrayView bytes);
QString BadCharacter(const QString &shown);
QString OpenString();
QString OpenRawcode();
QString LongString(int bytes);
QString RawcodeSize(int characters);
QString UnknownEscape(const QString &shown);
QString RawcodeEscape();
QString EscapeAtLineEnd();
enum class Literal { String, Rawcode, Comment };
QString ForbiddenByte(const QString &shown, Literal in);
QString BadOctal();
QString BadHex();
QString NameEnd(const QString &name);
QString OpenComment();

// Blocks and order
QString Without(const QString &closer, const QString &opener);
QString Missing(const QString &closer, const QString &opener, int line);
QString WrongCloser(const QString &closer, const QString &opener, int line, const QString &found);
QString OutsideFunction(const QString &keyword);
QString Misspelt(const QString &found, const QString &keyword);
QString MissingEndfunction(const QString &function, int line);
QString MissingEndglobals(int line);
QString DeclarationAfterFunctions(const QString &keyword);
QString LocalAfterStatements();
QString ExitwhenOutsideLoop();
QString TooDeep(int most);
QString BlocksTooDeep(int most);

// Names
QString Undeclared(const QString &name);
QString DeclaredBelow(const QString &name, const QString &where);
QString NotAType(const QString &name);
QString PrimitiveName(const QString &name);
QString NotAFunction(const QString &name);
QString NotAVariable(const QString &name, bool isType);
QString Redeclared(const QString &name, const QString &where);
QString WhereLine(int line);
QString WhereSource(const QString &source, int line);
QString WhereApi();
QString WhereParameter();
QString TypeHidden(const QString &type, int line);
QString TypeExtendsPrimitive(const QString &name, const QString &parent);

// Types
// What a value is, by what it came from: "'x' is an integer", "'F' returns
// real", "the value is a string".
enum class Origin { Variable, Call, Expression };
QString Describe(Origin origin, const QString &name, const QString &type);
QString Conversion(const QString &value, const QString &name, const QString &type);
QString ArgumentCount(const QString &function, const QStringList &parameters, int given);
QString TooManyArguments(int most, int given);
QString ArgumentType(const QString &function, int index, const QString &parameter, const QString &value);
QString Condition(const QString &value);
QString Index(const QString &value);
QString NeedsIndex(const QString &name);
QString NotAnArray(const QString &name);
QString OperandTypes(const QString &op, Operands wanted, const QString &left, const QString &right);
QString OperandType(const QString &op, Operands wanted, const QString &value);
QString Comparison(const QString &op, const QString &left, const QString &right);
QString NoValue(const QString &function);
QString ReturnNeedsValue(const QString &function, const QString &type);
QString ReturnNoValue(const QString &function);
QString ReturnType(const QString &function, const QString &type, const QString &value);
QString MissingReturn(const QString &function, const QString &type);
QString CodeOfNative(const QString &name);
QString CodeTakesArguments(const QString &name, int count);
QString SetConstant(const QString &name);
QString ConstantNeedsValue(const QString &name);
QString ConstantArray();
QString ArrayValue();
QString CodeArray();
QString DivisionByZero();

// Constant functions and globals blocks
QString ConstantSetsGlobal(const QString &name);
QString ConstantCallsFunction(const QString &name);
QString GlobalsCrash(const QString &name);
QString Uninitialised(const QString &name);

// Warnings: what only old patches reject
QString OldPatchName(int length, int most);
QString OldPatchModulo();

// vJASS structure
// "'method' cannot be outside a struct", "'library' cannot be inside a scope":
// `where` is what encloses it ("scope"), empty at the top of a file.
QString NotInside(const QString &keyword, const QString &where);
QString MissingLibrary(const QString &library, const QString &required);
QString LibraryCycle(const QString &library, const QString &required);
QString NotAModule(const QString &name);
QString NotAStruct(const QString &name);
QString ExtendsItself(const QString &name);
QString MissingMethod(const QString &structName, const QString &interfaceName, const QString &method);
QString ArrayMemberSize();
QString InitializerTakes(const QString &name, int count);
QString InitializerMissing(const QString &name);
QString HookArguments(const QString &hooked, int count);

// vJASS members
QString DotOutsideStruct();
QString SuperWithoutParent();
QString Typecast(const QString &type, const QString &value);
QString NotAMember(const QString &name, const QString &owner);
QString NoMembers(const QString &value);
QString PrivateMember(const QString &name, const QString &owner);
QString NotStatic(const QString &name);
QString ReadonlyMember(const QString &name);
QString NoSetter(const QString &name);
QString NotIndexable(const QString &value);
QString NotSettable();

// vJASS preprocessor
QString ZincSkipped();
QString MacroRedefined(const QString &name, const QString &where);
QString MacroUndefined(const QString &name);
QString MacroArguments(const QString &name, const QStringList &parameters, int given);
QString MacroRunsItself(const QString &name);
QString MacroTooLarge(int lines);
QString ImportUnreadable(const QString &file, const QString &reason);
// Appended to a message on a line a textmacro or an import brought in:
// " (in textmacro 'X' on line 4)", " (in lib.j on line 9)".
QString InMacro(const QString &name, const QString &file, int line);
QString InFile(const QString &file, int line);

} // namespace Analysis::Messages
