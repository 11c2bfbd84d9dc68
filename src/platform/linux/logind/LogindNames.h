#pragma once

namespace veltrane::linuxbackend {

inline constexpr const char* logindService = "org.freedesktop.login1";
inline constexpr const char* logindManagerPath = "/org/freedesktop/login1";
inline constexpr const char* logindManagerInterface = "org.freedesktop.login1.Manager";
inline constexpr const char* logindSessionInterface = "org.freedesktop.login1.Session";
inline constexpr const char* propertiesInterface = "org.freedesktop.DBus.Properties";

}  // namespace veltrane::linuxbackend
