#pragma once

#include "ExplorerFilter.h"
#include "FindDialogs.h"
#include "ScriptCheck.h"
#include "about/ButtonStage.h"
#include "bridge/TriggerBridge.h"
#include "langdata/Catalogue.h"
#include "langdata/Configuration.h"
#include "platform/Dialogs.h"
#include "platform/TextFile.h"

#include <QMainWindow>
#include <QSet>

#include <functional>
#include <memory>

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;
class QWidget;
class FlatTabStrip;
class LiveCheck;
class ProblemsPanel;
class FindReplaceDialog;
class EditorHelp;
class SymbolNavigator;
class TConfirmBox;
class TSaveFirstForm;
class TSyntaxEdit;
class TypeFilterMenu;

// The state of the program that lives as long as its main window: what the
// configuration named, the explorer's filter, the document's name, encoding
// and modified flag, and the indent an Enter leaves for the next change.
struct ProgramState
{
    Configuration Config;
    // The four categories of declarations, loaded at start.
    Catalogue Declarations;
    QString TypeFilter;
    // While false, moving the editor's selection updates neither the preview
    // nor the position text; cleared around the program's own edits.
    bool TrackSelection = true;
    bool Modified = false;
    QString FileName; // empty for an untitled document
    TextFile::Encoding Encoding = TextFile::Encoding::Cp1252;
    // A document opened from a map is its script: Save writes it back into
    // the map at FileName.
    struct MapScript {
        QString Name; // inside the map, "war3map.j"; empty for a plain file
        QString ReadOnlyReason; // why the map must not be written
    } Map;
    // The maps saved so far: their backup keeps them as they were before.
    QSet<QString> BackedUpMaps;
    // Armed by an Enter that breaks a line, applied by the change it makes;
    // replacing the whole document drops it.
    struct PendingIndent
    {
        bool Pending = false;
        int Count = 0;
        int Line = 0;
    } Indent;
    // Where "Recent.txt" lives; fixed once, when the main window is made.
    QString RecentFile;
    bool Activated = false;
    // The hidden button's stage, shared with the About box and the merge dialog.
    ButtonStage Button;
};

// The other windows of the program, created after the main window and
// shown by its commands.
struct ProgramWindows
{
    QDialog *AboutBox = nullptr;
    TSaveFirstForm *SaveFirstForm = nullptr;
    TConfirmBox *ConfirmBox = nullptr;
    QDialog *MergeFileForm = nullptr;
};

// The main window: the script editor, the explorer panel, the declaration
// preview and every command of the menus and the toolbar. Its features live
// in separate files: Main.cpp (layout, creation, activation, typing),
// MainDocuments.cpp (New, Open, Open Map Script, Reopen, Save, Save As,
// closing),
// MainTools.cpp (the syntax check and the exchange with the game editor),
// MainCheck.cpp (Check Script, its problems list and marks) and
// MainCommands.cpp (the commands of the other menus).
class TMainForm : public QMainWindow
{
    Q_OBJECT

public:
    // `executableFolder` is where "Recent.txt" goes when it can be written
    // there; `dataFolder` takes it otherwise. Empty: the running program's
    // folder and the user's application data folder.
    explicit TMainForm(DialogService &dialogs, QString executableFolder = {}, QString dataFolder = {},
                       QWidget *parent = nullptr);
    ~TMainForm() override;

    void SetWindows(const ProgramWindows &windows) { Windows = windows; }
    // The way to the game editor for F9 and F10; without one, the first use
    // makes the bridge of this system, looking for its helper beside the program.
    void SetTriggerBridge(std::unique_ptr<TriggerBridge> bridge);

    // Runs a handler; an error it does not catch ends it and is shown in a
    // message box with its text, and the program goes on. False after an error.
    bool RunCommand(const std::function<void()> &handler);

    ProgramState State;
    ProgramWindows Windows;

