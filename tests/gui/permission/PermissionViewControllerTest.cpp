#include "gui/permission/PermissionViewController.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <stdexcept>

namespace veltrane::gui {
namespace {

QPushButton& button(QWidget& window, const QString& text)
{
    const auto buttons = window.findChildren<QPushButton*>();
    const auto found = std::ranges::find(buttons, text, &QPushButton::text);
    return found != buttons.end() ? **found : throw std::runtime_error("no such button");
}

TEST(PermissionViewControllerTest, ItExplainsCopiesTheCommandAndQuitsByClosing)
{
    const auto window = PermissionViewController::makeWindow("Allow the devices:", "sudo grant");
    window->show();
    EXPECT_EQ(window->findChild<QLabel*>("explanation")->text(), "Allow the devices:");

    QTest::mouseClick(&button(*window, "Copy Command"), Qt::LeftButton);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "sudo grant");
    EXPECT_TRUE(window->isVisible());

    QTest::mouseClick(&button(*window, "Quit"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace veltrane::gui
