#include "Main.h"

#include "Documents.h"
#include "EditorHelp.h"
#include "FlatTabStrip.h"
#include "ProblemsPanel.h"
#include "SymbolNavigator.h"
#include "editor/LineNumberGutter.h"
#include "editor/SyntaxEdit.h"
#include "langdata/TypeFilterMenu.h"
#include "platform/Errors.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMimeData>
#include <QScopeGuard>
#include <QScreen>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <new>

namespace {

QAction *MakeAction(QObject *owner, const char *name, const QString &caption, const QKeySequence &shortcut = {},
                    const QString &icon = {}, const QString &hint = {})
{
    auto *action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    if (!icon.isEmpty()) {
        // Both sizes up front: the toolkit looks for "@2x" only at the
        // scale the program starts with, and a window can move screens.
        QIcon image;
        image.addFile(QStringLiteral(":/icons/%1.png").arg(icon));
        image.addFile(QStringLiteral(":/icons/%1@2x.png").arg(icon));
        action->setIcon(image);
    }
    action->setToolTip(hint.isEmpty() ? QString(caption).remove(u'&') : hint);
    return action;
}

} // namespace

TMainForm::TMainForm(DialogService &dialogs, QString executableFolder, QString dataFolder, QWidget *parent)
    : QMainWindow(parent)
    , m_dialogs(dialogs)
    , m_executableFolder(std::move(executableFolder))
    , m_dataFolder(std::move(dataFolder))
{
    if (m_executableFolder.isEmpty())
        m_executableFolder = QCoreApplication::applicationDirPath();
    if (m_dataFolder.isEmpty())
        m_dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);

    setObjectName(QStringLiteral("MainForm"));
    setAcceptDrops(true); // files dropped on the window open
    setupActions();
    setupMenus();
    setupToolBar();
    setupEditors();
    setupExplorer();
    setupStatusBar();
    setupFindDialogs();
    setupCheck();

    Splitter2 = new QSplitter(Qt::Vertical, this);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setChildrenCollapsible(false);
    Splitter2->addWidget(Splitter1);
    Splitter2->addWidget(Problems);
    Splitter2->setStretchFactor(0, 1);
    Splitter2->setStretchFactor(1, 0);
    Splitter2->setSizes({ 440, 120 });

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Splitter2, 1);
    layout->addWidget(HelpEdit);
    setCentralWidget(central);

    resize(814, 619);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Editbox->setFocus();

    OpenFile.filters = {
        {QStringLiteral("Recognized Files (*.txt; *.j; *.ai)"), QStringLiteral("*.txt;*.j;*.ai")},
        {QStringLiteral("Jass Libraries (*.j)"), QStringLiteral("*.j")},
        {QStringLiteral("AI Files (*.ai)"), QStringLiteral("*.ai")},
        {QStringLiteral("Text Files (*.txt)"), QStringLiteral("*.txt")},
        {QStringLiteral("All Files (*.*)"), QStringLiteral("*.*")},
    };
    OpenFile.defaultExtension = QStringLiteral(".txt");
    OpenMap.title = QStringLiteral("Open Map Script");
    OpenMap.filters = {
        { QStringLiteral("Warcraft III Maps (*.w3x; *.w3m)"), QStringLiteral("*.w3x;*.w3m") },
        { QStringLiteral("All Files (*.*)"), QStringLiteral("*.*") },
    };
    SaveFile = OpenFile;
    SaveFile.title = QStringLiteral("Save As...");
    SaveFile.initialFolder = QStringLiteral(".");
    SaveFile.confirmOverwrite = false;

    connectHandlers();
    // Fixed before the creation steps, any of which may fail: Open writes
    // the list whatever became of them.
    State.RecentFile = Documents::RecentFileLocation(m_executableFolder, m_dataFolder);
    // After the main window's own editor handlers, so they see every event first.
    WritingHelper = new EditorHelp(*this);
    Navigator = new SymbolNavigator(*this);
    m_shortcutActions << Navigator->GoToSymbol1;
    RunCommand([this] { FormCreate(); });
}

TMainForm::~TMainForm() = default;

