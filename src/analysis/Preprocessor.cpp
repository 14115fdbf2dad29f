#include "Preprocessor.h"

#include "Messages.h"

#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace Analysis {

namespace M = Messages;

namespace {

// Expansion stops here: textmacros that run each other can grow without end.
constexpr size_t MaxLines = 2000000;
constexpr int MaxNesting = 64;

using View = std::string_view;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool IsNameByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

QString Text(View v)
{
    return QString::fromUtf8(v.data(), qsizetype(v.size()));
}

// A line split into words the way a directive line reads: names, strings and
// single punctuation bytes, with the byte offset of each.
struct Cursor {
    View line;
    size_t pos = 0;

    void SkipBlanks()
    {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return pos >= line.size() || line.substr(pos, 2) == "//";
    }
    View Name()
    {
        SkipBlanks();
        const size_t from = pos;
        while (pos < line.size() && IsNameByte(line[pos]))
            ++pos;
        return line.substr(from, pos - from);
    }
    bool Accept(char c)
    {
        SkipBlanks();
        if (pos < line.size() && line[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
    // A double-quoted argument; \" stands for a quote, other bytes are kept.
    bool String(QByteArray *out)
    {
        SkipBlanks();
        if (pos >= line.size() || line[pos] != '"')
            return false;
        ++pos;
        out->clear();
        while (pos < line.size() && line[pos] != '"') {
            if (line[pos] == '\\' && pos + 1 < line.size() && line[pos + 1] == '"')
                ++pos;
            out->append(line[pos++]);
        }
        if (pos >= line.size())
            return false;
        ++pos;
        return true;
    }
    // What a syntax error found: the next word, or the end of the line.
    QString Found()
    {
        if (AtEnd())
            return M::FoundEndOfLine();
        size_t end = pos;
        while (end < line.size() && !IsBlank(line[end]) && end - pos < 40)
            ++end;
        return M::FoundToken(Text(line.substr(pos, qMax<size_t>(1, end - pos))));
    }
};

// The directive a line holds ('textmacro' of "//! textmacro X"), or nothing.
View DirectiveWord(View line, size_t *after, int *column)
{
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    if (line.substr(i, 3) != "//!")
        return {};
    *column = int(i) + 1;
    i += 3;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    const size_t from = i;
    while (i < line.size() && IsNameByte(line[i]))
        ++i;
    *after = i;
    return line.substr(from, i - from);
}

// The depth of '/* */' comments after the line, from the depth before it.
// Strings, rawcodes and '//' comments hide the delimiters.
int CommentDepthAfter(View line, int depth)
{
    // Most lines hold no comment at all.
    if (line.empty())
        return depth;
    if (!std::memchr(line.data(), '/', line.size())
        && (depth == 0 || !std::memchr(line.data(), '*', line.size())))
        return depth;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        const char n = i + 1 < line.size() ? line[i + 1] : '\0';
        if (depth > 0) {
            if (c == '/' && n == '*') {
                ++depth;
                ++i;
            } else if (c == '*' && n == '/') {
                --depth;
                ++i;
            }
            continue;
        }
        if (c == '"' || c == '\'') {
            for (++i; i < line.size() && line[i] != c; ++i) {
                if (line[i] == '\\')
                    ++i;
            }
        } else if (c == '/' && n == '/') {
            return depth;
        } else if (c == '/' && n == '*') {
            ++depth;
            ++i;
        }
    }
    return depth;
}

// Whether a line begins with the word 'debug'.
bool IsDebugLine(View line)
{
    size_t i = 0;
    while (i < line.size() && IsBlank(line[i]))
        ++i;
    return line.substr(i, 5) == "debug" && (i + 5 >= line.size() || !IsNameByte(line[i + 5]));
}

// One line on its way through: its bytes and where it came from.
struct Line {
    // What the first pass learnt of a line of a file, so the second need not
    // read it again; the lines of a textmacro are read there.
    enum Kind : std::uint8_t { Unread, Text, Run, Debug };
    View text;
    LineOrigin origin;
    Kind kind = Unread;
};

class Preprocessor {
public:
    Preprocessor(const QList<Source> &sources, const FileReader &read, Preprocessed &out)
        : sources_(sources)
        , read_(read)
        , out_(out)
    {
    }

    void Run()
    {
        for (const Source &s : sources_)
            out_.texts.append(s.name);
        std::vector<std::vector<Line>> staged(size_t(sources_.size()));
        std::vector<bool> changed(size_t(sources_.size()), false);
        for (int i = 0; i < int(sources_.size()); ++i) {
            source_ = i;
            changed[size_t(i)] = Stage(i, sources_[i].name, sources_[i].text, nullptr, staged[size_t(i)]);
        }
        for (int i = 0; i < int(sources_.size()); ++i) {
            source_ = i;
            PreprocessedSource result;
            if (!changed[size_t(i)]) {
                result.text = sources_[i].text;
            } else {
                std::vector<Line> lines;
                lines.reserve(staged[size_t(i)].size());
                int depth = 0;
                Expand(staged[size_t(i)], lines, depth);
                Write(lines, result);
            }
            out_.sources.push_back(std::move(result));
        }
    }

private:
    void Report(const LineOrigin &at, int column, int length, const QString &message,
        Severity severity = Severity::Error)
    {
        Diagnostic d { severity, source_, at.line, column, qMax(1, length), message };
        if (!OwnLine(at)) {
            d.column = qMax(1, at.column);
            d.length = qMax(1, at.length);
            d.message += Where(at);
        }
        out_.diagnostics.append(d);
    }

    QString Where(const LineOrigin &at) const
    {
        const QString file
            = at.text >= 0 && at.text != source_ ? QFileInfo(out_.texts[at.text]).fileName() : QString();
        if (at.macro >= 0)
            return M::InMacro(QString::fromUtf8(out_.macros[size_t(at.macro)].name), file, at.textLine);
        return M::InFile(file, at.textLine);
    }

    static bool OwnLine(const LineOrigin &o) { return o.text < 0 && o.macro < 0; }

    // Where a directive on a line shows: on the source's own line its own
    // place, else the place of what brought the line in.
    static LineOrigin Place(const LineOrigin &origin, int column, int length)
    {
        LineOrigin o = origin;
        if (OwnLine(o)) {
            o.column = column;
            o.length = length;
        }
        return o;
    }

    // The origin of line `number` of a text: the source's own line, or the
    // place of the directive that brought the text in.
    static LineOrigin OriginOf(const LineOrigin *importedAt, int text, int number)
    {
        if (!importedAt)
            return LineOrigin { number, 0, 0, -1, -1, number };
        LineOrigin o = *importedAt;
        o.text = text;
        o.textLine = number;
        o.macro = -1;
        return o;
    }

    // First pass over one file: drops the blocks vJASS passes over, collects
    // textmacros and pastes imports. Returns whether anything changed.
    bool Stage(int text, const QString &path, const QByteArray &bytes, const LineOrigin *importedAt,
        std::vector<Line> &out)
    {
        // A file without directives and debug lines is read as it is.
        const std::string_view all(bytes.constData(), size_t(bytes.size()));
        if (!importedAt && all.find("//!") == std::string_view::npos
            && all.find("debug") == std::string_view::npos)
            return false;
        enum class Block { None, NoVjass, Zinc, Inject, Macro };
        Block block = Block::None;
        LineOrigin blockOrigin;
        int blockColumn = 0, blockLength = 0, blockLine = 0;
        int depth = 0; // of '/* */' comments
        bool changed = false;
        TextMacro macro;
        const char *p = bytes.constData();
        const char *end = p + bytes.size();
        // A byte order mark takes no column.
        if (bytes.startsWith("\xEF\xBB\xBF"))
            p += 3;
        for (int number = 1;; ++number) {
            // The line ends at the LF, or at a CR before it.
            const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
            const char *e = lf ? lf : end;
            if (const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(e - p))))
                e = cr;
            const View line(p, size_t(e - p));
            const LineOrigin origin = OriginOf(importedAt, text, number);
            size_t after = 0;
            int column = 0;
            const View word = depth > 0 ? View() : DirectiveWord(line, &after, &column);
            const int length = int(line.size()) - column + 1;
            if (block != Block::None) {
                const bool closes = (block == Block::NoVjass && word == "endnovjass")
                    || (block == Block::Zinc && word == "endzinc")
                    || (block == Block::Inject && word == "endinject")
                    || (block == Block::Macro && word == "endtextmacro");
                if (block == Block::Macro && !closes)
                    macro.body.emplace_back(line.data(), qsizetype(line.size()));
                if (block == Block::Zinc && !closes)
                    NoteZinc(line);
                if (closes) {
                    if (block == Block::Macro) {
                        macro.lastLine = number;
                        AddMacro(std::move(macro));
                        macro = TextMacro();
                    }
                    block = Block::None;
                }
                out.push_back(Line { View(), origin });
            } else if (word == "novjass" || word == "zinc" || word == "inject" || word == "textmacro"
                || word == "textmacro_once") {
                block = word == "novjass" ? Block::NoVjass
                    : word == "zinc"      ? Block::Zinc
                    : word == "inject"    ? Block::Inject
                                          : Block::Macro;
                blockOrigin = origin;
                blockColumn = column;
                blockLength = length;
                blockLine = number;
                if (block == Block::Zinc)
                    Report(origin, column, length, M::ZincSkipped(), Severity::Warning);
                if (block == Block::Macro) {
                    macro = TextMacro();
                    macro.once = word == "textmacro_once";
                    macro.text = text;
                    macro.line = number;
                    macro.origin = Place(origin, column, length);
                    macro.source = source_;
                    if (!MacroHeader(line, after, origin, macro))
                        macro.name.clear();
                }
                changed = true;
                out.push_back(Line { View(), origin });
            } else if (word == "endtextmacro" || word == "endnovjass" || word == "endzinc"
                || word == "endinject") {
                Report(origin, column, length,
                    M::Without(
                        QStringLiteral("//! ") + Text(word), QStringLiteral("//! ") + Text(word.substr(3))));
                changed = true;
                out.push_back(Line { View(), origin });
            } else if (word == "import") {
                changed = true;
                out.push_back(Line { View(), origin });
                Import(path, line, after, origin, column, out);
            } else {
                const Line::Kind kind = depth > 0 ? Line::Text
                    : word == "runtextmacro"      ? Line::Run
                    : IsDebugLine(line)           ? Line::Debug
                                                  : Line::Text;
                changed = changed || kind != Line::Text;
                out.push_back(Line { line, origin, kind });
                if (kind != Line::Debug)
                    depth = CommentDepthAfter(line, depth);
            }
            if (e >= end)
                break;
            p = e + (*e == '\r' && e + 1 < end && e[1] == '\n' ? 2 : 1);
        }
        if (block == Block::Macro || block == Block::Inject || block == Block::NoVjass) {
            const QString opener = QStringLiteral("//! ")
                + QLatin1String(block == Block::NoVjass ? "novjass"
                        : block == Block::Inject        ? "inject"
                                                        : "textmacro");
            Report(blockOrigin, blockColumn, blockLength,
                M::Missing(QStringLiteral("//! end") + opener.mid(4), opener, blockLine),
                block == Block::NoVjass ? Severity::Warning : Severity::Error);
        }
        return changed;
    }

