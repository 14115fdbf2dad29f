#include "EditorHelp.h"

#include "Main.h"
#include "ScriptCheck.h"
#include "editor/SyntaxEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

using WritingHelp::NameKind;

namespace {

constexpr int kVisibleRows = 10;
// A script this long is taken for slow before its first analysis.
constexpr int kSlowScriptCharacters = 1'000'000;

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// A letter on a tinted square, one per kind of name.
QIcon KindIcon(NameKind kind)
{
    static const std::pair<char, QColor> kLooks[] = {
        { 'f', QColor(0, 0, 128) },
        { 'c', QColor(128, 0, 0) },
        { 'a', QColor(0, 96, 128) },
        { 'g', QColor(128, 64, 0) },
        { 'f', QColor(0, 112, 0) },
        { 'v', QColor(0, 112, 0) },
        { 'l', QColor(96, 0, 128) },
        { 'p', QColor(96, 0, 128) },
        { 'v', QColor(0, 96, 96) },
        { 'm', QColor(0, 96, 96) },
    };
    static QIcon icons[std::size(kLooks)];
    QIcon &icon = icons[size_t(kind)];
    if (icon.isNull()) {
        QPixmap pixmap(14, 14);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(kLooks[size_t(kind)].second);
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 3, 3);
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setPixelSize(10);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, QString(QLatin1Char(kLooks[size_t(kind)].first)));
        painter.end();
        icon = QIcon(pixmap);
    }
    return icon;
}

} // namespace

EditorHelp::EditorHelp(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    CompletionPopup = new QFrame(&form);
    CompletionPopup->setObjectName(QStringLiteral("CompletionPopup"));
    CompletionPopup->setFrameShape(QFrame::Box);
    CompletionPopup->setFocusPolicy(Qt::NoFocus);
    CompletionList = new QListWidget(CompletionPopup);
    CompletionList->setObjectName(QStringLiteral("CompletionList"));
    CompletionList->setFocusPolicy(Qt::NoFocus);
    CompletionList->setUniformItemSizes(true);
    CompletionList->setFrameShape(QFrame::NoFrame);
    CompletionDeclaration = new QLabel(CompletionPopup);
    CompletionDeclaration->setObjectName(QStringLiteral("CompletionDeclaration"));
    CompletionDeclaration->setTextFormat(Qt::PlainText);
    CompletionDeclaration->setAutoFillBackground(true);
    CompletionDeclaration->setBackgroundRole(QPalette::ToolTipBase);
    CompletionDeclaration->setForegroundRole(QPalette::ToolTipText);
    auto *layout = new QVBoxLayout(CompletionPopup);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(CompletionList);
    layout->addWidget(CompletionDeclaration);
    CompletionPopup->hide();

    CallTip = new QLabel(&form);
    CallTip->setObjectName(QStringLiteral("CallTip"));
    CallTip->setTextFormat(Qt::RichText);
    CallTip->setFocusPolicy(Qt::NoFocus);
    CallTip->setFrameShape(QFrame::Box);
    CallTip->setAutoFillBackground(true);
    CallTip->setBackgroundRole(QPalette::ToolTipBase);
    CallTip->setForegroundRole(QPalette::ToolTipText);
    CallTip->setMargin(2);
    CallTip->hide();
    m_pool.setMaxThreadCount(1);

    TSyntaxEdit *editor = form.Editbox;
    connect(editor, &TRichEdit::OnKeyDown, this, &EditorHelp::keyDown);
    connect(editor, &TRichEdit::OnChange, this, &EditorHelp::changed);
    connect(editor, &TRichEdit::OnSelectionChange, this, &EditorHelp::selectionChanged);
    connect(CompletionList, &QListWidget::currentRowChanged, this, &EditorHelp::showSelectedDeclaration);
    connect(CompletionList, &QListWidget::itemClicked, this, &EditorHelp::insertCompletion);
    editor->viewport()->installEventFilter(this);
    // They stand beside the text they are about and follow it when it scrolls.
    for (QScrollBar *bar : { editor->verticalScrollBar(), editor->horizontalScrollBar() }) {
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            if (CompletionOpen())
                place(CompletionPopup, m_wordStart);
            if (TipOpen())
                place(CallTip, m_tipAnchor);
        });
    }
}

EditorHelp::~EditorHelp()
{
    m_pool.clear();
    m_pool.waitForDone();
}

bool EditorHelp::CompletionOpen() const
{
    return CompletionPopup->isVisible();
}

bool EditorHelp::TipOpen() const
{
    return CallTip->isVisible();
}

