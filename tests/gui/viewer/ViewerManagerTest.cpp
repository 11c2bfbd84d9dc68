#include "gui/viewer/ViewerManager.h"
#include "RecordingSystemLog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <filesystem>
#include <string>
#include <vector>

namespace veltrane::gui {
namespace {

// The viewer as the shell has it once switched on, fed the events the trackers make.
class ViewerManagerTest : public ::testing::Test {
protected:
    ViewerManagerTest() { viewer.switchOn(); }
    ~ViewerManagerTest() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    // Fingers on a trackpad of the framework (16000 by 11000 units) or of the event tap (400 by 300 points).
    void touch(std::int64_t deviceId, const std::vector<TouchPoint>& positions, bool framework = false,
               bool ended = false)
    {
        TouchEvent event;
        for (const TouchPoint& pos : positions) {
            Touch finger;
            finger.pos = pos;
            finger.phase = ended ? 8 : 2;
            finger.deviceWidth = framework ? 16000.0f : 400.0f;
            finger.deviceHeight = framework ? 11000.0f : 300.0f;
            finger.id = static_cast<std::int64_t>(event.touches.size());
            finger.touchOrigin = framework ? TouchOrigin::mtEvent : TouchOrigin::nsEvent;
            event.touches.insert(finger);
        }
        event.touchBeginTimestamps = std::make_shared<TouchBeginTimestamps>();
        event.gestureEnded = ended;
        event.deviceId = deviceId;
        event.touchCount = static_cast<std::int64_t>(event.touches.size());
        viewer.showTouches(event);
    }

    // The device's open window, or null.
    static QWidget* window(std::int64_t deviceId)
    {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->objectName() == QString::number(deviceId)) {
                return widget;
            }
        }
        return nullptr;
    }

    // Whether anything darker than the white background is drawn at or next to the point.
    static bool inked(const QImage& image, QPoint point)
    {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                if (qGray(image.pixel(point + QPoint(dx, dy))) < 200) {
                    return true;
                }
            }
        }
        return false;
    }

    testsupport::RecordingSystemLog systemLog;
    ViewerManager viewer{systemLog};
};

TEST_F(ViewerManagerTest, EachDeviceGetsAWindowAsLargeAsItsSurfaceCentredTwentyPointsFurtherEach)
{
    touch(1, {{0.5f, 0.5f}}, true);
    touch(2, {{0.5f, 0.5f}});
    touch(3, {{0.5f, 0.5f}});
    touch(1, {{0.6f, 0.5f}}, true);

    ASSERT_TRUE(window(1) && window(2) && window(3));
    EXPECT_EQ(window(1)->size(), QSize(480, 330));
    EXPECT_EQ(window(2)->size(), QSize(400, 300));
    // Centred, each a step further: the centres, since the sizes differ.
    const QPoint first = window(1)->geometry().center();
    EXPECT_EQ(window(2)->geometry().center() - first, QPoint(20, 20));
    EXPECT_EQ(window(3)->geometry().center() - first, QPoint(40, 40));
    const std::pair opened{platform::SystemLogLevel::info,
                           std::string("com-marrowind-Veltrane Opened viewer")};
    EXPECT_EQ(systemLog.lines, std::vector(3, opened));
}

TEST_F(ViewerManagerTest, AClosedWindowStaysClosedUntilAResetOrUntilTheLastClosedSwitchesTheViewerOff)
{
    touch(1, {{0.5f, 0.5f}});
    touch(2, {{0.5f, 0.5f}});
    window(1)->close();
    touch(1, {{0.5f, 0.5f}});
    EXPECT_EQ(window(1), nullptr);
    EXPECT_NE(window(2), nullptr);
    EXPECT_TRUE(viewer.isShowing());
    viewer.resetClosedViewers();
    touch(1, {{0.5f, 0.5f}});
    EXPECT_NE(window(1), nullptr);

    window(1)->close();
    window(2)->close();
    EXPECT_FALSE(viewer.isShowing());
    touch(1, {{0.5f, 0.5f}});
    EXPECT_EQ(window(1), nullptr);
    // Switched on again, the viewer has forgotten the windows closed before.
    viewer.switchOn();
    touch(1, {{0.5f, 0.5f}});
    touch(2, {{0.5f, 0.5f}});
    EXPECT_NE(window(1), nullptr);
    EXPECT_NE(window(2), nullptr);
}

TEST_F(ViewerManagerTest, TouchesAreCirclesWhereTheFingersLieWithTheTopEdgeUpUntilTheyLift)
{
    touch(1, {{0.5f, 0.25f}, {0.1f, 0.9f}});
    const QImage image = window(1)->grab().toImage();

    // Centred at (200, 225) and (40, 30) from the window's top left, outlined and not filled.
    EXPECT_TRUE(inked(image, {215, 225}));
    EXPECT_TRUE(inked(image, {200, 240}));
    EXPECT_FALSE(inked(image, {200, 225}));
    EXPECT_TRUE(inked(image, {40, 15}));
    EXPECT_TRUE(inked(image, {25, 30}));
    EXPECT_EQ(image.pixelColor(200, 75), Qt::white);
    EXPECT_EQ(image.pixelColor(390, 290), Qt::white);

    // For a reviewer, with the pictures of the program's other windows.
    std::filesystem::create_directories(VELTRANE_SCREENSHOTS);
    EXPECT_TRUE(image.save(VELTRANE_SCREENSHOTS "/touch-viewer.png"));

    // Lifting the fingers clears the window, draws no ended finger, and opens none for a new device.
    touch(1, {{0.5f, 0.25f}}, false, true);
    touch(2, {{0.5f, 0.5f}}, false, true);
    EXPECT_FALSE(inked(window(1)->grab().toImage(), {215, 225}));
    EXPECT_EQ(window(2), nullptr);
    EXPECT_EQ(systemLog.lines.size(), 1u);
}

}  // namespace
}  // namespace veltrane::gui
