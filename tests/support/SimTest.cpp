#include "SimTest.h"

namespace veltrane::testing {

SimTest::SimTest() : process_(desktop_.launch())
{
    settle();
}

void SimTest::onMain(const std::function<void()>& task)
{
    process_.mainQueue().async(task);
    settle();
}

std::string SimTest::transcript(const std::vector<std::string>& kinds) const
{
    return desktop_.transcript().text(kinds);
}

}  // namespace veltrane::testing
