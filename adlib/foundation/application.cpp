#include "adlib/foundation/application.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <mutex>
#include <set>

#include "adlib/foundation/absolute_time.h"
#include "adlib/foundation/macros.h"
#include "adlib/foundation/utilities.h"
#include "platform/foundation/file_manager.h"
#include "platform/foundation/lock.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/operation_queue.h"
#include "platform/foundation/plist.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/application.h"

namespace adlib {

namespace {

// Made once on the main thread and then published for every thread: no
// once-only guard is held while a thread waits for the main thread.
std::atomic<YBXApplication*> sharedInstance{nullptr};

YBXApplication* applicationOf(id self) { return as<YBXApplication>(self); }

Value now() { return Value(static_cast<unsigned long long>(YBXAbsoluteTimeInMilliseconds())); }

}  // namespace

YBXApplication* YBXApplication::sharedApplication() {
    if (YBXApplication* app = sharedInstance.load(std::memory_order_acquire)) return app;
    RunSynchronouslyOnMainThread([] {
        static std::once_flag once;
        std::call_once(once, [] {
            assert(NSThread::isMainThread() && "made on the main thread only");
            Ref<Object> app = sel::init(alloc("YBXApplication"));
            sharedInstance.store(as<YBXApplication>(app.leak()), std::memory_order_release);  // kept for the process
        });
    });
    return sharedInstance.load(std::memory_order_acquire);
}

void YBXApplication::setUp() {
    currentSession_ = YBXSession::make();
    statistics_ = YBXStatisticDictionary::make();
    notificationSerialQueue_ = dispatch_queue_create("com.orvane.marlex.application-notification", DISPATCH_QUEUE_SERIAL);
    statisticsSerialQueue_ = dispatch_queue_create("com.orvane.marlex.application-statistics", DISPATCH_QUEUE_SERIAL);
    lockQueue_ = dispatch_queue_create("com.orvane.marlex.application-ivar-lock", DISPATCH_QUEUE_SERIAL);
    statistics_->setObject(Value(currentSession_->sessionIDAsString()), kYBXStatSessionID, false);
    // Starts at -1, so the first request's bookkeeping makes it 0.
    statistics_->decrementNumberForKey(kYBXStatTotalRequests, false);
    storeSheetCache_ = newStoreSheetCache();
    storeSheetCache_->setCountLimit(1);
    WeakRef<Object> weakSelf(this);
    appBecameActiveObserver_ = NSNotificationCenter::defaultCenter()->addObserverForName(
        UIApplicationDidBecomeActiveNotification, Value(UIApplication::sharedApplication()), NSOperationQueue::mainQueue(),
        [weakSelf](NSNotification*) {
            if (Ref<Object> self = weakSelf.lock()) applicationOf(self)->didBecomeActive();
        });
}

YBXApplication::~YBXApplication() {
    if (appBecameActiveObserver_) NSNotificationCenter::defaultCenter()->removeObserver(appBecameActiveObserver_.get());
    if (statistics_) statistics_->didFinishModifying();
}

bool YBXApplication::verifyCategoryMethodAvailability() {
    if (CheckStaticLibraryCategoriesLoaded()) return true;
    pubLog("The ad library's category methods are not loaded. Link the library so that they are: add -ObjC to the "
           "app's Other Linker Flags.");
    return false;
}

void YBXApplication::load() {
    AutoreleasePool pool;
    if (!verifyCategoryMethodAvailability()) return;
    // Kept for the process, as the class is.
    static Ref<Object> launchObserver = NSNotificationCenter::defaultCenter()->addObserverForName(
        UIApplicationDidFinishLaunchingNotification, Value(), NSOperationQueue::mainQueue(), [](NSNotification*) {
            YBXApplication* app = sharedApplication();
            if (!app) return;
            app->setAppFinishedLaunching();
            app->runEarlyActivities();
        });
}

bool YBXApplication::appFinishedLaunching() {
    Synchronized guard(this);
    return appFinishedLaunching_;
}

void YBXApplication::setAppFinishedLaunching() {
    Synchronized guard(this);
    appFinishedLaunching_ = true;
}

void YBXApplication::runEarlyActivities() {
    static std::once_flag once;
    std::call_once(once, [] {
        // Sent by name: those classes belong to later folders of the library.
        sel::allow(objc_getClass("YBXMRAIDInterceptor"));
        sel::availableAdapterNames(objc_getClass("YBXMAdNetworkAdapter"));
    });
}

bool YBXApplication::isAppActive() {
    Synchronized guard(this);
    return !(appFinishedLaunching_ && sel::applicationState(UIApplication::sharedApplication()) == UIApplicationStateBackground);
}

Value YBXApplication::iTunesMetadataPath() {
    const Value documents = NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true);
    if (!documents.at(0).isString()) return Value();
    return Value(stringByStandardizingPath(
        stringByAppendingPathComponent(stringByAppendingPathComponent(documents.at(0).string(), ".."), "iTunesMetadata.plist")));
}

