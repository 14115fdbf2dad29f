#include "AreYouSureBox.h"

#include "platform/Dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TConfirmBox::TConfirmBox(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("ConfirmBox"));
    setWindowTitle(QStringLiteral("Are you sure?"));
    setModal(true);

    Label1 = new QLabel(QStringLiteral("Are you sure? This cannot be undone."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    YesBtn = new QPushButton(QStringLiteral("Yes"), this);
    YesBtn->setObjectName(QStringLiteral("YesBtn"));
    NoBtn = new QPushButton(QStringLiteral("No"), this);
    NoBtn->setObjectName(QStringLiteral("NoBtn"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(YesBtn);
    buttons->addWidget(NoBtn);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(240, 90)));

    connect(YesBtn, &QPushButton::clicked, this, [this] { done(static_cast<int>(ModalResult::Yes)); });
    connect(NoBtn, &QPushButton::clicked, this, [this] { done(static_cast<int>(ModalResult::No)); });
}

void TConfirmBox::reject()
{
    done(static_cast<int>(ModalResult::No));
}
