#include "FindDialogs.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The editor's whole-word rule: JASS names are letters, digits and "_".
bool IsWordCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

} // namespace

FindReplaceDialog::FindReplaceDialog(Kind kind, QWidget *parent)
    : QDialog(parent)
{
    const bool replacing = kind == Kind::Replace;
    setWindowTitle(replacing ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);

    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    auto *fields = new QGridLayout;
    auto *findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(FindEdit);
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(FindEdit, 0, 1);
    if (replacing) {
        ReplaceEdit = new QLineEdit(this);
        ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
        auto *replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
        replaceLabel->setBuddy(ReplaceEdit);
        fields->addWidget(replaceLabel, 1, 0);
        fields->addWidget(ReplaceEdit, 1, 1);
    }
    WholeWord = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    WholeWord->setObjectName(QStringLiteral("WholeWord"));
    MatchCase = new QCheckBox(QStringLiteral("Match &case"), this);
    MatchCase->setObjectName(QStringLiteral("MatchCase"));

    FindNextButton = new QPushButton(QStringLiteral("&Find Next"), this);
    FindNextButton->setObjectName(QStringLiteral("FindNextButton"));
    FindNextButton->setDefault(true);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(FindNextButton);
    if (replacing) {
        ReplaceButton = new QPushButton(QStringLiteral("&Replace"), this);
        ReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
        ReplaceAllButton = new QPushButton(QStringLiteral("Replace &All"), this);
        ReplaceAllButton->setObjectName(QStringLiteral("ReplaceAllButton"));
        buttons->addWidget(ReplaceButton);
        buttons->addWidget(ReplaceAllButton);
    }
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    buttons->addWidget(CancelButton);
    buttons->addStretch(1);

    auto *left = new QVBoxLayout;
    left->addLayout(fields);
    left->addWidget(WholeWord);
    left->addWidget(MatchCase);
    left->addStretch(1);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);

    connect(FindEdit, &QLineEdit::textChanged, this, &FindReplaceDialog::updateButtons);
    connect(FindNextButton, &QPushButton::clicked, this, &FindReplaceDialog::OnFind);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    if (replacing) {
        connect(ReplaceButton, &QPushButton::clicked, this, [this] {
            m_replaceAll = false;
            emit OnReplace();
        });
        connect(ReplaceAllButton, &QPushButton::clicked, this, [this] {
            m_replaceAll = true;
            emit OnReplace();
        });
    }
    updateButtons();
}

QString FindReplaceDialog::FindText() const
{
    return FindEdit->text();
}

void FindReplaceDialog::setFindText(const QString &text)
{
    FindEdit->setText(text);
}

QString FindReplaceDialog::ReplaceText() const
{
    return ReplaceEdit != nullptr ? ReplaceEdit->text() : QString();
}

void FindReplaceDialog::setReplaceText(const QString &text)
{
    if (ReplaceEdit != nullptr)
        ReplaceEdit->setText(text);
}

TRichEdit::FindOptions FindReplaceDialog::Options() const
{
    TRichEdit::FindOptions options;
    options.setFlag(TRichEdit::FindWholeWord, WholeWord->isChecked());
    options.setFlag(TRichEdit::FindMatchCase, MatchCase->isChecked());
    return options;
}

void FindReplaceDialog::Execute()
{
    show();
    raise();
    activateWindow();
    FindEdit->setFocus();
    FindEdit->selectAll();
}

void FindReplaceDialog::updateButtons()
{
    // There is nothing to look for without a text.
    const bool any = !FindEdit->text().isEmpty();
    FindNextButton->setEnabled(any);
    if (ReplaceButton != nullptr) {
        ReplaceButton->setEnabled(any);
        ReplaceAllButton->setEnabled(any);
    }
}

ReplaceAllResult ReplaceEveryMatch(
    const QString &text, const QString &what, const QString &with, TRichEdit::FindOptions options)
{
    ReplaceAllResult result;
    if (what.isEmpty())
        return result;
    const Qt::CaseSensitivity cs
        = options.testFlag(TRichEdit::FindMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    const bool wholeWord = options.testFlag(TRichEdit::FindWholeWord);
    // text[First, copied) has become result.Text; the search goes on from
    // `copied`, which is where the text after the latest replacement begins.
    qsizetype copied = 0;
    qsizetype at = 0;
    while ((at = text.indexOf(what, at, cs)) >= 0) {
        if (wholeWord) {
            // The character before the match in the text as it now reads.
            QChar before;
            if (at > copied)
                before = text.at(at - 1);
            else if (!result.Text.isEmpty())
                before = result.Text.back();
            else if (result.First > 0)
                before = text.at(result.First - 1);
            const qsizetype after = at + what.size();
            if (IsWordCharacter(before) || (after < text.size() && IsWordCharacter(text.at(after)))) {
                ++at;
                continue;
            }
        }
        if (result.First < 0) {
            result.First = int(at);
            copied = at;
        }
        result.Text += QStringView(text).mid(copied, at - copied);
        result.Text += with;
        copied = at + what.size();
        at = copied;
        ++result.Count;
    }
    result.End = int(copied);
    return result;
}

int FindLastMatch(const QString &text, const QString &what, int before, TRichEdit::FindOptions options)
{
    const Qt::CaseSensitivity cs
        = options.testFlag(TRichEdit::FindMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (qsizetype at = before - 1; at >= 0 && !what.isEmpty(); --at) {
        at = text.lastIndexOf(what, std::min(at, text.size() - 1), cs);
        if (at < 0)
            break;
        const qsizetype after = at + what.size();
        if (!options.testFlag(TRichEdit::FindWholeWord)
            || ((at == 0 || !IsWordCharacter(text.at(at - 1)))
                && (after >= text.size() || !IsWordCharacter(text.at(after)))))
            return int(at);
    }
    return -1;
}
