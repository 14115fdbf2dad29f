#include "Rtf.h"

#include "Colors.h"
#include "TextCodec.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// Code page 1252 both ways, as tables.
struct Cp1252Tables {
    std::array<char16_t, 256> decode {};
    QHash<char16_t, char> encodeHigh; // characters above 0xFF that the page holds

    Cp1252Tables()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        const QString chars = TextCodec::DecodeCp1252(all);
        for (int i = 0; i < 256; ++i) {
            decode[i] = chars.at(i).unicode();
            if (decode[i] > 0xFF)
                encodeHigh.insert(decode[i], char(i));
        }
    }
};

const Cp1252Tables &Cp1252()
{
    static const Cp1252Tables tables;
    return tables;
}

// -1 when the code page has no byte for the character. Bytes 0x80..0x9F
// stand for other characters, so U+0080..U+009F are only encodable where the
// page leaves the byte undefined.
int EncodeCp1252(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return c;
    const Cp1252Tables &t = Cp1252();
    if (c < 0xA0)
        return t.decode[c] == c ? c : -1;
    const auto it = t.encodeHigh.constFind(c);
    return it == t.encodeHigh.constEnd() ? -1 : static_cast<unsigned char>(*it);
}

enum class Destination : uint8_t { Text, ColorTable, Skip };

struct GroupState {
    TextAttributes attributes;
    int unicodeSkip = 1;
    Destination destination = Destination::Text;
};

struct ColorEntry {
    int red = 0, green = 0, blue = 0;
    int high = 0; // top byte, from our own \tolvanehigh
    bool any = false;
};

constexpr int kDefaultHalfPoints = 24;

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Destinations whose text is not part of the document.
bool IsSkippedDestination(std::string_view word)
{
    static constexpr std::string_view kSkipped[] = {
        "fonttbl",
        "stylesheet",
        "info",
        "pict",
        "object",
        "objdata",
        "objclass",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "footnote",
        "annotation",
        "xe",
        "tc",
        "txe",
        "rxe",
        "bkmkstart",
        "bkmkend",
        "fldinst",
        "datafield",
        "themedata",
        "colorschememapping",
        "latentstyles",
        "datastore",
        "listtable",
        "listoverridetable",
        "rsidtbl",
        "generator",
        "xmlnstbl",
        "mmathPr",
        "pgdsctbl",
        "revtbl",
        "filetbl",
        "private",
        "nonshppict",
        "userprops",
        "docvar",
        "background",
        "ftnsep",
        "ftnsepc",
        "ftncn",
        "aftnsep",
        "aftnsepc",
        "aftncn",
        "wgrffmtfilter",
        "listtext",
        "pntext",
        "pntxta",
        "pntxtb",
        "template",
        "operator",
        "author",
        "title",
        "subject",
        "keywords",
        "comment",
        "doccomm",
        "company",
        "category",
    };
    return std::find(std::begin(kSkipped), std::end(kSkipped), word) != std::end(kSkipped);
}

class Reader {
public:
    explicit Reader(const QByteArray &rtf)
        : m_data(rtf.constData())
        , m_size(rtf.size())
    {
        m_result.text.reserve(m_size);
        m_result.lines.reserve(size_t(std::count(m_data, m_data + m_size, '\n')) + 1);
        m_result.lines.emplace_back();
        m_stack.reserve(16);
        m_state.attributes.halfPoints = kDefaultHalfPoints;
    }

    RichText Run()
    {
        while (m_pos < m_size && !m_done) {
            const char c = m_data[m_pos];
            if (c == '{') {
                ++m_pos;
                m_stack.push_back(m_state);
                m_skipFallback = 0;
            } else if (c == '}') {
                ++m_pos;
                CloseGroup();
            } else if (c == '\\') {
                ++m_pos;
                ControlSequence();
            } else if (c == '\r' || c == '\n') {
                ++m_pos;
            } else {
                PlainText();
            }
        }
        // The last paragraph mark is the document's final one and adds no
        // line. Our own documents (the writer's, the highlighter's) end every
        // line with a mark and close with one more on a line of its own; a
        // document from elsewhere that ends in an empty line keeps it.
        const int finalMarks = EndsWithClosingLine() ? 2 : 1;
        for (int i = 0; i < finalMarks && m_result.text.endsWith(QLatin1Char('\n')); ++i) {
            m_result.text.chop(1);
            m_result.lines.pop_back();
        }
        return std::move(m_result);
    }

private:
    // The document's group closed by a line that holds "\par }" alone.
    [[nodiscard]] bool EndsWithClosingLine() const
    {
        constexpr char kClosing[] = "\\par }";
        constexpr qsizetype n = sizeof(kClosing) - 1;
        const qsizetype start = m_closedAt - n + 1;
        return m_done && start > 0 && std::memcmp(m_data + start, kClosing, size_t(n)) == 0
            && (m_data[start - 1] == '\n' || m_data[start - 1] == '\r');
    }