    // The names a line of Zinc declares for the rest of the program:
    // "library NAME", and what follows 'public' up to a name and '(' or ';'.
    void NoteZinc(View line)
    {
        Cursor c { line, 0 };
        const View first = c.Name();
        if (first == "library") {
            const View name = c.Name();
            if (!name.empty())
                out_.zincLibraries.emplace_back(name.data(), qsizetype(name.size()));
            return;
        }
        if (first != "public")
            return;
        View last;
        for (;;) {
            const View word = c.Name();
            if (word.empty())
                break;
            last = word;
            if (word == "function" || word == "struct" || word == "interface" || word == "module") {
                last = c.Name();
                break;
            }
        }
        if (!last.empty())
            out_.zincNames.emplace_back(last.data(), qsizetype(last.size()));
    }

    // "//! textmacro NAME [takes A, B]"
    bool MacroHeader(View line, size_t after, const LineOrigin &at, TextMacro &macro)
    {
        Cursor c { line, after };
        const View name = c.Name();
        if (name.empty()) {
            Report(at, int(c.pos) + 1, 1, M::Expected(M::Want::MacroName, c.Found()));
            return false;
        }
        macro.name = QByteArray(name.data(), qsizetype(name.size()));
        const size_t before = c.pos;
        if (c.Name() == "takes") {
            for (;;) {
                // A parameter is whatever stands up to the next comma.
                c.SkipBlanks();
                const size_t from = c.pos;
                while (c.pos < line.size() && line[c.pos] != ',' && !IsBlank(line[c.pos])
                    && line.substr(c.pos, 2) != "//")
                    ++c.pos;
                const View parameter = line.substr(from, c.pos - from);
                if (parameter.empty()) {
                    Report(at, int(c.pos) + 1, 1, M::Expected(M::Want::ParameterName, c.Found()));
                    return false;
                }
                macro.parameters.emplace_back(parameter.data(), qsizetype(parameter.size()));
                if (!c.Accept(','))
                    break;
            }
        } else {
            c.pos = before;
        }
        if (!c.AtEnd()) {
            Report(at, int(c.pos) + 1, 1, M::Expected(M::Want::EndOfLine, c.Found()));
            return false;
        }
        return true;
    }

