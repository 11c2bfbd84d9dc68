#pragma once

namespace veltrane::linuxbackend {

// The type a setting holds, which decides how the settings file writes it and what it accepts.
enum class SettingKind {
    boolean,
    // Unset, true or false: absent from the file when unset, and the integer 0, 1 or 2 through the port.
    optionalBoolean,
    integer,
    floating,
    text,
    // Text that holds a JSON array of strings, as the lists of applications do.
    textList,
};

}  // namespace veltrane::linuxbackend