    void CloseGroup()
    {
        if (m_stack.empty())
            return; // a stray closing brace
        if (m_state.destination == Destination::ColorTable
            && m_stack.back().destination != Destination::ColorTable)
            FinishColorTable();
        m_state = m_stack.back();
        m_stack.pop_back();
        m_skipFallback = 0;
        if (m_stack.empty()) {
            m_done = true; // the document's own group is closed
            m_closedAt = m_pos - 1;
        }
    }

    void FinishColorTable()
    {
        if (m_entry.any)
            PushColor();
    }

    void PushColor()
    {
        uint32_t value
            = Colors::FromRgb(m_entry.red, m_entry.green, m_entry.blue) | uint32_t(m_entry.high & 0xFF) << 24;
        if (!m_entry.any)
            value = 0; // "auto"
        m_colors.push_back(value);
        m_entry = ColorEntry();
    }

    void PlainText()
    {
        const qsizetype start = m_pos;
        while (m_pos < m_size) {
            const char c = m_data[m_pos];
            if (c == '{' || c == '}' || c == '\\' || c == '\r' || c == '\n')
                break;
            ++m_pos;
        }
        if (m_state.destination == Destination::ColorTable) {
            for (qsizetype i = start; i < m_pos; ++i) {
                if (m_data[i] == ';')
                    PushColor();
            }
            return;
        }
        if (m_state.destination != Destination::Text)
            return;
        qsizetype from = start;
        if (m_skipFallback > 0) {
            const qsizetype skip = std::min<qsizetype>(m_skipFallback, m_pos - from);
            from += skip;
            m_skipFallback -= int(skip);
        }
        if (from >= m_pos)
            return;
        const Cp1252Tables &cp = Cp1252();
        const qsizetype count = m_pos - from;
        const qsizetype at = m_result.text.size();
        m_result.text.resize(at + count);
        QChar *out = m_result.text.data() + at;
        for (qsizetype i = 0; i < count; ++i)
            out[i] = QChar(cp.decode[static_cast<unsigned char>(m_data[from + i])]);
        Extend(int32_t(count));
    }

    // Extends the current line's runs by `count` characters just appended.
    void Extend(int32_t count)
    {
        LineRuns &runs = m_result.lines.back();
        if (!runs.empty() && runs.back().attributes == m_state.attributes)
            runs.back().length += count;
        else
            runs.push_back({ count, m_state.attributes });
    }

    void Emit(char16_t c)
    {
        if (m_state.destination != Destination::Text)
            return;
        if (m_skipFallback > 0) {
            --m_skipFallback;
            return;
        }
        EmitAlways(c);
    }

    void EmitAlways(char16_t c)
    {
        if (m_state.destination != Destination::Text)
            return;
        if (c == u'\n') {
            m_result.text.append(QLatin1Char('\n'));
            m_result.lines.emplace_back();
            return;
        }
        m_result.text.append(QChar(c));
        Extend(1);
    }

    void ControlSequence()
    {
        if (m_pos >= m_size)
            return; // a lone backslash at the end
        const char c = m_data[m_pos];
        if (!IsLetter(c)) {
            ++m_pos;
            ControlSymbol(c);
            return;
        }
        // A control word: letters, an optional signed number, and an optional
        // space that belongs to it.
        char word[33];
        int length = 0;
        while (m_pos < m_size && IsLetter(m_data[m_pos])) {
            if (length < 32)
                word[length++] = m_data[m_pos];
            ++m_pos;
        }
        const std::string_view name(word, size_t(length));
        bool hasParameter = false;
        bool negative = false;
        int64_t parameter = 0;
        if (m_pos < m_size && m_data[m_pos] == '-' && m_pos + 1 < m_size && IsDigit(m_data[m_pos + 1])) {
            negative = true;
            ++m_pos;
        }
        while (m_pos < m_size && IsDigit(m_data[m_pos])) {
            hasParameter = true;
            if (parameter < 100000000000LL)
                parameter = parameter * 10 + (m_data[m_pos] - '0');
            ++m_pos;
        }
        if (m_pos < m_size && m_data[m_pos] == ' ')
            ++m_pos;
        if (negative)
            parameter = -parameter;
        const int value = int(std::clamp<int64_t>(parameter, INT32_MIN, INT32_MAX));
        ControlWord(name, hasParameter, value);
    }

