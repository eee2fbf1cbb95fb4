#include "settings/pages.h"

#include "platform/uikit/application.h"
#include "platform/frameworks/messageui.h"
#include "platform/uikit/image.h"
#include "settings/support_mail.h"

namespace rousa {

namespace {

constexpr char kRootClass[] = "Rousa2ListController", kRootPlist[] = "Rousa2";
constexpr char kConfigurationClass[] = "Rousa2ConfigurationListController", kConfigurationPlist[] = "Rousa2Configuration";
constexpr char kTimeClass[] = "Rousa2TimeListController", kTimePlist[] = "Rousa2Time";
constexpr char kDefaultsClass[] = "Rousa2DefaultListController", kDefaultsPlist[] = "Rousa2Defaults";
constexpr char kActivatorClass[] = "Rousa2ActivatorListController", kActivatorPlist[] = "Rousa2Activator";
constexpr char kCreditsClass[] = "Rousa2CreditsListController", kCreditsPlist[] = "Rousa2Credits";

// Each page's init names its page description, then runs the base's.
template <const char* ClassName, const char* PlistName>
Ref<Object> initPage(id self) {
    static Class* const defining = objc_getClass(ClassName);
    if (auto* page = as<Rousa2BaseController>(self)) page->plistName = Value(PlistName);
    return sel::init.super(defining, self);
}

template <const char* ClassName, const char* PlistName>
ClassBuilder<Rousa2BaseController> page() {
    return std::move(ClassBuilder<Rousa2BaseController>::inheritingType(ClassName, "Rousa2BaseController")
                         .method(sel::init, &initPage<ClassName, PlistName>));
}

Class* rootClass() {
    static Class* c = objc_getClass(kRootClass);
    return c;
}

Ref<Object> navigationBar(id self) { return sel::navigationBar(sel::navigationController(self)); }

// --- the root page ----------------------------------------------------------------------------

void showTitleImage(id self, Value) {
    Ref<Object> image = sel::imageWithContentsOfFile_(objc_getClass("UIImage"), Value(kTitleImagePath));
    Size size = sel::size(image);
    double windowWidth = sel::bounds(sel::keyWindow(sel::sharedApplication(objc_getClass("UIApplication")))).width();
    double barHeight = sel::frame(navigationBar(self)).height();
    Ref<Object> view = sel::initWithFrame_(alloc("UIImageView"),
                                           Rect(windowWidth * 0.5 - size.width * 0.5, (barHeight - size.height) * 0.5, size.width, size.height));
    sel::setImage_(view, image);
    sel::setTitleView_(sel::navigationItem(self), view);
}

void websiteClicked(id, id) { sel::openURL_(sel::sharedApplication(objc_getClass("UIApplication")), Value(kWebsiteAddress)); }

void rootViewWillDisappear(id self, bool animated) {
    sel::viewWillDisappear_.super(rootClass(), self, animated);
    removePackageListsOf(self);
    Ref<Object> bar = navigationBar(self);
    sel::setTintColor_(bar, nullptr);
    sel::setBarTintColor_(bar, nullptr);
}

// --- the time formats ---------------------------------------------------------------------------

Value timeFormatSpecifiers(id self) {
    auto* page = as<Rousa2BaseController>(self);
    if (page->specifiers_.count() == 0) page->specifiers_ = sel::loadSpecifiersFromPlistName_target_(self, Value("WKSTimeFormat"), self);
    return page->specifiers_;
}

}  // namespace

void registerPageClasses() {
    page<kRootClass, kRootPlist>()
        .method(sel::setTitle_, &showTitleImage)
        .method(sel::websiteClicked_, &websiteClicked)
        .method(sel::supportClicked_, &supportClicked)
        .method(sel::mailComposeController_didFinishWithResult_error_, &mailComposeControllerDidFinish)
        .method(sel::viewWillDisappear_, &rootViewWillDisappear);
    page<kConfigurationClass, kConfigurationPlist>();
    page<kTimeClass, kTimePlist>();
    page<kDefaultsClass, kDefaultsPlist>();
    page<kActivatorClass, kActivatorPlist>();
    page<kCreditsClass, kCreditsPlist>();
    ClassBuilder<Rousa2BaseController>::inheritingType("WKSTimeFormatListController", "Rousa2BaseController")
        .method(sel::specifiers, &timeFormatSpecifiers);
}

}  // namespace rousa