const WritingHelp::ScriptIndex &EditorHelp::script()
{
    const int revision = m_form.Editbox->revision();
    if (m_revision < 0 || revision != m_revision) {
        QElapsedTimer timer;
        timer.start();
        m_script.Build(snapshot(), m_form.CheckedName(), m_form.CheckedFolder());
        m_revision = revision;
        m_slowAnalysis = timer.elapsed() > SlowAnalysisMs;
        emit ScriptAnalysed();
    }
    return m_script;
}

void EditorHelp::RefreshScript()
{
    if (!refreshInBackground())
        script();
}

void EditorHelp::RememberPlace()
{
    m_back.append({ m_form.State.FileName, m_form.Editbox->selStart(), m_form.Editbox->selLength() });
}

QByteArray EditorHelp::snapshot() const
{
    return ScriptCheck::ScriptBytes(
        m_form.Editbox->utf8Text(), m_form.State.Encoding != TextFile::Encoding::Cp1252);
}

bool EditorHelp::refreshInBackground()
{
    const TSyntaxEdit &editor = *m_form.Editbox;
    if (!m_slowAnalysis && (m_revision >= 0 || editor.textLength() < kSlowScriptCharacters))
        return false;
    m_slowAnalysis = true;
    const int revision = editor.revision();
    // One at a time: what is asked meanwhile is served by the one running.
    if (revision == m_revision || m_analysing >= 0)
        return true;
    m_analysing = revision;
    m_pool.start(
        [this, revision, text = snapshot(), name = m_form.CheckedName(), folder = m_form.CheckedFolder()] {
            QElapsedTimer timer;
            timer.start();
            WritingHelp::ScriptIndex index;
            index.Build(text, name, folder);
            const qint64 ms = timer.elapsed();
            QMetaObject::invokeMethod(
                this, [this, revision, index, ms] { analysed(revision, index, ms); }, Qt::QueuedConnection);
        });
    return true;
}

void EditorHelp::analysed(int revision, const WritingHelp::ScriptIndex &index, qint64 ms)
{
    m_analysing = -1;
    m_slowAnalysis = ms > SlowAnalysisMs;
    // Revisions only grow. A text typed on since is still better served by
    // this than by an older analysis; the next request analyses it again.
    if (revision <= m_revision)
        return;
    m_script = index;
    m_revision = revision;
    emit ScriptAnalysed();
    if (CompletionOpen())
        fillCompletion();
    else if (std::exchange(m_membersWanted, -1) == revision && revision == m_form.Editbox->revision()
        && memberAtCaret())
        OpenCompletion(false);
    if (TipOpen()) {
        updateTip();
    } else if (m_tipWanted >= 0) {
        const auto call = callAtCaret();
        if (call)
            showCallTip(*call);
        // Typed on in the call while this ran: once more for the newer text.
        if (call || revision == m_form.Editbox->revision() || !namedCallAtCaret() || !refreshInBackground())
            m_tipWanted = -1;
    }
}

std::tuple<int, QString, int> EditorHelp::caret() const
{
    const TSyntaxEdit &editor = *m_form.Editbox;
    const int start = editor.selStart();
    const int line = editor.lineFromChar(start);
    return { line, editor.line(line), start - editor.lineIndex(line) };
}

void EditorHelp::place(QWidget *widget, int position)
{
    TSyntaxEdit &editor = *m_form.Editbox;
    const QRect rect = editor.positionRect(position);
    if (!editor.viewport()->rect().intersects(rect)) {
        // Scrolled out of sight.
        widget->hide();
        if (widget == CompletionPopup)
            closeCompletion();
        return;
    }
    widget->setFont(editor.font());
    widget->adjustSize();
    QPoint at = editor.viewport()->mapTo(&m_form, rect.bottomLeft());
    const QSize size = widget->size();
    if (at.y() + size.height() > m_form.height())
        at.setY(editor.viewport()->mapTo(&m_form, rect.topLeft()).y() - size.height());
    at.setX(std::clamp(at.x(), 0, std::max(0, m_form.width() - size.width())));
    widget->move(at);
    widget->raise();
    widget->show();
}

void EditorHelp::OpenCompletion(bool asked)
{
    const auto [line, text, column] = caret();
    const auto [start, length] = WritingHelp::WordAt(text, column);
    m_wordStart = m_form.Editbox->lineIndex(line) + (length > 0 ? start : column);
    m_wordLine = line;
    fillCompletion();
    const int revision = m_form.Editbox->revision();
    if (revision != m_revision && (asked || !m_slowAnalysis || m_revision < 0)) {
        // Shown at once from the last analysis, brought up to date right
        // after (a slow script's once its analysis is done), unless the
        // user typed on or closed it meanwhile.
        QTimer::singleShot(0, this, [this, revision] {
            if ((CompletionOpen() || m_form.Editbox->revision() == revision) && !refreshInBackground()) {
                script();
                fillCompletion();
            }
        });
    }
}

