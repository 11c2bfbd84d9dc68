#include "app/LoginItem.h"

#include "app/Relauncher.h"

namespace veltrane {

bool LoginItem::set(bool enabled)
{
    return platform_.system.setLoginItemEnabled(Relauncher::kHelperIdentifier, enabled);
}

void LoginItem::setLaunchOnLogin(bool enabled)
{
    set(false);
    if (set(enabled)) {
        return;
    }
    platform_.systemLog.write(platform::SystemLogLevel::error,
                              std::string("com-marrowind-Veltrane Unable to set launch on login to ") +
                                  (enabled ? "true" : "false") + ". Retrying in 0.1s");
    platform_.dispatch.mainQueue().asyncAfter(kRetrySeconds, [this, enabled] {
        if (!set(enabled)) {
            platform_.systemLog.write(platform::SystemLogLevel::error,
                                      "com-marrowind-Veltrane Still unable to set launch on login");
        }
    });
}

}  // namespace veltrane
