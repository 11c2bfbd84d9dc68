#pragma once

#include "platform/SystemLog.h"
#include "touch/TouchViewer.h"

#include <QObject>

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <set>

namespace veltrane::gui {

class ViewerWindowController;

// The touch viewer. While switched on, every device that reports touches gets a window of its own
// that draws them. A window the user closes stays closed while others are open, until the menu
// asks for the viewers again; closing the last one switches the viewer off. Lives on the GUI
// thread, except for isShowing, which the trackers ask on theirs.
class ViewerManager final : public QObject, public TouchViewer {
public:
    // From the multitouch framework's surface units to points.
    static constexpr float mtScale = 0.03f;
    // How far each further window opens right of and below the one before it.
    static constexpr int kCascade = 20;

    explicit ViewerManager(platform::SystemLog& systemLog);
    ~ViewerManager() override;
    ViewerManager(const ViewerManager&) = delete;
    ViewerManager& operator=(const ViewerManager&) = delete;

    bool isShowing() const override;
    void switchOn() override;
    void showTouches(const TouchEvent& event) override;
    void resetClosedViewers() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A window for a surface of that size in points; nothing for a size no window can have.
    static std::unique_ptr<ViewerWindowController> makeViewerWindow(float width, float height);
    void openViewer(const TouchEvent& event);
    void place(ViewerWindowController& window) const;
    void windowWillClose(QObject& window);

    platform::SystemLog& systemLog_;
    std::atomic<bool> viewerShowing_{false};
    std::map<std::int64_t, std::unique_ptr<ViewerWindowController>> viewerWindowControllers_;
    std::set<std::int64_t> closedWindows_;
};

}  // namespace veltrane::gui
