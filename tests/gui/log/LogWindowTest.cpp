#include "gui/log/KeyDownTextView.h"
#include "gui/log/LogViewController.h"
#include "gui/log/LogWindowController.h"
#include "logging/Log.h"
#include "logging/WindowDestination.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QWindow>

#include <memory>
#include <string>
#include <thread>

namespace veltrane::gui {
namespace {

using logging::Logging;

// The window as the program gets it: made by the factory when the log windows are first shown,
// fed by a window destination that runs on its own queue.
class LogWindowTest : public ::testing::Test {
protected:
    LogWindowTest()
    {
        destination->format = "$M";
        Logging::registerDestination(destination);
        Logging::setLogWindowFactory(LogWindowController::factory());
    }

    ~LogWindowTest() override
    {
        Logging::unregisterAll();
        Logging::setLogWindowFactory({});
    }

    LogWindowController& open()
    {
        Logging::showLogWindows();
        return dynamic_cast<LogWindowController&>(*destination->logWindow());
    }

    static KeyDownTextView& textView(LogWindowController& window)
    {
        return window.contentViewController().textView();
    }

    static std::string shown(LogWindowController& window)
    {
        return textView(window).toPlainText().toStdString();
    }

    // The destination's queue hands the lines over, then the GUI thread appends them.
    static void settle()
    {
        Logging::flush();
        QCoreApplication::processEvents();
    }

    // "line 0" and on; from the GUI thread, settled.
    static void logLines(int count, bool andSettle = true)
    {
        for (int line = 0; line < count; ++line) {
            LOGGING_INFO("line " + std::to_string(line));
        }
        if (andSettle) {
            settle();
        }
    }

    std::shared_ptr<logging::WindowDestination> destination = std::make_shared<logging::WindowDestination>();
};

// Hidden by Control-H, the window goes on taking lines; closed by Control-W or by its title bar, it
// comes back empty, without a line that was on its way when it closed. Typing never edits it.
TEST_F(LogWindowTest, ShowsOnlyWhatIsLoggedWhileOpenWhenHiddenTooAndComesBackEmptyOnceClosedOrCleared)
{
    LOGGING_INFO("before the window was made");
    settle();
    auto& window = open();
    auto& view = textView(window);
    LOGGING_INFO("shown");
    settle();
    EXPECT_TRUE(window.window().isVisible());
    QTest::keyClicks(&view, "x");
    QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
    // A selection shows the end of a line as the paragraph separator.
    EXPECT_EQ(view.textCursor().selectedText().toStdString(), "shown\u2029");

    QTest::keyClick(&view, Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(window.window().isVisible());
    EXPECT_TRUE(window.isOpen());
    LOGGING_INFO("while hidden");
    settle();
    open();
    EXPECT_TRUE(window.window().isVisible());
    EXPECT_EQ(shown(window), "shown\nwhile hidden\n");

    QTest::mouseClick(window.window().findChild<QPushButton*>(), Qt::LeftButton);
    EXPECT_EQ(shown(window), "");
    EXPECT_TRUE(window.isOpen());
    LOGGING_INFO("first");
    settle();
    EXPECT_EQ(shown(window), "first\n");

    QTest::keyClick(&view, Qt::Key_W, Qt::ControlModifier);
    EXPECT_FALSE(window.window().isVisible());
    EXPECT_FALSE(window.isOpen());
    EXPECT_EQ(shown(window), "");
    LOGGING_INFO("while closed");
    settle();

    EXPECT_EQ(&open(), &window);
    LOGGING_INFO("second");
    settle();
    EXPECT_EQ(shown(window), "second\n");

    window.appendLine("late\n");
    window.window().windowHandle()->close();
    EXPECT_FALSE(window.isOpen());
    open();
    QCoreApplication::processEvents();
    EXPECT_EQ(shown(window), "");
}

// The first lines come from another thread, as the program's own threads log.
TEST_F(LogWindowTest, LinesFromAnyThreadArriveInOrderAndAreFollowedOnlyWhenScrolledToTheBottom)
{
    auto& window = open();
    std::string expected;
    for (int line = 0; line < 100; ++line) {
        expected += "line " + std::to_string(line) + "\n";
    }
    std::thread([] { logLines(100, false); }).join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown(window) == expected; }));
    auto* scrollBar = textView(window).verticalScrollBar();
    ASSERT_GT(scrollBar->maximum(), 10);
    EXPECT_EQ(scrollBar->value(), scrollBar->maximum());

    scrollBar->setValue(10);
    logLines(100);
    EXPECT_EQ(scrollBar->value(), 10);

    scrollBar->setValue(scrollBar->maximum());
    const int bottomBefore = scrollBar->maximum();
    logLines(100);
    EXPECT_GT(scrollBar->maximum(), bottomBefore);
    EXPECT_EQ(scrollBar->value(), scrollBar->maximum());
}

}  // namespace
}  // namespace veltrane::gui
