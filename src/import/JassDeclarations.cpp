#include "JassDeclarations.h"

#include "platform/Errors.h"

#include <QVarLengthArray>

namespace {

bool IsIdentifier(QStringView word)
{
    if (word.isEmpty())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char16_t c = word[i].unicode();
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

// Position of the first `wanted` outside string and character literals, or -1.
qsizetype FindOutsideLiterals(const QString &code, QChar wanted)
{
    QChar quote;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quote.isNull()) {
            if (c == wanted)
                return i;
            if (c == u'"' || c == u'\'')
                quote = c;
        } else if (c == u'\\') {
            ++i;
        } else if (c == quote) {
            quote = QChar();
        }
    }
    return -1;
}

// True when every "(" outside literals is closed and no literal is left open.
bool IsBalanced(const QString &code)
{
    int depth = 0;
    QChar quote;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quote.isNull()) {
            if (c == u'(')
                ++depth;
            else if (c == u')')
                --depth;
            else if (c == u'"' || c == u'\'')
                quote = c;
        } else if (c == u'\\') {
            ++i;
        } else if (c == quote) {
            quote = QChar();
        }
    }
    return depth <= 0 && quote.isNull();
}

// "integer a,integer b" and "integer a , integer b" both become "integer a, integer b".
QString NormaliseCommas(QString text)
{
    text.replace(QLatin1String(" ,"), QLatin1String(","));
    text.replace(QLatin1String(","), QLatin1String(", "));
    text.replace(QLatin1String(",  "), QLatin1String(", "));
    return text;
}

using Words = QVarLengthArray<QStringView, 16>;

// The words of a normalised code line, which holds single spaces only.
Words SplitWords(QStringView code)
{
    Words words;
    qsizetype start = 0;
    for (;;) {
        const qsizetype space = code.indexOf(u' ', start);
        if (space < 0) {
            words.append(code.mid(start));
            return words;
        }
        words.append(code.mid(start, space - start));
        start = space + 1;
    }
}

// "nothing", or pairs "type name" separated by ", ".
bool IsParameterList(QStringView parameters)
{
    if (parameters == QLatin1String("nothing"))
        return true;
    qsizetype start = 0;
    for (;;) {
        const qsizetype comma = parameters.indexOf(u',', start);
        const QStringView item = parameters.mid(start, comma < 0 ? -1 : comma - start);
        const Words words = SplitWords(item);
        if (words.size() != 2 || !IsIdentifier(words[0]) || !IsIdentifier(words[1]))
            return false;
        if (comma < 0)
            return true;
        start = comma + 2; // after ", "
        if (start > parameters.size())
            return false;
    }
}

QString Excerpt(const QString &line)
{
    const QString text = line.trimmed();
    return text.size() > 60 ? text.left(57) + QLatin1String("...") : text;
}

class Parser {
public:
    Parser(const QStringList &lines, const QString &fileName)
        : m_lines(lines)
        , m_fileName(fileName)
    {
    }

    DeclarationSet Run();

private:
    enum class Block { Top, Globals, Function };

    [[noreturn]] void Fail(qsizetype lineIndex, const QString &what) const
    {
        throw TolvaneError(QStringLiteral("%1, line %2: %3").arg(m_fileName).arg(lineIndex + 1).arg(what));
    }
    [[noreturn]] void FailNotJass(qsizetype lineIndex) const
    {
        Fail(lineIndex, QStringLiteral("not a JASS declaration: %1").arg(Excerpt(m_lines[lineIndex])));
    }

    // Index of the next line with code from m_next on, or -1.
    qsizetype PeekCode() const;
    // Appends the next line of code to `code` for a declaration that
    // started at `start` and is not complete yet.
    void Continue(QString &code, qsizetype start, const QString &missing);

    void ParseTop(const QString &code, qsizetype index);
    void ParseFunctionHeader(QString code, qsizetype index);
    void ParseGlobal(QString code, qsizetype index);

    const QStringList &m_lines;
    const QString &m_fileName;
    qsizetype m_next = 0;
    Block m_block = Block::Top;
    qsizetype m_blockStart = 0;
    QString m_functionName;
    DeclarationSet m_result;
};

