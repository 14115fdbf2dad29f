#include "RichEdit.h"

#include "Colors.h"
#include "RichEditAccessible.h"
#include "TextFile.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace {

using Sci = QsciScintillaBase;

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// A key that would type U+2028 or U+2029, the toolkit's separators: Shift+Enter
// types the first.
bool TypesSeparator(const QKeyEvent &event)
{
    const QString text = event.text();
    const bool separator = text == QChar::LineSeparator || text == QChar::ParagraphSeparator;
    return separator || event.matches(QKeySequence::InsertLineSeparator);
}

// The view's own bindings that no plain text field has: they would change the
// text behind a key the user does not expect to (Ctrl+U lowers the case of the
// selection, Ctrl+D doubles a line), or take a key from the menus.
void ClearForeignKeys(const Sci &view)
{
    const int ctrl = Sci::SCMOD_CTRL << 16;
    const int shift = Sci::SCMOD_SHIFT << 16;
    for (const int key : { 'L', 'T', 'D', 'U', '[', ']', '/', '\\' }) {
        view.SendScintilla(Sci::SCI_CLEARCMDKEY, ulong(key | ctrl));
        view.SendScintilla(Sci::SCI_CLEARCMDKEY, ulong(key | ctrl | shift));
    }
    view.SendScintilla(Sci::SCI_CLEARCMDKEY, ulong(Sci::SCK_BACK | ctrl | shift));
    view.SendScintilla(Sci::SCI_CLEARCMDKEY, ulong(Sci::SCK_DELETE | ctrl | shift));
    view.SendScintilla(Sci::SCI_CLEARCMDKEY, ulong(Sci::SCK_INSERT));
    view.SendScintilla(Sci::SCI_ASSIGNCMDKEY, ulong('Z' | ctrl | shift), long(Sci::SCI_REDO));
}

// The text as the view holds it: UTF-8 with CR LF for every line break.
struct ViewText {
    QByteArray bytes;
    int lines = 1;
    bool ascii = true;
};

// The view's bytes as text: a byte order mark is a character like any other.
QString FromView(const char *bytes, qsizetype length)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(bytes, length));
}

QString FromView(const QByteArray &bytes)
{
    return FromView(bytes.constData(), bytes.size());
}

bool IsAscii(const QByteArray &bytes)
{
    const char *p = bytes.constData();
    const char *end = p + bytes.size();
    // Eight bytes at a time: most of a script is ASCII.
    for (; end - p >= 8; p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        if (word & 0x8080808080808080ULL)
            return false;
    }
    return std::all_of(p, end, [](char c) { return uchar(c) < 0x80; });
}

// Takes the bytes as they are when every line break is CR LF already, as in a
// script file.
ViewText ToView(const QByteArray &utf8)
{
    ViewText out;
    out.ascii = IsAscii(utf8);
    const char *begin = utf8.constData();
    const char *end = begin + utf8.size();
    qsizetype lf = 0;
    qsizetype crlf = 0;
    for (const char *q = begin; (q = static_cast<const char *>(std::memchr(q, '\n', size_t(end - q)))); ++q) {
        ++lf;
        crlf += q > begin && q[-1] == '\r';
    }
    const qsizetype cr = std::count(begin, end, '\r');
    out.lines = int(lf + cr - crlf) + 1;
    if (lf == crlf && cr == crlf) {
        out.bytes = utf8;
        return out;
    }
    out.bytes.resize(utf8.size() + (lf - crlf) + (cr - crlf));
    char *w = out.bytes.data();
    for (const char *p = begin; p < end; ++p) {
        if (*p == '\r' || *p == '\n') {
            *w++ = '\r';
            *w++ = '\n';
            if (*p == '\r' && p + 1 < end && p[1] == '\n')
                ++p;
        } else {
            *w++ = *p;
        }
    }
    return out;
}

ViewText ToView(const QString &text)
{
    return ToView(text.toUtf8());
}

} // namespace

QColor ColorFromValue(uint32_t color, const QPalette &palette)
{
    if (Colors::IsSystemColor(color)) {
        QPalette::ColorRole role = QPalette::Text;
        switch (color & 0xFF) {
        case 1:
        case 4:
        case 11:
        case 12:
        case 30:
            role = QPalette::Window;
            break;
        case 2:
        case 13:
        case 27:
        case 29:
            role = QPalette::Highlight;
            break;
        case 9:
        case 14:
            role = QPalette::HighlightedText;
            break;
        case 5:
            role = QPalette::Base;
            break;
        case 6: // clWindowFrame: frames are drawn in the window's text colour, black by default
        case 7:
            role = QPalette::WindowText;
            break;
        case 15:
        case 0:
        case 3:
        case 10:
        case 28:
            role = QPalette::Button;
            break;
        case 16:
            role = QPalette::Dark;
            break;
        case 17:
        case 19:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18:
            role = QPalette::ButtonText;
            break;
        case 20:
            role = QPalette::Light;
            break;
        case 21:
            role = QPalette::Shadow;
            break;
        case 22:
            role = QPalette::Midlight;
            break;
        case 23:
            role = QPalette::ToolTipText;
            break;
        case 24:
            role = QPalette::ToolTipBase;
            break;
        case 26:
            role = QPalette::Link;
            break;
        default:
            role = QPalette::Text;
            break;
        }
        return palette.color(QPalette::Active, role);
    }
    if (color == Colors::None || color == Colors::Default)
        return palette.color(QPalette::Active, QPalette::Text);
    return QColor(Colors::Red(color), Colors::Green(color), Colors::Blue(color));
}

