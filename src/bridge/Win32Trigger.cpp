#ifdef _WIN32

#include "bridge/Win32Trigger.h"

#include <vector>

namespace Win32Trigger {

HWND FindTriggerTextBox()
{
    HWND triggerWindow = FindWindowA("#32770", "Trigger Editor");
    if (!triggerWindow)
        return nullptr;
    // Direct children only, in the window system's order; grandchildren are not searched.
    for (HWND child = GetWindow(triggerWindow, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetWindowLongA(child, GWL_STYLE) == TriggerTextBoxStyle)
            return child;
    }
    return nullptr;
}

std::string ReadTriggerText()
{
    HWND box = FindTriggerTextBox();
    if (!box)
        return {};
    const LRESULT length = SendMessageA(box, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return {};
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
    SendMessageA(box, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    // The characters before the terminating zero; the zero-filled buffer ends in
    // one even when the box shrank between the two messages.
    return std::string(buffer.data());
}

bool WriteTriggerText(const std::string &text)
{
    HWND box = FindTriggerTextBox();
    if (!box)
        return false;
    SendMessageA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // A space typed and deleted again at the caret: the game editor takes the
    // text as edited by hand. Queued, not waited for.
    PostMessageA(box, WM_KEYDOWN, VK_SPACE, 0);
    PostMessageA(box, WM_KEYDOWN, VK_BACK, 0);
    return true;
}

} // namespace Win32Trigger

#endif // _WIN32
