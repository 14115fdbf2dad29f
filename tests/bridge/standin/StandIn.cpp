// A stand-in for the game editor in the bridge tests: a top-level "#32770"
// dialog titled "Trigger Editor" whose children are decoys and a script box.
//   standin.exe visible|hidden <text file> <folder>
// visible: decoys before the script box (a label, a one-line box, a hidden and a
//          read-only multi-line box) and a second script box after it.
// hidden:  a label holding a script box as grandchild, a one-line box and the
//          script box, created hidden.
// The script box starts with the bytes of the text file. Once the windows are
// up, the folder gets "ready": one frame per direct child with its style word
// in hex. When "stop" appears there, the folder gets "dump": one frame per
// direct child with its text, then one frame listing the key presses that
// reached the children ("child:key" pairs), and the program ends.

#include "bridge/BridgeProtocol.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD ScriptBoxStyle = 0x50311044;
constexpr UINT_PTR PollTimer = 1;
constexpr int GiveUpTicks = 2400; // two minutes of 50 ms ticks

std::string folder;
std::vector<HWND> children;
std::string keys;
int ticks = 0;

std::string ReadFileBytes(const std::string &path)
{
    std::string bytes;
    if (FILE *f = std::fopen(path.c_str(), "rb")) {
        char chunk[4096];
        std::size_t n;
        while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
            bytes.append(chunk, n);
        std::fclose(f);
    }
    return bytes;
}

// Written under another name and renamed, so the test never sees half a file.
void WriteFileBytes(const std::string &name, const std::string &bytes)
{
    const std::string path = folder + "\\" + name;
    const std::string temporary = path + ".tmp";
    if (FILE *f = std::fopen(temporary.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        MoveFileExA(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    }
}

std::string WindowText(HWND window)
{
    std::vector<char> buffer(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    GetWindowTextA(window, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data());
}

HWND AddChild(HWND parent, const char *className, DWORD style, const std::string &text, int y)
{
    HWND child = CreateWindowExA(0, className, text.c_str(), style, 10, y, 400, 30, parent, nullptr,
        GetModuleHandleA(nullptr), nullptr);
    if (std::string(className) == "EDIT")
        SendMessageA(child, EM_SETLIMITTEXT, 0, 0);
    // Some controls adjust their style on creation; the test needs exactly these words.
    SetWindowLongA(child, GWL_STYLE, static_cast<LONG>(style));
    SetWindowTextA(child, text.c_str());
    return child;
}

void OnTick(HWND dialog)
{
    if (++ticks > GiveUpTicks) {
        DestroyWindow(dialog);
        return;
    }
    if (GetFileAttributesA((folder + "\\stop").c_str()) == INVALID_FILE_ATTRIBUTES)
        return;
    std::string dump;
    for (HWND child : children)
        dump += BridgeProtocol::EncodeFrame(WindowText(child));
    dump += BridgeProtocol::EncodeFrame(keys);
    WriteFileBytes("dump", dump);
    DestroyWindow(dialog);
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == PollTimer)
            OnTick(dialog);
        return TRUE;
    case WM_CLOSE:
        DestroyWindow(dialog);
        return TRUE;
    case WM_DESTROY:
        PostQuitMessage(0);
        return TRUE;
    default:
        return FALSE;
    }
}

// A dialog template without controls: the children are added afterwards.
HWND CreateTriggerDialog()
{
    alignas(DWORD) WORD buffer[64] = {};
    auto *dialogTemplate = reinterpret_cast<DLGTEMPLATE *>(buffer);
    dialogTemplate->style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    dialogTemplate->cx = 300;
    dialogTemplate->cy = 200;
    WORD *p = reinterpret_cast<WORD *>(dialogTemplate + 1);
    *p++ = 0; // no menu
    *p++ = 0; // the standard dialog class
    for (const char *c = "Trigger Editor"; *c; ++c)
        *p++ = static_cast<WORD>(*c);
    *p++ = 0;
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, nullptr, DialogProc, 0);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4)
        return 2;
    const std::string mode = argv[1];
    const std::string text = ReadFileBytes(argv[2]);
    folder = argv[3];

    HWND dialog = CreateTriggerDialog();
    if (!dialog)
        return 3;
    constexpr DWORD label = WS_CHILD | WS_VISIBLE | SS_LEFT;
    constexpr DWORD oneLine = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
    if (mode == "visible") {
        children.push_back(AddChild(dialog, "STATIC", label, "label", 0));
        children.push_back(AddChild(dialog, "EDIT", oneLine, "one line", 30));
        children.push_back(AddChild(dialog, "EDIT", ScriptBoxStyle & ~WS_VISIBLE, "hidden box", 60));
        children.push_back(AddChild(dialog, "EDIT", ScriptBoxStyle | ES_READONLY, "read-only box", 90));
        children.push_back(AddChild(dialog, "EDIT", ScriptBoxStyle, text, 120));
        children.push_back(AddChild(dialog, "EDIT", ScriptBoxStyle, "second box", 150));
    } else if (mode == "hidden") {
        HWND holder = AddChild(dialog, "STATIC", label, "holder", 0);
        children.push_back(holder);
        AddChild(holder, "EDIT", ScriptBoxStyle, "grandchild box", 0);
        children.push_back(AddChild(dialog, "EDIT", oneLine, "one line", 30));
        children.push_back(AddChild(dialog, "EDIT", ScriptBoxStyle & ~WS_VISIBLE, text, 60));
    } else {
        return 2;
    }
    ShowWindow(dialog, SW_SHOW);

    std::string styles;
    char word[16];
    for (HWND child : children) {
        std::snprintf(
            word, sizeof word, "%08lx", static_cast<unsigned long>(GetWindowLongA(child, GWL_STYLE)));
        styles += BridgeProtocol::EncodeFrame(word);
    }
    WriteFileBytes("ready", styles);
    SetTimer(dialog, PollTimer, 50, nullptr);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_KEYDOWN) {
            for (std::size_t i = 0; i < children.size(); ++i) {
                if (children[i] == message.hwnd)
                    keys += std::to_string(i) + ":" + std::to_string(message.wParam) + " ";
            }
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
