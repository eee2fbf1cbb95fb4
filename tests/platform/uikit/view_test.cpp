#include "platform/uikit/view.h"

#include <gtest/gtest.h>

#include "platform/testing/test_environment.h"

namespace platform {
namespace {

TEST(View, Builds) {
    testing::TestEnvironment env;
    auto v = UIView::make("UIView", Rect(0, 0, 10, 10));
    ASSERT_TRUE(v);
}

}  // namespace
}  // namespace platform