    void AddMacro(TextMacro &&macro)
    {
        if (macro.name.isEmpty())
            return;
        const auto found = byName_.find(macro.name);
        if (found != byName_.end()) {
            const TextMacro &first = out_.macros[size_t(found->second)];
            if (!macro.once) {
                source_ = macro.source;
                Report(macro.origin, macro.origin.column, macro.origin.length,
                    M::MacroRedefined(QString::fromUtf8(macro.name), WhereDefined(first)));
            }
            return;
        }
        byName_.emplace(macro.name, int(out_.macros.size()));
        out_.macros.push_back(std::move(macro));
    }

    QString WhereDefined(const TextMacro &m) const
    {
        if (m.source == source_)
            return M::WhereLine(m.origin.line);
        return M::WhereSource(out_.texts[m.source], m.origin.line);
    }

    // "//! import [vjass|zinc|comment] "FILE"", read relative to the file it is in.
    void Import(const QString &path, View line, size_t after, const LineOrigin &origin, int column,
        std::vector<Line> &out)
    {
        const int length = int(line.size()) - column + 1;
        const LineOrigin at = Place(origin, column, length);
        Cursor c { line, after };
        const size_t before = c.pos;
        const View kind = c.Name();
        if (kind != "vjass" && kind != "zinc" && kind != "comment")
            c.pos = before;
        QByteArray file;
        if (!c.String(&file) || !c.AtEnd()) {
            Report(origin, int(c.pos) + 1, 1, M::Expected(M::Want::FileName, c.Found()));
            return;
        }
        if (kind == "comment")
            return;
        if (kind == "zinc") {
            Report(origin, column, length, M::ZincSkipped(), Severity::Warning);
            return;
        }
        QString name = QString::fromUtf8(file);
        name.replace(QLatin1Char('\\'), QLatin1Char('/'));
        const QString full = QFileInfo(name).isAbsolute() ? name : QFileInfo(path).dir().filePath(name);
        const QString key = QFileInfo(full).absoluteFilePath();
        if (imported_.contains(key))
            return;
        imported_.append(key);
        QByteArray bytes;
        QString error;
        if (!read_ || !read_(full, &bytes, &error)) {
            Report(origin, column, length, M::ImportUnreadable(QString::fromUtf8(file), error));
            return;
        }
        kept_.push_back(bytes);
        const int text = int(out_.texts.size());
        out_.texts.append(full);
        Stage(text, full, kept_.back(), &at, out);
    }