class TRichEdit::Writable {
public:
    explicit Writable(const TRichEdit &edit)
        : m_edit(edit)
    {
        if (m_edit.m_readOnly)
            m_edit.SendScintilla(SCI_SETREADONLY, 0UL);
    }
    ~Writable()
    {
        if (m_edit.m_readOnly)
            m_edit.SendScintilla(SCI_SETREADONLY, 1UL);
    }
    Writable(const Writable &) = delete;
    Writable &operator=(const Writable &) = delete;

private:
    const TRichEdit &m_edit;
};

TRichEdit::TRichEdit(QWidget *parent)
    : QsciScintillaBase(parent)
{
    // After the view's own, so that ours is asked first.
    static const bool accessible = (QAccessible::installFactory(&RichEditAccessible::Create), true);
    (void)accessible;
    m_styles.push_back(TextAttributes());
    setUpView();
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
        [this](int position, int type, const char *, int length) { onModified(position, type, length); });
    // Selection moves the view makes on its own (scrolling while dragging).
    connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, [this](int updated) {
        if (updated & SC_UPDATE_SELECTION)
            scheduleFlush();
    });
    connect(this, &QsciScintillaBase::SCN_STYLENEEDED, this, [this](int position) {
        // Painting, or folding a block: the fold levels up to the position,
        // but only the lines shown get their styles now.
        completeEdit();
        const int line = int(SendScintilla(SCI_LINEFROMPOSITION, ulong(position)));
        ensureFolded(line);
        styleShown(line);
        resetEndStyled();
    });
    connect(this, &QsciScintillaBase::SCN_MARGINCLICK, this,
        [this](int position, int, int margin) { foldMarginClick(position, margin); });
    connect(this, &QsciScintillaBase::SCN_ZOOM, this, &TRichEdit::updateFoldMargin);
}

TRichEdit::~TRichEdit() = default;

void TRichEdit::setUpView()
{
    SendScintilla(SCI_SETCODEPAGE, ulong(SC_CP_UTF8));
    SendScintilla(SCI_SETEOLMODE, ulong(SC_EOL_CRLF));
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 1UL);
    SendScintilla(SCI_SETMODEVENTMASK, ulong(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
    for (int margin = 0; margin < 5; ++margin)
        SendScintilla(SCI_SETMARGINWIDTHN, ulong(margin), 0L);
    // The text keeps the distance from the edge a plain text field gives it.
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 4L);
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    // Scrolled only as far as the caret needs.
    SendScintilla(SCI_SETXCARETPOLICY, ulong(CARET_EVEN), 0L);
    SendScintilla(SCI_SETLAYOUTCACHE, ulong(SC_CACHE_PAGE));
    SendScintilla(SCI_SETPOSITIONCACHE, 65536UL);
    ClearForeignKeys(*this);
    applyLook();
}

// The font and the palette's colours, in every style.
void TRichEdit::applyLook()
{
    const QFont f = font();
    m_fontPoints = fontSize();
    m_points = f.pointSizeF() > 0 ? f.pointSizeF() : m_fontPoints;
    const QPalette p = palette();
    // The face the toolkit resolved the font to, so that the view shows the
    // same one.
    m_family = QFontInfo(f).family().toUtf8();
    SendScintilla(SCI_STYLESETFONT, ulong(STYLE_DEFAULT), m_family.constData());
    SendScintilla(
        SCI_STYLESETSIZEFRACTIONAL, ulong(STYLE_DEFAULT), long(m_points * int(SC_FONT_SIZE_MULTIPLIER)));
    SendScintilla(SCI_STYLESETFORE, ulong(STYLE_DEFAULT), p.color(QPalette::Text));
    SendScintilla(SCI_STYLESETBACK, ulong(STYLE_DEFAULT), p.color(QPalette::Base));
    SendScintilla(SCI_STYLECLEARALL);
    for (size_t i = 0; i < m_styles.size(); ++i)
        defineStyle(StyleNumber(i));
    SendScintilla(SCI_SETSELFORE, 1UL, p.color(QPalette::Active, QPalette::HighlightedText));
    SendScintilla(SCI_SETSELBACK, 1UL, p.color(QPalette::Active, QPalette::Highlight));
    SendScintilla(SCI_SETCARETFORE, p.color(QPalette::Text));
    // Tab stops every 80 pixels, as a plain text field has them.
    const qreal space = QFontMetricsF(f).horizontalAdvance(u' ');
    SendScintilla(SCI_SETTABWIDTH, ulong(std::max(1, qRound(80 / std::max<qreal>(space, 1)))));
    updateFoldMargin();
}

