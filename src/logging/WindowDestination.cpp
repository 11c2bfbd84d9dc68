#include "logging/WindowDestination.h"

#include <utility>

namespace logging {

std::optional<std::string> WindowDestination::emit(Level level, std::string_view message,
                                                   std::string_view thread, std::string_view file,
                                                   std::string_view function, int line,
                                                   const Context& context)
{
    auto text = BaseDestination::emit(level, message, thread, file, function, line, context);
    const auto window = logWindow();
    if (text && window && window->isOpen()) {
        window->appendLine(*text + '\n');
    }
    return text;
}

std::shared_ptr<LogWindow> WindowDestination::logWindow() const
{
    const std::lock_guard lock(mutex_);
    return window_;
}

void WindowDestination::setLogWindow(std::shared_ptr<LogWindow> window)
{
    const std::lock_guard lock(mutex_);
    window_ = std::move(window);
}

void WindowDestination::showWindow(const LogWindowFactory& factory)
{
    auto window = logWindow();
    if (!window && factory) {
        window = factory();
        setLogWindow(window);
    }
    if (window) {
        window->show();
    }
}

}  // namespace logging