void EditorHelp::fillCompletion()
{
    const TSyntaxEdit &editor = *m_form.Editbox;
    const int first = editor.lineIndex(m_wordLine);
    const QString text = editor.line(m_wordLine);
    const QString prefix = text.mid(m_wordStart - first, editor.selStart() - m_wordStart);
    // After a "." the members of what stands before it, and nothing else.
    auto members = WritingHelp::CompleteMembers(&m_script, m_wordLine, text, m_wordStart - first, prefix);
    m_items = members ? std::move(*members)
                      : WritingHelp::Complete(m_form.State.Declarations, &m_script, m_wordLine, prefix);
    if (m_items.isEmpty()) {
        closeCompletion();
        return;
    }
    const QListWidgetItem *current = CompletionOpen() ? CompletionList->currentItem() : nullptr;
    const QString chosenName = current != nullptr ? current->text() : QString();
    CompletionList->setUpdatesEnabled(false);
    CompletionList->clear();
    for (const WritingHelp::Candidate &candidate : m_items)
        CompletionList->addItem(new QListWidgetItem(KindIcon(candidate.kind), candidate.name));
    CompletionList->setUpdatesEnabled(true);
    CompletionList->setFont(editor.font());
    CompletionDeclaration->setFont(editor.font());
    const int rows = int(std::min<qsizetype>(m_items.size(), kVisibleRows));
    const int rowHeight = std::max(CompletionList->sizeHintForRow(0), 1);
    CompletionList->setFixedHeight(rows * rowHeight + 2);
    // Wide enough for the longest of the names a few screens down.
    const QFontMetrics metrics(editor.font());
    int width = 0;
    for (qsizetype row = 0; row < std::min<qsizetype>(m_items.size(), 20 * kVisibleRows); ++row)
        width = std::max(width, metrics.horizontalAdvance(m_items[row].name));
    CompletionList->setFixedWidth(std::max(width + CompletionList->iconSize().width()
            + CompletionList->verticalScrollBar()->sizeHint().width() + 16,
        160));
    // A name the user went to stays selected while typing filters the list.
    const auto kept = std::find_if(m_items.cbegin(), m_items.cend(),
        [this, &chosenName](const WritingHelp::Candidate &c) { return m_chosen && c.name == chosenName; });
    m_chosen = kept != m_items.cend();
    CompletionList->setCurrentRow(m_chosen ? int(kept - m_items.cbegin()) : 0);
    showSelectedDeclaration();
    place(CompletionPopup, m_wordStart);
}

void EditorHelp::closeCompletion()
{
    CompletionPopup->hide();
    m_chosen = false;
    m_items.clear();
}

void EditorHelp::showSelectedDeclaration()
{
    const int row = CompletionList->currentRow();
    CompletionDeclaration->setText(row >= 0 && row < m_items.size() ? m_items[row].declaration : QString());
}

void EditorHelp::moveCompletion(int rows)
{
    m_chosen = true;
    const int count = CompletionList->count();
    CompletionList->setCurrentRow(std::clamp(CompletionList->currentRow() + rows, 0, count - 1));
}

void EditorHelp::insertCompletion()
{
    const int row = CompletionList->currentRow();
    if (row < 0 || row >= m_items.size())
        return;
    const QString name = m_items[row].name;
    closeCompletion();
    TSyntaxEdit &editor = *m_form.Editbox;
    const int caret = editor.selStart();
    // Selecting the typed part is the program's own move: no preview for it.
    m_form.State.TrackSelection = false;
    editor.select(m_wordStart, caret - m_wordStart);
    editor.replaceSelection(name);
    m_form.State.TrackSelection = true;
}

std::optional<WritingHelp::CallSite> EditorHelp::callAtCaret()
{
    const auto [line, text, column] = caret();
    return WritingHelp::CallAt(
        text, column, [this, line = line, &text = text](const QString &name, int start) {
            return !callDeclaration(line, text, { name, 0, 0, start }).isEmpty();
        });
}

QString EditorHelp::callDeclaration(int line, const QString &text, const WritingHelp::CallSite &call) const
{
    return WritingHelp::CallDeclarationAt(
        m_form.State.Declarations, &m_script, line, text, call.start, call.function);
}

