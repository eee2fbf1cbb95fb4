#include "platform/preferences/settings_app.h"

#include <algorithm>

#include "platform/foundation/dynamic_library.h"
#include "platform/foundation/file_system.h"
#include "platform/foundation/plist.h"
#include "platform/runtime/call_log.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"

namespace platform::preferences {

namespace {

constexpr const char* kRootClass = "PrefsListController";
constexpr const char* kDelegateClass = "PreferencesAppDelegate";

struct App {
    Ref<UIWindow> window;
    Ref<UINavigationController> navigation;
};
App& app() {
    static auto* a = new App();
    return *a;
}

Class* rootClass() {
    static Class* c = objc_getClass(kRootClass);
    return c;
}

// One link row per entry file, in the order of the files' names.
Value entrySpecifiers(id self) {
    auto* page = as<PSListController>(self);
    if (page->specifiers_.isArray()) return page->specifiers_;
    std::vector<std::string> files = fs::listDirectory(kPreferenceLoaderFolder);
    std::sort(files.begin(), files.end());
    Value::Array rows;
    for (const std::string& file : files) {
        if (file.size() <= 6 || !file.ends_with(".plist")) continue;
        Value entry = plist::readFile(fs::join(kPreferenceLoaderFolder, file))["entry"];
        if (!entry["bundle"].isString()) continue;
        if (Ref<PSSpecifier> row = PSSpecifier::fromDescription(entry, self, entryBundlePath(entry["bundle"].string()))) rows.emplace_back(row);
    }
    page->specifiers_ = Value(std::move(rows));
    return page->specifiers_;
}

void openEntry(id self, id table, id indexPath) {
    Ref<PSListController> protector(as<PSListController>(self));
    auto* p = as<NSIndexPath>(indexPath);
    Ref<PSSpecifier> row = p ? protector->rowAt(p->path) : nullptr;
    if (!row || !row->property("bundle").isString()) {
        sel::tableView_didSelectRowAtIndexPath_.super(rootClass(), self, table, indexPath);
        return;
    }
    callLog::record(kRootClass, "tableView:didSelectRowAtIndexPath:", row->name.stringOr(""));
    sel::deselectRowAtIndexPath_animated_(table, indexPath, true);
    std::string path = row->bundlePath;
    Ref<NSBundle> bundle = NSBundle::bundleWithPath(path);
    Value principal = bundle ? bundle->objectForInfoDictionaryKey("NSPrincipalClass") : Value();
    if (!principal.isString() || !objc_getClass(principal.string())) loadBundleExecutable(path);
    openBundle(path, row->name.stringOr(""));
}

bool didFinishLaunching(id, id, Value) {
    callLog::record(kDelegateClass, "application:didFinishLaunchingWithOptions:");
    rootNavigationController();
    return true;
}

}  // namespace

UINavigationController* rootNavigationController() {
    App& a = app();
    if (!a.navigation) {
        Ref<Object> list = newObject(objc_getClass(kRootClass) ? kRootClass : "PSListController");
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

bool loadBundleExecutable(std::string_view bundlePath) {
    std::string name = fs::basename(bundlePath);
    if (auto dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
    std::string executable = fs::join(bundlePath, name);
    return fs::exists(executable) && loadDeviceLibrary(executable);
}

std::string entryBundlePath(std::string_view bundleName) { return fs::join(kPreferenceBundlesFolder, std::string(bundleName) + ".bundle"); }

void registerSettingsAppClasses() {
    ClassBuilder<PSListController>::inheritingType(kRootClass, "PSListController")
        .method(sel::specifiers, &entrySpecifiers)
        .method(sel::tableView_didSelectRowAtIndexPath_, &openEntry);
    ClassBuilder<UIResponder>::inheritingType(kDelegateClass, "UIResponder")
        .protocol("UIApplicationDelegate")
        .method(sel::application_didFinishLaunchingWithOptions_, &didFinishLaunching)
        .method(sel::window, [](id) -> Ref<Object> { return app().window; });
}

}  // namespace platform::preferences
