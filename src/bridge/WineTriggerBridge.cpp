#ifndef _WIN32

#include "bridge/WineTriggerBridge.h"

#include "bridge/BridgeProtocol.h"
#include "bridge/ChildProcess.h"

#include <cstdlib>
#include <string_view>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsDirectory(const std::string &path)
{
    struct stat info { };
    return !path.empty() && ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsExecutableFile(const std::string &path)
{
    struct stat info { };
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

} // namespace

bool ProgramExists(const std::string &program)
{
    if (program.empty())
        return false;
    if (program.find('/') != std::string::npos)
        return IsExecutableFile(program);
    const char *path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    for (;;) {
        const std::size_t colon = rest.find(':');
        std::string dir(rest.substr(0, colon));
        if (dir.empty())
            dir = ".";
        if (IsExecutableFile(dir + '/' + program))
            return true;
        if (colon == std::string_view::npos)
            return false;
        rest.remove_prefix(colon + 1);
    }
}

std::unique_ptr<TriggerBridge> CreateWineOrNullBridge(WineBridgeOptions options)
{
    if (::access(options.helperPath.c_str(), R_OK) != 0 || !ProgramExists(options.wineProgram))
        return std::make_unique<NullTriggerBridge>();
    return std::make_unique<WineTriggerBridge>(std::move(options));
}

WineTriggerBridge::WineTriggerBridge(WineBridgeOptions options)
    : m_options(std::move(options))
{
}

std::string WineTriggerBridge::WinePrefix() const
{
    if (!m_options.winePrefix.empty())
        return m_options.winePrefix;
    if (const char *prefix = std::getenv("WINEPREFIX"); prefix && *prefix)
        return prefix;
    if (const char *home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.wine";
    return {};
}

bool WineTriggerBridge::CanReachGameEditor() const
{
    return ::access(m_options.helperPath.c_str(), R_OK) == 0 && IsDirectory(WinePrefix());
}

std::optional<std::string> WineTriggerBridge::RunHelper(const char *command, std::string_view input) const
{
    ChildProcess::Options options;
    options.timeout = m_options.timeout;
    options.environment = { "WINEPREFIX=" + WinePrefix() };
    ChildProcess::Result result
        = ChildProcess::Run({ m_options.wineProgram, m_options.helperPath, command }, input, options);
    if (result.outcome != ChildProcess::Outcome::Exited || result.exitCode != 0)
        return std::nullopt;
    return std::move(result.output);
}

std::string WineTriggerBridge::ReadTriggerText()
{
    if (!CanReachGameEditor())
        return {};
    const std::optional<std::string> output = RunHelper("read", {});
    return output ? BridgeProtocol::DecodeFrame(*output).value_or(std::string()) : std::string();
}

void WineTriggerBridge::WriteTriggerText(const std::string &text)
{
    if (!CanReachGameEditor())
        return;
    // The helper writes only after it has the whole frame, so a helper cut short
    // never leaves half a script in the game editor.
    (void)RunHelper("write", BridgeProtocol::EncodeFrame(text));
}

bool WineTriggerBridge::HasTriggerTextBox()
{
    return CanReachGameEditor() && RunHelper("find", {}).has_value();
}

#endif // !_WIN32