bool EditorHelp::memberAtCaret() const
{
    const auto [line, text, column] = caret();
    if (column < 1 || column > text.size() || text[column - 1] != u'.'
        || !WritingHelp::InCode(text, column - 1))
        return false;
    // Not in a number; and a script whose last analysis found no vJASS has no members.
    const auto [start, length] = WritingHelp::WordAt(text, column - 1);
    return (length == 0 || !text[start].isDigit())
        && (m_revision < 0 || !m_script.Result().outline.isEmpty());
}

bool EditorHelp::namedCallAtCaret() const
{
    static const QStringList kKeywords = { "if", "elseif", "and", "or", "not", "return", "then", "set",
        "call", "exitwhen", "local", "constant", "array", "takes", "returns" };
    const auto [line, text, column] = caret();
    return WritingHelp::CallAt(text, column, [](const QString &name) {
        return !kKeywords.contains(name) && !name.front().isDigit();
    }).has_value();
}

bool EditorHelp::OpenCallTip()
{
    // The catalogue's functions need no analysis of the script: the first
    // "(" after a native does not wait for a whole large script.
    auto call = callAtCaret();
    const int revision = m_form.Editbox->revision();
    if (!call && m_revision != revision && namedCallAtCaret()) {
        // Perhaps a function the script declares, or declared since it was
        // last analysed: the tip shows once the analysis is done.
        if (refreshInBackground()) {
            m_tipWanted = revision;
        } else {
            script();
            call = callAtCaret();
        }
    }
    if (!call) {
        CallTip->hide();
        return false;
    }
    showCallTip(*call);
    return true;
}

void EditorHelp::showCallTip(const WritingHelp::CallSite &call)
{
    const auto [line, text, column] = caret();
    showTip(WritingHelp::MakeTip(callDeclaration(line, text, call), call.argument));
    const TSyntaxEdit &editor = *m_form.Editbox;
    m_tipAnchor = editor.lineIndex(editor.lineFromChar(editor.selStart())) + call.open;
    place(CallTip, m_tipAnchor);
}

void EditorHelp::showTip(const WritingHelp::Tip &tip)
{
    const QString text = tip.text.left(tip.boldStart).toHtmlEscaped() + QStringLiteral("<b>")
        + tip.text.mid(tip.boldStart, tip.boldLength).toHtmlEscaped() + QStringLiteral("</b>")
        + tip.text.mid(tip.boldStart + tip.boldLength).toHtmlEscaped();
    // On one line when it fits in the window (a child widget is cut off at
    // its edge); a longer declaration wraps between its words at that width.
    QFont bold = m_form.Editbox->font();
    bold.setBold(true);
    const int frame = 2 * (CallTip->margin() + CallTip->frameWidth()) + 8;
    const bool wrap = QFontMetrics(bold).horizontalAdvance(tip.text) + frame > m_form.width();
    CallTip->setWordWrap(wrap);
    CallTip->setMinimumWidth(wrap ? m_form.width() : 0);
    CallTip->setMaximumWidth(wrap ? m_form.width() : QWIDGETSIZE_MAX);
    CallTip->setText(QStringLiteral("<span style=\"white-space:%1\">%2</span>")
                         .arg(wrap ? QLatin1String("normal") : QLatin1String("pre"), text));
}

void EditorHelp::updateTip()
{
    const auto call = callAtCaret();
    if (!call) {
        CallTip->hide();
        return;
    }
    const auto [line, text, column] = caret();
    showTip(WritingHelp::MakeTip(callDeclaration(line, text, *call), call->argument));
    CallTip->adjustSize();
}

bool EditorHelp::GoToDeclaration(int position)
{
    TSyntaxEdit &editor = *m_form.Editbox;
    const int line = editor.lineFromChar(position);
    const QString text = editor.line(line);
    const auto [start, length] = WritingHelp::WordAt(text, position - editor.lineIndex(line));
    if (length == 0)
        return false;
    const auto found = WritingHelp::FindDeclarationAt(
        m_form.State.Declarations, &script(), line, text, start, text.mid(start, length));
    if (!found)
        return false;
    if (!found->inScript && found->file.isEmpty()) {
        m_form.ShowDeclaration(found->text);
        return true;
    }
    const Place here { m_form.State.FileName, editor.selStart(), editor.selLength() };
    if (!found->file.isEmpty() && !openFile(found->file))
        return true;
    if (found->line < 0 || found->line >= editor.lineCount())
        return false;
    m_back.append(here);
    editor.select(editor.lineIndex(found->line), int(editor.line(found->line).size()));
    editor.ensureCursorVisible();
    return true;
}