    // Second pass: every runtextmacro line becomes the macro's body with its
    // arguments in place, and so on inside it.
    void Expand(const std::vector<Line> &lines, std::vector<Line> &out, int &depth)
    {
        for (const Line &line : lines) {
            if (line.kind == Line::Text || line.kind == Line::Debug) {
                if (out.size() < MaxLines)
                    out.push_back(line.kind == Line::Text ? line : Line { View(), line.origin });
                continue;
            }
            size_t after = 0;
            int column = 0;
            const View word = depth > 0 ? View() : DirectiveWord(line.text, &after, &column);
            if (word != "runtextmacro") {
                // The compiler builds for release: a debug line is left out.
                const bool debug = depth == 0 && IsDebugLine(line.text);
                if (out.size() < MaxLines)
                    out.push_back(debug ? Line { View(), line.origin } : line);
                if (!debug)
                    depth = CommentDepthAfter(line.text, depth);
                continue;
            }
            out.push_back(Line { View(), line.origin });
            RunMacro(line.text, after, line.origin,
                Place(line.origin, column, int(line.text.size()) - column + 1), out, depth);
        }
    }

    void RunMacro(View line, size_t after, const LineOrigin &origin, const LineOrigin &at,
        std::vector<Line> &out, int &depth)
    {
        Cursor c { line, after };
        const size_t before = c.pos;
        bool optional = c.Name() == "optional";
        if (!optional)
            c.pos = before;
        const View name = c.Name();
        const auto fail
            = [&](M::Want want) { Report(origin, int(c.pos) + 1, 1, M::Expected(want, c.Found())); };
        if (name.empty())
            return fail(M::Want::MacroName);
        if (!c.Accept('('))
            return fail(M::Want::OpenParen);
        std::vector<QByteArray> arguments;
        if (!c.Accept(')')) {
            for (;;) {
                QByteArray argument;
                if (!c.String(&argument))
                    return fail(M::Want::MacroArgument);
                arguments.push_back(argument);
                if (c.Accept(','))
                    continue;
                if (!c.Accept(')'))
                    return fail(M::Want::CommaOrParen);
                break;
            }
        }
        if (!c.AtEnd())
            return fail(M::Want::EndOfLine);
        const auto found = byName_.find(QByteArray(name.data(), qsizetype(name.size())));
        if (found == byName_.end()) {
            out_.missingMacros.append(Text(name));
            if (!optional)
                Report(at, at.column, at.length, M::MacroUndefined(Text(name)));
            return;
        }
        const int index = found->second;
        const TextMacro &macro = out_.macros[size_t(index)];
        if (arguments.size() != macro.parameters.size()) {
            QStringList parameters;
            for (const QByteArray &p : macro.parameters)
                parameters.append(QString::fromUtf8(p));
            Report(at, at.column, at.length,
                M::MacroArguments(QString::fromUtf8(macro.name), parameters, int(arguments.size())));
            return;
        }
        for (int running : running_) {
            if (running == index) {
                Report(at, at.column, at.length, M::MacroRunsItself(QString::fromUtf8(macro.name)));
                return;
            }
        }
        // Runs that write nothing can still multiply: their number is bounded too.
        if (running_.size() >= size_t(MaxNesting) || out.size() >= MaxLines || ++runs_ > MaxLines) {
            if (!tooLarge_)
                Report(at, at.column, at.length, M::MacroTooLarge(int(MaxLines)));
            tooLarge_ = true;
            return;
        }
        // The lines with arguments are written into one buffer; the others
        // stay where the textmacro keeps them.
        std::string &buffer = written_.emplace_back();
        std::vector<std::pair<size_t, size_t>> spans(macro.body.size(), { View::npos, 0 });
        for (size_t i = 0; i < macro.body.size(); ++i) {
            const View line(macro.body[i].constData(), size_t(macro.body[i].size()));
            if (line.find('$') == View::npos)
                continue;
            const size_t from = buffer.size();
            Substitute(buffer, line, macro, arguments);
            spans[i] = { from, buffer.size() - from };
        }
        std::vector<Line> body;
        body.reserve(macro.body.size());
        for (size_t i = 0; i < macro.body.size(); ++i) {
            LineOrigin origin = at;
            origin.macro = index;
            origin.text = macro.text;
            origin.textLine = macro.line + 1 + int(i);
            const View text = spans[i].first == View::npos
                ? View(macro.body[i].constData(), size_t(macro.body[i].size()))
                : View(buffer.data() + spans[i].first, spans[i].second);
            body.push_back(Line { text, origin });
        }
        running_.push_back(index);
        Expand(body, out, depth);
        running_.pop_back();
    }

