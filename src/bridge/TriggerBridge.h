#pragma once

#include <memory>
#include <string>

// The way to the script box of the game editor's "Trigger Editor" dialog, a
// window of another program. Text is code page 1252 bytes with CR LF line
// breaks. When no game editor can be reached, read gives an empty text and
// write does nothing; neither reports a failure.
class TriggerBridge {
public:
    virtual ~TriggerBridge() = default;

    [[nodiscard]] virtual std::string ReadTriggerText() = 0;
    virtual void WriteTriggerText(const std::string &text) = 0;
    // Whether a script box is there to write to now.
    [[nodiscard]] virtual bool HasTriggerTextBox() = 0;
};

// For a system where no game editor can be reached.
class NullTriggerBridge final : public TriggerBridge {
public:
    [[nodiscard]] std::string ReadTriggerText() override { return {}; }
    void WriteTriggerText(const std::string &) override { }
    [[nodiscard]] bool HasTriggerTextBox() override { return false; }
};

// The file name of the helper program that reaches the game editor under Wine;
// it lies beside the editor's executable.
inline constexpr const char *BridgeHelperFileName = "tolvane-bridge.exe";

// The bridge of this system: window messages on Windows; on other systems the
// helper run with Wine when both the helper (looked up in executableDir) and
// Wine are there; otherwise the empty bridge.
[[nodiscard]] std::unique_ptr<TriggerBridge> CreateTriggerBridge(const std::string &executableDir);
