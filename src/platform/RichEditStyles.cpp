// The control's colours and font styles: one Scintilla style per look in use,
// lines styled later, and the attributes read back from the styles.

#include "RichEdit.h"

#include <algorithm>

namespace {

// Every style number the view has, less its own eight.
constexpr size_t kMaxStyles = 248;

} // namespace

int TRichEdit::styleFor(const TextAttributes &attributes) const
{
    if (m_styles[m_lastStyle] == attributes)
        return StyleNumber(m_lastStyle);
    const auto found = std::find(m_styles.begin(), m_styles.end(), attributes);
    if (found != m_styles.end()) {
        m_lastStyle = size_t(found - m_styles.begin());
        return StyleNumber(m_lastStyle);
    }
    // Only a rich-text file of more looks than the view has styles gets here:
    // the rest show plain.
    if (m_styles.size() >= kMaxStyles)
        return 0;
    m_styles.push_back(attributes);
    m_lastStyle = m_styles.size() - 1;
    defineStyle(StyleNumber(m_lastStyle));
    return StyleNumber(m_lastStyle);
}

TextAttributes TRichEdit::attributesOfStyle(int number) const
{
    const size_t index = number < 32 ? size_t(number) : size_t(number - 8);
    if (number < 0 || (number >= 32 && number < 40) || index >= m_styles.size())
        return TextAttributes();
    return m_styles[index];
}

void TRichEdit::defineStyle(int number) const
{
    const TextAttributes a = attributesOfStyle(number);
    const ulong n = ulong(number);
    const bool ownSize = a.halfPoints == 0 || a.halfPoints == m_fontPoints * 2;
    SendScintilla(SCI_STYLESETFONT, n, m_family.constData());
    SendScintilla(SCI_STYLESETSIZEFRACTIONAL, n,
        long((ownSize ? m_points : a.halfPoints / 2.0) * int(SC_FONT_SIZE_MULTIPLIER)));
    SendScintilla(SCI_STYLESETFORE, n, ColorFromValue(a.color, palette()));
    SendScintilla(SCI_STYLESETBACK, n, palette().color(QPalette::Base));
    SendScintilla(SCI_STYLESETWEIGHT, n, long(a.style & FontStyle::Bold ? SC_WEIGHT_BOLD : SC_WEIGHT_NORMAL));
    SendScintilla(SCI_STYLESETITALIC, n, long((a.style & FontStyle::Italic) != 0));
    SendScintilla(SCI_STYLESETUNDERLINE, n, long((a.style & FontStyle::Underline) != 0));
}

void TRichEdit::resetEndStyled() const
{
    int first = m_pending.First();
    if (m_folding && m_foldFrom < lineCount())
        first = first < 0 ? m_foldFrom : std::min(first, m_foldFrom);
    const long end
        = first < 0 ? SendScintilla(SCI_GETLENGTH) : SendScintilla(SCI_POSITIONFROMLINE, ulong(first));
    SendScintilla(SCI_STARTSTYLING, ulong(end), 0L);
}

void TRichEdit::writeStyles(long start, const QByteArray &styles) const
{
    if (styles.isEmpty())
        return;
    SendScintilla(SCI_STARTSTYLING, ulong(start), 0L);
    SendScintilla(SCI_SETSTYLINGEX, ulong(styles.size()), styles.constData());
    resetEndStyled();
}

QByteArray TRichEdit::readStyles(long start, long length) const
{
    if (length <= 0)
        return {};
    QByteArray pairs(2 * length + 2, Qt::Uninitialized);
    SendScintilla(SCI_GETSTYLEDTEXT, long(start), long(start + length), pairs.data());
    QByteArray styles(length, Qt::Uninitialized);
    char *out = styles.data();
    const char *in = pairs.constData();
    for (long i = 0; i < length; ++i)
        out[i] = in[2 * i + 1];
    return styles;
}

