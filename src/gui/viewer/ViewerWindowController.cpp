#include "gui/viewer/ViewerWindowController.h"

#include "gui/viewer/ViewerViewController.h"

#include <QVBoxLayout>

namespace veltrane::gui {

ViewerWindowController::ViewerWindowController(int width, int height)
    : content_(new ViewerViewController(this))
{
    setWindowTitle(tr("Touch Viewer"));
    // A tray utility keeps running when its last window closes.
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content_);
    resize(width, height);
}

}  // namespace veltrane::gui
