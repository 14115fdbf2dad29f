// The commands of the Tools menu that work on the whole script: the syntax
// check and the exchange with the game editor's "Trigger Editor" dialog.
#include "Main.h"

#include "AreYouSureBox.h"
#include "checker/SyntaxCheck.h"
#include "editor/SyntaxEdit.h"
#include "platform/Errors.h"
#include "platform/TextCodec.h"

#include <QScopeGuard>

#include <optional>

namespace {

// The check's one message goes into the preview, coloured like the editor
// would colour it, so a keyword quoted in it stands out.
void ShowCheckMessage(TSyntaxEdit &helpEdit, const QString &message)
{
    // Disabled, the control neither repaints for each step nor takes the
    // focus when it marks a bracket.
    helpEdit.setEnabled(false);
    helpEdit.AllowInvalidate = false;
    const auto restore = qScopeGuard([&helpEdit] {
        helpEdit.setEnabled(true);
        helpEdit.AllowInvalidate = true;
    });
    helpEdit.setText(message);
    QByteArray rtf;
    helpEdit.HighlightLine(0, HighlightMode::InPlace, rtf);
}

// The script box of the game editor takes single bytes of code page 1252: a
// character outside it would arrive there as '?', and the text would end at a
// zero. The first character it cannot hold.
std::optional<char32_t> FirstCharacterTheTriggerCannotHold(const QString &text)
{
    if (!text.contains(QChar(0)) && TextCodec::DecodeCp1252(TextCodec::EncodeCp1252(text)) == text)
        return std::nullopt;
    for (const char32_t c : text.toUcs4()) {
        const QString one = QString::fromUcs4(&c, 1);
        if (c == 0 || TextCodec::DecodeCp1252(TextCodec::EncodeCp1252(one)) != one)
            return c;
    }
    return std::nullopt;
}

} // namespace

void TMainForm::ToolButton12Click()
{
    const SyntaxCheckResult result = CheckSyntax(Editbox->lines());
    ShowCheckMessage(*HelpEdit, result.message);
    if (!result.Passed()) {
        const int line = static_cast<int>(result.line);
        // The failing line is selected whole and scrolled into view; the
        // preview keeps the message and the status bar its position.
        State.TrackSelection = false;
        const auto track = qScopeGuard([this] { State.TrackSelection = true; });
        Editbox->setSelStart(Editbox->lineIndex(line));
        Editbox->setSelLength(static_cast<int>(Editbox->line(line).size()));
    }
    if (Editbox->isEnabled())
        Editbox->setFocus();
}

void TMainForm::SetTriggerBridge(std::unique_ptr<TriggerBridge> bridge)
{
    m_triggerBridge = std::move(bridge);
}

TriggerBridge &TMainForm::triggerBridge()
{
    // Made on first use: looking for the helper and Wine costs nothing until
    // the user asks for the game editor.
    if (!m_triggerBridge)
        m_triggerBridge = CreateTriggerBridge(m_executableFolder.toStdString());
    return *m_triggerBridge;
}

void TMainForm::ToolButton7Click()
{
    New1Click();
    // New stops only at the save-first step, and then the document is still
    // the modified one it was: it stays, with its name and caption.
    if (State.Modified)
        return;
    Editbox->LoadingText = true;
    const auto loaded = qScopeGuard([this] { Editbox->LoadingText = false; });
    const std::string bytes = triggerBridge().ReadTriggerText();
    Editbox->setText(TextCodec::DecodeCp1252(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))));
    State.Modified = false;
}

void TMainForm::ToolButton9Click()
{
    TConfirmBox fallback(this);
    TConfirmBox &prompt = Windows.ConfirmBox != nullptr ? *Windows.ConfirmBox : fallback;
    if (m_dialogs.Ask(prompt) != ModalResult::Yes)
        return;
    const QString text = Editbox->text();
    if (const std::optional<char32_t> refused = FirstCharacterTheTriggerCannotHold(text)) {
        // Without a game editor nothing is shown, whatever the text holds.
        if (!triggerBridge().HasTriggerTextBox())
            return;
        const QString code = QStringLiteral("U+")
            + QString::number(static_cast<uint>(*refused), 16).toUpper().rightJustified(4, u'0');
        throw TolvaneError(
            QStringLiteral("Nothing was written to the trigger: its script box takes only the "
                           "characters of code page 1252 and no zero character, and the text "
                           "holds %1.")
                .arg(*refused == 0
                        ? QStringLiteral("a zero character (%1)").arg(code)
                        : QStringLiteral("\"%1\" (%2)").arg(QString::fromUcs4(&*refused, 1), code)));
    }
    const QByteArray bytes = TextCodec::EncodeCp1252(text);
    triggerBridge().WriteTriggerText(std::string(bytes.constData(), static_cast<size_t>(bytes.size())));
}
