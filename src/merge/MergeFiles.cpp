#include "MergeFiles.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TMergeFileForm::TMergeFileForm(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("MergeFileForm"));
    setWindowTitle(QStringLiteral("Merge Files"));
    setFixedSize(301, 321);

    const auto button = [this](const char *name, const QString &text) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setToolTip(QStringLiteral("Files to be merged"));
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setFixedWidth(169);
    AddBtn = button("AddBtn", QStringLiteral("Add..."));
    RemoveBtn = button("RemoveBtn", QStringLiteral("Remove..."));
    MoveUpBtn = button("MoveUpBtn", QStringLiteral("Move Up"));
    MoveDownBtn = button("MoveDownBtn", QStringLiteral("Move Down"));
    Label1 = new QLabel(QStringLiteral("Warning:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    Label1->setEnabled(false);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setPlainText(QStringLiteral("This feature might not be \n100% bug-free."));
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setEnabled(false);
    Memo1->setFixedHeight(40);
    TargetLbl = new QLabel(QStringLiteral("Target File"), this);
    TargetLbl->setObjectName(QStringLiteral("TargetLbl"));
    TargetLbl->setAlignment(Qt::AlignCenter);
    TargetBtn = button("TargetBtn", QStringLiteral("Choose Target"));
    MergeBtn = button("MergeBtn", QStringLiteral("Merge Files"));

    auto *right = new QVBoxLayout;
    right->addWidget(AddBtn);
    right->addWidget(RemoveBtn);
    right->addWidget(MoveUpBtn);
    right->addWidget(MoveDownBtn);
    right->addStretch();
    right->addWidget(Label1);
    right->addWidget(Memo1);
    right->addWidget(TargetLbl);
    right->addWidget(TargetBtn);
    right->addWidget(MergeBtn);
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(ListBox1);
    layout->addLayout(right);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}