// Text and lines

QString TRichEdit::text() const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    const char *bytes = static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    return FromView(bytes, length);
}

QByteArray TRichEdit::utf8Text() const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    const char *p = static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
    const char *end = p + length;
    QByteArray out(length - (lineCount() - 1), Qt::Uninitialized);
    char *w = out.data();
    while (p < end) {
        const char *cr = static_cast<const char *>(std::memchr(p, '\r', size_t(end - p)));
        const char *stop = cr ? cr : end;
        std::memcpy(w, p, size_t(stop - p));
        w += stop - p;
        if (!cr)
            break;
        p = cr + 1; // the LF follows
    }
    out.truncate(w - out.data());
    return out;
}

void TRichEdit::setText(const QString &text)
{
    setUtf8Text(text.toUtf8());
}

void TRichEdit::setUtf8Text(const QByteArray &text)
{
    ViewText view = ToView(text);
    replaceAll(std::move(view.bytes), view.lines, view.ascii, {});
    FlushNotifications();
}

QStringList TRichEdit::lines() const
{
    return text().split(QLatin1String("\r\n"));
}

void TRichEdit::setLines(const QStringList &lines)
{
    setText(lines.join(u'\n'));
}

int TRichEdit::lineCount() const
{
    return int(SendScintilla(SCI_GETLINECOUNT));
}

std::pair<long, long> TRichEdit::lineBytes(int line) const
{
    return { SendScintilla(SCI_POSITIONFROMLINE, ulong(line)),
        SendScintilla(SCI_GETLINEENDPOSITION, ulong(line)) };
}

QByteArray TRichEdit::lineUtf8(int line) const
{
    if (line < 0 || line >= lineCount())
        return {};
    const auto [start, end] = lineBytes(line);
    const char *bytes = static_cast<const char *>(
        reinterpret_cast<void *>(SendScintilla(SCI_GETRANGEPOINTER, ulong(start), end - start)));
    return QByteArray(bytes, end - start);
}

QString TRichEdit::line(int index) const
{
    return FromView(lineUtf8(index));
}

int TRichEdit::textLength() const
{
    const long length = SendScintilla(SCI_GETLENGTH);
    if (asciiText())
        return int(length);
    return fromBytes(length);
}

// Positions

void TRichEdit::noteNonAscii()
{
    if (!m_ascii)
        return;
    m_ascii = false;
    SendScintilla(SCI_ALLOCATELINECHARACTERINDEX, ulong(SC_LINECHARACTERINDEX_UTF16));
}

int TRichEdit::lineIndex(int line) const
{
    if (line == -1)
        line = int(SendScintilla(SCI_LINEFROMPOSITION, ulong(SendScintilla(SCI_GETCURRENTPOS))));
    if (line < 0 || line >= lineCount())
        return -1;
    if (asciiText())
        return int(SendScintilla(SCI_POSITIONFROMLINE, ulong(line)));
    return int(SendScintilla(SCI_INDEXPOSITIONFROMLINE, ulong(line), long(SC_LINECHARACTERINDEX_UTF16)));
}

int TRichEdit::lineFromChar(int position) const
{
    if (position < 0)
        return int(SendScintilla(SCI_LINEFROMPOSITION, ulong(SendScintilla(SCI_GETCURRENTPOS))));
    if (asciiText())
        return int(SendScintilla(SCI_LINEFROMPOSITION, ulong(position)));
    return int(SendScintilla(SCI_LINEFROMINDEXPOSITION, ulong(position), long(SC_LINECHARACTERINDEX_UTF16)));
}

long TRichEdit::toBytes(int position) const
{
    position = std::max(position, 0);
    const int line = lineFromChar(position);
    const auto [start, end] = lineBytes(line);
    // A position inside or after the line break is the end of its line.
    if (asciiText())
        return std::min<long>(position, end);
    const int column = position - lineIndex(line);
    const long bytes = SendScintilla(SCI_POSITIONRELATIVECODEUNITS, ulong(start), long(column));
    return bytes < 0 ? end : std::min(bytes, end);
}

int TRichEdit::fromBytes(long bytes) const
{
    if (asciiText())
        return int(bytes);
    const long line = SendScintilla(SCI_LINEFROMPOSITION, ulong(bytes));
    const long start = SendScintilla(SCI_POSITIONFROMLINE, ulong(line));
    return int(SendScintilla(SCI_INDEXPOSITIONFROMLINE, ulong(line), long(SC_LINECHARACTERINDEX_UTF16))
        + SendScintilla(SCI_COUNTCODEUNITS, ulong(start), bytes));
}

