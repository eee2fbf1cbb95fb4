#include "settings/base_controller.h"

#include "platform/foundation/timer.h"
#include "platform/uikit/navigation.h"
#include "tweak/engine/localizer.h"

namespace rousa {

namespace {

Class* baseClass() {
    static Class* c = objc_getClass("Rousa2BaseController");
    return c;
}

Rousa2BaseController* base(id self) { return as<Rousa2BaseController>(self); }

Ref<Object> navigationBarOfItem(id self) { return sel::navigationBar(sel::navigationItem(self)); }

Value specifiers(id self) {
    auto* page = base(self);
    if (page->specifiers_.count() == 0) page->specifiers_ = sel::loadSpecifiersFromPlistName_target_(self, page->plistName, self);
    return RS2Localizer::sharedLocalizer()->localizedSpecifiersForSpecifiers(page->specifiers_);
}

void viewDidLoad(id self) {
    Ref<Object> compose = sel::initWithBarButtonSystemItem_target_action_(alloc("UIBarButtonItem"), UIBarButtonSystemItemCompose, self, sel::tweetSP);
    sel::setRightBarButtonItem_(sel::navigationItem(self), compose);
    sel::viewDidLoad.super(baseClass(), self);
    NSTimer::scheduledTimerWithTimeInterval(0.5, self, sel::increaseAlpha, Value(), false);
}

void tweetSP(id self) {
    Ref<Object> sheet = newObject("TWTweetComposeViewController");
    sel::setInitialText_(sheet, Value(kShareText));
    sel::presentViewController_animated_completion_(self, sheet, true, nullptr);
}

void viewWillAppear(id self, bool animated) {
    sel::viewWillAppear_.super(baseClass(), self, animated);
    Ref<Object> accent = settingsAccentColor();
    sel::setTintColor_(sel::view(self), accent);
    sel::setTintColor_(navigationBarOfItem(self), accent);
    sel::setOnTintColor_(sel::appearanceWhenContainedIn_(objc_getClass("UISwitch"), self->isa()), accent);
}

// The credits header tops the first section of every page but the lock-screen position page.
bool hasCreditsHeader(id self, long long section) { return section == 0 && base(self)->plistName != Value(kPositionPlistName); }

Ref<Object> viewForHeader(id self, id, long long section) { return hasCreditsHeader(self, section) ? newObject("RS2CustomHeaderView") : nullptr; }

double heightForHeader(id self, id, long long section) { return hasCreditsHeader(self, section) ? kCreditsHeaderHeight : -1.0; }

void viewDidAppear(id self, bool animated) {
    sel::viewDidAppear_.super(baseClass(), self, animated);
    sel::setTintColor_(navigationBarOfItem(self), settingsAccentColor());
}

}  // namespace

Ref<Object> settingsAccentColor() { return sel::colorWithRed_green_blue_alpha_(objc_getClass("UIColor"), 1.0, 0.231, 0.188, 1.0); }

Ref<Object> accentTitledCell(Class* definingClass, id self, id table, id indexPath) {
    Ref<Object> cell = sel::tableView_cellForRowAtIndexPath_.super(definingClass, self, table, indexPath);
    sel::setTextColor_(sel::titleLabel(cell), settingsAccentColor());
    return cell;
}

void showLocalizedTitle(id self, Value title) {
    std::string localized = RS2Localizer::sharedLocalizer()->localizedStringForKey(title.stringOr(""), Value());
    Ref<Object> item = sel::navigationItem(self);
    if (!sel::titleView(item)) {
        Ref<Object> label = sel::initWithFrame_(alloc("UILabel"), Rect());
        sel::setBackgroundColor_(label, sel::clearColor(objc_getClass("UIColor")));
        sel::setFont_(label, sel::systemFontOfSize_(objc_getClass("UIFont"), 20));
        sel::setTextColor_(label, settingsAccentColor());
        sel::setTitleView_(item, label);
    }
    Ref<Object> label = sel::titleView(item);
    sel::setText_(label, Value(localized));
    sel::sizeToFit(label);
}

void fadeInTitle(id self) {
    Ref<Object> titleView = sel::titleView(sel::navigationItem(self));
    UIView::animateWithDuration(0.5, [titleView] { sel::setAlpha_(titleView, 1.0); });
}

void registerBaseControllerClass() {
    ClassBuilder<Rousa2BaseController>("Rousa2BaseController", "PSListController")
        .protocol("MFMailComposeViewControllerDelegate")
        .ivar<&Rousa2BaseController::plistName>("_plistName")
        .method(sel::specifiers, &specifiers)
        .method(sel::viewDidLoad, &viewDidLoad)
        .method(sel::increaseAlpha, &fadeInTitle)
        .method(sel::tweetSP, &tweetSP)
        .method(sel::viewWillAppear_, &viewWillAppear)
        .method(sel::viewDidAppear_, &viewDidAppear)
        .method(sel::tableView_cellForRowAtIndexPath_,
                [](id self, id table, id indexPath) { return accentTitledCell(baseClass(), self, table, indexPath); })
        .method(sel::setTitle_, &showLocalizedTitle)
        .method(sel::tableView_viewForHeaderInSection_, &viewForHeader)
        .method(sel::tableView_heightForHeaderInSection_, &heightForHeader)
        .method(sel::preferredHeightForWidth_, [](id, double) { return 100.0; });
}

}  // namespace rousa