void TMainForm::setupActions()
{
    New1 = MakeAction(this, "New1", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), "new", "New (Ctrl+N)");
    Open1 = MakeAction(this, "Open1", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O), "open", "Open (Ctrl+O)");
    OpenMapScript1 = MakeAction(this, "OpenMapScript1", "Open &Map Script...");
    Save1 = MakeAction(this, "Save1", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), "save", "Save (Ctrl+S)");
    SaveAs1 = MakeAction(this, "SaveAs1", "Save &As", QKeySequence(Qt::Key_F12));
    Exit1 = MakeAction(this, "Exit1", "E&xit", {}, "exit", "Exit");
    Find1 = MakeAction(this, "Find1", "&Find", QKeySequence(Qt::CTRL | Qt::Key_B), "find", "Find (Ctrl+B)");
    FindandReplace1 = MakeAction(this, "FindandReplace1", "Find and &Replace", QKeySequence(Qt::CTRL | Qt::Key_R),
                                 "findreplace", "Find and Replace (Ctrl+R)");
    GotoLine1 = MakeAction(this, "GotoLine1", "&Goto Line", QKeySequence(Qt::CTRL | Qt::Key_G));
    FindNext1 = MakeAction(this, "FindNext1", "Find &Next", QKeySequence(Qt::Key_F3));
    FindPrevious1 = MakeAction(this, "FindPrevious1", "Find &Previous", QKeySequence(Qt::SHIFT | Qt::Key_F3));
    // With Shift, a US keyboard reports [ and ] as { and }.
    Fold1 = MakeAction(this, "Fold1", "Fold");
    Fold1->setShortcuts({ QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketLeft),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BraceLeft) });
    Unfold1 = MakeAction(this, "Unfold1", "Unfold");
    Unfold1->setShortcuts({ QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BracketRight),
        QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_BraceRight) });
    NewFunction1 = MakeAction(this, "NewFunction1", "New &Function", QKeySequence(Qt::CTRL | Qt::Key_F));
    NewLoop1 = MakeAction(this, "NewLoop1", "New &Loop", QKeySequence(Qt::CTRL | Qt::Key_L));
    NewIf1 = MakeAction(this, "NewIf1", "New &If", QKeySequence(Qt::CTRL | Qt::Key_I));
    SyntaxCheck1 = MakeAction(this, "SyntaxCheck1", "Syntax Check", QKeySequence(Qt::Key_F5), "syntaxcheck",
                              "Syntax Check (F5)");
    CheckScript1 = MakeAction(this, "CheckScript1", "Check Script", QKeySequence(Qt::SHIFT | Qt::Key_F5),
        "checkscript", "Check Script (Shift+F5)");
    NextProblem1 = MakeAction(this, "NextProblem1", "Next Problem", QKeySequence(Qt::Key_F8));
    PreviousProblem1
        = MakeAction(this, "PreviousProblem1", "Previous Problem", QKeySequence(Qt::SHIFT | Qt::Key_F8));
    LoadfromJassTrigger1 = MakeAction(this, "LoadfromJassTrigger1", "Load from Jass Trigger",
                                      QKeySequence(Qt::Key_F9), "loadtrigger", "Load from Jass Trigger (F9)");
    Dontclickonme1 = MakeAction(this, "Dontclickonme1", "(I'm not here)", {}, "notHere");
    Dontclickonme1->setVisible(false);
    SavetoJassTrigger1 = MakeAction(this, "SavetoJassTrigger1", "Save to Jass Trigger", QKeySequence(Qt::Key_F10),
                                    "savetrigger", "Save to Jass Trigger (F10)");
    MergeFiles1 = MakeAction(this, "MergeFiles1", "Merge Files...", QKeySequence(Qt::CTRL | Qt::Key_M), "merge",
                             "Merge Files (Ctrl+M)");
    About1 = MakeAction(this, "About1", "&About");
    Redo1 = MakeAction(this, "Redo1", "Redo", QKeySequence(Qt::CTRL | Qt::Key_Y));
    ZoomIn1 = MakeAction(this, "ZoomIn1", "Zoom In");
    // Ctrl+= too: the same key without Shift on many keyboards.
    ZoomIn1->setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal) });
    ZoomOut1 = MakeAction(this, "ZoomOut1", "Zoom Out", QKeySequence(Qt::CTRL | Qt::Key_Minus));
    ZoomReset1 = MakeAction(this, "ZoomReset1", "Zoom Reset", QKeySequence(Qt::CTRL | Qt::Key_0));

    m_shortcutActions = { CheckScript1, NextProblem1, PreviousProblem1, New1, Open1, Save1, SaveAs1, Find1,
        FindandReplace1, GotoLine1, FindNext1, FindPrevious1, NewFunction1, NewLoop1, NewIf1, SyntaxCheck1,
        LoadfromJassTrigger1, SavetoJassTrigger1, MergeFiles1, Redo1, ZoomIn1, ZoomOut1, ZoomReset1 };
    m_shortcutActions += { Fold1, Unfold1 };
}

