#include "Highlighter.h"

#include "platform/Colors.h"
#include "platform/Rtf.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

enum CharSet : uint8_t {
    RunSet = 1,
    ClassifySet = 2,
    BracketSet = 4,
    WordStart = 8,
    WordChar = 16,
    Space = 32
};

constexpr std::array<uint8_t, 128> MakeTable()
{
    std::array<uint8_t, 128> t {};
    for (char c : std::string_view("\"'*+-./0123456789<=>\\"))
        t[size_t(c)] |= RunSet;
    for (char c : std::string_view("!\"'*+-/0123456789<=>\\"))
        t[size_t(c)] |= ClassifySet;
    for (char c : std::string_view("()[]"))
        t[size_t(c)] |= BracketSet;
    for (int c = 'a'; c <= 'z'; ++c)
        t[size_t(c)] |= WordStart | WordChar;
    for (int c = 'A'; c <= 'Z'; ++c)
        t[size_t(c)] |= WordStart | WordChar;
    t[size_t('_')] |= WordStart | WordChar;
    for (int c = '0'; c <= '9'; ++c)
        t[size_t(c)] |= WordChar;
    for (char c : std::string_view("\t\n\r "))
        t[size_t(c)] |= Space;
    return t;
}

constexpr std::array<uint8_t, 128> kChars = MakeTable();

inline bool Is(char16_t c, uint8_t set)
{
    return c < 128 && (kChars[c] & set) != 0;
}

enum class State : uint8_t { Normal, String, Literal, Comment, Operator, Bracket };

void AppendNumber(QByteArray &out, int value)
{
    out.append(QByteArray::number(value));
}

void AppendColor(QByteArray &table, uint32_t color)
{
    table.append("\\red");
    AppendNumber(table, Colors::Red(color));
    table.append("\\green");
    AppendNumber(table, Colors::Green(color));
    table.append("\\blue");
    AppendNumber(table, Colors::Blue(color));
    table.append(';');
}

// Gives a class its index and codes; underline is carried too (\ul ...
// \ulnone), which leaves the codes of classes without it as they are.
void AssignCodes(TSyntaxType &type, int index)
{
    type.ColorIndex = index;
    type.RtfOpen = "\\cf" + QByteArray::number(index);
    type.RtfColor
        = Colors::FromRgb(Colors::Red(type.Color), Colors::Green(type.Color), Colors::Blue(type.Color));
    type.RtfStyle = type.Style & (FontStyle::Bold | FontStyle::Italic | FontStyle::Underline);
    QByteArray close;
    if (type.Style & FontStyle::Bold) {
        type.RtfOpen.append("\\b");
        close.append("\\b0");
    }
    if (type.Style & FontStyle::Italic) {
        type.RtfOpen.append("\\i");
        close.append("\\i0");
    }
    if (type.Style & FontStyle::Underline) {
        type.RtfOpen.append("\\ul");
        close.append("\\ulnone");
    }
    type.RtfOpen.append(' ');
    if (!close.isEmpty())
        close.append(' ');
    type.RtfClose = close;
}

} // namespace

void AppendRtfText(QByteArray &out, QStringView text)
{
    const qsizetype start = out.size();
    out.resize(start + text.size());
    char *p = out.data() + start;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c >= 0x80 || c == u'\\' || c == u'{' || c == u'}')
            break;
        *p++ = char(c);
    }
    if (i == text.size())
        return;
    out.truncate(p - out.data());
    for (; i < text.size(); ++i)
        Rtf::AppendEscaped(out, text[i]);
}

SyntaxEngine::SyntaxEngine()
    : m_builtins(BuiltinClasses::Create())
{
}

void SyntaxEngine::AddWords(const WordPairs &words)
{
    m_words.AddWords(words);
}

TSyntaxType *SyntaxEngine::FindWordClass(QStringView word) const
{
    TSyntaxType *found = m_words.Find(word);
    return found ? found : m_builtins.Plain.get();
}