std::vector<int> TRichEdit::columnBytes(int line) const
{
    const QByteArray bytes = lineUtf8(line);
    std::vector<int> offsets;
    offsets.reserve(size_t(bytes.size()) + 1);
    for (int i = 0; i < bytes.size();) {
        const auto lead = uchar(bytes[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        offsets.push_back(i);
        if (length == 4)
            offsets.push_back(i); // two UTF-16 units
        i = std::min<int>(i + length, int(bytes.size()));
    }
    offsets.push_back(int(bytes.size()));
    return offsets;
}

// Selection

int TRichEdit::selStart() const
{
    return fromBytes(SendScintilla(SCI_GETSELECTIONSTART));
}

int TRichEdit::caretPosition() const
{
    return fromBytes(SendScintilla(SCI_GETCURRENTPOS));
}

void TRichEdit::setSelStart(int start)
{
    const long at = toBytes(start);
    showLine(SendScintilla(SCI_LINEFROMPOSITION, ulong(at)));
    SendScintilla(SCI_SETSEL, ulong(at), at);
    FlushNotifications();
}

int TRichEdit::selLength() const
{
    return fromBytes(SendScintilla(SCI_GETSELECTIONEND)) - selStart();
}

void TRichEdit::setSelLength(int length)
{
    select(selStart(), length);
}

void TRichEdit::select(int start, int length)
{
    const long anchor = toBytes(start);
    const long caret = toBytes(start + std::max(length, 0));
    showLine(SendScintilla(SCI_LINEFROMPOSITION, ulong(anchor)));
    showLine(SendScintilla(SCI_LINEFROMPOSITION, ulong(caret)));
    SendScintilla(SCI_SETSEL, ulong(anchor), caret);
    FlushNotifications();
}

QString TRichEdit::selText() const
{
    const long start = SendScintilla(SCI_GETSELECTIONSTART);
    const long end = SendScintilla(SCI_GETSELECTIONEND);
    const char *bytes = static_cast<const char *>(
        reinterpret_cast<void *>(SendScintilla(SCI_GETRANGEPOINTER, ulong(start), end - start)));
    return FromView(bytes, end - start);
}

void TRichEdit::replaceSelection(const QString &text)
{
    const ViewText bytes = ToView(text);
    {
        const Writable writable(*this);
        SendScintilla(SCI_BEGINUNDOACTION);
        SendScintilla(SCI_TARGETFROMSELECTION);
        SendScintilla(SCI_REPLACETARGET, ulong(bytes.bytes.size()), bytes.bytes.constData());
        const long caret = SendScintilla(SCI_GETTARGETEND);
        SendScintilla(SCI_SETSEL, ulong(caret), caret);
        SendScintilla(SCI_ENDUNDOACTION);
    }
    FlushNotifications();
}

void TRichEdit::undo()
{
    {
        const Writable writable(*this);
        SendScintilla(SCI_UNDO);
    }
    showLine(SendScintilla(SCI_LINEFROMPOSITION, ulong(SendScintilla(SCI_GETCURRENTPOS))));
    FlushNotifications();
}

void TRichEdit::redo()
{
    {
        const Writable writable(*this);
        SendScintilla(SCI_REDO);
    }
    showLine(SendScintilla(SCI_LINEFROMPOSITION, ulong(SendScintilla(SCI_GETCURRENTPOS))));
    FlushNotifications();
}

void TRichEdit::cut()
{
    SendScintilla(SCI_CUT);
    FlushNotifications();
}

void TRichEdit::copy()
{
    SendScintilla(SCI_COPY);
}

void TRichEdit::paste()
{
    SendScintilla(SCI_PASTE);
    FlushNotifications();
}

bool TRichEdit::isUndoAvailable() const
{
    return SendScintilla(SCI_CANUNDO) != 0;
}

bool TRichEdit::isRedoAvailable() const
{
    return SendScintilla(SCI_CANREDO) != 0;
}

bool TRichEdit::isModified() const
{
    return SendScintilla(SCI_GETMODIFY) != 0;
}

void TRichEdit::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    SendScintilla(SCI_SETREADONLY, ulong(readOnly));
    // A read-only field shows no caret.
    SendScintilla(SCI_SETCARETSTYLE, ulong(readOnly ? CARETSTYLE_INVISIBLE : CARETSTYLE_LINE));
}

int TRichEdit::fontSize() const
{
    const QFont f = font();
    if (f.pointSize() > 0)
        return f.pointSize();
    return std::max(1, f.pixelSize() * 72 / 96);
}

void TRichEdit::setFontSize(int points)
{
    QFont f = font();
    f.setPointSize(points);
    setFont(f);
}

void TRichEdit::setZoom(int points)
{
    // From 4 points (or the font's own size, when smaller) to four times that.
    const int size = fontSize();
    points = std::clamp(points, std::min(0, 4 - size), 3 * size);
    if (points == m_zoom)
        return;
    m_zoom = points;
    SendScintilla(SCI_SETZOOM, ulong(long(points)));
}

void TRichEdit::setHideSelection(bool hide)
{
    m_hideSelection = hide;
    SendScintilla(SCI_HIDESELECTION, ulong(m_hideSelection && !hasFocus()));
}

// Rich text and files

RichText TRichEdit::richText() const
{
    RichText content;
    const int count = lineCount();
    ensureStyled(0, count - 1);
    content.text = text();
    content.text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    content.lines.reserve(size_t(count));
    for (int l = 0; l < count; ++l)
        content.lines.push_back(lineRuns(l));
    return content;
}

QByteArray TRichEdit::rtf() const
{
    return Rtf::Write(richText(), fontSize() * 2);
}

void TRichEdit::loadRtf(const QByteArray &rtf)
{
    replaceAll(Rtf::Read(rtf));
    FlushNotifications();
}

void TRichEdit::loadRtf(QByteArray &&rtf)
{
    RichText content = Rtf::Read(rtf);
    rtf = QByteArray(); // not held while the control fills
    replaceAll(std::move(content));
    FlushNotifications();
}

void TRichEdit::loadFromFile(const QString &fileName)
{
    const QByteArray bytes = TextFile::ReadBytes(fileName);
    if (Rtf::LooksLikeRtf(bytes))
        loadRtf(bytes);
    else
        setText(TextFile::DecodeScriptText(bytes).text);
}

void TRichEdit::saveToFile(const QString &fileName, FileFormat format) const
{
    if (format == FileFormat::RichText)
        TextFile::WriteBytes(fileName, rtf());
    else
        TextFile::SaveLines(fileName, lines());
}

// What loading a file does to all but the text: the caret at the start,
// scrolled to the top, no undo history, not modified, a change and a
// selection notification.
void TRichEdit::restartView()
{
    SendScintilla(SCI_EMPTYUNDOBUFFER);
    SendScintilla(SCI_SETSAVEPOINT);
    SendScintilla(SCI_SETEMPTYSELECTION, 0UL);
    SendScintilla(SCI_SETFIRSTVISIBLELINE, 0UL);
    SendScintilla(SCI_SETXOFFSET, 0UL);
    m_typing.reset();
    m_pendingLines = { -1, -1 };
    m_pendingSelection = true;
    m_pendingChange = true;
    scheduleFlush();
}

void TRichEdit::replaceAll(RichText &&content)
{
    ViewText view = ToView(content.text);
    content.text = QString(); // not held while the view fills
    replaceAll(std::move(view.bytes), view.lines, view.ascii, std::move(content.lines));
}

void TRichEdit::replaceAll(QByteArray &&bytes, int lines, bool ascii, std::vector<LineRuns> &&runs)
{
    const long length = SendScintilla(SCI_GETLENGTH);
    // Reloading the text the control shows (a whole-text colouring) keeps
    // the text, and with it the view's line layouts.
    if (bytes.size() == length
        && std::memcmp(bytes.constData(), SendScintillaPtrResult(SCI_GETCHARACTERPOINTER), size_t(length))
            == 0) {
        replaceStyles(std::move(runs));
        return;
    }
    completeEdit();
    m_replacingAll = true;
    {
        const Writable writable(*this);
        // Neither the old text nor the new one is copied into the undo
        // history, and no edit is reported: the control reports one change.
        SendScintilla(SCI_SETMODEVENTMASK, 0UL);
        SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
        SendScintilla(SCI_CLEARALL);
        // The line that stays takes no fold into the new text.
        SendScintilla(SCI_SETFOLDLEVEL, 0UL, long(SC_FOLDLEVELBASE));
        SendScintilla(SCI_SETFOLDEXPANDED, 0UL, 1L);
        m_foldFrom = 0;
        if (!m_ascii && ascii) {
            SendScintilla(SCI_RELEASELINECHARACTERINDEX, ulong(SC_LINECHARACTERINDEX_UTF16));
            m_ascii = true;
        }
        emit TextReplacing(lines);
        SendScintilla(SCI_ALLOCATE, ulong(bytes.size() + 1));
        SendScintilla(SCI_APPENDTEXT, ulong(bytes.size()), bytes.constData());
        bytes = QByteArray();
        SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
        SendScintilla(SCI_SETMODEVENTMASK, ulong(SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE));
    }
    if (!ascii)
        noteNonAscii();
    m_pending.Clear();
    ++m_revision;
    restartView();
    m_replacingAll = false;
    emit LinesEdited(0, lineCount() - 1);
    if (runs.size() == size_t(lineCount())) {
        for (size_t l = 0; l < runs.size(); ++l)
            if (!runs[l].empty())
                setLineRuns(int(l), runs[l]);
    }
}

void TRichEdit::reloadRuns(std::vector<LineRuns> &&runs)
{
    replaceStyles(std::move(runs));
    FlushNotifications();
}

void TRichEdit::reloadStyledLater()
{
    restartView();
    m_pending.Clear();
    styleLater(0, lineCount() - 1);
    FlushNotifications();
}

void TRichEdit::replaceStyles(std::vector<LineRuns> &&runs)
{
    restartView();
    m_pending.Clear();
    // Clears the fold levels too, and shows every line.
    SendScintilla(SCI_CLEARDOCUMENTSTYLE);
    m_foldFrom = 0;
    if (runs.size() == size_t(lineCount())) {
        for (size_t l = 0; l < runs.size(); ++l)
            if (!runs[l].empty())
                setLineRuns(int(l), runs[l]);
    }
    SendScintilla(SCI_STARTSTYLING, ulong(SendScintilla(SCI_GETLENGTH)), 0L);
    viewport()->update();
}

// Edits

// Carries styles, waiting lines and the lines of the pending change along an
// edit of `length` bytes at `position`, reported before it is made.
void TRichEdit::onModified(int position, int type, int length)
{
    if (!(type & (SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE)))
        return;
    completeEdit();
    ++m_revision;
    m_pendingChange = true;
    m_pendingSelection = true;
    scheduleFlush();
    Edit edit;
    edit.insertion = (type & SC_MOD_BEFOREINSERT) != 0;
    edit.position = position;
    edit.length = length;
    edit.line = int(SendScintilla(SCI_LINEFROMPOSITION, ulong(position)));
    if (!edit.insertion) {
        edit.linesAdded = edit.line - int(SendScintilla(SCI_LINEFROMPOSITION, ulong(position + length)));
        m_pending.LinesAdded(edit.line, edit.linesAdded);
        if (QAccessible::isActive())
            edit.removed = FromView(static_cast<const char *>(reinterpret_cast<void *>(
                                        SendScintilla(SCI_GETRANGEPOINTER, ulong(position), long(length)))),
                length);
    }
    m_edit = edit;
}

void TRichEdit::completeEdit() const
{
    if (!m_edit)
        return;
    const Edit edit = *m_edit;
    m_edit.reset();
    m_foldFrom = std::min(m_foldFrom, edit.line);
    auto *self = const_cast<TRichEdit *>(this);
    if (!edit.insertion) {
        self->addChangedLines(edit.line, edit.line, edit.linesAdded);
        if (QAccessible::isActive()) {
            QAccessibleTextRemoveEvent event(self, fromBytes(edit.position), edit.removed);
            QAccessible::updateAccessibility(&event);
        }
        emit self->LinesEdited(edit.line, edit.line);
        return;
    }
    const char *text = static_cast<const char *>(
        reinterpret_cast<void *>(SendScintilla(SCI_GETRANGEPOINTER, ulong(edit.position), edit.length)));
    const char *end = text + edit.length;
    int linesAdded = 0;
    for (const char *p = text; (p = static_cast<const char *>(std::memchr(p, '\n', size_t(end - p)))); ++p)
        ++linesAdded;
    if (m_ascii && std::any_of(text, end, [](char c) { return uchar(c) >= 0x80; }))
        self->noteNonAscii();
    m_pending.LinesAdded(edit.line, linesAdded);
    const int last = edit.line + linesAdded;
    self->addChangedLines(edit.line, last, linesAdded);
    const int style
        = m_typing && edit.position == m_typingPosition ? *m_typing : insertionStyle(edit.position);
    if (style != 0)
        writeStyles(edit.position, QByteArray(edit.length, char(style)));
    if (QAccessible::isActive()) {
        QAccessibleTextInsertEvent event(self, fromBytes(edit.position), FromView(text, edit.length));
        QAccessible::updateAccessibility(&event);
    }
    emit self->LinesEdited(edit.line, last);
}

// Merges an edit's lines into those of the pending change; the lines of
// earlier edits move with the lines this one added or removed.
void TRichEdit::addChangedLines(int first, int last, int linesAdded)
{
    if (m_pendingLines.first < 0) {
        m_pendingLines = { first, last };
        return;
    }
    auto shift = [&](int line) { return line > first ? std::max(first, line + linesAdded) : line; };
    m_pendingLines
        = { std::min(shift(m_pendingLines.first), first), std::max(shift(m_pendingLines.second), last) };
}

// Notifications

void TRichEdit::Change()
{
    emit OnChange();
}

void TRichEdit::SelectionChange()
{
    emit OnSelectionChange();
}

void TRichEdit::KeyDown(QKeyEvent *event)
{
    emit OnKeyDown(event);
}

void TRichEdit::Invalidate()
{
    viewport()->update();
}

void TRichEdit::scheduleFlush()
{
    if (m_flushScheduled)
        return;
    m_flushScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_flushScheduled = false;
            FlushNotifications();
        },
        Qt::QueuedConnection);
}

