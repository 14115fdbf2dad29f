#include "SymbolNavigator.h"

#include "EditorHelp.h"
#include "Main.h"
#include "OutlinePanel.h"
#include "SymbolBox.h"
#include "editor/SyntaxEdit.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSplitter>
#include <QTimer>

namespace {

// A script this long has its symbols sorted in the background: some ten
// thousand declarations, ten milliseconds and more.
constexpr int kLargeScriptCharacters = 1'000'000;

} // namespace

SymbolNavigator::SymbolNavigator(TMainForm &form)
    : QObject(&form)
    , m_form(form)
{
    GoToSymbol1 = new QAction(QStringLiteral("Go to &Symbol..."), &form);
    GoToSymbol1->setObjectName(QStringLiteral("GoToSymbol1"));
    GoToSymbol1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O));
    Outline1 = new QAction(QStringLiteral("&Outline"), &form);
    Outline1->setObjectName(QStringLiteral("Outline1"));
    Outline1->setCheckable(true);
    form.Edit1->insertAction(form.GotoLine1, GoToSymbol1);
    form.Tools1->addSeparator();
    form.Tools1->addAction(Outline1);

    SymbolBox1 = new SymbolBox(&form);
    Outline = new OutlinePanel(&form);
    Outline->hide();
    form.Splitter1->insertWidget(0, Outline);
    form.Splitter1->setStretchFactor(0, 0);

    m_pool.setMaxThreadCount(1);
    m_poolComparer = std::make_unique<StringComparer>(Qt::CaseInsensitive);
    m_outlineDelay.setSingleShot(true);
    connect(&m_outlineDelay, &QTimer::timeout, this, &SymbolNavigator::refresh);
    connect(GoToSymbol1, &QAction::triggered, this,
        [this] { m_form.RunCommand([this] { GoToSymbol1Click(); }); });
    connect(Outline1, &QAction::triggered, this, [this] { m_form.RunCommand([this] { Outline1Click(); }); });
    connect(SymbolBox1, &SymbolBox::Activated, this,
        [this](int symbol) { m_form.RunCommand([this, symbol] { Jump(symbol, SymbolBox1->Symbols()); }); });
    connect(SymbolBox1, &SymbolBox::Closed, this, [this] {
        if (m_form.Editbox->isEnabled() && m_form.isActiveWindow())
            m_form.Editbox->setFocus();
    });
    connect(Outline, &OutlinePanel::Activated, this,
        [this](int symbol) { m_form.RunCommand([this, symbol] { Jump(symbol, Outline->Symbols()); }); });
    connect(m_form.WritingHelper, &EditorHelp::ScriptAnalysed, this, &SymbolNavigator::analysed);
    connect(m_form.Editbox, &TRichEdit::OnChange, this, &SymbolNavigator::textChanged);
    connect(m_form.Editbox, &TRichEdit::OnSelectionChange, this, &SymbolNavigator::caretMoved);
}

SymbolNavigator::~SymbolNavigator()
{
    m_pool.clear();
    m_pool.waitForDone();
}

SymbolIndexPtr SymbolNavigator::Symbols()
{
    if (m_form.WritingHelper == nullptr)
        return std::make_shared<const Navigation::SymbolIndex>();
    const EditorHelp &help = *m_form.WritingHelper;
    if (!m_symbols || m_revision != help.LastRevision()) {
        if (m_symbols && m_form.Editbox->textLength() >= kLargeScriptCharacters) {
            prepare();
            return m_symbols;
        }
        m_symbols = std::make_shared<const Navigation::SymbolIndex>(
            Navigation::Symbols(help.LastScript().Result()));
        m_revision = help.LastRevision();
    }
    return m_symbols;
}