    // Components, under the names the rest of the program knows them by.
    QToolBar *ToolBar1;
    TSyntaxEdit *Editbox;
    QSplitter *Splitter1;
    QSplitter *Splitter2; // the editor and explorer above, the problems list below
    ProblemsPanel *Problems; // hidden until the first Check Script
    QWidget *Panel1;
    QLineEdit *FunctionSearch;
    QToolButton *SortMethodBtn;
    FlatTabStrip *TabControl1;
    QListWidget *Functionlist;
    TSyntaxEdit *HelpEdit;
    QStatusBar *StatusBar1;
    QLabel *StatusPanel; // the status bar's first panel: "line : column"
    QLabel *ModifiedPanel; // "Modified" while the modified flag is set
    TypeFilterMenu *PopupMenu1; // the type filter menu
    EditorHelp *WritingHelper; // completion, call tips, go to declaration
    SymbolNavigator *Navigator; // go to symbol and the outline

    QMenu *File1;
    QAction *New1;
    QAction *Open1;
    QAction *OpenMapScript1;
    QMenu *Reopen1;
    QAction *Save1;
    QAction *SaveAs1;
    QAction *Exit1;
    QMenu *Edit1;
    QAction *Find1;
    QAction *FindandReplace1;
    QAction *GotoLine1;
    QAction *FindNext1; // the last search again, from the caret on
    QAction *FindPrevious1; // and back from the caret
    QAction *Fold1; // the block at the caret
    QAction *Unfold1;
    // The editor's own keys, in no menu.
    QAction *Redo1; // Ctrl+Y, beside the editor's Ctrl+Shift+Z
    QAction *ZoomIn1;
    QAction *ZoomOut1;
    QAction *ZoomReset1;
    QMenu *Templates1;
    QAction *NewFunction1;
    QAction *NewLoop1;
    QAction *NewIf1;
    QMenu *Tools1;
    QAction *SyntaxCheck1;
    QAction *CheckScript1;
    QAction *NextProblem1;
    QAction *PreviousProblem1;
    QAction *LoadfromJassTrigger1;
    QAction *Dontclickonme1;
    QAction *SavetoJassTrigger1;
    QAction *MergeFiles1;
    QAction *About1;

    FileDialogOptions OpenFile;
    FileDialogOptions OpenMap; // the dialog of Open Map Script
    FileDialogOptions SaveFile;
    FindReplaceDialog *FindDialog1;
    FindReplaceDialog *ReplaceDialog1;

    // Window steps.
    void FormCreate();
    void FormActivate();
    // True when the window may close.
    bool FormClose();

    // Editor events.
    void EditboxKeyPress(QKeyEvent *event);
    void EditboxChange();
    void EditboxSelectionChange();

    // Documents.
    void New1Click();
    void Open1Click();
    void OpenMapScript1Click();
    void RecentFileClick(QAction *item);
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    // True when the calling command goes on.
    bool AskSaveFirst();
    // Every file handed over from outside (the command line, a drop on the
    // window) comes in here: it opens as File > Open opens it, after the
    // save-first question.
    void OpenFileFromOutside(const QString &path);
    // Several such files: the first opens here, each further one in a window
    // of its own, through StartWindow.
    void OpenFilesFromOutside(const QStringList &paths);
    // Starts this program on a file, as a process of its own.
    static void StartProgramOn(const QString &path);
    std::function<void(const QString &path)> StartWindow = &TMainForm::StartProgramOn;
    void BuildRecentMenu();

    // Find, replace and go to line (MainFind.cpp).
    void Find1Click();
    void FindandReplace1Click();
    void FindDialog1Find();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace(); // Replace and Replace All
    void GotoLine1Click();
    void FindNext1Click();
    void FindPrevious1Click();

    // Code templates (MainTemplates.cpp).
    void NewFunction1Click();
    void NewLoop1Click();
    void NewIf1Click();
    // Inserts the template's lines (joined by CR LF) at the caret, in place
    // of the selection, and puts the caret `offset` characters into it.
    void InsertTemplate(const QString &text, int offset);
    // The leading spaces of an editor line.
    [[nodiscard]] int LineIndent(int line) const;

    // The other commands.
    void ToolButton12Click(); // Syntax Check

