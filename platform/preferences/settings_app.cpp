#include "platform/preferences/settings_app.h"

#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"

namespace platform::preferences {

namespace {
struct App {
    Ref<UIWindow> window;
    Ref<UINavigationController> navigation;
};
App& app() {
    static auto* a = new App();
    return *a;
}
}  // namespace

UINavigationController* rootNavigationController() {
    App& a = app();
    if (!a.navigation) {
        Ref<Object> list = newObject("PSListController");
        a.navigation = as<UINavigationController>(sel::initWithRootViewController_(alloc("UINavigationController"), list));
        sel::setTitle_(list, Value("Settings"));
        a.window = UIView::make<UIWindow>("UIWindow", UIScreen::mainScreen()->bounds());
        sel::setRootViewController_(a.window, a.navigation);
        sel::makeKeyAndVisible(a.window);
    }
    return a.navigation.get();
}

Ref<PSListController> openBundle(std::string_view bundlePath, std::string_view label) {
    Ref<NSBundle> bundle = NSBundle::bundleWithPath(bundlePath);
    if (!bundle) return nullptr;
    Ref<PSListController> root(as<PSListController>(newObject(bundle->objectForInfoDictionaryKey("NSPrincipalClass").stringOr("")).get()));
    if (!root) return nullptr;
    Ref<PSSpecifier> entry = PSSpecifier::fromDescription(
        Value{{"cell", Value("PSLinkCell")}, {"label", Value(label)}, {"detail", Value(root->isa()->name())}}, rootNavigationController()->stack_.front(),
        bundle->bundlePath());
    sel::setSpecifier_(root, entry);
    // The entry's page is titled once it is on the stack, under the bar.
    sel::pushViewController_animated_(rootNavigationController(), root, true);
    sel::setTitle_(root, Value(label));
    return root;
}

}  // namespace platform::preferences
