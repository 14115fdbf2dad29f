#pragma once

#ifndef _WIN32

#include "bridge/TriggerBridge.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

struct WineBridgeOptions {
    std::string helperPath; // tolvane-bridge.exe
    std::string wineProgram = "wine"; // looked up in PATH when it holds no slash
    // Empty: the prefix Wine itself would use, WINEPREFIX or ~/.wine.
    std::string winePrefix;
    std::chrono::milliseconds timeout { 5000 };
};

// Reaches a game editor that runs under Wine through our Windows helper, which
// Wine runs in the same prefix: "helper read" writes the script box's text to
// its standard output, "helper write" puts the text from its standard input
// into the box; both texts travel as one frame (BridgeProtocol). A helper that
// is missing, fails, answers nonsense or outlives the timeout counts as no game
// editor.
class WineTriggerBridge final : public TriggerBridge {
public:
    explicit WineTriggerBridge(WineBridgeOptions options);

    [[nodiscard]] std::string ReadTriggerText() override;
    void WriteTriggerText(const std::string &text) override;
    [[nodiscard]] bool HasTriggerTextBox() override;

    // The prefix the helper would run in. Without it no Windows program can be
    // running there, and starting Wine would only create a new one.
    [[nodiscard]] std::string WinePrefix() const;

private:
    [[nodiscard]] bool CanReachGameEditor() const;
    // The helper's output when it ran to its end with exit code 0.
    [[nodiscard]] std::optional<std::string> RunHelper(const char *command, std::string_view input) const;

    WineBridgeOptions m_options;
};

// The Wine bridge when the helper file and the Wine program are there, else the empty one.
[[nodiscard]] std::unique_ptr<TriggerBridge> CreateWineOrNullBridge(WineBridgeOptions options);

// Whether program names an executable file, directly or through PATH.
[[nodiscard]] bool ProgramExists(const std::string &program);

#endif // !_WIN32