// What text typed at `position` looks like: the character before it. At the
// start of a line that is the line break, which looks like the last
// character of the line it ends.
int TRichEdit::insertionStyle(long position) const
{
    if (position <= 0)
        return 0;
    const long line = SendScintilla(SCI_LINEFROMPOSITION, ulong(position));
    long before = position - 1;
    if (position == SendScintilla(SCI_POSITIONFROMLINE, ulong(line))) {
        const long start = SendScintilla(SCI_POSITIONFROMLINE, ulong(line - 1));
        before = SendScintilla(SCI_GETLINEENDPOSITION, ulong(line - 1)) - 1;
        if (before < start)
            return 0;
    }
    return int(SendScintilla(SCI_GETSTYLEAT, ulong(before)) & 0xFF);
}

// Lines styled later

void TRichEdit::StyleLines(int, int)
{
}

void TRichEdit::styleLater(int first, int last)
{
    m_pending.Add(std::max(first, 0), std::min(last, lineCount() - 1));
    resetEndStyled();
    viewport()->update();
}

void TRichEdit::ensureStyled(int first, int last) const
{
    completeEdit();
    if (m_styling || m_pending.IsEmpty())
        return;
    const std::vector<PendingLines::Range> ranges
        = m_pending.Take(std::max(first, 0), std::min(last, lineCount() - 1));
    if (ranges.empty())
        return;
    m_styling = true;
    auto *self = const_cast<TRichEdit *>(this);
    for (const auto &[from, to] : ranges)
        self->StyleLines(from, to);
    m_styling = false;
    resetEndStyled();
}

void TRichEdit::styleShown(int last) const
{
    if (m_pending.IsEmpty())
        return;
    // Lines hidden in folds among them stay for later.
    const long top = SendScintilla(SCI_GETFIRSTVISIBLELINE);
    const long bottom = top + SendScintilla(SCI_LINESONSCREEN);
    last = std::min(last, int(SendScintilla(SCI_DOCLINEFROMVISIBLE, ulong(bottom))));
    if (!m_pending.Intersects(int(SendScintilla(SCI_DOCLINEFROMVISIBLE, ulong(top))), last))
        return;
    int from = -1;
    int to = -2;
    for (long shown = top; shown <= bottom; ++shown) {
        const int line = int(SendScintilla(SCI_DOCLINEFROMVISIBLE, ulong(shown)));
        if (line > last)
            break;
        if (line <= to + 1) {
            to = std::max(to, line);
            continue;
        }
        if (from >= 0)
            ensureStyled(from, to);
        from = to = line;
    }
    if (from >= 0)
        ensureStyled(from, to);
}

// Attributes

TextAttributes TRichEdit::attributesAt(int position) const
{
    const int line = lineFromChar(std::max(position, 0));
    ensureStyled(line, line);
    const auto [start, end] = lineBytes(line);
    const int column = position - lineIndex(line);
    const int length = asciiText() ? int(end - start) : fromBytes(end) - lineIndex(line);
    if (column < 0 || column >= length)
        return TextAttributes();
    return attributesOfStyle(int(SendScintilla(SCI_GETSTYLEAT, ulong(toBytes(position))) & 0xFF));
}

LineRuns TRichEdit::lineRuns(int line) const
{
    LineRuns runs;
    if (line < 0 || line >= lineCount())
        return runs;
    ensureStyled(line, line);
    const auto [start, end] = lineBytes(line);
    const QByteArray styles = readStyles(start, end - start);
    auto add = [&runs](const TextAttributes &a) {
        if (!runs.empty() && runs.back().attributes == a)
            ++runs.back().length;
        else
            runs.push_back({ 1, a });
    };
    int lastStyle = -1;
    TextAttributes attributes;
    auto styleAt = [&](int byte) {
        const int style = uchar(styles[byte]);
        if (style != lastStyle) {
            lastStyle = style;
            attributes = attributesOfStyle(style);
        }
        return attributes;
    };
    if (asciiText()) {
        for (int i = 0; i < styles.size(); ++i)
            add(styleAt(i));
    } else {
        const std::vector<int> offsets = columnBytes(line);
        for (size_t c = 0; c + 1 < offsets.size(); ++c)
            add(styleAt(offsets[c]));
    }
    // The default look past the last run is implied.
    if (!runs.empty() && runs.back().attributes == TextAttributes())
        runs.pop_back();
    return runs;
}

