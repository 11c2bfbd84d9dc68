#include "gui/log/KeyDownTextView.h"

#include <QKeyEvent>

namespace veltrane::gui {

void KeyDownTextView::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers().testFlag(Qt::ControlModifier)) {
        switch (event->key()) {
        case Qt::Key_W:
            window()->close();
            return;
        case Qt::Key_H:
            window()->hide();
            return;
        default:
            break;
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

}  // namespace veltrane::gui
