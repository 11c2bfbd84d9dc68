#pragma once

#include "logging/BaseDestination.h"
#include "logging/LogWindow.h"

#include <memory>
#include <mutex>

namespace logging {

// Feeds the log window. Until a window is attached and open, lines are neither shown nor kept.
class WindowDestination : public BaseDestination {
public:
    std::optional<std::string> emit(Level level, std::string_view message, std::string_view thread,
                                    std::string_view file, std::string_view function, int line,
                                    const Context& context) override;

    std::shared_ptr<LogWindow> logWindow() const;
    void setLogWindow(std::shared_ptr<LogWindow> window);
    // Shows the window, first making it with the factory when there is none; without either nothing
    // happens. A window once made is reused.
    void showWindow(const LogWindowFactory& factory);

private:
    mutable std::mutex mutex_;
    std::shared_ptr<LogWindow> window_;
};

}  // namespace logging
