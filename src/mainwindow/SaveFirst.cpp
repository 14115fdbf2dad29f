#include "SaveFirst.h"

#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TSaveFirstForm::TSaveFirstForm(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("SaveFirstForm"));
    setWindowTitle(QStringLiteral("Save first?"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Do you want to save first?"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    YesBtn = new QPushButton(QStringLiteral("Yes"), this);
    YesBtn->setObjectName(QStringLiteral("YesBtn"));
    NoBtn = new QPushButton(QStringLiteral("No"), this);
    NoBtn->setObjectName(QStringLiteral("NoBtn"));
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    YesBtn->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(YesBtn);
    buttons->addWidget(NoBtn);
    buttons->addWidget(CancelBtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(240, 90)));

    connect(YesBtn, &QPushButton::clicked, this, [this] { done(static_cast<int>(ModalResult::Yes)); });
    connect(NoBtn, &QPushButton::clicked, this, [this] { done(static_cast<int>(ModalResult::No)); });
    // reject() is Escape and the window manager's close: both are Cancel.
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}
