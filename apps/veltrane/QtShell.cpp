#include "QtShell.h"

#include "gui/log/LogWindowController.h"
#include "logging/Logging.h"

#include <cstdlib>

namespace veltrane {

namespace {

// QApplication keeps references to both for its whole life.
int argumentCount = 1;
char programName[] = "veltrane";
char* arguments[] = {programName, nullptr};

}  // namespace

QtShell::QtShell() : application_(argumentCount, arguments)
{
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

bool QtShell::displayAvailable()
{
    const auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
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
