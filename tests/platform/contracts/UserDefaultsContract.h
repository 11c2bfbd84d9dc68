#pragma once

#include "platform/UserDefaults.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

namespace veltrane::contracts {

// What every user defaults backend must do, written once against the port. A backend runs it with
// INSTANTIATE_TYPED_TEST_SUITE_P(Name, UserDefaultsContract, Harness), where Harness is default
// constructible around an empty store and has
//   std::unique_ptr<Store> open();  // Store a platform::UserDefaults
// giving the store as a process sees it when it starts: a later open sees what earlier ones wrote.
template <class Harness> class UserDefaultsContract : public ::testing::Test {
protected:
    Harness harness;
    std::unique_ptr<platform::UserDefaults> opened = harness.open();
};

TYPED_TEST_SUITE_P(UserDefaultsContract);

TYPED_TEST_P(UserDefaultsContract, AbsentAndRemovedKeysReadAsNothing)
{
    auto& store = *this->opened;
    EXPECT_FALSE(store.boolForKey("keyRemap"));
    EXPECT_EQ(store.integerForKey("physicalKeycode"), 0);
    EXPECT_EQ(store.floatForKey("quickPressTimeout"), 0.0f);
    EXPECT_EQ(store.stringForKey("lastVersion"), std::nullopt);

    store.setInteger("physicalKeycode", 57);
    store.remove("physicalKeycode");
    store.setString("lastVersion", "1.0");
    store.setString("lastVersion", std::nullopt);
    const std::unique_ptr<platform::UserDefaults> later = this->harness.open();
    for (const auto* view : {&store, later.get()}) {
        EXPECT_EQ(view->integerForKey("physicalKeycode"), 0);
        EXPECT_EQ(view->stringForKey("lastVersion"), std::nullopt);
    }
}

TYPED_TEST_P(UserDefaultsContract, ValuesReadBackAsWrittenNowAndInTheNextProcess)
{
    auto& store = *this->opened;
    store.setBool("on", true);
    store.setBool("off", false);
    store.setInteger("lowest", std::numeric_limits<std::int64_t>::min());
    store.setInteger("highest", std::numeric_limits<std::int64_t>::max());
    store.setFloat("half", 0.5f);
    store.setFloat("nan", std::nanf(""));
    store.setString("empty", "");
    store.setString("apps", "[\"com.apple.Mail\",\"caf\u00e9\"]");
    const std::unique_ptr<platform::UserDefaults> later = this->harness.open();
    for (const auto* view : {&store, later.get()}) {
        EXPECT_TRUE(view->boolForKey("on"));
        EXPECT_FALSE(view->boolForKey("off"));
        EXPECT_EQ(view->integerForKey("lowest"), std::numeric_limits<std::int64_t>::min());
        EXPECT_EQ(view->integerForKey("highest"), std::numeric_limits<std::int64_t>::max());
        EXPECT_EQ(view->floatForKey("half"), 0.5f);
        EXPECT_TRUE(std::isnan(view->floatForKey("nan")));
        EXPECT_EQ(view->stringForKey("empty"), "");
        EXPECT_EQ(view->stringForKey("apps"), "[\"com.apple.Mail\",\"caf\u00e9\"]");
    }
}

// A value stored as one type and read as another converts as a property-list store converts it.
TYPED_TEST_P(UserDefaultsContract, ValuesOfAnotherTypeConvertAsAPropertyListStoreDoes)
{
    auto& store = *this->opened;
    store.setBool("bool", true);
    EXPECT_EQ(store.integerForKey("bool"), 1);
    EXPECT_EQ(store.floatForKey("bool"), 1.0f);
    EXPECT_EQ(store.stringForKey("bool"), std::nullopt);

    store.setInteger("integer", 2);
    EXPECT_TRUE(store.boolForKey("integer"));
    EXPECT_EQ(store.floatForKey("integer"), 2.0f);
    store.setInteger("zero", 0);
    EXPECT_FALSE(store.boolForKey("zero"));

    store.setFloat("negative", -2.9f);
    EXPECT_EQ(store.integerForKey("negative"), -2);
    EXPECT_TRUE(store.boolForKey("negative"));
    store.setFloat("nan", std::nanf(""));
    EXPECT_EQ(store.integerForKey("nan"), 0);
    store.setFloat("huge", 1e30f);
    EXPECT_EQ(store.integerForKey("huge"), std::numeric_limits<std::int64_t>::max());

    store.setString("number", "57 keys");
    EXPECT_EQ(store.integerForKey("number"), 57);
    EXPECT_EQ(store.floatForKey("number"), 57.0f);
    store.setString("word", "caps");
    EXPECT_EQ(store.integerForKey("word"), 0);
    EXPECT_FALSE(store.boolForKey("word"));
    for (const auto& [text, truth] : {std::pair{"YES", true}, {"true", true}, {"7", true}, {"no", false}}) {
        store.setString(text, text);
        EXPECT_EQ(store.boolForKey(text), truth) << text;
    }
}

REGISTER_TYPED_TEST_SUITE_P(UserDefaultsContract, AbsentAndRemovedKeysReadAsNothing,
                            ValuesReadBackAsWrittenNowAndInTheNextProcess,
                            ValuesOfAnotherTypeConvertAsAPropertyListStoreDoes);

}  // namespace veltrane::contracts
