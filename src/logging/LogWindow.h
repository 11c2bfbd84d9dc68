#pragma once

#include <functional>
#include <memory>
#include <string>

namespace logging {

// The log window, as the graphical shell provides it to a window destination.
class LogWindow {
public:
    virtual ~LogWindow() = default;

    // Asked on the destination's queue while the shell's own thread opens and closes the window,
    // so an implementation must make it safe to read from any thread.
    virtual bool isOpen() const = 0;
    // Called on the destination's queue with a line ending in "\n"; the window appends it on its own
    // thread, following the end of the text only when the user has not scrolled up.
    virtual void appendLine(const std::string& text) = 0;
    // Brings the application to the front and shows the window, which counts as open from then on.
    virtual void show() = 0;
};

// Makes the window of a window destination when it is first shown.
using LogWindowFactory = std::function<std::shared_ptr<LogWindow>()>;

}  // namespace logging