// The first word of a line's code, found without building the code part:
// most lines are function bodies, where nothing else matters.
QStringView FirstCodeWord(const QString &line)
{
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n && (line[i] == u' ' || line[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    while (i < n && line[i] != u' ' && line[i] != u'\t'
        && !(line[i] == u'/' && i + 1 < n && line[i + 1] == u'/'))
        ++i;
    return QStringView(line).mid(start, i - start);
}

bool StartsDeclaration(QStringView first)
{
    static const QStringList keywords = {
        QStringLiteral("type"),
        QStringLiteral("globals"),
        QStringLiteral("endglobals"),
        QStringLiteral("native"),
        QStringLiteral("function"),
        QStringLiteral("endfunction"),
        QStringLiteral("constant"),
    };
    return keywords.contains(first);
}

bool IsConstantGlobal(const QString &code)
{
    const Words words = SplitWords(code);
    const QStringView second = words.size() > 1 ? words[1] : QStringView();
    return code.startsWith(QLatin1String("constant ")) && second != QLatin1String("native")
        && second != QLatin1String("function");
}

qsizetype Parser::PeekCode() const
{
    for (qsizetype i = m_next; i < m_lines.size(); ++i) {
        if (!FirstCodeWord(m_lines[i]).isEmpty())
            return i;
    }
    return -1;
}

void Parser::Continue(QString &code, qsizetype start, const QString &missing)
{
    const qsizetype index = PeekCode();
    if (index < 0)
        Fail(start, missing);
    if (StartsDeclaration(FirstCodeWord(m_lines[index])))
        Fail(start, missing);
    const QChar openQuote = OpenQuoteAtEnd(code);
    code += u' ';
    code += CodePart(m_lines[index], openQuote);
    m_next = index + 1;
}

DeclarationSet Parser::Run()
{
    // Checked up front: a declaration that runs on takes in lines the loop
    // below never sees by themselves.
    for (const QString &line : m_lines) {
        if (line.contains(QChar(0)))
            throw TolvaneError(QStringLiteral("%1 is not a text file.").arg(m_fileName));
    }
    while (m_next < m_lines.size()) {
        const qsizetype index = m_next++;
        const QString &line = m_lines[index];
        const QStringView first = FirstCodeWord(line);
        if (first.isEmpty())
            continue;
        if (m_block == Block::Function) {
            if (first == QLatin1String("endfunction"))
                m_block = Block::Top;
            else if (StartsDeclaration(first))
                Fail(m_blockStart, QStringLiteral("function %1 has no \"endfunction\"").arg(m_functionName));
            continue;
        }
        const QString code = CodePart(line);
        if (m_block == Block::Top) {
            ParseTop(code, index);
        } else if (first == QLatin1String("endglobals")) {
            m_block = Block::Top;
        } else if (StartsDeclaration(first) && !IsConstantGlobal(code)) {
            Fail(m_blockStart, QStringLiteral("the globals block has no \"endglobals\""));
        } else {
            ParseGlobal(code, index);
        }
    }
    if (m_block == Block::Globals)
        Fail(m_blockStart, QStringLiteral("the globals block has no \"endglobals\""));
    if (m_block == Block::Function)
        Fail(m_blockStart, QStringLiteral("function %1 has no \"endfunction\"").arg(m_functionName));
    if (m_result.functions.isEmpty() && m_result.globals.isEmpty() && m_result.types.isEmpty())
        throw TolvaneError(QStringLiteral("%1 holds no JASS declarations.").arg(m_fileName));
    return std::move(m_result);
}

void Parser::ParseTop(const QString &code, qsizetype index)
{
    const Words words = SplitWords(code);
    const QStringView first = words[0];
    const QStringView keyword = first == QLatin1String("constant") && words.size() > 1 ? words[1] : first;
    if (keyword == QLatin1String("native") || keyword == QLatin1String("function")) {
        ParseFunctionHeader(code, index);
    } else if (first == QLatin1String("globals") && words.size() == 1) {
        m_block = Block::Globals;
        m_blockStart = index;
    } else if (first == QLatin1String("type") && words.size() == 4 && words[2] == QLatin1String("extends")
        && IsIdentifier(words[1]) && IsIdentifier(words[3])) {
        m_result.types.append(TypeDeclaration { words[1].toString(), words[3].toString() });
    } else {
        FailNotJass(index);
    }
}

void Parser::ParseFunctionHeader(QString code, qsizetype index)
{
    const QString missing = QStringLiteral("the declaration does not end with \"returns TYPE\"");
    // Complete once the last two words are "returns TYPE".
    while (code.lastIndexOf(u' ') < 0
        || !QStringView(code).first(code.lastIndexOf(u' ')).endsWith(QLatin1String(" returns")))
        Continue(code, index, missing);
    const Words words = SplitWords(code);
    FunctionDeclaration f;
    f.isConstant = words[0] == QLatin1String("constant");
    const qsizetype k = f.isConstant ? 1 : 0;
    f.isNative = words[k] == QLatin1String("native");
    const qsizetype returnsAt = words.size() - 2;
    if (words.size() < k + 6 || words[k + 2] != QLatin1String("takes") || !IsIdentifier(words[k + 1]))
        FailNotJass(index);
    f.name = words[k + 1].toString();
    const qsizetype from = words[k + 3].data() - code.constData();
    const qsizetype to = words[returnsAt].data() - code.constData() - 1;
    f.parameters = NormaliseCommas(code.mid(from, to - from));
    f.returnType = words.back().toString();
    if (!IsParameterList(f.parameters) || !IsIdentifier(f.returnType))
        FailNotJass(index);
    m_result.functions.append(f);
    if (!f.isNative) {
        m_block = Block::Function;
        m_blockStart = index;
        m_functionName = f.name;
    }
}

void Parser::ParseGlobal(QString code, qsizetype index)
{
    const QString missing = QStringLiteral("the declaration has no complete value");
    qsizetype equals = -1;
    for (;;) {
        equals = FindOutsideLiterals(code, u'=');
        const QString left = equals < 0 ? code : code.left(equals).trimmed();
        const qsizetype leftWords
            = left.count(u' ') + 1 - (left.startsWith(QLatin1String("constant ")) ? 1 : 0);
        bool complete;
        if (equals < 0) {
            const qsizetype next = PeekCode();
            const bool valueFollows = next >= 0 && FirstCodeWord(m_lines[next]).startsWith(u'=');
            complete = leftWords >= 2 && !valueFollows;
        } else {
            const QString value = code.mid(equals + 1).trimmed();
            complete = !value.isEmpty() && IsBalanced(value);
        }
        if (complete)
            break;
        Continue(code, index, missing);
    }

    GlobalDeclaration g;
    const QString left = equals < 0 ? code : code.left(equals).trimmed();
    Words words = SplitWords(left);
    if (words[0] == QLatin1String("constant")) {
        g.isConstant = true;
        words.erase(words.begin());
    }
    if (words.size() == 3 && words[1] == QLatin1String("array")) {
        g.isArray = true;
        words.erase(words.begin() + 1);
    }
    if (words.size() != 2 || !IsIdentifier(words[0]) || !IsIdentifier(words[1]))
        FailNotJass(index);
    g.type = words[0].toString();
    g.name = words[1].toString();
    if (equals >= 0)
        g.value = code.mid(equals + 1).trimmed();
    m_result.globals.append(g);
}

} // namespace

QChar OpenQuoteAtEnd(const QString &code)
{
    QChar quote;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        if (quote.isNull()) {
            if (c == u'"' || c == u'\'')
                quote = c;
        } else if (c == u'\\') {
            ++i;
        } else if (c == quote) {
            quote = QChar();
        }
    }
    return quote;
}

QString CodePart(const QString &line, QChar openQuote)
{
    const qsizetype n = line.size();
    QString code(n, Qt::Uninitialized);
    QChar *out = code.data();
    qsizetype size = 0;
    QChar quote = openQuote;
    bool pendingSpace = false;
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = line[i];
        if (!quote.isNull()) {
            out[size++] = c;
            if (c == u'\\' && i + 1 < n)
                out[size++] = line[++i];
            else if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'/' && i + 1 < n && line[i + 1] == u'/')
            break;
        if (c == u' ' || c == u'\t') {
            pendingSpace = size > 0;
            continue;
        }
        // A run of spaces never grows the text, so the buffer is big enough.
        if (pendingSpace) {
            out[size++] = u' ';
            pendingSpace = false;
        }
        if (c == u'"' || c == u'\'')
            quote = c;
        out[size++] = c;
    }
    code.truncate(size);
    return code;
}

DeclarationSet ParseDeclarations(const QStringList &lines, const QString &fileName)
{
    return Parser(lines, fileName).Run();
}
