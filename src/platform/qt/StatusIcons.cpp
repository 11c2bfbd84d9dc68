#include "platform/qt/StatusIcons.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QPixmap>

namespace veltrane::qtshell {

namespace {

constexpr int kSize = 64;

// An arrow pointing up over a bar: the caps lock key's own sign.
QPainterPath capsLockSign()
{
    QPainterPath sign;
    sign.moveTo(32, 14);
    sign.lineTo(48, 32);
    sign.lineTo(39, 32);
    sign.lineTo(39, 42);
    sign.lineTo(25, 42);
    sign.lineTo(25, 32);
    sign.lineTo(16, 32);
    sign.closeSubpath();
    sign.addRect(25, 46, 14, 5);
    return sign;
}

QPixmap draw(bool held)
{
    const QColor ink = QGuiApplication::palette().color(QPalette::WindowText);
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF key(4, 4, kSize - 8, kSize - 8);
    if (held) {
        // The sign is cut out of the filled key.
        QPainterPath filled;
        filled.addRoundedRect(key, 12, 12);
        painter.fillPath(filled.subtracted(capsLockSign()), ink);
    } else {
        painter.setPen(QPen(ink, 5));
        painter.drawRoundedRect(key, 12, 12);
        painter.fillPath(capsLockSign(), ink);
    }
    return pixmap;
}

}  // namespace

QIcon StatusIcons::icon(const std::string& name)
{
    return QIcon(draw(name == "altStatusTemplate"));
}

}  // namespace veltrane::qtshell
