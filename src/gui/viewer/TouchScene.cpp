#include "gui/viewer/TouchScene.h"

#include <QPainter>
#include <QPointF>

#include <cmath>

namespace veltrane::gui {

TouchScene::TouchScene(QWidget* parent) : QWidget(parent) {}

void TouchScene::drawTouches(const TouchEvent& event)
{
    touches_.clear();
    if (!event.gestureEnded) {
        for (const Touch& touch : event.touches) {
            // A position that is not a number has no place on the surface.
            if (std::isfinite(touch.pos.x) && std::isfinite(touch.pos.y)) {
                touches_.push_back(touch.pos);
            }
        }
    }
    update();
}

void TouchScene::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 1.0));
    painter.setBrush(Qt::NoBrush);
    const auto sceneWidth = static_cast<double>(width());
    const auto sceneHeight = static_cast<double>(height());
    for (const TouchPoint& touch : touches_) {
        // The device's y grows towards its top edge, the widget's towards its bottom.
        const QPointF centre(sceneWidth * static_cast<double>(touch.x),
                             sceneHeight * (1.0 - static_cast<double>(touch.y)));
        painter.drawEllipse(centre, kTouchRadius, kTouchRadius);
    }
}

}  // namespace veltrane::gui
