#include <gtest/gtest.h>

#include <QApplication>
#include <QtGlobal>

#include <memory>

namespace {

// One application object for the whole test program, on the offscreen platform so that windows
// work without a display, and gone before the program's static objects are.
class OffscreenApplication final : public ::testing::Environment {
public:
    void SetUp() override
    {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }

    void TearDown() override { application_.reset(); }

private:
    static inline int argc_ = 1;
    static inline char name_[] = "veltrane_test";
    static inline char* argv_[] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};

const auto* const registered = ::testing::AddGlobalTestEnvironment(new OffscreenApplication);

}  // namespace