    void ControlSymbol(char c)
    {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            Emit(char16_t(c));
            break;
        case '\'': {
            const int high = m_pos < m_size ? HexValue(m_data[m_pos]) : -1;
            const int low = m_pos + 1 < m_size ? HexValue(m_data[m_pos + 1]) : -1;
            if (high < 0 || low < 0)
                break; // a truncated escape is dropped
            m_pos += 2;
            Emit(Cp1252().decode[size_t(high * 16 + low)]);
            break;
        }
        case '*':
            // An ignorable destination: its group is not ours to show.
            m_state.destination = Destination::Skip;
            break;
        case '~':
            Emit(0x00A0);
            break;
        case '_':
            Emit(u'-');
            break;
        case '\r':
        case '\n':
            Emit(u'\n');
            break;
        default:
            break; // \- \: \| and unknown symbols
        }
    }

    void ControlWord(std::string_view name, bool hasParameter, int value)
    {
        TextAttributes &a = m_state.attributes;
        const bool on = !hasParameter || value != 0;
        auto setStyle = [&a](uint8_t bit, bool set) {
            a.style = set ? uint8_t(a.style | bit) : uint8_t(a.style & ~bit);
        };

        if (m_state.destination == Destination::ColorTable) {
            if (name == "red") {
                m_entry.red = std::clamp(value, 0, 255);
                m_entry.any = true;
            } else if (name == "green") {
                m_entry.green = std::clamp(value, 0, 255);
                m_entry.any = true;
            } else if (name == "blue") {
                m_entry.blue = std::clamp(value, 0, 255);
                m_entry.any = true;
            } else if (name == "tolvanehigh") {
                m_entry.high = std::clamp(value, 0, 255);
            }
            return;
        }
        if (name == "par" || name == "line") {
            EmitAlways(u'\n');
        } else if (name == "tab") {
            Emit(u'\t');
        } else if (name == "cf") {
            const qsizetype index = value;
            a.color = index > 0 && index < qsizetype(m_colors.size()) ? m_colors[size_t(index)] : 0;
        } else if (name == "b") {
            setStyle(FontStyle::Bold, on);
        } else if (name == "i") {
            setStyle(FontStyle::Italic, on);
        } else if (name == "ul" || name == "uld" || name == "uldb" || name == "ulw" || name == "uldash"
            || name == "ulth" || name == "ulwave") {
            setStyle(FontStyle::Underline, on);
        } else if (name == "ulnone") {
            setStyle(FontStyle::Underline, false);
        } else if (name == "fs") {
            if (hasParameter && value > 0)
                a.halfPoints = uint16_t(std::min(value, 0xFFFF));
        } else if (name == "plain") {
            a = TextAttributes();
            a.halfPoints = kDefaultHalfPoints;
        } else if (name == "uc") {
            m_state.unicodeSkip = std::clamp(value, 0, 16);
        } else if (name == "u") {
            const int code = value < 0 ? value + 65536 : value;
            Emit(char16_t(std::clamp(code, 0, 0xFFFF)));
            m_skipFallback = m_state.unicodeSkip;
        } else if (name == "colortbl") {
            m_state.destination = Destination::ColorTable;
            m_colors.clear();
            m_entry = ColorEntry();
        } else if (name == "emdash") {
            Emit(0x2014);
        } else if (name == "endash") {
            Emit(0x2013);
        } else if (name == "bullet") {
            Emit(0x2022);
        } else if (name == "lquote") {
            Emit(0x2018);
        } else if (name == "rquote") {
            Emit(0x2019);
        } else if (name == "ldblquote") {
            Emit(0x201C);
        } else if (name == "rdblquote") {
            Emit(0x201D);
        } else if (name == "emspace" || name == "enspace" || name == "qmspace") {
            Emit(u' ');
        } else if (IsSkippedDestination(name)) {
            m_state.destination = Destination::Skip;
        } else if (m_skipFallback > 0) {
            --m_skipFallback; // a control word standing in for a \u character
        }
    }

    const char *m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    bool m_done = false;
    qsizetype m_closedAt = 0; // where the document's closing brace stands
    int m_skipFallback = 0;
    GroupState m_state;
    std::vector<GroupState> m_stack;
    std::vector<uint32_t> m_colors;
    ColorEntry m_entry;
    RichText m_result;
};