    // Appends the body line with each $PARAMETER$ replaced by its argument.
    static void Substitute(
        std::string &out, View line, const TextMacro &macro, const std::vector<QByteArray> &arguments)
    {
        size_t i = 0;
        while (i < line.size()) {
            const size_t dollar = line.find('$', i);
            if (dollar == View::npos) {
                out.append(line.data() + i, line.size() - i);
                break;
            }
            out.append(line.data() + i, dollar - i);
            const size_t close = line.find('$', dollar + 1);
            bool replaced = false;
            if (close != View::npos && close > dollar + 1) {
                const View word = line.substr(dollar + 1, close - dollar - 1);
                for (size_t k = 0; k < macro.parameters.size(); ++k) {
                    if (View(macro.parameters[k].constData(), size_t(macro.parameters[k].size())) == word) {
                        out.append(arguments[k].constData(), size_t(arguments[k].size()));
                        i = close + 1;
                        replaced = true;
                        break;
                    }
                }
            }
            if (!replaced) {
                out += '$';
                i = dollar + 1;
            }
        }
    }

    void Write(const std::vector<Line> &lines, PreprocessedSource &result)
    {
        size_t bytes = 0;
        for (const Line &line : lines)
            bytes += line.text.size() + 1;
        result.text.resize(qsizetype(bytes > 0 ? bytes - 1 : 0));
        result.lines.reserve(lines.size());
        char *p = result.text.data();
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!lines[i].text.empty())
                std::memcpy(p, lines[i].text.data(), lines[i].text.size());
            p += lines[i].text.size();
            if (i + 1 < lines.size())
                *p++ = '\n';
            result.lines.push_back(lines[i].origin);
        }
    }

    const QList<Source> &sources_;
    const FileReader &read_;
    Preprocessed &out_;
    int source_ = 0;
    std::unordered_map<QByteArray, int> byName_;
    std::deque<QByteArray> kept_; // imported texts the lines point into
    std::deque<std::string> written_; // textmacro lines with their arguments
    QStringList imported_;
    std::vector<int> running_; // the textmacros being expanded, outermost first
    size_t runs_ = 0;
    bool tooLarge_ = false;
};