void TMainForm::setupMenus()
{
    QMenuBar *MainMenu1 = menuBar();
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));

    File1 = MainMenu1->addMenu(QStringLiteral("&File"));
    File1->setObjectName(QStringLiteral("File1"));
    File1->addAction(New1);
    File1->addAction(Open1);
    File1->addAction(OpenMapScript1);
    Reopen1 = File1->addMenu(QStringLiteral("&Reopen"));
    Reopen1->setObjectName(QStringLiteral("Reopen1"));
    Reopen1->menuAction()->setObjectName(QStringLiteral("Reopen1Action"));
    File1->addSeparator();
    File1->addAction(Save1);
    File1->addAction(SaveAs1);
    File1->addSeparator();
    File1->addAction(Exit1);

    Edit1 = MainMenu1->addMenu(QStringLiteral("&Edit"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->addAction(Find1);
    Edit1->addAction(FindandReplace1);
    Edit1->addSeparator();
    Edit1->addAction(GotoLine1);
    Edit1->addSeparator();
    Edit1->addAction(FindNext1);
    Edit1->addAction(FindPrevious1);
    Edit1->addSeparator();
    Edit1->addAction(Fold1);
    Edit1->addAction(Unfold1);

    Templates1 = MainMenu1->addMenu(QStringLiteral("&Templates"));
    Templates1->setObjectName(QStringLiteral("Templates1"));
    Templates1->addAction(NewFunction1);
    Templates1->addAction(NewLoop1);
    Templates1->addAction(NewIf1);

    Tools1 = MainMenu1->addMenu(QStringLiteral("T&ools"));
    Tools1->setObjectName(QStringLiteral("Tools1"));
    Tools1->addAction(SyntaxCheck1);
    Tools1->addAction(CheckScript1);
    Tools1->addAction(NextProblem1);
    Tools1->addAction(PreviousProblem1);
    Tools1->addSeparator();
    Tools1->addAction(LoadfromJassTrigger1);
    Tools1->addAction(Dontclickonme1);
    Tools1->addAction(SavetoJassTrigger1);
    Tools1->addSeparator();
    Tools1->addAction(MergeFiles1);

    MainMenu1->addAction(About1);
}

void TMainForm::setupToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);

    const auto button = [this](QAction *action, const char *name) {
        ToolBar1->addAction(action);
        QWidget *widget = ToolBar1->widgetForAction(action);
        widget->setObjectName(QLatin1String(name));
        widget->setFixedWidth(26);
    };
    button(New1, "ToolButton1");
    button(Open1, "ToolButton2");
    button(Save1, "ToolButton3");
    ToolBar1->addSeparator();
    button(LoadfromJassTrigger1, "ToolButton7");
    button(SavetoJassTrigger1, "ToolButton9");
    ToolBar1->addSeparator();
    button(SyntaxCheck1, "ToolButton12");
    button(CheckScript1, "ToolButton13");
    ToolBar1->addSeparator();
    button(Find1, "ToolButton4");
    button(FindandReplace1, "ToolButton5");
    ToolBar1->addSeparator();
    button(MergeFiles1, "ToolButton14");
    ToolBar1->addSeparator();
    button(Exit1, "ToolButton16");
}

