#include "platform/uikit/navigation.h"

#include "platform/uikit/value_controls.h"
#include "uikit_test_support.h"

namespace platform::uitest {
namespace {

using Appearance = UIKitTest;

TEST_F(Appearance, ASwitchTakesTheOnTintOfItsNearestContainerThenThePlainProxy) {
    Class* switches = objc_getClass("UISwitch");
    Ref<Object> page = newObject("RecordingController");
    Ref<UIWindow> window = makeWindow();
    sel::addSubview_(window, sel::view(page));
    Ref<UIView> box = makeView(Rect(0, 0, 100, 100), as<UIView>(sel::view(page).get()));
    Ref<Object> toggle = newObject("UISwitch");
    sel::addSubview_(box, toggle);
    EXPECT_FALSE(sel::onTintColor(toggle));

    Ref<UIColor> red = UIColor::rgba(1, 0, 0, 1), green = UIColor::rgba(0, 1, 0, 1), blue = UIColor::rgba(0, 0, 1, 1);
    sel::setOnTintColor_(sel::appearance(switches), red);
    EXPECT_EQ(sel::onTintColor(toggle).get(), red.get());
    Ref<Object> inControllers = sel::appearanceWhenContainedIn_(switches, objc_getClass("RecordingController"));
    EXPECT_EQ(inControllers.get(), sel::appearanceWhenContainedIn_(switches, objc_getClass("RecordingController")).get());
    sel::setOnTintColor_(inControllers, green);
    EXPECT_EQ(sel::onTintColor(toggle).get(), green.get());
    sel::setOnTintColor_(sel::appearanceWhenContainedIn_(switches, objc_getClass("UIView")), blue);
    EXPECT_EQ(sel::onTintColor(toggle).get(), blue.get());  // the box is nearer
    sel::setOnTintColor_(toggle, red);
    EXPECT_EQ(sel::onTintColor(toggle).get(), red.get());
}

}  // namespace
}  // namespace platform::uitest