void SyntaxEngine::RebuildCodes()
{
    m_words.SetSensitivity(Qt::CaseSensitive);
    m_colorTable = "{\\colortbl ;";
    std::vector<TSyntaxType *> registered;
    const TSyntaxType *previous = nullptr;
    for (const WordList::Entry &entry : m_words.Entries()) {
        TSyntaxType *type = entry.wordClass.get();
        if (type == previous)
            continue; // runs of words share their class
        previous = type;
        TSyntaxType *same = nullptr;
        for (TSyntaxType *r : registered) {
            if (r->Color == type->Color && r->Style == type->Style) {
                same = r;
                break;
            }
        }
        if (same) {
            if (same != type) {
                type->ColorIndex = same->ColorIndex;
                type->RtfOpen = same->RtfOpen;
                type->RtfClose = same->RtfClose;
                type->RtfColor = same->RtfColor;
                type->RtfStyle = same->RtfStyle;
            }
            continue;
        }
        registered.push_back(type);
        const int index = int(registered.size());
        AppendColor(m_colorTable, type->Color);
        AssignCodes(*type, index);
    }
    const int n = int(registered.size());
    const std::array<TSyntaxType *, 5> builtins { m_builtins.Comment.get(), m_builtins.String.get(),
        m_builtins.Operator.get(), m_builtins.Bracket.get(), m_builtins.Plain.get() };
    for (size_t i = 0; i < builtins.size(); ++i) {
        AppendColor(m_colorTable, builtins[i]->Color);
        AssignCodes(*builtins[i], n + 1 + int(i));
    }
    m_colorTable.append('}');
}

bool SyntaxEngine::LinesIndependent() const
{
    const TSyntaxType &plain = *m_builtins.Plain;
    return plain.RtfOpen.isEmpty() || (plain.RtfColor == 0 && plain.RtfStyle == 0);
}

qsizetype SyntaxEngine::NextToken(QStringView line, qsizetype pos)
{
    const qsizetype n = line.size();
    if (pos >= n)
        return 0;
    const char16_t first = line[pos].unicode();
    qsizetype end = pos + 1;
    uint8_t set = 0;
    if (Is(first, RunSet))
        set = RunSet;
    else if (Is(first, BracketSet))
        set = BracketSet;
    else if (Is(first, WordStart))
        set = WordChar;
    if (set) {
        while (end < n && Is(line[end].unicode(), set))
            ++end;
    }
    return end - pos;
}

void SyntaxEngine::ClassifyLine(QStringView line, HighlightSink &sink) const
{
    const qsizetype n = line.size();
    qsizetype pos = 0;
    State state = State::Normal;
    bool closing = false;
    bool escape = false;
    while (true) {
        const qsizetype spaceStart = pos;
        while (pos < n && Is(line[pos].unicode(), Space))
            ++pos;
        if (pos > spaceStart)
            sink.Space(line, spaceStart, pos - spaceStart);
        if (pos >= n)
            break;
        const qsizetype length = NextToken(line, pos);
        const QChar *token = line.data() + pos;

        if (state == State::Operator || state == State::Bracket)
            state = State::Normal;
        if (closing && (state == State::String || state == State::Literal))
            state = State::Normal;
        closing = false;

        const char16_t first = token[0].unicode();
        if (Is(first, ClassifySet)) {
            if (state == State::Normal)
                state = State::Operator;
            escape = false;
            for (qsizetype i = 0; i < length; ++i) {
                const char16_t c = token[i].unicode();
                const bool escaped = escape;
                escape = false;
                if (c == u'/' && i + 1 < length && token[i + 1] == u'/') {
                    if (state == State::String || state == State::Literal)
                        continue;
                    state = State::Comment;
                    break;
                }
                if (c == u'\\') {
                    escape = !escaped && state == State::String;
                } else if (c == u'"') {
                    if (escaped || state == State::Literal || state == State::Comment)
                        continue;
                    if (state == State::String) {
                        closing = true;
                    } else {
                        state = State::String;
                        closing = false;
                    }
                } else if (c == u'\'') {
                    if (escaped || state == State::String || state == State::Comment)
                        continue;
                    if (state == State::Literal)
                        closing = true;
                    else
                        state = State::Literal;
                }
            }
        }
        if (Is(first, BracketSet) && state == State::Normal)
            state = State::Bracket;

        TSyntaxType *type = nullptr;
        switch (state) {
        case State::Normal:
            type = FindWordClass(QStringView(token, length));
            break;
        case State::String:
        case State::Literal:
            type = m_builtins.String.get();
            break;
        case State::Comment:
            type = m_builtins.Comment.get();
            break;
        case State::Operator:
            type = m_builtins.Operator.get();
            break;
        case State::Bracket:
            type = m_builtins.Bracket.get();
            break;
        }
        sink.Token(line, pos, length, type);
        pos += length;
    }
}

void SyntaxEngine::LineToRtf(QStringView line, QByteArray &out) const
{
    RtfLineSink sink(out, m_builtins.Plain.get());
    ClassifyLine(line, sink);
    sink.Finish();
}

void SyntaxEngine::LineToRuns(QStringView line, RunLineSink &sink, LineRuns &out) const
{
    sink.BeginLine(out);
    ClassifyLine(line, sink);
    sink.Finish();
}

