#include "platform/qt/QtWindow.h"

#include <QCoreApplication>
#include <QEvent>
#include <QScopedValueRollback>
#include <QWidget>

#include <utility>

namespace veltrane::qtshell {

QtWindow::QtWindow(std::unique_ptr<QWidget> widget) : widget_(std::move(widget))
{
    widget_->setAttribute(Qt::WA_QuitOnClose, false);
    widget_->installEventFilter(this);
}

QtWindow::~QtWindow()
{
    widget_->removeEventFilter(this);
    if (!QCoreApplication::instance()) {
        // A widget cannot outlive the application object; the process's end reclaims this one.
        static_cast<void>(widget_.release());
    }
}

void QtWindow::show()
{
    widget_->show();
}

void QtWindow::makeKey()
{
    deminiaturize();
    widget_->raise();
    widget_->activateWindow();
}

void QtWindow::close()
{
    const QScopedValueRollback closing(closingFromProgram_, true);
    widget_->close();
}

bool QtWindow::isMiniaturized() const
{
    return widget_->isMinimized();
}

void QtWindow::deminiaturize()
{
    widget_->setWindowState(widget_->windowState() & ~Qt::WindowMinimized);
}

void QtWindow::setCloseButtonAction(std::function<void()> action)
{
    closeButtonAction_ = std::move(action);
}

// Any close but the program's own comes from the person: the title bar's button, the window
// manager's shortcut.
bool QtWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != widget_.get() || event->type() != QEvent::Close || closingFromProgram_ ||
        !closeButtonAction_) {
        return QObject::eventFilter(watched, event);
    }
    event->ignore();
    // A copy: the action may set another one.
    const auto action = closeButtonAction_;
    action();
    return true;
}

}  // namespace veltrane::qtshell
