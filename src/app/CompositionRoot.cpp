#include "app/CompositionRoot.h"

namespace veltrane {

std::unique_ptr<AppDelegate> makeApplication(const platform::Platform& platform, ApplicationOptions options)
{
    auto shared = std::make_unique<SharedInstances>(platform);
    return std::make_unique<AppDelegate>(platform, std::move(shared), std::move(options));
}

}  // namespace veltrane