// Whether `p` begins with the word `w` (a blank, '(' or the end after it).
bool WordAt(const char *p, const char *end, std::string_view w)
{
    if (size_t(end - p) < w.size() || std::memcmp(p, w.data(), w.size()) != 0)
        return false;
    return p + w.size() == end || !IsNameByte(p[w.size()]);
}

const char *SkipBlanks(const char *p, const char *end)
{
    while (p < end && IsBlank(*p))
        ++p;
    return p;
}

// A line that only vJASS has, from its first words; `p` is past its blanks.
bool VjassLine(const char *p, const char *end)
{
    switch (*p) {
    case '/':
        if (end - p > 1 && p[1] == '*')
            return true;
        if (end - p > 2 && p[1] == '/' && p[2] == '!') {
            const char *q = SkipBlanks(p + 3, end);
            for (std::string_view w :
                { "textmacro", "textmacro_once", "runtextmacro", "novjass", "zinc", "import", "inject" }) {
                if (WordAt(q, end, w))
                    return true;
            }
        }
        return false;
    case 'l':
        return WordAt(p, end, "library") || WordAt(p, end, "library_once");
    case 's':
        if (WordAt(p, end, "scope") || WordAt(p, end, "struct"))
            return true;
        return WordAt(p, end, "static") && WordAt(SkipBlanks(p + 6, end), end, "if");
    case 'i':
        return WordAt(p, end, "interface") || WordAt(p, end, "implement");
    case 'm':
        return WordAt(p, end, "module") || WordAt(p, end, "method");
    case 'p':
        return WordAt(p, end, "private") || WordAt(p, end, "public");
    case 'h':
        return WordAt(p, end, "hook");
    case 'k':
        return WordAt(p, end, "keyword");
    case 'f':
        return WordAt(p, end, "function") && WordAt(SkipBlanks(p + 8, end), end, "interface");
    case 't': {
        // "type T extends integer array [N]"
        if (!WordAt(p, end, "type"))
            return false;
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        const std::string_view line(p, size_t((lf ? lf : end) - p));
        const size_t extends = line.find(" extends ");
        return extends != std::string_view::npos && line.find(" array", extends) != std::string_view::npos;
    }
    default:
        return false;
    }
}

} // namespace

bool UsesVjass(const QByteArray &text)
{
    const char *p = text.constData();
    const char *end = p + text.size();
    while (p < end) {
        p = SkipBlanks(p, end);
        if (p >= end)
            break;
        if (VjassLine(p, end))
            return true;
        const char *lf = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)));
        if (!lf)
            break;
        p = lf + 1;
    }
    return false;
}

Preprocessed Preprocess(const QList<Source> &sources, const FileReader &read)
{
    Preprocessed out;
    Preprocessor(sources, read, out).Run();
    return out;
}

void MapBack(const Preprocessed &preprocessed, Diagnostic &d)
{
    if (d.source < 0 || size_t(d.source) >= preprocessed.sources.size())
        return;
    const std::vector<LineOrigin> &lines = preprocessed.sources[size_t(d.source)].lines;
    if (lines.empty() || d.line < 1)
        return;
    const LineOrigin &o = lines[size_t(qMin<qsizetype>(d.line, qsizetype(lines.size())) - 1)];
    d.line = o.line;
    if (o.macro < 0 && o.text < 0)
        return;
    const QString file
        = o.text >= 0 && o.text != d.source ? QFileInfo(preprocessed.texts[o.text]).fileName() : QString();
    d.message += o.macro >= 0
        ? M::InMacro(QString::fromUtf8(preprocessed.macros[size_t(o.macro)].name), file, o.textLine)
        : M::InFile(file, o.textLine);
    d.column = qMax(1, o.column);
    d.length = qMax(1, o.length);
}

} // namespace Analysis
