#pragma once

#include <QString>

#include <memory>

class DialogService;
class TAboutBox;
class TConfirmBox;
class TMainForm;
class TMergeFileForm;
class TSaveFirstForm;

// The program's five windows, each created once at start and living until
// the end. The main window owns the other four.
struct Program
{
    std::unique_ptr<TMainForm> MainForm;
    TAboutBox *AboutBox = nullptr;
    TSaveFirstForm *SaveFirstForm = nullptr;
    TConfirmBox *ConfirmBox = nullptr;
    TMergeFileForm *MergeFileForm = nullptr;
};

// Creates the windows in their order: the main window, whose creation step
// runs to its end first, then the About box, the save-first prompt, the
// confirmation prompt and the merge dialog. Nothing is shown yet.
[[nodiscard]] Program CreateProgram(DialogService &dialogs, const QString &executableFolder = {},
                                    const QString &dataFolder = {});

// The whole run: application object and title, the windows, the message loop.
// The arguments are files to open: the first in this window, each further one
// in a window of its own.
int RunProgram(int argc, char *argv[]);