void TRichEdit::FlushNotifications()
{
    if (m_replacingAll)
        return;
    while (true) {
        completeEdit();
        const long anchor = SendScintilla(SCI_GETANCHOR);
        const long caret = SendScintilla(SCI_GETCURRENTPOS);
        if (m_typing && caret != m_typingPosition)
            m_typing.reset();
        if (m_pendingSelection || anchor != m_lastAnchor || caret != m_lastCaret) {
            m_pendingSelection = false;
            m_lastAnchor = anchor;
            m_lastCaret = caret;
            if (QAccessible::isActive()) {
                QAccessibleTextCursorEvent event(this, fromBytes(caret));
                QAccessible::updateAccessibility(&event);
            }
            SelectionChange();
            continue;
        }
        if (!m_pendingChange)
            break;
        m_pendingChange = false;
        m_changedLines = std::exchange(m_pendingLines, { -1, -1 });
        Change();
    }
}

bool TRichEdit::event(QEvent *event)
{
    ++m_eventDepth;
    const bool result = QsciScintillaBase::event(event);
    if (--m_eventDepth == 0)
        FlushNotifications();
    return result;
}

bool TRichEdit::viewportEvent(QEvent *event)
{
    ++m_eventDepth;
    const bool result = QsciScintillaBase::viewportEvent(event);
    if (--m_eventDepth == 0 && event->type() != QEvent::Paint)
        FlushNotifications();
    return result;
}

