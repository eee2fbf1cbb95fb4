#include "platform/uikit/application.h"

#include <algorithm>

#include "platform/foundation/notification_center.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/internal.h"
#include "platform/uikit/screen.h"
#include "platform/uikit/window.h"

namespace platform {

namespace uikit {

namespace {
std::mutex schemesMutex;
std::map<std::string, bool>& schemeAnswers() {
    static auto* answers = new std::map<std::string, bool>();
    return *answers;
}
}  // namespace

void setCanOpenScheme(const std::string& scheme, bool can) {
    std::lock_guard lock(schemesMutex);
    schemeAnswers()[lowercaseString(scheme)] = can;
}

bool canOpenScheme(const std::string& scheme) {
    std::lock_guard lock(schemesMutex);
    auto it = schemeAnswers().find(lowercaseString(scheme));
    return it == schemeAnswers().end() || it->second;
}

}  // namespace uikit

namespace {

constexpr Sel<std::string(id)> urlText{"absoluteString"};

// The scheme of an NSURL or of a URL's text.
std::string urlScheme(const Value& url) {
    Object* o = url.object();
    std::string text = url.isString() ? url.string() : o && respondsToSelector(o, urlText.name) ? urlText(o) : "";
    std::size_t colon = text.find(':');
    return colon == std::string::npos ? "" : text.substr(0, colon);
}

Ref<UIApplication>& shared() {
    static auto* app = new Ref<UIApplication>();
    return *app;
}

Class* applicationClass() {
    static Class* c = objc_getClass("UIApplication");
    return c;
}

bool sendActionTo(id self, SEL action, id target, id sender, id event) {
    (void)self;
    Ref<Object> receiver(target);
    if (!receiver) {
        // A nil target: the first object of the responder chain (from the first
        // responder, else from the sender) that answers the action.
        Ref<Object> r = currentFirstResponder();
        if (!r) r = sender;
        while (r && !respondsToSelector(r, action.name))
            r = respondsToSelector(r, sel::nextResponder.name) ? sel::nextResponder(r) : nullptr;
        receiver = r;
    }
    if (!receiver) return false;
    sendAction(receiver, action.name, sender, event);
    return true;
}

void tell(UIApplication* app, const Sel<void(id, id)>& method, const char* notification) {
    Ref<Object> delegate = sel::delegate(app);
    if (respondsToSelector(delegate, method.name)) method(delegate, app);
    NSNotificationCenter::defaultCenter()->postNotificationName(notification, Value(app));
}

int stockUIApplicationMain(int, char**, Value principalClassName, Value delegateClassName) {
    std::string principal = principalClassName.stringOr("");
    if (principal.empty()) principal = "UIApplication";
    Ref<UIApplication> app = shared();
    if (!app || !isKindOfClass(app, principal)) {
        app = as<UIApplication>(newObject(principal));
        if (!app) raise("NSInternalInconsistencyException",
                        "Unable to instantiate the UIApplication subclass instance. No class named " + principal + " is loaded.");
        shared() = app;
    }
    std::string delegateName = delegateClassName.stringOr("");
    if (!delegateName.empty()) {
        Ref<Object> delegate = newObject(delegateName);
        if (!delegate) raise("NSInternalInconsistencyException",
                             "Unable to instantiate the UIApplication delegate instance. No class named " + delegateName + " is loaded.");
        app->ownedDelegate_ = delegate;
        sel::setDelegate_(app, delegate);
    }
    Ref<Object> delegate = sel::delegate(app);
    if (respondsToSelector(delegate, sel::application_didFinishLaunchingWithOptions_.name))
        sel::application_didFinishLaunchingWithOptions_(delegate, app, Value());
    else if (respondsToSelector(delegate, sel::applicationDidFinishLaunching_.name))
        sel::applicationDidFinishLaunching_(delegate, app);
    NSNotificationCenter::defaultCenter()->postNotificationName(UIApplicationDidFinishLaunchingNotification, Value(app));
    app->applicationState_ = UIApplicationStateActive;
    tell(app.get(), sel::applicationDidBecomeActive_, UIApplicationDidBecomeActiveNotification);
    if (!clock::isVirtual()) RunLoop::main().run();
    return 0;
}

using MainFunction = int (*)(int, char**, Value, Value);

FunctionSlot& mainSlot() {
    static FunctionSlot slot{"UIApplicationMain", reinterpret_cast<IMP>(&stockUIApplicationMain), &typeid(MainFunction)};
    return slot;
}

}  // namespace

int UIApplicationMain(int argc, char** argv, Value principalClassName, Value delegateClassName) {
    return reinterpret_cast<MainFunction>(mainSlot().current)(argc, argv, std::move(principalClassName), std::move(delegateClassName));
}

UIApplication* UIApplication::sharedApplication() {
    if (!shared()) shared() = as<UIApplication>(newObject("UIApplication"));
    return shared().get();
}

namespace uikit::detail {

void registerApplication() {
    registerHookableFunction(reinterpret_cast<IMP>(&UIApplicationMain), &mainSlot());
    ClassBuilder<UIApplication>("UIApplication", "UIResponder")
        .classMethod(sel::sharedApplication, [](id) -> Ref<Object> { return Ref<Object>(UIApplication::sharedApplication()); })
        .method(sel::init,
                [](id self) -> Ref<Object> {
                    Ref<Object> base = sel::init.super(applicationClass(), self);
                    if (auto* app = as<UIApplication>(base.get())) shared() = app;
                    return base;
                })
        .method(sel::nextResponder,
                [](id self) -> Ref<Object> {
                    Ref<Object> delegate = as<UIApplication>(self)->delegate_.lock();
                    return isKindOfClass(delegate, "UIResponder") ? delegate : nullptr;
                })
        .method(sel::delegate, [](id self) -> Ref<Object> { return as<UIApplication>(self)->delegate_.lock(); })
        .method(sel::setDelegate_, [](id self, id delegate) { as<UIApplication>(self)->delegate_ = delegate; })
        .method(sel::keyWindow, [](id) -> Ref<Object> { return UIWindow::keyWindow(); })
        .method(sel::windows,
                [](id) {
                    Value::Array out;
                    for (const auto& w : UIWindow::allWindows()) out.emplace_back(w);
                    return Value(std::move(out));
                })
        .method(sel::openURL_,
                [](id self, Value url) {
                    if (url.isNil()) return false;
                    as<UIApplication>(self)->openedURLs_.push_back(url);
                    return true;
                })
        .method(sel::canOpenURL_, [](id, Value url) { return !url.isNil() && uikit::canOpenScheme(urlScheme(url)); })
        .method(sel::sendAction_to_from_forEvent_, &sendActionTo)
        .method(sel::sendEvent_,
                [](id, id event) {
                    // Each touch goes to its own window, each window once.
                    std::vector<Ref<UIWindow>> windows;
                    Value touches = sel::allTouches(event);
                    for (const Value& t : touches.array()) {
                        Ref<UIWindow> w(as<UIWindow>(sel::window(t.object()).get()));
                        if (w && std::find(windows.begin(), windows.end(), w) == windows.end()) windows.push_back(w);
                    }
                    for (const auto& w : windows) sel::sendEvent_(w, event);
                })
        .method(sel::statusBarOrientation, [](id self) { return as<UIApplication>(self)->statusBarOrientation_; })
        .method(sel::setStatusBarOrientation_,
                [](id self, long long orientation) {
                    auto* app = as<UIApplication>(self);
                    long long old = app->statusBarOrientation_;
                    if (old == orientation) return;
                    app->statusBarOrientation_ = orientation;
                    uikit::setInterfaceOrientation(orientation);
                    auto* center = NSNotificationCenter::defaultCenter();
                    center->postNotificationName(UIApplicationDidChangeStatusBarOrientationNotification, Value(self),
                                                 Value{{UIApplicationStatusBarOrientationUserInfoKey, Value(old)}});
                    center->postNotificationName(UIApplicationDidChangeStatusBarFrameNotification, Value(self));
                })
        .method(sel::statusBarFrame,
                [](id self) {
                    auto* app = as<UIApplication>(self);
                    if (app->statusBarHidden_) return Rect();
                    Rect screen = UIScreen::mainScreen()->bounds();
                    bool landscape = app->statusBarOrientation_ == 3 || app->statusBarOrientation_ == 4;
                    // From iOS 8 on the screen turns with the interface, so the bar stays along its top.
                    bool turned = screen.width() > screen.height();
                    return landscape && !turned ? Rect(0, 0, 20, screen.height()) : Rect(0, 0, screen.width(), 20);
                })
        .method(sel::isStatusBarHidden, [](id self) { return as<UIApplication>(self)->statusBarHidden_; })
        .method(sel::setStatusBarHidden_, [](id self, bool hidden) { as<UIApplication>(self)->statusBarHidden_ = hidden; })
        .property<&UIApplication::idleTimerDisabled_>(sel::isIdleTimerDisabled, sel::setIdleTimerDisabled_)
        .method(sel::applicationState, [](id self) { return as<UIApplication>(self)->applicationState_.load(); });
}

}  // namespace uikit::detail

UIBackgroundTaskIdentifier UIApplication::beginBackgroundTaskWithExpirationHandler(std::function<void()> handler) {
    std::lock_guard guard(tasksMutex_);
    UIBackgroundTaskIdentifier identifier = ++lastTask_;
    tasks_.emplace(identifier, std::move(handler));
    return identifier;
}

void UIApplication::endBackgroundTask(UIBackgroundTaskIdentifier identifier) {
    std::lock_guard guard(tasksMutex_);
    tasks_.erase(identifier);
}

std::size_t UIApplication::outstandingBackgroundTaskCount() const {
    std::lock_guard guard(tasksMutex_);
    return tasks_.size();
}

void UIApplication::expireBackgroundTasks() {
    std::vector<std::pair<UIBackgroundTaskIdentifier, std::function<void()>>> due;
    {
        std::lock_guard guard(tasksMutex_);
        due.assign(tasks_.begin(), tasks_.end());
    }
    for (auto& [identifier, handler] : due) {
        {
            // A handler run earlier in this pass may have ended this task.
            std::lock_guard guard(tasksMutex_);
            if (!tasks_.count(identifier)) continue;
        }
        if (handler) handler();
    }
}

namespace lifecycle {

void resignActive() {
    auto* app = UIApplication::sharedApplication();
    if (app->applicationState_ != UIApplicationStateActive) return;
    app->applicationState_ = UIApplicationStateInactive;
    tell(app, sel::applicationWillResignActive_, UIApplicationWillResignActiveNotification);
}

void enterBackground() {
    auto* app = UIApplication::sharedApplication();
    if (app->applicationState_ == UIApplicationStateBackground) return;
    resignActive();
    app->applicationState_ = UIApplicationStateBackground;
    tell(app, sel::applicationDidEnterBackground_, UIApplicationDidEnterBackgroundNotification);
}

void enterForeground() {
    auto* app = UIApplication::sharedApplication();
    if (app->applicationState_ != UIApplicationStateBackground) return;
    app->applicationState_ = UIApplicationStateInactive;
    tell(app, sel::applicationWillEnterForeground_, UIApplicationWillEnterForegroundNotification);
}

void becomeActive() {
    auto* app = UIApplication::sharedApplication();
    if (app->applicationState_ == UIApplicationStateActive) return;
    enterForeground();
    app->applicationState_ = UIApplicationStateActive;
    tell(app, sel::applicationDidBecomeActive_, UIApplicationDidBecomeActiveNotification);
}

void receiveMemoryWarning() {
    tell(UIApplication::sharedApplication(), sel::applicationDidReceiveMemoryWarning_, UIApplicationDidReceiveMemoryWarningNotification);
}

void terminate() { tell(UIApplication::sharedApplication(), sel::applicationWillTerminate_, UIApplicationWillTerminateNotification); }

}  // namespace lifecycle
}  // namespace platform
