#include "gui/permission/PermissionViewController.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace veltrane::gui {

PermissionViewController::PermissionViewController(const QString& explanation, const QString& command,
                                                   QWidget* parent)
    : QWidget(parent)
{
    setWindowTitle(tr("Veltrane Needs Access to Input Devices"));
    auto* text = new QLabel(explanation, this);
    text->setWordWrap(true);
    text->setObjectName("explanation");
    auto* commandField = new QLineEdit(command, this);
    commandField->setReadOnly(true);
    commandField->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    commandField->setObjectName("command");
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(tr("Copy Command"), QDialogButtonBox::ActionRole);
    QPushButton* quit = buttons->addButton(tr("Quit"), QDialogButtonBox::RejectRole);
    connect(copy, &QPushButton::clicked, this, [command] { QGuiApplication::clipboard()->setText(command); });
    connect(quit, &QPushButton::clicked, this, [this] { close(); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(commandField);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

std::unique_ptr<QWidget> PermissionViewController::makeWindow(const QString& explanation,
                                                              const QString& command)
{
    return std::make_unique<PermissionViewController>(explanation, command);
}

}  // namespace veltrane::gui