void TMainForm::setupEditors()
{
    Editbox = new TSyntaxEdit(this);
    Editbox->setObjectName(QStringLiteral("Editbox"));
    Editbox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Editbox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Editbox->AutoHighlight = true;
    Editbox->installEventFilter(this);
    Editbox->viewport()->installEventFilter(this); // Ctrl+wheel
    new LineNumberGutter(Editbox);
    Editbox->setFolding(true);
    for (QAction *action : { Redo1, ZoomIn1, ZoomOut1, ZoomReset1 }) {
        action->setShortcutContext(Qt::WidgetShortcut);
        Editbox->addAction(action);
    }

    HelpEdit = new TSyntaxEdit(this);
    HelpEdit->setObjectName(QStringLiteral("HelpEdit"));
    HelpEdit->setReadOnly(true);
    HelpEdit->setFrameShape(QFrame::NoFrame);
    HelpEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    HelpEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    HelpEdit->setFocusPolicy(Qt::ClickFocus);
    HelpEdit->setFontSize(8);
    HelpEdit->AutoHighlight = false;
    HelpEdit->setToolTip(QStringLiteral("Declaration Preview"));
    HelpEdit->setFixedHeight(34);
    HelpEdit->installEventFilter(this);
}

void TMainForm::setupExplorer()
{
    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    FunctionSearch = new QLineEdit(Panel1);
    FunctionSearch->setObjectName(QStringLiteral("FunctionSearch"));
    FunctionSearch->setToolTip(QStringLiteral("Search Box"));
    FunctionSearch->installEventFilter(this);
    SortMethodBtn = new QToolButton(Panel1);
    SortMethodBtn->setObjectName(QStringLiteral("SortMethodBtn"));
    SortMethodBtn->setToolTip(QStringLiteral("Sort the items by type"));
    SortMethodBtn->setCheckable(true);
    SortMethodBtn->setAutoRaise(true);
    SortMethodBtn->setArrowType(Qt::DownArrow);
    TabControl1 = new FlatTabStrip({QStringLiteral("Functions"), QStringLiteral("Constants"),
                                    QStringLiteral("AI Functions"), QStringLiteral("AI Globals")},
                                   2, Panel1);
    TabControl1->setObjectName(QStringLiteral("TabControl1"));
    Functionlist = new QListWidget(Panel1);
    Functionlist->setObjectName(QStringLiteral("Functionlist"));
    Functionlist->setToolTip(QStringLiteral("Function and Constant Explorer"));
    Functionlist->setSelectionMode(QAbstractItemView::SingleSelection);
    PopupMenu1 = new TypeFilterMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));

    auto *search = new QHBoxLayout;
    search->setSpacing(2);
    search->addWidget(FunctionSearch, 1);
    search->addWidget(SortMethodBtn);
    auto *panel = new QVBoxLayout(Panel1);
    panel->setContentsMargins(2, 2, 2, 2);
    panel->setSpacing(2);
    panel->addLayout(search);
    panel->addWidget(TabControl1);
    panel->addWidget(Functionlist, 1);

    Splitter1 = new QSplitter(Qt::Horizontal, this);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setOpaqueResize(true);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(Editbox);
    Splitter1->addWidget(Panel1);
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 0);
    Splitter1->setSizes({814 - 185, 185});
}

void TMainForm::setupStatusBar()
{
    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    StatusPanel = new QLabel(StatusBar1);
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    StatusPanel->setMinimumWidth(50);
    StatusBar1->addWidget(StatusPanel);
    ModifiedPanel = new QLabel(StatusBar1);
    ModifiedPanel->setObjectName(QStringLiteral("ModifiedPanel"));
    ModifiedPanel->setMinimumWidth(50);
    StatusBar1->addWidget(ModifiedPanel);
}

