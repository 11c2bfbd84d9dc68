#include "DisplayServer.h"

#include <cstdlib>

namespace veltrane {

namespace {

bool named(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

DisplayServer sessionDisplayServer()
{
    if (named("WAYLAND_DISPLAY")) {
        return DisplayServer::wayland;
    }
    return named("DISPLAY") ? DisplayServer::x11 : DisplayServer::none;
}

}  // namespace veltrane