bool TRichEdit::typesCharacter(const QKeyEvent &event) const
{
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    // Ctrl+Enter, Alt+Enter and Ctrl+M carry a line break's text but insert
    // nothing.
    if (text == u"\r" || text == u"\n")
        return !isReadOnly() && event.matches(QKeySequence::InsertParagraphSeparator);
    return true;
}

void TRichEdit::keyPressEvent(QKeyEvent *event)
{
    // Every key that would break a line does it as Enter does.
    if (TypesSeparator(*event)) {
        const Qt::Key key = event->key() == Qt::Key_Enter ? Qt::Key_Enter : Qt::Key_Return;
        QKeyEvent enter(QEvent::KeyPress, key, event->modifiers() & Qt::KeypadModifier, QStringLiteral("\r"),
            event->isAutoRepeat(), ushort(event->count()));
        keyPressEvent(&enter);
        event->setAccepted(enter.isAccepted());
        return;
    }
    m_keyConsumed = false;
    KeyDown(event);
    if (!m_keyConsumed && typesCharacter(*event))
        emit OnKeyPress(event);
    if (m_keyConsumed) {
        event->accept();
        return;
    }
    // Ctrl and Ctrl+Shift with a key type nothing, as in any text field (the
    // view would insert the key's character when it has no command for it).
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (!event->text().isEmpty()
        && (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier))) {
        QKeyEvent command(QEvent::KeyPress, event->key(), event->modifiers(), QString(),
            event->isAutoRepeat(), ushort(event->count()));
        QsciScintillaBase::keyPressEvent(&command);
        event->setAccepted(command.isAccepted());
        return;
    }
    QsciScintillaBase::keyPressEvent(event);
}

