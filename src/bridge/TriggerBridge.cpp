#include "bridge/TriggerBridge.h"

#ifdef _WIN32
#include "bridge/Win32Trigger.h"
#else
#include "bridge/WineTriggerBridge.h"

#include <utility>
#endif

std::unique_ptr<TriggerBridge> CreateTriggerBridge(const std::string &executableDir)
{
#ifdef _WIN32
    (void)executableDir;
    return std::make_unique<Win32TriggerBridge>();
#else
    WineBridgeOptions options;
    options.helperPath = executableDir + '/' + BridgeHelperFileName;
    return CreateWineOrNullBridge(std::move(options));
#endif
}
