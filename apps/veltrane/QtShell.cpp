#include "QtShell.h"

#include "PermissionAdvice.h"
#include "app/AccessibilityAuthorization.h"
#include "app/StatusMenuController.h"
#include "gui/about/AboutViewController.h"
#include "gui/log/LogWindowController.h"
#include "gui/permission/PermissionViewController.h"
#include "logging/Logging.h"

#include <QAbstractEventDispatcher>
#include <QSystemTrayIcon>

#include <cstdlib>

namespace veltrane {

namespace {

// QApplication keeps references to both for its whole life.
int argumentCount = 1;
char programName[] = "veltrane";
char* arguments[] = {programName, nullptr};

}  // namespace

QtShell::QtShell(const std::function<void(const std::string&)>& log)
    : application_(argumentCount, arguments), reactor_(log)
{
    embedReactor();
    QApplication::setApplicationName("Veltrane");
    QApplication::setApplicationVersion(VELTRANE_VERSION);
    // The program lives in the tray: closing its last window must not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    logging::Logging::setLogWindowFactory(gui::LogWindowController::factory());
}

// No log window may be made once the application is gone.
QtShell::~QtShell()
{
    logging::Logging::setLogWindowFactory(nullptr);
}

void QtShell::embedReactor()
{
    reactorNotifier_ = std::make_unique<QSocketNotifier>(reactor_.fd(), QSocketNotifier::Read);
    QObject::connect(reactorNotifier_.get(), &QSocketNotifier::activated, [this] { reactor_.dispatch(); });
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock,
                     reactorNotifier_.get(), [this] { reactor_.dispatch(); });
}

bool QtShell::trayAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

bool QtShell::displayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}

TouchViewer* QtShell::viewer(platform::SystemLog& systemLog)
{
    if (!viewer_) {
        viewer_ = std::make_unique<gui::ViewerManager>(systemLog);
    }
    return viewer_.get();
}

void QtShell::attach(const Application* application)
{
    menus_.setDelegate(application ? &application->delegate : nullptr);
    windows_.unregisterAll();
    if (application) {
        registerWindows(*application);
    }
}

void QtShell::registerWindows(const Application& application)
{
    windows_.registerWindow(StatusMenuController::kPreferencesWindow, [this, application] {
        auto window = std::make_unique<gui::PrefsViewController>(application.platform, application.shared,
                                                                 application.actions, application.loginItem);
        preferences_ = window.get();
        return window;
    });
    windows_.registerWindow(StatusMenuController::kAboutWindow, [&bundle = application.platform.bundle] {
        return gui::AboutViewController::makeWindow(bundle);
    });
    windows_.registerWindow(AccessibilityAuthorization::kWindowIdentifier, [] {
        return gui::PermissionViewController::makeWindow(
            QString::fromStdString(PermissionAdvice::explanation()),
            QString::fromStdString(PermissionAdvice::command()));
    });
}

void QtShell::settingsChanged()
{
    if (preferences_) {
        preferences_->synchronise();
    }
}

void QtShell::run()
{
    QApplication::exec();
}

void QtShell::quit()
{
    QMetaObject::invokeMethod(&application_, &QCoreApplication::quit, Qt::QueuedConnection);
}

}  // namespace veltrane
