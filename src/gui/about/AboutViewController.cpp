#include "gui/about/AboutViewController.h"

#include "platform/Bundle.h"

#include <QLabel>
#include <QVBoxLayout>

#include <optional>
#include <string>

namespace veltrane::gui {

namespace {

QString infoText(const platform::Bundle& bundle, const char* key)
{
    return QString::fromStdString(bundle.infoString(key).value_or(""));
}

// "Version 1.4 (27)"; nothing when either part is missing, rather than a version that reads wrong.
QString versionText(const platform::Bundle& bundle)
{
    const auto shortVersion = bundle.infoString("CFBundleShortVersionString");
    const auto build = bundle.infoString("CFBundleVersion");
    if (!shortVersion || !build) {
        return {};
    }
    return QString::fromStdString("Version " + *shortVersion + " (" + *build + ")");
}

// Selectable, so that a person can paste the version into a bug report.
QLabel* field(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

AboutViewController::AboutViewController(const platform::Bundle& bundle, QWidget* parent)
    : QWidget(parent), versionField_(field(versionText(bundle), this)),
      copyrightField_(field(infoText(bundle, "NSHumanReadableCopyright"), this))
{
    auto* name = field(infoText(bundle, "CFBundleName"), this);
    auto nameFont = name->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.5);
    name->setFont(nameFont);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 24, 32, 24);
    layout->setSpacing(8);
    layout->addWidget(name);
    layout->addWidget(versionField_);
    layout->addWidget(copyrightField_);
}

std::unique_ptr<QWidget> AboutViewController::makeWindow(const platform::Bundle& bundle)
{
    auto window = std::make_unique<AboutViewController>(bundle);
    window->setWindowTitle(tr("About Veltrane"));
    // Follows the content, and so the font size and the screen's scaling, but cannot be resized.
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    return window;
}

}  // namespace veltrane::gui