TextAttributes TRichEdit::selAttributes() const
{
    TextAttributes attributes;
    const long caret = SendScintilla(SCI_GETCURRENTPOS);
    if (SendScintilla(SCI_GETSELECTIONSTART) != SendScintilla(SCI_GETSELECTIONEND)) {
        attributes = attributesAt(selStart());
    } else if (m_typing && caret == m_typingPosition) {
        attributes = attributesOfStyle(*m_typing);
    } else {
        const int line = int(SendScintilla(SCI_LINEFROMPOSITION, ulong(caret)));
        ensureStyled(line - 1, line);
        attributes = attributesOfStyle(insertionStyle(caret));
    }
    if (attributes.halfPoints == 0)
        attributes.halfPoints = uint16_t(fontSize() * 2);
    return attributes;
}

void TRichEdit::setSelAttributes(const TextAttributes &attributes)
{
    if (SendScintilla(SCI_GETSELECTIONSTART) == SendScintilla(SCI_GETSELECTIONEND)) {
        m_typing = styleFor(attributes);
        m_typingPosition = SendScintilla(SCI_GETCURRENTPOS);
    } else {
        setRangeAttributes(selStart(), selLength(), attributes);
    }
}

void TRichEdit::setSelColor(uint32_t color)
{
    TextAttributes a = selAttributes();
    a.color = color;
    setSelAttributes(a);
}

void TRichEdit::setSelStyle(uint8_t style)
{
    TextAttributes a = selAttributes();
    a.style = style;
    setSelAttributes(a);
}

void TRichEdit::setSelSize(int points)
{
    TextAttributes a = selAttributes();
    a.halfPoints = uint16_t(std::clamp(points * 2, 1, 0xFFFF));
    setSelAttributes(a);
}

void TRichEdit::setRangeAttributes(int start, int length, const TextAttributes &attributes)
{
    if (length <= 0)
        return;
    const int total = textLength();
    start = std::clamp(start, 0, total);
    const int end = std::min(start + length, total);
    if (end <= start)
        return;
    ensureStyled(lineFromChar(start), lineFromChar(end - 1));
    // Line breaks take the style too; nothing reads theirs.
    const long from = toBytes(start);
    const long to = toBytes(end);
    writeStyles(from, QByteArray(to - from, char(styleFor(attributes))));
}

void TRichEdit::styleLine(int line, const std::vector<LineRange> &ranges)
{
    if (line < 0 || line >= lineCount() || ranges.empty())
        return;
    ensureStyled(line, line);
    const auto [start, end] = lineBytes(line);
    QByteArray styles = readStyles(start, end - start);
    const std::vector<int> offsets = asciiText() ? std::vector<int>() : columnBytes(line);
    const int length = asciiText() ? int(styles.size()) : int(offsets.size()) - 1;
    auto byteOf = [&](int column) { return asciiText() ? column : offsets[size_t(column)]; };
    for (const LineRange &range : ranges) {
        const int s = std::clamp(range.start, 0, length);
        const int e = std::clamp(range.start + range.length, s, length);
        std::fill(styles.begin() + byteOf(s), styles.begin() + byteOf(e), char(styleFor(range.attributes)));
    }
    writeStyles(start, styles);
}

void TRichEdit::setLineRuns(int line, const LineRuns &runs)
{
    if (line < 0 || line >= lineCount())
        return;
    (void)m_pending.Take(line, line);
    const auto [start, end] = lineBytes(line);
    QByteArray styles(end - start, 0);
    const std::vector<int> offsets = asciiText() ? std::vector<int>() : columnBytes(line);
    const int length = asciiText() ? int(styles.size()) : int(offsets.size()) - 1;
    auto byteOf = [&](int column) { return asciiText() ? column : offsets[size_t(column)]; };
    int at = 0;
    for (const StyleRun &run : runs) {
        const int e = std::min(at + std::max(run.length, 0), length);
        if (e > at)
            std::fill(
                styles.begin() + byteOf(at), styles.begin() + byteOf(e), char(styleFor(run.attributes)));
        at = e;
    }
    writeStyles(start, styles);
}
