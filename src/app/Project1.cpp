#include "Project1.h"

#include "about/About.h"
#include "mainwindow/AreYouSureBox.h"
#include "mainwindow/Main.h"
#include "mainwindow/SaveFirst.h"
#include "merge/MergeFiles.h"
#include "platform/Dialogs.h"
#include "platform/Errors.h"

#include <QAction>
#include <QApplication>
#include <QTimer>

namespace {

// The last net under every event: handlers report their own errors, and
// anything else that escapes an event is shown here instead of ending the
// program.
class TolvaneApplication : public QApplication
{
public:
    TolvaneApplication(int &argc, char **argv, DialogService &dialogs)
        : QApplication(argc, argv)
        , m_dialogs(dialogs)
    {
    }

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const TolvaneError &error) {
            m_dialogs.ShowError(activeWindow(), error.message());
        } catch (const std::exception &error) {
            m_dialogs.ShowError(activeWindow(), QString::fromLocal8Bit(error.what()));
        }
        return false;
    }

private:
    DialogService &m_dialogs;
};

} // namespace

Program CreateProgram(DialogService &dialogs, const QString &executableFolder, const QString &dataFolder)
{
    Program program;
    program.MainForm = std::make_unique<TMainForm>(dialogs, executableFolder, dataFolder);
    TMainForm *owner = program.MainForm.get();
    program.AboutBox = new TAboutBox(dialogs, owner->State.Button, owner);
    program.SaveFirstForm = new TSaveFirstForm(owner);
    program.ConfirmBox = new TConfirmBox(owner);
    program.MergeFileForm = new TMergeFileForm(dialogs, owner->State.Button, owner);
    QObject::connect(program.MergeFileForm, &TMergeFileForm::ButtonReachedMenu, owner,
                     [owner] { owner->Dontclickonme1->setVisible(true); });
    owner->SetWindows({program.AboutBox, program.SaveFirstForm, program.ConfirmBox, program.MergeFileForm});
    return program;
}

int RunProgram(int argc, char *argv[])
{
    QtDialogService dialogs;
    TolvaneApplication application(argc, argv, dialogs);
    QApplication::setApplicationName(QStringLiteral("Tolvane"));
    QApplication::setWindowIcon(TolvaneIcon());
    Program program = CreateProgram(dialogs);
    // Showing the main window runs its activation step, once per run.
    program.MainForm->show();
    // The files named on the command line open once the window is up.
    QTimer::singleShot(
        0, program.MainForm.get(), [form = program.MainForm.get(), files = QApplication::arguments().mid(1)] {
            form->OpenFilesFromOutside(files);
        });
    return QApplication::exec();
}