QByteArray SyntaxEngine::BeginDocument(qsizetype characters, qsizetype lineCount, int fontPoints) const
{
    QByteArray out;
    // Real scripts need about 2.3 bytes of rich text per character and 8 per
    // line end; an estimate spares regrowing a multi-megabyte buffer, and one
    // close to the need keeps the untouched part small.
    out.reserve(characters * 5 / 2 + lineCount * 8 + 4096);
    out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1030{\\fonttbl{\\f0\\fnil Courier New;}}\r\n");
    out.append(m_colorTable);
    out.append("\r\n\\viewkind4\\uc1\\pard\\f0\\fs");
    AppendNumber(out, fontPoints * 2);
    out.append(' ');
    return out;
}

// The most one character can take in rich text: "\\u-32768?".
constexpr qsizetype kMaxBytesPerChar = 9;

void RtfLineSink::Grow(qsizetype bytes)
{
    // Room for the rest of a typical line too; the array's capacity grows
    // geometrically underneath, and Finish() gives back what was not used.
    m_out.resize(m_used + bytes + 4096);
}

void RtfLineSink::Put(const char *codes, qsizetype length)
{
    MakeRoom(length);
    std::memcpy(m_out.data() + m_used, codes, size_t(length));
    m_used += length;
}

void RtfLineSink::Put(const QByteArray &codes)
{
    Put(codes.constData(), codes.size());
}

void RtfLineSink::PutText(QStringView text)
{
    MakeRoom(text.size() * kMaxBytesPerChar);
    char *const start = m_out.data() + m_used;
    char *p = start;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c < 0x80 && c != u'\\' && c != u'{' && c != u'}') {
            *p++ = char(c);
            continue;
        }
        QByteArray escaped;
        Rtf::AppendEscaped(escaped, ch);
        std::memcpy(p, escaped.constData(), size_t(escaped.size()));
        p += escaped.size();
    }
    m_used += p - start;
}

void RtfLineSink::Space(QStringView line, qsizetype start, qsizetype length)
{
    PutText(line.mid(start, length));
}

void RtfLineSink::Token(QStringView line, qsizetype start, qsizetype length, TSyntaxType *wordClass)
{
    const QStringView token = line.mid(start, length);
    if (wordClass != m_plain) {
        TokenToRtf(token, wordClass);
        m_colored = true;
        return;
    }
    if (m_colored)
        Put(m_plain->RtfOpen);
    PutText(token);
    m_colored = false;
    m_lastClass = nullptr;
}

void RtfLineSink::TokenToRtf(QStringView token, const TSyntaxType *wordClass)
{
    if (wordClass != m_lastClass || !wordClass->RtfClose.isEmpty())
        Put(wordClass->RtfOpen);
    PutText(token);
    Put(wordClass->RtfClose);
    m_lastClass = wordClass;
}

void RtfLineSink::Finish()
{
    if (m_colored)
        Put("\\cf0", 4);
    Put("\\par", 4);
    m_out.truncate(m_used);
}

RunLineSink::RunLineSink(const TSyntaxType *plain, int fontPoints)
    : m_plain(plain)
{
    m_current.halfPoints = uint16_t(fontPoints * 2);
}

void RunLineSink::BeginLine(LineRuns &out)
{
    m_out = &out;
    m_out->clear();
    m_lastClass = nullptr;
    m_colored = false;
}

void RunLineSink::Append(qsizetype length)
{
    if (length <= 0)
        return;
    if (!m_out->empty() && m_out->back().attributes == m_current)
        m_out->back().length += int32_t(length);
    else
        m_out->push_back({ int32_t(length), m_current });
}

void RunLineSink::Open(const TSyntaxType *wordClass)
{
    if (wordClass->RtfOpen.isEmpty())
        return;
    m_current.color = wordClass->RtfColor;
    m_current.style |= wordClass->RtfStyle;
}

void RunLineSink::Space(QStringView, qsizetype, qsizetype length)
{
    Append(length);
}

void RunLineSink::Token(QStringView, qsizetype, qsizetype length, TSyntaxType *wordClass)
{
    if (wordClass != m_plain) {
        if (wordClass != m_lastClass || !wordClass->RtfClose.isEmpty())
            Open(wordClass);
        Append(length);
        if (!wordClass->RtfClose.isEmpty())
            m_current.style &= uint8_t(~wordClass->RtfStyle);
        m_lastClass = wordClass;
        m_colored = true;
        return;
    }
    if (m_colored)
        Open(m_plain);
    Append(length);
    m_colored = false;
    m_lastClass = nullptr;
}

void RunLineSink::Finish()
{
    if (m_colored)
        m_current.color = 0; // \cf0
}
