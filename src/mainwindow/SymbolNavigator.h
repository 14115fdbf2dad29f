#pragma once

#include "SymbolViews.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <memory>

class QAction;
class OutlinePanel;
class SymbolBox;
class TMainForm;

// Go to symbol (Ctrl+Shift+O) and the outline panel. Both show the
// declarations of the writing help's last analysis of the script, so they
// open at once on any size of script; a stale analysis is brought up to date
// right after (a large script's in the background) and both follow when it is.
// A large script's symbols are sorted in the background too, as soon as its
// analysis is done.
class SymbolNavigator : public QObject {
    Q_OBJECT

public:
    explicit SymbolNavigator(TMainForm &form);
    ~SymbolNavigator() override;

    QAction *GoToSymbol1;
    QAction *Outline1; // shows or hides the outline; hidden at start
    SymbolBox *SymbolBox1;
    OutlinePanel *Outline;

    void GoToSymbol1Click();
    void Outline1Click();
    // Selects the symbol's name in the editor, in the middle of the view.
    void Jump(int symbol, const SymbolIndexPtr &index);
    // The symbols of the last analysis; of the one before while a large
    // script's are still being sorted.
    [[nodiscard]] SymbolIndexPtr Symbols();
    // A large script's symbols are being sorted in the background.
    [[nodiscard]] bool Preparing() const { return m_preparing >= 0; }
    // How long to wait after typing before the open outline is brought up to date.
    int OutlineDelayMs = 500;

private:
    void analysed();
    void textChanged();
    void caretMoved();
    // Asks for an analysis of the text as it is now, when the last is older.
    void refresh();
    // Sorts the last analysis' symbols off this thread.
    void prepare();
    void prepared(int revision, const SymbolIndexPtr &symbols);
    // Shows the symbols in what is open.
    void show();
    // Whether the box waits for a newer analysis, in its search box.
    void showBusy();

    TMainForm &m_form;
    SymbolIndexPtr m_symbols;
    int m_revision = -1; // of the analysis m_symbols came from
    int m_preparing = -1; // the revision being sorted in the background
    QTimer m_outlineDelay;
    QThreadPool m_pool;
    // The order by name of the background thread, never used on this one.
    std::unique_ptr<StringComparer> m_poolComparer;
};
