#pragma once

#ifdef _WIN32

#include "bridge/TriggerBridge.h"

#include <windows.h>

#include <string>

// The script box of the game editor's trigger window, reached through window
// messages. Used by the editor on Windows and by the bridge helper under Wine.
namespace Win32Trigger {

// The style word of the script box, exactly: WS_CHILD, WS_VISIBLE, WS_VSCROLL,
// WS_HSCROLL, WS_TABSTOP, ES_WANTRETURN, ES_AUTOVSCROLL, ES_MULTILINE.
inline constexpr LONG TriggerTextBoxStyle = 0x50311044;

// The first direct child of the top-level "#32770" window titled "Trigger Editor"
// whose style is exactly TriggerTextBoxStyle, or null.
[[nodiscard]] HWND FindTriggerTextBox();

[[nodiscard]] std::string ReadTriggerText();

// Returns whether a script box was found and written.
bool WriteTriggerText(const std::string &text);

} // namespace Win32Trigger

class Win32TriggerBridge final : public TriggerBridge {
public:
    [[nodiscard]] std::string ReadTriggerText() override { return Win32Trigger::ReadTriggerText(); }
    void WriteTriggerText(const std::string &text) override { Win32Trigger::WriteTriggerText(text); }
    [[nodiscard]] bool HasTriggerTextBox() override { return Win32Trigger::FindTriggerTextBox() != nullptr; }
};

#endif // _WIN32
