#pragma once

#include "logging/LogWindow.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

namespace veltrane::gui {

class LogViewController;

// Owns the log window and follows its closing. Made, shown and destroyed on the GUI thread; lines
// may come from any thread and are appended there.
class LogWindowController final : public QObject, public logging::LogWindow {
public:
    // Must be called on the GUI thread. The last owner may let go of it on any thread: the
    // controller is then destroyed on the GUI thread.
    static std::shared_ptr<LogWindowController> make();
    // For logging::Logging::setLogWindowFactory.
    static logging::LogWindowFactory factory();

    ~LogWindowController() override;
    LogWindowController(const LogWindowController&) = delete;
    LogWindowController& operator=(const LogWindowController&) = delete;

    bool isOpen() const override;
    void appendLine(const std::string& text) override;
    // Shows and raises the window; one that was closed comes back empty.
    void show() override;

    QWidget& window();
    LogViewController& contentViewController() { return *view_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LogWindowController();
    static void dispose(LogWindowController* controller);
    void windowWillClose();

    std::unique_ptr<LogViewController> view_;
    std::atomic<bool> isOpen_{false};
    // Counts the openings, so that a line queued while the window was open is not shown after it
    // was closed, even when it has been opened again meanwhile.
    std::atomic<std::uint64_t> openings_{0};
};

}  // namespace veltrane::gui