void TMainForm::connectHandlers()
{
    const auto wire = [this](QAction *action, void (TMainForm::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); });
    };
    wire(New1, &TMainForm::New1Click);
    wire(Open1, &TMainForm::Open1Click);
    wire(OpenMapScript1, &TMainForm::OpenMapScript1Click);
    wire(Save1, &TMainForm::Save1Click);
    wire(SaveAs1, &TMainForm::SaveAs1Click);
    wire(Exit1, &TMainForm::Exit1Click);
    wire(Find1, &TMainForm::Find1Click);
    wire(FindandReplace1, &TMainForm::FindandReplace1Click);
    wire(GotoLine1, &TMainForm::GotoLine1Click);
    wire(FindNext1, &TMainForm::FindNext1Click);
    wire(FindPrevious1, &TMainForm::FindPrevious1Click);
    wire(NewFunction1, &TMainForm::NewFunction1Click);
    wire(NewLoop1, &TMainForm::NewLoop1Click);
    wire(NewIf1, &TMainForm::NewIf1Click);
    wire(SyntaxCheck1, &TMainForm::ToolButton12Click);
    wire(CheckScript1, &TMainForm::CheckScript1Click);
    wire(NextProblem1, &TMainForm::NextProblem1Click);
    wire(PreviousProblem1, &TMainForm::PreviousProblem1Click);
    wire(LoadfromJassTrigger1, &TMainForm::ToolButton7Click);
    wire(Dontclickonme1, &TMainForm::Dontclickonme1Click);
    wire(SavetoJassTrigger1, &TMainForm::ToolButton9Click);
    wire(MergeFiles1, &TMainForm::MergeFiles1Click);
    wire(About1, &TMainForm::About1Click);
    wire(Redo1, &TMainForm::Redo1Click);
    wire(ZoomIn1, &TMainForm::ZoomIn1Click);
    wire(ZoomOut1, &TMainForm::ZoomOut1Click);
    wire(ZoomReset1, &TMainForm::ZoomReset1Click);
    wire(Fold1, &TMainForm::Fold1Click);
    wire(Unfold1, &TMainForm::Unfold1Click);

    connect(Editbox, &TRichEdit::OnKeyPress, this,
            [this](QKeyEvent *event) { RunCommand([this, event] { EditboxKeyPress(event); }); });
    attachEditorHandlers();
    connectExplorerHandlers();
    connectFindHandlers();
    connectCheckHandlers();
}

void TMainForm::attachEditorHandlers()
{
    if (!m_editorConnections.isEmpty())
        return;
    m_editorConnections = {
        connect(Editbox, &TRichEdit::OnChange, this, [this] { RunCommand([this] { EditboxChange(); }); }),
        connect(Editbox, &TRichEdit::OnSelectionChange, this,
                [this] { RunCommand([this] { EditboxSelectionChange(); }); }),
    };
}

void TMainForm::detachEditorHandlers()
{
    for (const QMetaObject::Connection &connection : std::as_const(m_editorConnections))
        disconnect(connection);
    m_editorConnections.clear();
}

bool TMainForm::RunCommand(const std::function<void()> &handler)
{
    // Also where a command moved the caret with the selection handling off,
    // or loaded a file without it.
    const auto status = qScopeGuard([this] { ShowStatus(); });
    QString message;
    try {
        handler();
        return true;
    } catch (const TolvaneError &error) {
        message = error.message();
    } catch (const std::bad_alloc &) {
        message = QStringLiteral("Out of memory.");
    } catch (const std::exception &error) {
        message = QString::fromLocal8Bit(error.what());
    }
    m_dialogs.ShowError(this, message);
    return false;
}

void TMainForm::FormCreate()
{
    State.Config = LoadConfiguration();
    setCaption(Documents::UntitledCaption());
    LoadCatalogue();
    BuildTypeMenu();
    BuildRecentMenu();
}

void TMainForm::LoadCatalogue()
{
    ::LoadCatalogue(State.Config, State.Declarations, *Editbox, *HelpEdit, [this](const QStringList &names) {
        Functionlist->clear();
        Functionlist->addItems(names);
    });
    // The explorer's first keystroke then costs no more than the others.
    m_explorerFilter.Prepare(State.Declarations);
}

void TMainForm::BuildTypeMenu()
{
    ::BuildTypeMenu(*PopupMenu1, State.Declarations);
}

void TMainForm::FormActivate()
{
    // A round trip through rich text: the editor shows what it would load
    // from a file. The scratch file never replaces a file of the user's.
    const QString scratch = Documents::ScratchFileName(QDir::currentPath());
    Editbox->saveToFile(scratch, TRichEdit::FileFormat::RichText);
    const auto removeScratch = qScopeGuard([&scratch] { QFile::remove(scratch); });
    Editbox->loadFromFile(scratch);
    Editbox->setFocus();
    State.Modified = false;
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    // Later activations (after a modal dialog, back from another program) do
    // not repeat it.
    if (!State.Activated) {
        State.Activated = true;
        RunCommand([this] { FormActivate(); });
    }
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    bool canClose = false;
    RunCommand([this, &canClose] { canClose = FormClose(); });
    if (canClose)
        event->accept();
    else
        event->ignore();
}