void AppendNumber(QByteArray &out, int64_t value)
{
    char buffer[24];
    const int n = std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(value));
    out.append(buffer, n);
}

} // namespace

namespace Rtf {

bool LooksLikeRtf(const QByteArray &bytes)
{
    return bytes.startsWith("{\\rtf");
}

RichText Read(const QByteArray &rtf)
{
    return Reader(rtf).Run();
}

void AppendEscaped(QByteArray &out, QChar ch)
{
    const char16_t c = ch.unicode();
    if (c == u'\\' || c == u'{' || c == u'}') {
        out.append('\\');
        out.append(char(c));
        return;
    }
    if (c == u'\r' || c == u'\n') {
        out.append(c == u'\r' ? "\\'0d" : "\\'0a");
        return;
    }
    const int byte = EncodeCp1252(c);
    if (byte >= 0) {
        out.append(char(byte));
        return;
    }
    out.append("\\u");
    AppendNumber(out, int16_t(c));
    out.append('?');
}

QByteArray Write(const RichText &document, int defaultHalfPoints)
{
    // The colour table holds every colour the runs use, in order of first use.
    std::vector<uint32_t> colors;
    auto colorIndex = [&colors](uint32_t color) {
        const auto it = std::find(colors.begin(), colors.end(), color);
        if (it != colors.end())
            return int(it - colors.begin()) + 1;
        colors.push_back(color);
        return int(colors.size());
    };
    for (const LineRuns &runs : document.lines) {
        for (const StyleRun &run : runs)
            colorIndex(run.attributes.color);
    }

    QByteArray body;
    body.reserve(document.text.size() * 2 + 64);
    TextAttributes current;
    current.halfPoints = uint16_t(defaultHalfPoints);
    const QChar *text = document.text.constData();
    const qsizetype size = document.text.size();
    qsizetype pos = 0;
    size_t line = 0;
    while (true) {
        const LineRuns empty;
        const LineRuns &runs = line < document.lines.size() ? document.lines[line] : empty;
        size_t run = 0;
        int32_t leftInRun = runs.empty() ? 0 : runs[0].length;
        while (pos < size && text[pos] != u'\n') {
            while (run < runs.size() && leftInRun <= 0) {
                ++run;
                leftInRun = run < runs.size() ? runs[run].length : 0;
            }
            TextAttributes wanted = run < runs.size() ? runs[run].attributes : TextAttributes();
            if (wanted.halfPoints == 0)
                wanted.halfPoints = uint16_t(defaultHalfPoints);
            if (!(wanted == current)) {
                if (wanted.color != current.color) {
                    body.append("\\cf");
                    AppendNumber(body, wanted.color == 0 ? 0 : colorIndex(wanted.color));
                }
                const uint8_t changed = wanted.style ^ current.style;
                if (changed & FontStyle::Bold)
                    body.append(wanted.style & FontStyle::Bold ? "\\b" : "\\b0");
                if (changed & FontStyle::Italic)
                    body.append(wanted.style & FontStyle::Italic ? "\\i" : "\\i0");
                if (changed & FontStyle::Underline)
                    body.append(wanted.style & FontStyle::Underline ? "\\ul" : "\\ulnone");
                if (wanted.halfPoints != current.halfPoints) {
                    body.append("\\fs");
                    AppendNumber(body, wanted.halfPoints);
                }
                body.append(' ');
                current = wanted;
            }
            AppendEscaped(body, text[pos]);
            ++pos;
            --leftInRun;
        }
        body.append("\\par\r\n");
        if (pos >= size)
            break;
        ++pos; // the line break
        ++line;
    }

    QByteArray out("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1030{\\fonttbl{\\f0\\fnil Courier New;}}\r\n");
    out.append("{\\colortbl ;");
    for (uint32_t color : colors) {
        out.append("\\red");
        AppendNumber(out, Colors::Red(color));
        out.append("\\green");
        AppendNumber(out, Colors::Green(color));
        out.append("\\blue");
        AppendNumber(out, Colors::Blue(color));
        // Other readers skip this word; ours restores the top byte, so named
        // system colours come back as they were.
        if (color >> 24) {
            out.append("\\tolvanehigh");
            AppendNumber(out, color >> 24);
        }
        out.append(';');
    }
    out.append("}\r\n\\viewkind4\\uc1\\pard\\f0\\fs");
    AppendNumber(out, defaultHalfPoints);
    out.append(' ');
    out.append(body);
    out.append("\\par }\r\n");
    return out;
}

} // namespace Rtf
