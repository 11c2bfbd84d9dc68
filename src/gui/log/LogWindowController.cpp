#include "gui/log/LogWindowController.h"

#include "gui/log/LogViewController.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMetaObject>
#include <QString>
#include <QThread>

namespace veltrane::gui {

std::shared_ptr<LogWindowController> LogWindowController::make()
{
    return {new LogWindowController, &LogWindowController::dispose};
}

logging::LogWindowFactory LogWindowController::factory()
{
    return [] { return make(); };
}

LogWindowController::LogWindowController() : view_(std::make_unique<LogViewController>())
{
    view_->setWindowTitle(tr("Log"));
    view_->resize(700, 400);
    // A tray utility keeps running when its last window closes.
    view_->setAttribute(Qt::WA_QuitOnClose, false);
    view_->installEventFilter(this);
}

LogWindowController::~LogWindowController() = default;

// A widget may only be destroyed on its own thread, while the application object exists.
void LogWindowController::dispose(LogWindowController* controller)
{
    if (!QCoreApplication::instance()) {
        return;  // Let go at exit, after the application: the process's end reclaims it.
    }
    if (controller->thread() == QThread::currentThread()) {
        delete controller;
    } else {
        controller->deleteLater();
    }
}

bool LogWindowController::isOpen() const
{
    return isOpen_;
}

void LogWindowController::appendLine(const std::string& text)
{
    // Queued on this object: a line still on its way when the controller goes is dropped with it.
    QMetaObject::invokeMethod(
        this,
        [this, opening = openings_.load(), line = QString::fromStdString(text)] {
            if (isOpen_ && openings_ == opening) {
                view_->appendLine(line);
            }
        },
        Qt::QueuedConnection);
}

void LogWindowController::show()
{
    if (!isOpen_) {
        ++openings_;
        isOpen_ = true;
    }
    view_->show();
    view_->raise();
    view_->activateWindow();
}

QWidget& LogWindowController::window()
{
    return *view_;
}

bool LogWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_.get() && event->type() == QEvent::Close) {
        windowWillClose();
    }
    return QObject::eventFilter(watched, event);
}

void LogWindowController::windowWillClose()
{
    view_->clear();
    isOpen_ = false;
}

}  // namespace veltrane::gui