void SymbolNavigator::prepare()
{
    const EditorHelp &help = *m_form.WritingHelper;
    const int revision = help.LastRevision();
    if (revision == m_revision || revision == m_preparing)
        return;
    m_preparing = revision;
    // The analysis' lists are shared, not copied, and only read there.
    m_pool.start([this, revision, result = help.LastScript().Result()] {
        auto symbols
            = std::make_shared<const Navigation::SymbolIndex>(Navigation::Symbols(result), *m_poolComparer);
        QMetaObject::invokeMethod(
            this, [this, revision, symbols] { prepared(revision, symbols); }, Qt::QueuedConnection);
    });
}

void SymbolNavigator::prepared(int revision, const SymbolIndexPtr &symbols)
{
    if (revision == m_preparing)
        m_preparing = -1;
    if (!m_form.WritingHelper || revision != m_form.WritingHelper->LastRevision())
        return; // a newer analysis came meanwhile; it is being sorted
    m_symbols = symbols;
    m_revision = revision;
    show();
}

void SymbolNavigator::GoToSymbol1Click()
{
    // A quick script is analysed first; a slow one in the background, the
    // box showing the last analysis till then.
    refresh();
    SymbolBox1->Open(m_form.Editbox, Symbols());
    showBusy();
}

void SymbolNavigator::Outline1Click()
{
    const bool show = !Outline->isVisible();
    Outline1->setChecked(show);
    if (!show) {
        m_outlineDelay.stop();
        Outline->hide();
        return;
    }
    refresh();
    Outline->SetSymbols(Symbols());
    Outline->show();
    showBusy();
    caretMoved();
}

void SymbolNavigator::refresh()
{
    if (m_form.WritingHelper != nullptr && m_form.WritingHelper->LastRevision() != m_form.Editbox->revision())
        m_form.WritingHelper->RefreshScript();
    showBusy();
}

void SymbolNavigator::analysed()
{
    if (m_form.Editbox->textLength() >= kLargeScriptCharacters)
        prepare();
    else if (SymbolBox1->IsOpen() || Outline->isVisible())
        show();
}

void SymbolNavigator::show()
{
    const bool box = SymbolBox1->IsOpen();
    const bool outline = Outline->isVisible();
    if (!box && !outline)
        return;
    const SymbolIndexPtr symbols = Symbols();
    if (box && symbols != SymbolBox1->Symbols())
        SymbolBox1->SetSymbols(symbols);
    showBusy();
    if (outline && symbols != Outline->Symbols()) {
        Outline->SetSymbols(symbols);
        caretMoved();
    }
}

void SymbolNavigator::showBusy()
{
    // An empty or old list of a large script says why.
    const bool busy = m_form.WritingHelper != nullptr && (m_form.WritingHelper->Analysing() || Preparing());
    const QString reading = busy ? QStringLiteral(" (reading the script...)") : QString();
    SymbolBox1->SymbolSearch->setPlaceholderText(QStringLiteral("Go to symbol") + reading);
    Outline->OutlineTitle->setText(QStringLiteral("Outline") + reading);
}

void SymbolNavigator::textChanged()
{
    if (Outline->isVisible())
        m_outlineDelay.start(OutlineDelayMs);
}

void SymbolNavigator::caretMoved()
{
    if (Outline->isVisible())
        Outline->Follow(m_form.Editbox->lineFromChar(m_form.Editbox->selStart()));
}

void SymbolNavigator::Jump(int symbol, const SymbolIndexPtr &index)
{
    if (!index || symbol < 0 || symbol >= index->Size())
        return;
    const Navigation::Symbol &s = (*index)[symbol];
    TSyntaxEdit &editor = *m_form.Editbox;
    if (s.line < 0 || s.line >= editor.lineCount())
        return;
    const auto [start, length] = Navigation::NameRange(editor.line(s.line), s);
    // Alt+Left comes back, as after a jump to a declaration.
    if (m_form.WritingHelper != nullptr)
        m_form.WritingHelper->RememberPlace();
    editor.select(editor.lineIndex(s.line) + start, length);
    editor.centerCursor();
    if (editor.isEnabled())
        editor.setFocus();
}