Value YBXApplication::iTunesMetadata() {
    static const Value* metadata = [] {
        // A missing or unreadable file (the private "File could not be read."
        // error) and anything but a dictionary leave the metadata empty.
        Value path = iTunesMetadataPath();
        Value data = path.isString() ? dataWithContentsOfFile(path.string()) : Value();
        if (!data.isNil()) {
            const Data& bytes = data.data();
            auto parsed = plist::parse(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
            if (parsed && parsed.value().isDictionary()) return new Value(parsed.value());
        }
        return new Value(Value::Dictionary{});
    }();
    return *metadata;
}

Value YBXApplication::normalizedWebViewNavigationSchemes(const Value& schemes) {
    std::set<std::string> normalized{"http", "https", "file", "about", "publishertoolbar", "pmsg"};
    for (const Value& scheme : schemes.array())
        if (scheme.isString()) normalized.insert(lowercaseString(scheme.string()));
    Value::Array out(normalized.begin(), normalized.end());
    return Value(std::move(out));
}

void YBXApplication::didUpdateStatisticDictionary(id dictionary) {
    if (!dictionary) return;
    // Runs on the notification queue, which guards the set.
    if (std::none_of(adStatistics_.begin(), adStatistics_.end(), [dictionary](const Ref<Object>& s) { return s.get() == dictionary; }))
        adStatistics_.emplace_back(dictionary);
}

Value YBXApplication::pendingAdStatistics() {
    Value::Array taken;
    dispatch_sync(notificationSerialQueue_, [&] {
        for (Ref<Object>& s : adStatistics_) taken.emplace_back(s.get());
        adStatistics_.clear();
    });
    return Value(std::move(taken));
}

void YBXApplication::didNotSendAdStatistics(const Value& statistics) {
    dispatch_sync(notificationSerialQueue_, [&] {
        for (const Value& s : statistics.array())
            if (s.object()) didUpdateStatisticDictionary(s.object());
    });
}

Ref<YBXStatisticDictionary> YBXApplication::slotStatisticsForSlotID(const Value& slotID) {
    if (!slotID.isString()) return nullptr;
    Ref<YBXStatisticDictionary> found;
    dispatch_sync(statisticsSerialQueue_, [&] {
        Ref<YBXStatisticDictionary>& slot = slotStatistics_[slotID.string()];
        if (!slot) slot = YBXStatisticDictionary::make();
        found = slot;
    });
    return found;
}

Value YBXApplication::slotStatisticsDictionary() {
    Value::Dictionary all;
    dispatch_sync(statisticsSerialQueue_, [&] {
        for (auto& [slotID, stats] : slotStatistics_) all[slotID] = stats->dictionary();
    });
    return Value(std::move(all));
}

void YBXApplication::willLeaveApplicationDueToClickOnAd(id ad) {
    Ref<YBXApplication> self(this);
    Ref<Object> heldAd(ad);
    dispatch_async(statisticsSerialQueue_, [self, heldAd] { self->backgroundingAd_ = heldAd; });
}

void YBXApplication::didBecomeActive() {
    Ref<Object> ad;
    dispatch_sync(statisticsSerialQueue_, [&] { ad = std::move(backgroundingAd_); });
    if (!ad) return;
    Value returned = now();
    YBXStatisticDictionary* adStatistics = as<YBXStatisticDictionary>(sel::statistics(ad).get());
    if (!adStatistics) return;
    Value clicked = adStatistics->objectForKey(kYBXAdStatClickTime);
    if (clicked.isNil()) return;
    adStatistics->addObjectToArray(Value::array({clicked, returned}), kYBXAdStatClickReturns, true);
}

void YBXApplication::incrementTotalAdRequestCount() { statistics_->incrementNumberForKey(kYBXStatTotalRequests, false); }

void YBXApplication::decrementTotalAdRequestCount() { statistics_->decrementNumberForKey(kYBXStatTotalRequests, false); }

void YBXApplication::incrementTotalAdClickCount() { statistics_->incrementNumberForKey(kYBXStatTotalClicks, false); }

void YBXApplication::incrementSequenceNumber() { statistics_->incrementNumberForKey(kYBXStatSequenceNumber, false); }

std::string YBXApplication::nextSequenceNumberAsString() {
    std::string number;
    dispatch_sync(statisticsSerialQueue_, [&] {
        incrementSequenceNumber();
        number = statistics_->objectForKey(kYBXStatSequenceNumber).description();
    });
    return number;
}

Value YBXApplication::timeSinceFirstAdRequestInMilliseconds() {
    Value first = statistics_->objectForKey(kYBXStatFirstRequestTime);
    if (first.isNil()) return Value(0ULL);
    return Value(now().unsignedLongLongValue() - first.unsignedLongLongValue());
}

Value YBXApplication::nextRequestStatisticsDictionaryForSlot(id slot) {
    Value snapshot;
    dispatch_sync(statisticsSerialQueue_, [&] {
        Value requestTime = now();
        statistics_->setObject(requestTime, kYBXStatLatestRequestTime, false);
        if (statistics_->objectForKey(kYBXStatFirstRequestTime).isNil())
            statistics_->setObject(requestTime, kYBXStatFirstRequestTime, false);
        incrementSequenceNumber();
        // A mediated request was counted when it was first made.
        if (respondsToSelector(slot, sel::isMediating.name) && sel::isMediating(slot))
            decrementTotalAdRequestCount();
        else
            incrementTotalAdRequestCount();
        snapshot = statistics_->dictionary();
    });
    return snapshot;
}

namespace {

// The cache key of a product: the swipe configuration holds a number, the
// opener a string; both name the product by its decimal text.
Value storeSheetKey(const Value& productID) {
    if (productID.isString()) return productID.string().empty() ? Value() : productID;
    if (productID.isNumber() && !productID.isDecimal()) return Value(std::to_string(productID.integerValue()));
    return Value();
}

// Store sheets are controllers: the last reference goes on the main thread.
void releaseOnMainThread(std::vector<Value> sheets) {
    if (sheets.empty() || NSThread::isMainThread()) return;
    dispatch_async(dispatch_get_main_queue(), [sheets = std::move(sheets)] {});
}

}  // namespace

void YBXApplication::changeStoreSheetCache(const std::function<void()>& change) {
    std::vector<Value> evicted;
    dispatch_sync(lockQueue_, [&] {
        change();
        evicted.swap(evictedStoreSheets_);
    });
    releaseOnMainThread(std::move(evicted));
}

Ref<NSCache> YBXApplication::newStoreSheetCache() {
    Ref<NSCache> cache = NSCache::make();
    cache->setDelegate(this);
    return cache;
}

void YBXApplication::setDiscardableStoreProductViewControllerAppCacheMaxSize(long long n) {
    changeStoreSheetCache([&] {
        // A negative limit would mean no limit at all: store sheets are heavy.
        if (n <= 0) {
            // Let go of with what it holds, like an evicted sheet.
            if (storeSheetCache_) evictedStoreSheets_.emplace_back(storeSheetCache_.get());
            storeSheetCache_ = nullptr;
            return;
        }
        if (!storeSheetCache_) storeSheetCache_ = newStoreSheetCache();
        storeSheetCache_->setCountLimit(n);
    });
}

Ref<NSCache> YBXApplication::discardableStoreProductViewControllerAppCache() const {
    Ref<NSCache> cache;
    dispatch_sync(lockQueue_, [&] { cache = storeSheetCache_; });
    return cache;
}

Ref<Object> YBXApplication::cachedStoreProductViewControllerForProductID(const Value& productID) {
    const Value key = storeSheetKey(productID);
    if (key.isNil()) return nullptr;
    Value sheet;
    changeStoreSheetCache([&] {
        if (!storeSheetCache_) return;
        sheet = storeSheetCache_->objectForKey(key.string());
        if (!sheet.isNil()) storeSheetCache_->removeObjectForKey(key.string());
    });
    return Ref<Object>(sheet.object());
}

void YBXApplication::finishedUsingStoreProductViewController(id sheet, const Value& productID) {
    const Value key = storeSheetKey(productID);
    if (!sheet || key.isNil()) return;
    changeStoreSheetCache([&] {
        if (storeSheetCache_) storeSheetCache_->setObject(Value(sheet), key.string());
    });
}

void registerApplicationClass() {
    ClassBuilder<YBXApplication>("YBXApplication", "NSObject")
        .protocol("YBXStatisticDictionaryDelegate")
        .classMethod(sel::sharedApplication, [](id) { return Ref<Object>(YBXApplication::sharedApplication()); })
        .classMethod(sel::verifyCategoryMethodAvailability, [](id) { return YBXApplication::verifyCategoryMethodAvailability(); })
        .classMethod(sel::load, [](id) { YBXApplication::load(); })
        .method(sel::setDiscardableStoreProductViewControllerAppCacheMaxSize_,
                [](id self, long long n) { as<YBXApplication>(self)->setDiscardableStoreProductViewControllerAppCacheMaxSize(n); })
        .method(sel::init,
                [](id self) {
                    applicationOf(self)->setUp();
                    return Ref<Object>(self);
                })
        .method(sel::currentSession, [](id self) { return Ref<Object>(applicationOf(self)->currentSession()); })
        .method(sel::statistics, [](id self) { return Ref<Object>(applicationOf(self)->statistics()); })
        .method(sel::appFinishedLaunching, [](id self) { return applicationOf(self)->appFinishedLaunching(); })
        .method(sel::runEarlyActivities, [](id self) { applicationOf(self)->runEarlyActivities(); })
        .method(sel::isAppActive, [](id self) { return applicationOf(self)->isAppActive(); })
        .method(sel::iTunesMetadataPath, [](id) { return YBXApplication::iTunesMetadataPath(); })
        .method(sel::iTunesMetadata, [](id) { return YBXApplication::iTunesMetadata(); })
        .method(sel::normalizedWebViewNavigationSchemes_,
                [](id, Value schemes) { return YBXApplication::normalizedWebViewNavigationSchemes(schemes); })
        .method(sel::notificationSerialQueue, [](id self) { return applicationOf(self)->notificationSerialQueue(); })
        .method(sel::statisticsSerialQueue, [](id self) { return applicationOf(self)->statisticsSerialQueue(); })
        .method(sel::lockQueue, [](id self) { return applicationOf(self)->lockQueue(); })
        .method(sel::discardableStoreProductViewControllerAppCache,
                [](id self) { return Ref<Object>(applicationOf(self)->discardableStoreProductViewControllerAppCache()); })
        .method(sel::cachedStoreProductViewControllerForProductID_,
                [](id self, Value productID) { return applicationOf(self)->cachedStoreProductViewControllerForProductID(productID); })
        // Heard on the lock queue, where the cache is changed: kept until the caller is back.
        .method(sel::cache_willEvictObject_, [](id self, id, Value sheet) { applicationOf(self)->evictedStoreSheets_.push_back(sheet); })
        .method(sel::finishedUsingStoreProductViewController_forProductID_,
                [](id self, id sheet, Value productID) { applicationOf(self)->finishedUsingStoreProductViewController(sheet, productID); })
        .method(sel::notificationQueue, [](id self) { return applicationOf(self)->notificationSerialQueue(); })
        .method(sel::didUpdateStatisticDictionary_, [](id self, id dictionary) { applicationOf(self)->didUpdateStatisticDictionary(dictionary); })
        .method(sel::pendingAdStatistics, [](id self) { return applicationOf(self)->pendingAdStatistics(); })
        .method(sel::didNotSendAdStatistics_, [](id self, Value statistics) { applicationOf(self)->didNotSendAdStatistics(statistics); })
        .method(sel::slotStatisticsForSlotID_, [](id self, Value slotID) { return Ref<Object>(applicationOf(self)->slotStatisticsForSlotID(slotID)); })
        .method(sel::slotStatisticsDictionary, [](id self) { return applicationOf(self)->slotStatisticsDictionary(); })
        .method(sel::willLeaveApplicationDueToClickOnAd_, [](id self, id ad) { applicationOf(self)->willLeaveApplicationDueToClickOnAd(ad); })
        .method(sel::didBecomeActive, [](id self) { applicationOf(self)->didBecomeActive(); })
        .method(sel::incrementTotalAdRequestCount, [](id self) { applicationOf(self)->incrementTotalAdRequestCount(); })
        .method(sel::decrementTotalAdRequestCount, [](id self) { applicationOf(self)->decrementTotalAdRequestCount(); })
        .method(sel::incrementTotalAdClickCount, [](id self) { applicationOf(self)->incrementTotalAdClickCount(); })
        .method(sel::incrementSequenceNumber, [](id self) { applicationOf(self)->incrementSequenceNumber(); })
        .method(sel::nextSequenceNumberAsString, [](id self) { return applicationOf(self)->nextSequenceNumberAsString(); })
        .method(sel::timeSinceFirstAdRequestInMilliseconds, [](id self) { return applicationOf(self)->timeSinceFirstAdRequestInMilliseconds(); })
        .method(sel::nextRequestStatisticsDictionaryForSlot_,
                [](id self, id slot) { return applicationOf(self)->nextRequestStatisticsDictionaryForSlot(slot); });
}

}  // namespace adlib
