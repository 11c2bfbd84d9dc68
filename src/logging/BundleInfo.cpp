#include "logging/BundleInfo.h"

#include "logging/BundleDefaults.h"

#include <map>
#include <mutex>
#include <utility>

namespace logging {

namespace {

using Keys = std::map<std::string, std::optional<std::string>, std::less<>>;

Keys defaultKeys()
{
    return {{"CFBundleExecutable", std::string(bundle_defaults::executable)},
            {"CFBundleDisplayName", std::string(bundle_defaults::displayName)},
            {"CFBundleName", std::string(bundle_defaults::name)},
            {"CFBundleVersion", std::string(bundle_defaults::version)},
            {"CFBundleIdentifier", std::string(bundle_defaults::identifier)}};
}

struct Store {
    std::mutex mutex;
    Keys keys = defaultKeys();
};

Store& store()
{
    static Store shared;
    return shared;
}

}  // namespace

std::optional<std::string> BundleInfo::string(std::string_view key)
{
    auto& shared = store();
    const std::lock_guard lock(shared.mutex);
    const auto found = shared.keys.find(key);
    return found == shared.keys.end() ? std::nullopt : found->second;
}

void BundleInfo::overrideForTesting(const std::string& key, std::optional<std::string> value)
{
    auto& shared = store();
    const std::lock_guard lock(shared.mutex);
    shared.keys[key] = std::move(value);
}

void BundleInfo::restoreForTesting()
{
    auto& shared = store();
    const std::lock_guard lock(shared.mutex);
    shared.keys = defaultKeys();
}

}  // namespace logging