bool TMainForm::fileDrag(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drag = static_cast<QDropEvent *>(event);
    QStringList files;
    for (const QUrl &url : drag->mimeData()->urls()) {
        if (url.isLocalFile())
            files << url.toLocalFile();
    }
    if (files.isEmpty())
        return false;
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    // Once the drop is over: the program it came from waits for its end,
    // and the save-first question waits for the user.
    if (type == QEvent::Drop)
        QTimer::singleShot(0, this, [this, files] { OpenFilesFromOutside(files); });
    return true;
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    fileDrag(event);
}

void TMainForm::dragMoveEvent(QDragMoveEvent *event)
{
    fileDrag(event);
}

void TMainForm::dropEvent(QDropEvent *event)
{
    fileDrag(event);
}

bool TMainForm::isMenuShortcut(const QKeyEvent *event) const
{
    const QKeySequence pressed(event->keyCombination());
    for (const QAction *action : m_shortcutActions) {
        for (const QKeySequence &shortcut : action->shortcuts()) {
            if (action->isEnabled() && shortcut.matches(pressed) == QKeySequence::ExactMatch)
                return true;
        }
    }
    return false;
}

bool TMainForm::eventFilter(QObject *watched, QEvent *event)
{
    // The menu's shortcuts win over keys the edit controls would take for
    // themselves: leaving the override unaccepted lets the shortcut fire.
    if (event->type() == QEvent::ShortcutOverride && isMenuShortcut(static_cast<QKeyEvent *>(event))) {
        event->ignore();
        return true;
    }
    if ((watched == Editbox->viewport() || watched == FunctionSearch) && fileDrag(event))
        return true;
    if (event->type() == QEvent::Wheel && watched == Editbox->viewport()) {
        const auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() == Qt::ControlModifier) {
            // A notch (120) a point; a touchpad's small turns add up.
            m_wheelZoom += wheel->angleDelta().y();
            Editbox->setZoom(Editbox->zoom() + m_wheelZoom / 120);
            m_wheelZoom %= 120;
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

QString TMainForm::PositionText() const
{
    const int start = Editbox->selStart();
    const int line = Editbox->lineFromChar(start);
    return QStringLiteral("%1 : %2").arg(line + 1).arg(start - Editbox->lineIndex(line) + 1);
}

void TMainForm::ShowStatus()
{
    StatusPanel->setText(PositionText());
    ModifiedPanel->setText(State.Modified ? QStringLiteral("Modified") : QString());
}

void TMainForm::EditboxKeyPress(QKeyEvent *event)
{
    State.TrackSelection = false;
    if (event->text() != QLatin1String("\r"))
        return;
    // The new line gets the leading spaces that stand before the caret.
    const int start = Editbox->selStart();
    const int line = Editbox->lineFromChar(start);
    const QString text = Editbox->line(line);
    const int first = Editbox->lineIndex(line);
    int count = 0;
    while (count < text.size() && text.at(count) == u' ' && start > first + count)
        ++count;
    State.Indent = {true, count, line + 1};
}

void TMainForm::EditboxChange()
{
    m_liveCheck->TextChanged();
    State.TrackSelection = false;
    State.Modified = true;
    StatusPanel->setText(PositionText());
    if (State.Indent.Pending) {
        // Cleared before the edit: the insertion raises this step again, and
        // that nested run must not indent a second time.
        const ProgramState::PendingIndent indent = State.Indent;
        State.Indent = {};
        if (indent.Line < Editbox->lineCount()) {
            // The spaces go in front of the line; repainting waits for the
            // caret. (Disabling the control, as its own restyling does, would
            // hand the keyboard focus to the next control here.)
            Editbox->setUpdatesEnabled(false);
            const auto repaint = qScopeGuard([this] { Editbox->setUpdatesEnabled(true); });
            if (indent.Count > 0) {
                Editbox->setSelStart(Editbox->lineIndex(indent.Line));
                Editbox->replaceSelection(QString(indent.Count, u' '));
            }
            Editbox->setSelStart(Editbox->lineIndex(indent.Line) + indent.Count);
        }
    }
    State.TrackSelection = true;
}
