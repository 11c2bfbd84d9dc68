#include "gui/viewer/ViewerManager.h"

#include "gui/viewer/TouchScene.h"
#include "gui/viewer/ViewerViewController.h"
#include "gui/viewer/ViewerWindowController.h"

#include <QEvent>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QString>

#include <cmath>

namespace veltrane::gui {

ViewerManager::ViewerManager(platform::SystemLog& systemLog) : systemLog_(systemLog) {}

ViewerManager::~ViewerManager() = default;

bool ViewerManager::isShowing() const
{
    return viewerShowing_;
}

void ViewerManager::switchOn()
{
    viewerShowing_ = true;
}

void ViewerManager::showTouches(const TouchEvent& event)
{
    // The trackers ask isShowing before they hand the event over; the last window may have been
    // closed in between.
    if (!viewerShowing_) {
        return;
    }
    if (const auto open = viewerWindowControllers_.find(event.deviceId);
        open != viewerWindowControllers_.end()) {
        open->second->contentViewController().scene().drawTouches(event);
        return;
    }
    // Lifting the fingers off a device without a window opens none.
    if (event.touches.empty() || event.gestureEnded || closedWindows_.contains(event.deviceId)) {
        return;
    }
    openViewer(event);
}

void ViewerManager::resetClosedViewers()
{
    std::erase_if(viewerWindowControllers_, [](const auto& entry) { return !entry.second->isVisible(); });
    closedWindows_.clear();
}

std::unique_ptr<ViewerWindowController> ViewerManager::makeViewerWindow(float width, float height)
{
    const auto fits = [](float points) {
        return std::isfinite(points) && points >= 1.0f && points <= static_cast<float>(QWIDGETSIZE_MAX);
    };
    if (!fits(width) || !fits(height)) {
        return nullptr;
    }
    return std::make_unique<ViewerWindowController>(static_cast<int>(std::lround(width)),
                                                    static_cast<int>(std::lround(height)));
}

void ViewerManager::openViewer(const TouchEvent& event)
{
    const Touch& touch = *event.touches.begin();
    const float scale = touch.touchOrigin == TouchOrigin::mtEvent ? mtScale : 1.0f;
    auto window = makeViewerWindow(touch.deviceWidth * scale, touch.deviceHeight * scale);
    if (!window) {
        return;
    }
    systemLog_.write(platform::SystemLogLevel::info, "com-marrowind-Veltrane Opened viewer");
    window->setObjectName(QString::number(event.deviceId));
    window->installEventFilter(this);
    place(*window);
    window->show();
    window->raise();
    window->activateWindow();
    window->contentViewController().scene().drawTouches(event);
    viewerWindowControllers_.emplace(event.deviceId, std::move(window));
}

// Each window opens centred on the primary screen, every further one a step right and down, so
// that windows of the same size do not hide one another.
void ViewerManager::place(ViewerWindowController& window) const
{
    QRect frame(QPoint(), window.size());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        frame.moveCenter(screen->availableGeometry().center());
    }
    const int offset = kCascade * static_cast<int>(viewerWindowControllers_.size());
    window.move(frame.topLeft() + QPoint(offset, offset));
}

bool ViewerManager::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Close) {
        windowWillClose(*watched);
    }
    return QObject::eventFilter(watched, event);
}

void ViewerManager::windowWillClose(QObject& window)
{
    bool valid = false;
    const std::int64_t deviceId = window.objectName().toLongLong(&valid);
    const auto closing = viewerWindowControllers_.find(deviceId);
    if (!valid || closing == viewerWindowControllers_.end() || closing->second.get() != &window) {
        return;
    }
    // The window is still handling its close event: it goes once that is over.
    closing->second.release()->deleteLater();
    viewerWindowControllers_.erase(closing);
    if (viewerWindowControllers_.empty()) {
        viewerShowing_ = false;
        closedWindows_.clear();
    } else {
        closedWindows_.insert(deviceId);
    }
}

}  // namespace veltrane::gui