    // Check Script and its problems (MainCheck.cpp).
    void CheckScript1Click();
    void NextProblem1Click();
    void PreviousProblem1Click();
    // Selects a problem's range in the editor and gives it the focus.
    void ProblemsActivate(int mark);
    // Opening, New and F9: no list, no marks, no checking while typing.
    void ClearCheck();
    [[nodiscard]] LiveCheck &LiveChecker() { return *m_liveCheck; }
    // The name the script is checked under: a map's script is its war3map.j.
    [[nodiscard]] QString CheckedName() const;
    // The folder a vJASS script reads its libraries from: none for a map's.
    [[nodiscard]] QString CheckedFolder() const;
    void ToolButton7Click();  // Load from Jass Trigger
    void Dontclickonme1Click();
    void ToolButton9Click(); // Save to Jass Trigger
    void MergeFiles1Click();
    void About1Click();
    void Redo1Click();
    void ZoomIn1Click();
    void ZoomOut1Click();
    void ZoomReset1Click();
    void Fold1Click();
    void Unfold1Click();

    // Language data, loaded by the creation step.
    void LoadCatalogue();
    void BuildTypeMenu();

    [[nodiscard]] QString PositionText() const;
    // The caret's position and the modified flag into the status bar.
    void ShowStatus();

    // The explorer (MainExplorer.cpp).
    void ApplyExplorerFilter();
    void FunctionSearchChange();
    void FunctionSearchKeyUp(QKeyEvent *event); // a key pressed in the search box
    void FunctionSearchEnter(); // focus into the search box or the list
    void FunctionSearchExit();
    void FunctionListClick();
    void FunctionListDblClick();
    void TabControl1Change();
    void SortMethodBtnClick();
    void SortMethodBtnMouseUp();
    void TypeSortClick(QAction *item);
    // Where Down in the search box opens the type menu, in screen coordinates.
    [[nodiscard]] QPoint TypeMenuPoint() const;

    // The declaration preview (MainPreview.cpp).
    void ShowDeclaration(const QString &line);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setupActions();
    void setupMenus();
    void setupToolBar();
    void setupEditors();
    void setupExplorer();
    void setupStatusBar();
    void connectHandlers();
    void setupFindDialogs();
    void setupCheck();
    void connectCheckHandlers();
    void showProblems(const QList<Analysis::Diagnostic> &diagnostics);
    void connectFindHandlers();
    // The find step with the dialog's text, options and find state.
    void findNext(FindReplaceDialog &dialog);
    void showNotFound(const QString &what);
    // The last search of either dialog once more, from the caret.
    void repeatFind(bool forward);
    // Activates the main window and focuses Editbox, from a modeless dialog too.
    void focusEditor();
    void attachEditorHandlers();
    void detachEditorHandlers();
    void connectExplorerHandlers();
    void fillFunctionlist();
    // Reads a script, or the script inside a map (`map`, or a file whose
    // first bytes are a map's), into Editbox; nothing changes when the file
    // cannot be read.
    void loadDocument(const QString &path, bool detachHandlers, bool map = false);
    // Open's steps after the load: name, caption, flag, and why a map opened read-only.
    void documentOpened(const QString &path);
    void saveMapScript();
    // The window caption exactly as given, a "[*]" in a file name included.
    void setCaption(const QString &caption);
    void saveDocumentAs(const QString &path);
    // Open once the file is chosen and the document may go; `map` as for loadDocument.
    void openDocument(const QString &path, bool map = false);
    // Takes a drag of local files (true) and opens them when they are dropped.
    bool fileDrag(QEvent *event);
    [[nodiscard]] bool isMenuShortcut(const QKeyEvent *event) const;
    [[nodiscard]] TriggerBridge &triggerBridge();

    DialogService &m_dialogs;
    QString m_executableFolder;
    QString m_dataFolder;
    QList<QMetaObject::Connection> m_editorConnections;
    QList<QAction *> m_shortcutActions;
    std::unique_ptr<TriggerBridge> m_triggerBridge;
    ExplorerFilter m_explorerFilter;
    RepeatSearch m_repeatSearch;
    int m_wheelZoom = 0; // the wheel's turn not yet a step of the zoom
    LiveCheck *m_liveCheck = nullptr;
    ScriptCheck::ApiCache m_checkApis;
    // The API of the last Check Script, for the checks while typing.
    std::shared_ptr<const Analysis::Api> m_checkApi;
};
