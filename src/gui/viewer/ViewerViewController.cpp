#include "gui/viewer/ViewerViewController.h"

#include "gui/viewer/TouchScene.h"

#include <QVBoxLayout>

namespace veltrane::gui {

ViewerViewController::ViewerViewController(QWidget* parent) : QWidget(parent), scene_(new TouchScene(this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scene_);
}

}  // namespace veltrane::gui
