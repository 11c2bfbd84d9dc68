#include "platform/qt/QtWindows.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <memory>

namespace veltrane::qtshell {
namespace {

class QtWindowsTest : public ::testing::Test {
protected:
    QtWindowsTest()
    {
        windows.registerWindow("AboutWindowController", [this] {
            auto widget = std::make_unique<QWidget>();
            made = widget.get();
            return widget;
        });
    }

    // The window as the program's callers get it, already on screen.
    std::shared_ptr<platform::Window> shown()
    {
        auto window = windows.makeWindow("AboutWindowController");
        window->show();
        QCoreApplication::processEvents();
        return window;
    }

    // What the title bar's close button does: the window system asks the window to close.
    void pressCloseButton() const { made->windowHandle()->close(); }

    QtWindows windows;
    QWidget* made = nullptr;
};

TEST_F(QtWindowsTest, MakesOnlyRegisteredWindowsEachTimeAnew)
{
    EXPECT_EQ(windows.makeWindow("PrefsWindowController"), nullptr);

    const auto first = windows.makeWindow("AboutWindowController");
    ASSERT_NE(first, nullptr);
    QWidget* const firstWidget = made;
    EXPECT_NE(windows.makeWindow("AboutWindowController"), nullptr);
    EXPECT_NE(made, firstWidget);
    EXPECT_FALSE(firstWidget->testAttribute(Qt::WA_QuitOnClose));
}

TEST_F(QtWindowsTest, ShowsTakesTheKeysMinimizesAndCloses)
{
    const auto window = shown();
    EXPECT_TRUE(made->isVisible());

    QWidget other;
    other.show();
    QCoreApplication::processEvents();
    window->makeKey();
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), made);

    made->showMinimized();
    EXPECT_TRUE(window->isMiniaturized());
    window->deminiaturize();
    EXPECT_FALSE(window->isMiniaturized());

    made->showMinimized();
    window->makeKey();
    EXPECT_FALSE(window->isMiniaturized());

    window->close();
    EXPECT_FALSE(made->isVisible());
}

TEST_F(QtWindowsTest, CloseButtonRunsTheActionInsteadOfClosingButTheProgramStillCloses)
{
    const auto window = shown();
    pressCloseButton();
    EXPECT_FALSE(made->isVisible());

    window->show();
    int pressed = 0;
    window->setCloseButtonAction([&pressed] { ++pressed; });
    pressCloseButton();
    EXPECT_EQ(pressed, 1);
    EXPECT_TRUE(made->isVisible());

    window->close();
    EXPECT_EQ(pressed, 1);
    EXPECT_FALSE(made->isVisible());
}

}  // namespace
}  // namespace veltrane::qtshell
