#include "MergeFiles.h"

#include "Merge.h"
#include "about/About.h"
#include "about/ButtonStage.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTextOption>
#include <QTimer>
#include <QToolButton>

TMergeFileForm::TMergeFileForm(DialogService &dialogs, ButtonStage &stage, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , m_dialogs(dialogs)
    , m_stage(stage)
{
    setObjectName(QStringLiteral("MergeFileForm"));
    setWindowTitle(QStringLiteral("Merge Files"));
    setFixedSize(301, 321);

    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setToolTip(QStringLiteral("Files to be merged"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setGeometry(0, 0, 169, 321);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(169, 0, 132, 196);
    const auto button = [](QWidget *parent, const char *name, const QString &text, QRect place) {
        auto *b = new QPushButton(text, parent);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(place);
        return b;
    };
    AddBtn = button(Panel1, "AddBtn", QStringLiteral("Add..."), { 12, 8, 80, 25 });
    RemoveBtn = button(Panel1, "RemoveBtn", QStringLiteral("Remove..."), { 12, 40, 80, 25 });
    MoveUpBtn = button(Panel1, "MoveUpBtn", QStringLiteral("Move Up"), { 12, 72, 80, 25 });
    MoveDownBtn = button(Panel1, "MoveDownBtn", QStringLiteral("Move Down"), { 12, 104, 80, 25 });
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(HiddenButtonIcon());
    SpeedButton1->setIconSize(QSize(16, 16));
    SpeedButton1->setGeometry(100, 60, 23, 22);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    SpeedButton1->hide();
    Label1 = new QLabel(QStringLiteral("Warning:"), Panel1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(0, 174, 132, 20);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setEnabled(false);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->document()->setDefaultTextOption(QTextOption(Qt::AlignHCenter));
    Memo1->document()->setDocumentMargin(0);
    // Small enough that each of its two lines fits the column.
    QFont small = Memo1->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    Memo1->setFont(small);
    Memo1->setPlainText(QStringLiteral("This feature might not be \n100% bug-free."));
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->viewport()->setAutoFillBackground(false);
    Memo1->setEnabled(false);
    Memo1->setGeometry(169, 198, 132, 36);

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setGeometry(169, 237, 132, 84);
    TargetLbl = new QLabel(QStringLiteral("Target File"), Panel2);
    TargetLbl->setObjectName(QStringLiteral("TargetLbl"));
    TargetLbl->setAlignment(Qt::AlignCenter);
    TargetLbl->setGeometry(4, 2, 124, 20);
    TargetBtn = button(Panel2, "TargetBtn", QStringLiteral("Choose Target"), { 12, 24, 108, 25 });
    MergeBtn = button(Panel2, "MergeBtn", QStringLiteral("Merge Files"), { 12, 54, 108, 25 });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);

    const QList<FileFilter> filters = {
        { QStringLiteral("Jass Files (*.j; *.txt)"), QStringLiteral("*.j;*.txt") },
        { QStringLiteral("Jass Libraries (*.j)"), QStringLiteral("*.j") },
        { QStringLiteral("Text Files (*.txt)"), QStringLiteral("*.txt") },
        { QStringLiteral("All Files (*.*)"), QStringLiteral("*.*") },
    };
    OpenDialog1.title = QStringLiteral("Add Source File");
    OpenDialog1.filters = filters;
    OpenDialog1.defaultExtension = QStringLiteral(".txt");
    OpenDialog1.initialFolder = QStringLiteral(".");
    SaveDialog1.filters = filters;
    SaveDialog1.defaultExtension = QStringLiteral(".j");
    SaveDialog1.initialFolder = QStringLiteral(".");
    SaveDialog1.confirmOverwrite = true;

    connect(AddBtn, &QPushButton::clicked, this, &TMergeFileForm::AddBtnClick);
    connect(RemoveBtn, &QPushButton::clicked, this, &TMergeFileForm::RemoveBtnClick);
    connect(MoveUpBtn, &QPushButton::clicked, this, &TMergeFileForm::MoveUpBtnClick);
    connect(MoveDownBtn, &QPushButton::clicked, this, &TMergeFileForm::MoveDownBtnClick);
    // Every change of the selection, by mouse or by keyboard.
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TMergeFileForm::ListBox1Click);
    connect(TargetBtn, &QPushButton::clicked, this, &TMergeFileForm::TargetBtnClick);
    connect(MergeBtn, &QPushButton::clicked, this, &TMergeFileForm::MergeBtnClick);
    connect(SpeedButton1, &QToolButton::clicked, this, &TMergeFileForm::SpeedButton1Click);
    connect(Timer1, &QTimer::timeout, this, &TMergeFileForm::Timer1Timer);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

void TMergeFileForm::FormCreate()
{
    Sources.clear();
    Target.clear();
    UpdateMergeButtons();
}

void TMergeFileForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

void TMergeFileForm::FormShow()
{
    SpeedButton1->setVisible(m_stage.Value == ButtonStage::InMergeDialog);
}

void TMergeFileForm::showSourceRows()
{
    ListBox1->clear();
    for (const QString &source : std::as_const(Sources))
        ListBox1->addItem(MergeFileName(source));
    m_rowsShowNames = false;
}

void TMergeFileForm::AddBtnClick()
{
    const std::optional<QStringList> chosen = m_dialogs.OpenFileNames(this, OpenDialog1);
    if (chosen)
        Sources.append(*chosen);
    // After a merge the rows show names; Add is the way back to the sources,
    // even when the dialog was cancelled.
    if (m_rowsShowNames) {
        showSourceRows();
    } else if (chosen) {
        for (const QString &source : *chosen)
            ListBox1->addItem(MergeFileName(source));
    }
    UpdateMergeButtons();
}

void TMergeFileForm::RemoveBtnClick()
{
    // Removal refers to sources by row, which only holds while rows show them.
    if (!m_rowsShowNames) {
        for (int row = ListBox1->count() - 1; row >= 0; --row) {
            if (!ListBox1->item(row)->isSelected())
                continue;
            Sources.removeAt(row);
            delete ListBox1->takeItem(row);
            if (row < ListBox1->count())
                ListBox1->item(row)->setSelected(true);
        }
    }
    UpdateMergeButtons();
}

void TMergeFileForm::exchange(int row, int other)
{
    Sources.swapItemsAt(row, other);
    const QString text = ListBox1->item(row)->text();
    ListBox1->item(row)->setText(ListBox1->item(other)->text());
    ListBox1->item(other)->setText(text);
    ListBox1->clearSelection();
    ListBox1->item(other)->setSelected(true);
    ListBox1->setCurrentRow(other, QItemSelectionModel::NoUpdate);
}

void TMergeFileForm::MoveUpBtnClick()
{
    if (!m_rowsShowNames) {
        for (int row = 1; row < ListBox1->count(); ++row) {
            if (ListBox1->item(row)->isSelected()) {
                exchange(row, row - 1);
                break;
            }
        }
    }
    UpdateMergeButtons();
}

void TMergeFileForm::MoveDownBtnClick()
{
    if (!m_rowsShowNames) {
        for (int row = 0; row + 1 < ListBox1->count(); ++row) {
            if (ListBox1->item(row)->isSelected()) {
                exchange(row, row + 1);
                break;
            }
        }
    }
    UpdateMergeButtons();
}

void TMergeFileForm::ListBox1Click()
{
    UpdateMergeButtons();
}

void TMergeFileForm::TargetBtnClick()
{
    const std::optional<QString> chosen = m_dialogs.SaveFileName(this, SaveDialog1);
    if (!chosen)
        return;
    Target = *chosen;
    UpdateMergeButtons();
    TargetLbl->setText(MergeFileName(Target));
}

void TMergeFileForm::MergeBtnClick()
{
    const MergeResult result = MergeFiles(Sources, Target);
    if (!result.Succeeded()) {
        m_dialogs.ShowError(this, result.error);
        return;
    }
    QApplication::beep();
    m_dialogs.ShowMessage(this, result.messageLines.join(u'\n'));
    {
        const QSignalBlocker quiet(ListBox1);
        ListBox1->clear();
        ListBox1->addItems(result.declaredNames);
    }
    m_rowsShowNames = true;
    UpdateMergeButtons();
}

void TMergeFileForm::UpdateMergeButtons()
{
    const QList<QListWidgetItem *> selected = ListBox1->selectedItems();
    const bool one = selected.size() == 1 && !m_rowsShowNames;
    const int row = one ? ListBox1->row(selected.constFirst()) : -1;
    MergeBtn->setEnabled(Sources.size() >= 2 && !Target.isEmpty());
    MoveUpBtn->setEnabled(one && row > 0);
    MoveDownBtn->setEnabled(one && row < ListBox1->count() - 1);
    RemoveBtn->setEnabled(!selected.isEmpty() && !m_rowsShowNames);
}

void TMergeFileForm::SpeedButton1Click()
{
    for (const QString &text : ButtonStage::Messages(ButtonStage::InMergeDialog))
        m_dialogs.ShowMessage(this, text);
    Timer1->start();
    SpeedButton1->setEnabled(false);
}

void TMergeFileForm::Timer1Timer()
{
    SpeedButton1->move(SpeedButton1->x(), SpeedButton1->y() - 4);
    if (SpeedButton1->y() + SpeedButton1->height() < 0) {
        Timer1->stop();
        m_stage.Advance(ButtonStage::InToolsMenu);
        emit ButtonReachedMenu();
    }
}
