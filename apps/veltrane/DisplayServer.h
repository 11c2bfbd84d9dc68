#pragma once

namespace veltrane {

// The display server of the session the program runs in, as its environment names it.
enum class DisplayServer { wayland, x11, none };

// Why there is none, as a message says it.
inline constexpr const char* kNoDisplayServer = "no display: neither WAYLAND_DISPLAY nor DISPLAY is set";

// In a Wayland session the X server, if any, serves only the programs that still speak X: what it
// calls active is not what the person looks at, and the pointer it moves is not the one they use.
DisplayServer sessionDisplayServer();

}  // namespace veltrane
