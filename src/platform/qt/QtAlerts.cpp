#include "platform/qt/QtAlerts.h"

#include <QMessageBox>
#include <QPushButton>

namespace veltrane::qtshell {

void QtAlerts::showAlert(const std::string& title, const std::string& text, const std::string& button)
{
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text));
    box.setDefaultButton(box.addButton(QString::fromStdString(button), QMessageBox::AcceptRole));
    box.exec();
}

}  // namespace veltrane::qtshell