// The view takes Ctrl+drag for a rectangular selection on X11, where window
// managers keep Alt+drag; here Alt+drag selects a rectangle, as elsewhere, and
// Ctrl+click is left to the owner.
void TRichEdit::mousePressEvent(QMouseEvent *event)
{
#if defined(Q_OS_MACOS) || defined(Q_OS_WIN)
    QsciScintillaBase::mousePressEvent(event);
#else
    Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::ControlModifier | Qt::AltModifier);
    if (event->modifiers() & Qt::AltModifier)
        modifiers |= Qt::ControlModifier;
    QMouseEvent mapped(event->type(), event->position(), event->scenePosition(), event->globalPosition(),
        event->button(), event->buttons(), modifiers, event->pointingDevice());
    QsciScintillaBase::mousePressEvent(&mapped);
    event->setAccepted(mapped.isAccepted());
#endif
}

void TRichEdit::paintEvent(QPaintEvent *event)
{
    QsciScintillaBase::paintEvent(event);
    QPainter painter(viewport());
    emit Painted(painter);
}

void TRichEdit::focusInEvent(QFocusEvent *event)
{
    QsciScintillaBase::focusInEvent(event);
    if (m_hideSelection)
        SendScintilla(SCI_HIDESELECTION, 0UL);
}

void TRichEdit::focusOutEvent(QFocusEvent *event)
{
    QsciScintillaBase::focusOutEvent(event);
    if (m_hideSelection)
        SendScintilla(SCI_HIDESELECTION, 1UL);
}

