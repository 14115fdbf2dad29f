#include "Messages.h"

namespace Analysis::Messages {

namespace {

QString Q(const QString &name)
{
    return QLatin1Char('\'') + name + QLatin1Char('\'');
}

// "an integer", "a unit"; the pseudo types read as they are.
QString WithArticle(const QString &type)
{
    if (type == QLatin1String("null") || type == QLatin1String("nothing"))
        return type;
    const QChar c = type.isEmpty() ? QChar() : type[0].toLower();
    const bool vowel = QStringLiteral("aeiou").contains(c) && !type.startsWith(QLatin1String("uni"));
    return (vowel ? QStringLiteral("an ") : QStringLiteral("a ")) + type;
}

} // namespace

QString Expected(Want expected, const QString &found)
{
    QString what;
    switch (expected) {
    case Want::TypeName:
        what = QStringLiteral("a type name");
        break;
    case Want::Extends:
        what = QStringLiteral("'extends'");
        break;
    case Want::ParentType:
        what = QStringLiteral("the type it extends");
        break;
    case Want::VariableName:
        what = QStringLiteral("a variable name");
        break;
    case Want::FunctionName:
        what = QStringLiteral("a function name");
        break;
    case Want::Takes:
        what = QStringLiteral("'takes'");
        break;
    case Want::ParameterType:
        what = QStringLiteral("a parameter type or 'nothing'");
        break;
    case Want::ParameterName:
        what = QStringLiteral("a parameter name");
        break;
    case Want::Returns:
        what = QStringLiteral("'returns'");
        break;
    case Want::ReturnType:
        what = QStringLiteral("a return type or 'nothing'");
        break;
    case Want::CloseBracket:
        what = QStringLiteral("']'");
        break;
    case Want::Assign:
        what = QStringLiteral("'='");
        break;
    case Want::Then:
        what = QStringLiteral("'then'");
        break;
    case Want::CloseParen:
        what = QStringLiteral("')'");
        break;
    case Want::OpenParen:
        what = QStringLiteral("'('");
        break;
    case Want::CommaOrParen:
        what = QStringLiteral("',' or ')'");
        break;
    case Want::NativeOrFunction:
        what = QStringLiteral("'native' or 'function' after 'constant'");
        break;
    case Want::Declaration:
        what = QStringLiteral("a declaration ('type', 'globals', 'native' or 'function')");
        break;
    case Want::Type:
        what = QStringLiteral("a type");
        break;
    case Want::DebugStatement:
        what = QStringLiteral("'set', 'call', 'if' or 'loop' after 'debug'");
        break;
    case Want::Statement:
        what = QStringLiteral("a statement ('set', 'call', 'if', 'loop', 'exitwhen' or 'return')");
        break;
    case Want::EndifAfterElse:
        what = QStringLiteral("'endif' after 'else'");
        break;
    case Want::Value:
        what = QStringLiteral("a value");
        break;
    case Want::EndOfLine:
        what = QStringLiteral("the end of the line");
        break;
    case Want::MacroName:
        what = QStringLiteral("a textmacro name");
        break;
    case Want::MacroArgument:
        what = QStringLiteral("an argument in double quotes");
        break;
    case Want::FileName:
        what = QStringLiteral("a file name in double quotes");
        break;
    case Want::VjassDeclaration:
        what = QStringLiteral("a declaration");
        break;
    case Want::Member:
        what = QStringLiteral("a member, 'method' or 'implement'");
        break;
    case Want::LibraryName:
        what = QStringLiteral("a library name");
        break;
    case Want::ScopeName:
        what = QStringLiteral("a scope name");
        break;
    case Want::ModuleName:
        what = QStringLiteral("a module name");
        break;
    case Want::OperatorName:
        what = QStringLiteral("an operator ('[]', '[]=', '<', '==') or a name");
        break;
    case Want::ArraySize:
        what = QStringLiteral("'[' and the size of the array");
        break;
    case Want::MemberName:
        what = QStringLiteral("a member name");
        break;
    }
    return QStringLiteral("expected %1, found %2").arg(what, found);
}

namespace {

QString Wanted(Operands wanted)
{
    switch (wanted) {
    case Operands::Booleans:
        return QStringLiteral("booleans");
    case Operands::Numbers:
        return QStringLiteral("numbers");
    case Operands::NumbersOrStrings:
        return QStringLiteral("two numbers or two strings");
    case Operands::Integers:
        return QStringLiteral("integers");
    case Operands::Boolean:
        return QStringLiteral("a boolean");
    case Operands::Number:
        return QStringLiteral("a number");
    }
    return QString();
}

} // namespace
QString FoundEndOfLine()
{
    return QStringLiteral("the end of the line");
}
QString FoundEndOfFile()
{
    return QStringLiteral("the end of the file");
}
QString FoundToken(const QString &text)
{
    return Q(text);
}

QString Character(QByteArrayView bytes)
{
    if (bytes == QByteArrayView("\0", 1))
        return QStringLiteral("NUL");
    const QString text = QString::fromUtf8(bytes);
    QStringList codes;
    if (text.toUtf8() != bytes) {
        for (const char c : bytes)
            codes.append(QStringLiteral("%1").arg(uint(std::uint8_t(c)), 2, 16, QLatin1Char('0')).toUpper());
        return QStringLiteral("the byte%1 %2").arg(codes.size() > 1 ? "s" : "", codes.join(u' '));
    }
    bool visible = true;
    for (const char32_t c : text.toUcs4()) {
        visible
            = visible && QChar::isPrint(c) && !QChar::isSpace(c) && QChar::category(c) != QChar::Other_Format;
        codes.append(QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper());
    }
    return visible ? Q(text) : codes.join(u' ');
}
QString BadCharacter(const QString &shown)
{
    return QStringLiteral("%1 is not part of the language").arg(shown);
}
QString OpenString()
{
    return QStringLiteral("the string is not closed with '\"'");
}
QString OpenRawcode()
{
    return QStringLiteral("the rawcode is not closed with \"'\" on its line");
}
QString LongString(int bytes)
{
    return QStringLiteral("a string literal may hold at most 1023 bytes, but this one holds %1").arg(bytes);
}
QString RawcodeSize(int characters)
{
    return QStringLiteral("a rawcode holds 1 or 4 characters, but this one holds %1").arg(characters);
}
QString UnknownEscape(const QString &shown)
{
    return QStringLiteral("%1 is not an escape sequence; the game knows \\b, \\t, \\n, \\f, \\r, \\\", "
                          "\\' and \\\\")
        .arg(shown);
}
QString EscapeAtLineEnd()
{
    return QStringLiteral("a '\\' before the end of the line is no escape sequence");
}
QString ForbiddenByte(const QString &shown, Literal in)
{
    const char *where = in == Literal::String ? "string" : in == Literal::Rawcode ? "rawcode" : "comment";
    return QStringLiteral("%1 is not allowed in a %2").arg(shown, QLatin1String(where));
}
QString RawcodeEscape()
{
    return QStringLiteral("an escape sequence must be the only character of its rawcode");
}
QString BadOctal()
{
    return QStringLiteral("a number that begins with 0 is octal and may hold only the digits 0 to 7");
}
QString BadHex()
{
    return QStringLiteral("a hexadecimal number needs digits after its prefix");
}
QString NameEnd(const QString &name)
{
    return QStringLiteral("a name may not end with '_', as %1 does").arg(Q(name));
}

QString OpenComment()
{
    return QStringLiteral("the comment is not closed with '*/'");
}

QString NotInside(const QString &keyword, const QString &where)
{
    if (where.isEmpty())
        return QStringLiteral("%1 must be inside a struct, an interface or a module").arg(Q(keyword));
    return QStringLiteral("%1 cannot be inside a %2").arg(Q(keyword), where);
}

QString MissingLibrary(const QString &library, const QString &required)
{
    return QStringLiteral("the library %1 requires %2, which no file declares").arg(Q(library), Q(required));
}
QString LibraryCycle(const QString &library, const QString &required)
{
    return QStringLiteral("the libraries %1 and %2 require each other").arg(Q(library), Q(required));
}
QString NotAModule(const QString &name)
{
    return QStringLiteral("%1 is not a module").arg(Q(name));
}
QString NotAStruct(const QString &name)
{
    return QStringLiteral("%1 is not a struct or an interface").arg(Q(name));
}
QString ExtendsItself(const QString &name)
{
    return QStringLiteral("%1 extends itself").arg(Q(name));
}
QString MissingMethod(const QString &structName, const QString &interfaceName, const QString &method)
{
    return QStringLiteral("%1 extends the interface %2 but has no method %3")
        .arg(Q(structName), Q(interfaceName), Q(method));
}
QString ArrayMemberSize()
{
    return QStringLiteral("an array member needs its size, as in 'integer array a[10]'");
}
QString InitializerTakes(const QString &name, int count)
{
    return QStringLiteral("the initializer %1 must take nothing, but takes %2 argument%3")
        .arg(Q(name))
        .arg(count)
        .arg(count == 1 ? "" : "s");
}
QString InitializerMissing(const QString &name)
{
    return QStringLiteral(
        "the initializer %1 is not declared: the library is called by this name at start, which "
        "stops that thread")
        .arg(Q(name));
}
QString HookArguments(const QString &hooked, int count)
{
    return QStringLiteral("a hook of %1 must take its %2 argument%3")
        .arg(Q(hooked))
        .arg(count)
        .arg(count == 1 ? "" : "s");
}

QString DotOutsideStruct()
{
    return QStringLiteral("'.' without a value before it works only in a method");
}
QString SuperWithoutParent()
{
    return QStringLiteral("'super' works only in a method of a struct that extends another");
}
QString Typecast(const QString &type, const QString &value)
{
    return QStringLiteral("%1(...) takes an integer; %2").arg(Q(type), value);
}
QString NotAMember(const QString &name, const QString &owner)
{
    return QStringLiteral("%1 has no member %2").arg(Q(owner), Q(name));
}
QString NoMembers(const QString &value)
{
    return QStringLiteral("only structs and interfaces have members; %1").arg(value);
}
QString PrivateMember(const QString &name, const QString &owner)
{
    return QStringLiteral("%1 is a private member of %2").arg(Q(name), Q(owner));
}
QString NotStatic(const QString &name)
{
    return QStringLiteral("%1 is not static: it needs an instance").arg(Q(name));
}
QString ReadonlyMember(const QString &name)
{
    return QStringLiteral("%1 is readonly outside its struct").arg(Q(name));
}
QString NoSetter(const QString &name)
{
    return QStringLiteral("%1 has an operator that reads it but none that sets it").arg(Q(name));
}
QString NotIndexable(const QString &value)
{
    return QStringLiteral("only arrays and structs with a '[]' operator take an index; %1").arg(value);
}
QString NotSettable()
{
    return QStringLiteral("this cannot be set: it is no variable, member or operator that sets");
}

QString Without(const QString &closer, const QString &opener)
{
    return QStringLiteral("%1 without %2").arg(Q(closer), Q(opener));
}
QString Missing(const QString &closer, const QString &opener, int line)
{
    return QStringLiteral("missing %1 for the %2 on line %3").arg(Q(closer), Q(opener)).arg(line);
}
QString WrongCloser(const QString &closer, const QString &opener, int line, const QString &found)
{
    return QStringLiteral("expected %1 for the %2 on line %3, found %4")
        .arg(Q(closer), Q(opener))
        .arg(line)
        .arg(Q(found));
}
QString OutsideFunction(const QString &keyword)
{
    return QStringLiteral("%1 outside a function").arg(Q(keyword));
}
QString Misspelt(const QString &found, const QString &keyword)
{
    return QStringLiteral("%1 is not a statement; taken as %2").arg(Q(found), Q(keyword));
}
QString MissingEndfunction(const QString &function, int line)
{
    return QStringLiteral("missing 'endfunction' for the function %1 on line %2").arg(Q(function)).arg(line);
}
QString MissingEndglobals(int line)
{
    return QStringLiteral("missing 'endglobals' for the 'globals' on line %1").arg(line);
}
QString DeclarationAfterFunctions(const QString &keyword)
{
    return QStringLiteral("%1 must come before the first function of the file").arg(Q(keyword));
}
QString LocalAfterStatements()
{
    return QStringLiteral("'local' declarations must come before the first statement of the function");
}
QString ExitwhenOutsideLoop()
{
    return QStringLiteral("'exitwhen' outside a 'loop'");
}

QString TooDeep(int most)
{
    return QStringLiteral("no more than %1 levels of nesting").arg(most);
}
QString BlocksTooDeep(int most)
{
    return QStringLiteral("blocks nested deeper than %1").arg(most);
}
QString PrimitiveName(const QString &name)
{
    return QStringLiteral("%1 is a primitive type and cannot name a variable").arg(Q(name));
}
QString Undeclared(const QString &name)
{
    return QStringLiteral("%1 is not declared").arg(Q(name));
}
QString DeclaredBelow(const QString &name, const QString &where)
{
    return QStringLiteral("%1 is declared only further down%2; a function can use only those above it")
        .arg(Q(name), where);
}
QString NotAType(const QString &name)
{
    return QStringLiteral("%1 is not a type").arg(Q(name));
}
QString NotAFunction(const QString &name)
{
    return QStringLiteral("%1 is not a function").arg(Q(name));
}
QString NotAVariable(const QString &name, bool isType)
{
    return QStringLiteral("%1 is a %2, not a variable")
        .arg(Q(name), isType ? QStringLiteral("type") : QStringLiteral("function"));
}
QString Redeclared(const QString &name, const QString &where)
{
    return QStringLiteral("%1 is already declared%2").arg(Q(name), where);
}
QString WhereLine(int line)
{
    return QStringLiteral(" on line %1").arg(line);
}
QString WhereSource(const QString &source, int line)
{
    return QStringLiteral(" in %1 on line %2").arg(source).arg(line);
}
QString WhereApi()
{
    return QStringLiteral(" in the API");
}
QString WhereParameter()
{
    return QStringLiteral(" as a parameter");
}
QString TypeHidden(const QString &type, int line)
{
    return QStringLiteral("the type %1 is hidden by the local of that name on line %2")
        .arg(Q(type))
        .arg(line);
}
QString TypeExtendsPrimitive(const QString &name, const QString &parent)
{
    return QStringLiteral("%1 may extend only handle or a type that extends it, not %2")
        .arg(Q(name), Q(parent));
}

QString Describe(Origin origin, const QString &name, const QString &type)
{
    switch (origin) {
    case Origin::Variable:
        return QStringLiteral("%1 is %2").arg(Q(name), WithArticle(type));
    case Origin::Call:
        return QStringLiteral("%1 returns %2").arg(Q(name), type);
    case Origin::Expression:
        break;
    }
    return QStringLiteral("the value is %1").arg(WithArticle(type));
}
QString Conversion(const QString &value, const QString &name, const QString &type)
{
    return QStringLiteral("%1; %2 is %3").arg(value, Q(name), WithArticle(type));
}
QString ArgumentCount(const QString &function, const QStringList &parameters, int given)
{
    const int n = int(parameters.size());
    const QString takes = n == 0 ? QStringLiteral("no arguments")
                                 : QStringLiteral("%1 argument%2 (%3)")
                                       .arg(n)
                                       .arg(n == 1 ? "" : "s")
                                       .arg(parameters.join(QStringLiteral(", ")));
    return QStringLiteral("%1 takes %2, but is given %3").arg(function, takes).arg(given);
}
QString TooManyArguments(int most, int given)
{
    return QStringLiteral("a call may pass at most %1 arguments, but this one passes %2")
        .arg(most)
        .arg(given);
}
QString ArgumentType(const QString &function, int index, const QString &parameter, const QString &value)
{
    return QStringLiteral("argument %1 of %2 is %3; %4").arg(index).arg(Q(function), parameter, value);
}
QString Condition(const QString &value)
{
    return QStringLiteral("a condition must be a boolean; %1").arg(value);
}
QString Index(const QString &value)
{
    return QStringLiteral("an array index must be an integer; %1").arg(value);
}
QString NeedsIndex(const QString &name)
{
    return QStringLiteral("%1 is an array and needs an index").arg(Q(name));
}
QString NotAnArray(const QString &name)
{
    return QStringLiteral("%1 is not an array").arg(Q(name));
}
QString OperandTypes(const QString &op, Operands wanted, const QString &left, const QString &right)
{
    return QStringLiteral("%1 needs %2, but is given %3 and %4")
        .arg(Q(op), Wanted(wanted), WithArticle(left), WithArticle(right));
}
QString OperandType(const QString &op, Operands wanted, const QString &value)
{
    return QStringLiteral("%1 needs %2, but is given %3").arg(Q(op), Wanted(wanted), WithArticle(value));
}
QString Comparison(const QString &op, const QString &left, const QString &right)
{
    return QStringLiteral("%1 cannot compare %2 with %3").arg(Q(op), WithArticle(left), WithArticle(right));
}
QString NoValue(const QString &function)
{
    return QStringLiteral("%1 returns nothing, so it has no value").arg(Q(function));
}
QString ReturnNeedsValue(const QString &function, const QString &type)
{
    return QStringLiteral("%1 returns %2, so 'return' needs a value").arg(Q(function), type);
}
QString ReturnNoValue(const QString &function)
{
    return QStringLiteral("%1 returns nothing, so 'return' may not have a value").arg(Q(function));
}
QString ReturnType(const QString &function, const QString &type, const QString &value)
{
    return QStringLiteral("%1 returns %2; %3").arg(Q(function), type, value);
}
QString MissingReturn(const QString &function, const QString &type)
{
    return QStringLiteral("%1 returns %2, but its end can be reached without 'return'")
        .arg(Q(function), type);
}
QString CodeOfNative(const QString &name)
{
    return QStringLiteral("'function' needs a function, but %1 is a native").arg(Q(name));
}
QString CodeTakesArguments(const QString &name, int count)
{
    return QStringLiteral("'function' needs a function that takes nothing, but %1 takes %2 argument%3")
        .arg(Q(name))
        .arg(count)
        .arg(count == 1 ? "" : "s");
}
QString SetConstant(const QString &name)
{
    return QStringLiteral("%1 is a constant and cannot be set").arg(Q(name));
}
QString ConstantNeedsValue(const QString &name)
{
    return QStringLiteral("the constant %1 needs a value").arg(Q(name));
}
QString ConstantArray()
{
    return QStringLiteral("an array cannot be constant");
}
QString ArrayValue()
{
    return QStringLiteral("an array cannot have an initial value");
}
QString CodeArray()
{
    return QStringLiteral("an array of code is not allowed");
}
QString DivisionByZero()
{
    return QStringLiteral("division by zero stops the script");
}

QString ConstantSetsGlobal(const QString &name)
{
    return QStringLiteral("a constant function cannot set the global %1").arg(Q(name));
}
QString ConstantCallsFunction(const QString &name)
{
    return QStringLiteral("a constant function can call only constant functions, and %1 is not one")
        .arg(Q(name));
}
QString GlobalsCrash(const QString &name)
{
    return QStringLiteral("calling %1 in a globals block crashes the game").arg(Q(name));
}
QString Uninitialised(const QString &name)
{
    return QStringLiteral("%1 is read before it is given a value, which stops the script").arg(Q(name));
}

QString OldPatchName(int length, int most)
{
    return QStringLiteral("this name has %1 characters; old patches accept at most %2").arg(length).arg(most);
}
QString OldPatchModulo()
{
    return QStringLiteral("old patches do not know the '%' operator");
}

QString ZincSkipped()
{
    return QStringLiteral("Zinc is not checked: the lines up to '//! endzinc' are passed over");
}
QString MacroRedefined(const QString &name, const QString &where)
{
    return QStringLiteral("the textmacro %1 is already defined%2").arg(Q(name), where);
}
QString MacroUndefined(const QString &name)
{
    return QStringLiteral("no textmacro %1 is defined").arg(Q(name));
}
QString MacroArguments(const QString &name, const QStringList &parameters, int given)
{
    const int n = int(parameters.size());
    const QString takes = n == 0 ? QStringLiteral("no arguments")
                                 : QStringLiteral("%1 argument%2 (%3)")
                                       .arg(n)
                                       .arg(n == 1 ? "" : "s")
                                       .arg(parameters.join(QStringLiteral(", ")));
    return QStringLiteral("the textmacro %1 takes %2, but is given %3").arg(Q(name), takes).arg(given);
}
QString MacroRunsItself(const QString &name)
{
    return QStringLiteral("the textmacro %1 runs itself").arg(Q(name));
}
QString MacroTooLarge(int lines)
{
    return QStringLiteral("the textmacros expand to more than %1 lines; the rest is not expanded").arg(lines);
}
QString ImportUnreadable(const QString &file, const QString &reason)
{
    return QStringLiteral("cannot import %1: %2").arg(Q(file), reason);
}
QString InMacro(const QString &name, const QString &file, int line)
{
    if (file.isEmpty())
        return QStringLiteral(" (in textmacro %1 on line %2)").arg(Q(name)).arg(line);
    return QStringLiteral(" (in textmacro %1 in %2 on line %3)").arg(Q(name), file).arg(line);
}
QString InFile(const QString &file, int line)
{
    return QStringLiteral(" (in %1 on line %2)").arg(file).arg(line);
}

} // namespace Analysis::Messages