bool EditorHelp::openFile(const QString &file)
{
    if (QFileInfo(file) == QFileInfo(m_form.State.FileName))
        return true;
    // As File > Open opens it, after the question whether to save this one.
    return m_form.RunCommand([this, &file] { m_form.OpenFileFromOutside(file); })
        && m_form.State.FileName == file;
}

bool EditorHelp::GoBack()
{
    if (m_back.isEmpty())
        return false;
    if (!m_back.last().file.isEmpty() && !openFile(m_back.last().file))
        return true;
    const Place back = m_back.takeLast();
    TSyntaxEdit &editor = *m_form.Editbox;
    editor.select(std::min(back.start, editor.textLength()), back.length);
    editor.ensureCursorVisible();
    return true;
}

void EditorHelp::keyDown(QKeyEvent *event)
{
    TSyntaxEdit &editor = *m_form.Editbox;
    const Qt::KeyboardModifiers modifiers
        = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    m_typed.clear();
    bool consumed = false;
    if (CompletionOpen() && modifiers == Qt::NoModifier) {
        consumed = true;
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            moveCompletion(key == Qt::Key_Up ? -1 : 1);
        } else if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            moveCompletion(key == Qt::Key_PageUp ? -kVisibleRows : kVisibleRows);
        } else if (key == Qt::Key_Tab || (enter && m_chosen)) {
            insertCompletion();
        } else if (key == Qt::Key_Escape) {
            closeCompletion();
        } else {
            // An Enter not aimed at the list breaks the line as ever.
            if (enter)
                closeCompletion();
            consumed = false;
        }
    }
    if (!consumed && modifiers == Qt::NoModifier && key == Qt::Key_Escape && TipOpen()) {
        CallTip->hide();
        consumed = true;
    }
    if (!consumed && key == Qt::Key_Space && modifiers == Qt::ControlModifier) {
        OpenCompletion();
        consumed = true;
    } else if (!consumed && key == Qt::Key_Space && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        OpenCallTip();
        consumed = true;
    } else if (!consumed && enter && modifiers == Qt::ControlModifier) {
        consumed = GoToDeclaration(editor.selStart());
    } else if (!consumed && key == Qt::Key_Left && modifiers == Qt::AltModifier) {
        consumed = GoBack();
    }
    if (consumed)
        editor.consumeKey();
    else
        m_typed = event->text();
}

void EditorHelp::changed()
{
    const QString typed = std::exchange(m_typed, QString());
    if (CompletionOpen()) {
        fillCompletion();
    } else if (typed == u"." && memberAtCaret()) {
        // A struct or local declared since the last analysis needs the next one.
        m_membersWanted = m_form.Editbox->revision();
        OpenCompletion();
    } else if (typed.size() == 1 && IsWordChar(typed[0])) {
        // Two letters of a word in code open the list, once per word.
        const auto [line, text, column] = caret();
        const auto [start, length] = WritingHelp::WordAt(text, column);
        // Not where the word names something new: Enter would put a known
        // name in its place.
        if (start + length == column && length == 2 && text[start].isLetter() && text[start + 1].isLetter()
            && WritingHelp::InCode(text, start) && !WritingHelp::DeclaresName(text, start))
            OpenCompletion(false);
    }
    if (typed == u"(")
        OpenCallTip();
    else if (TipOpen())
        updateTip();
}

void EditorHelp::selectionChanged()
{
    const TSyntaxEdit &editor = *m_form.Editbox;
    if (CompletionOpen()) {
        const int position = editor.selStart();
        bool inWord = editor.selLength() == 0 && position >= m_wordStart
            && editor.lineFromChar(position) == m_wordLine;
        if (inWord) {
            const QString text = editor.line(m_wordLine);
            const int first = editor.lineIndex(m_wordLine);
            for (int i = m_wordStart - first; inWord && i < position - first; ++i)
                inWord = i < text.size() && IsWordChar(text[i]);
        }
        if (!inWord)
            closeCompletion();
    }
    if (TipOpen())
        updateTip();
}

bool EditorHelp::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched == m_form.Editbox->viewport()) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::ControlModifier) {
            TSyntaxEdit &editor = *m_form.Editbox;
            if (GoToDeclaration(editor.positionAt(mouse->position().toPoint())))
                return true;
        }
    }
    if (event->type() == QEvent::MouseButtonPress && CompletionOpen())
        closeCompletion();
    return QObject::eventFilter(watched, event);
}