void TRichEdit::changeEvent(QEvent *event)
{
    QsciScintillaBase::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        applyLook();
}

// The clipboard and drops: line breaks are the platform's LF outside, CR LF
// inside.
QByteArray TRichEdit::fromMimeData(const QMimeData *source, bool &rectangular) const
{
    return ToView(QsciScintillaBase::fromMimeData(source, rectangular)).bytes;
}

QMimeData *TRichEdit::toMimeData(const QByteArray &text, bool rectangular) const
{
    QMimeData *data = QsciScintillaBase::toMimeData(text, rectangular);
    data->setText(data->text().replace(QLatin1String("\r\n"), QLatin1String("\n")));
    return data;
}

// The view

void TRichEdit::fillIndicator(int indicator, int start, int length)
{
    const long from = toBytes(start);
    SendScintilla(SCI_SETINDICATORCURRENT, ulong(indicator));
    SendScintilla(SCI_INDICATORFILLRANGE, ulong(from), toBytes(start + length) - from);
}

void TRichEdit::clearIndicator(int indicator, int start, int length)
{
    const long from = toBytes(start);
    SendScintilla(SCI_SETINDICATORCURRENT, ulong(indicator));
    SendScintilla(SCI_INDICATORCLEARRANGE, ulong(from), toBytes(start + length) - from);
}

int TRichEdit::findIndicator(int indicator, int from) const
{
    const long start = toBytes(from);
    const long length = SendScintilla(SCI_GETLENGTH);
    long at = start;
    if (SendScintilla(SCI_INDICATORVALUEAT, ulong(indicator), at) == 0)
        at = SendScintilla(SCI_INDICATOREND, ulong(indicator), at);
    if (at >= length || SendScintilla(SCI_INDICATORVALUEAT, ulong(indicator), at) == 0)
        return -1;
    return fromBytes(at);
}

int TRichEdit::positionAt(const QPoint &point) const
{
    return fromBytes(SendScintilla(SCI_POSITIONFROMPOINT, ulong(point.x()), long(point.y())));
}

QRect TRichEdit::positionRect(int position) const
{
    const long bytes = toBytes(position);
    const int x = int(SendScintilla(SCI_POINTXFROMPOSITION, 0UL, bytes));
    const int y = int(SendScintilla(SCI_POINTYFROMPOSITION, 0UL, bytes));
    const int height = int(SendScintilla(SCI_TEXTHEIGHT, 0UL));
    return QRect(x, y, 1, height);
}

int TRichEdit::firstVisibleLine() const
{
    return int(SendScintilla(SCI_DOCLINEFROMVISIBLE, ulong(SendScintilla(SCI_GETFIRSTVISIBLELINE))));
}

int TRichEdit::lastVisibleLine() const
{
    const long visible = SendScintilla(SCI_GETFIRSTVISIBLELINE) + SendScintilla(SCI_LINESONSCREEN);
    return std::min(int(SendScintilla(SCI_DOCLINEFROMVISIBLE, ulong(visible))), lineCount() - 1);
}

void TRichEdit::ensureCursorVisible()
{
    showLine(SendScintilla(SCI_LINEFROMPOSITION, ulong(SendScintilla(SCI_GETCURRENTPOS))));
    SendScintilla(SCI_SCROLLCARET);
}

void TRichEdit::scrollToRange(int start, int end)
{
    SendScintilla(SCI_SCROLLRANGE, ulong(toBytes(end)), toBytes(start));
}

void TRichEdit::centerCursor()
{
    const long line = SendScintilla(SCI_LINEFROMPOSITION, ulong(SendScintilla(SCI_GETCURRENTPOS)));
    showLine(line);
    const long visible = SendScintilla(SCI_VISIBLEFROMDOCLINE, ulong(line));
    SendScintilla(
        SCI_SETFIRSTVISIBLELINE, ulong(std::max(0L, visible - SendScintilla(SCI_LINESONSCREEN) / 2)));
    SendScintilla(SCI_SCROLLCARET);
}

// Find

int TRichEdit::findText(const QString &what, int start, int length, FindOptions options) const
{
    if (what.isEmpty())
        return -1;
    const QString all = text();
    start = std::clamp(start, 0, int(all.size()));
    const int end = length < 0 ? int(all.size()) : std::min(int(all.size()), start + length);
    const Qt::CaseSensitivity cs = options.testFlag(FindMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype at = start;
    while (true) {
        at = all.indexOf(what, at, cs);
        if (at < 0 || at + what.size() > end)
            return -1;
        const bool bounded = !options.testFlag(FindWholeWord)
            || ((at == 0 || !IsWordChar(all.at(at - 1)))
                && (at + what.size() >= all.size() || !IsWordChar(all.at(at + what.size()))));
        if (bounded)
            return int(at);
        ++at;
    }
}
