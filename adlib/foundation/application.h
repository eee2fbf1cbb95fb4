// YBXApplication: the ad library's one process-wide object. It numbers every
// ad request, keeps the app-wide and per-slot statistics that ride along
// with the requests, collects the ad statistics waiting to be sent, times the
// user's absence after an ad click took them out of the app, and knows the
// host app's state (launched, active, store metadata). Made once on the main
// thread (it reads UIApplication), never released, then used from any thread:
// each of its three serial queues guards its own fields.
#pragma once

#include <functional>

#include <map>
#include <string>
#include <vector>

#include "adlib/foundation/selectors.h"
#include "adlib/foundation/session.h"
#include "adlib/foundation/statistic_dictionary.h"
#include "platform/foundation/cache.h"
#include "platform/foundation/dispatch.h"

namespace adlib {

// Keys of the app-wide statistics.
inline constexpr const char* kYBXStatSessionID = "session_id";
inline constexpr const char* kYBXStatTotalRequests = "preqs";
inline constexpr const char* kYBXStatTotalClicks = "pclick";
inline constexpr const char* kYBXStatSequenceNumber = "seq_num";
inline constexpr const char* kYBXStatFirstRequestTime = "basets";
inline constexpr const char* kYBXStatLatestRequestTime = "currts";
// Keys of an ad's statistics: the click time the click handling stored, and
// the [click, return] pairs of each stay out of the app.
inline constexpr const char* kYBXAdStatClickTime = "tclickcurr";
inline constexpr const char* kYBXAdStatClickReturns = "tclick";

class YBXApplication : public NSObject {
public:
    ~YBXApplication() override;

    // The single instance, made on the main thread on first use; null when
    // the class is not registered.
    static YBXApplication* sharedApplication();
    // YES when NSObject answers the library's category probe; otherwise logs
    // how the library must be linked and answers NO.
    static bool verifyCategoryMethodAvailability();
    // The class-load step: the category check, then the launch observer.
    static void load();

    YBXSession* currentSession() const { return currentSession_.get(); }
    YBXStatisticDictionary* statistics() const { return statistics_.get(); }
    dispatch_queue_t notificationSerialQueue() const { return notificationSerialQueue_; }
    dispatch_queue_t statisticsSerialQueue() const { return statisticsSerialQueue_; }
    dispatch_queue_t lockQueue() const { return lockQueue_; }
    // The store-sheet cache, every access on the lock queue (any thread but that queue's own).
    Ref<NSCache> discardableStoreProductViewControllerAppCache() const;
    // 0 (or less) drops the store-sheet cache; otherwise it is made when absent
    // and keeps at most n sheets.
    void setDiscardableStoreProductViewControllerAppCacheMaxSize(long long n);
    // Takes the sheet kept for a product out of the cache; null for no ID or no sheet.
    Ref<Object> cachedStoreProductViewControllerForProductID(const Value& productID);
    // Keeps a loaded sheet for the next ad of the same product.
    void finishedUsingStoreProductViewController(id sheet, const Value& productID);

    bool appFinishedLaunching();
    void setAppFinishedLaunching();
    // Once per process: the MRAID interceptor allowed, the adapter classes scanned.
    void runEarlyActivities();
    // NO only once launch was reported and the app is in the background.
    bool isAppActive();
    // "<Documents>/../iTunesMetadata.plist" standardized; nil without Documents.
    static Value iTunesMetadataPath();
    // The store metadata dictionary, read once; empty when missing or no dictionary.
    static Value iTunesMetadata();
    // The schemes and the built-in ones, strings only, lower-cased.
    static Value normalizedWebViewNavigationSchemes(const Value& schemes);

    // YBXStatisticDictionaryDelegate: told on the notification queue.
    void didUpdateStatisticDictionary(id dictionary);
    // The ad statistics changed since they were last taken (an array of
    // YBXStatisticDictionary objects, each once); taking empties the set.
    Value pendingAdStatistics();
    // Puts back statistics that could not be sent.
    void didNotSendAdStatistics(const Value& statistics);

    // YBXStatisticsAdditions
    // Null unless the identifier is a string; made on first use.
    Ref<YBXStatisticDictionary> slotStatisticsForSlotID(const Value& slotID);
    Value slotStatisticsDictionary();
    void willLeaveApplicationDueToClickOnAd(id ad);
    void didBecomeActive();
    void incrementTotalAdRequestCount();
    void decrementTotalAdRequestCount();
    void incrementTotalAdClickCount();
    void incrementSequenceNumber();
    std::string nextSequenceNumberAsString();
    Value timeSinceFirstAdRequestInMilliseconds();
    // The bookkeeping of one request; the statistics it carries.
    Value nextRequestStatisticsDictionaryForSlot(id slot);

private:
    friend void registerApplicationClass();
    void setUp();

    Ref<Object> backgroundingAd_;  // on statisticsSerialQueue_
    Ref<Object> appBecameActiveObserver_;
    bool appFinishedLaunching_ = false;  // under the object's lock
    Ref<YBXSession> currentSession_;
    Ref<YBXStatisticDictionary> statistics_;
    dispatch_queue_t notificationSerialQueue_ = nullptr;
    dispatch_queue_t statisticsSerialQueue_ = nullptr;
    dispatch_queue_t lockQueue_ = nullptr;
    std::vector<Ref<Object>> adStatistics_;  // on notificationSerialQueue_, each once
    std::map<std::string, Ref<YBXStatisticDictionary>> slotStatistics_;  // on statisticsSerialQueue_
    Ref<NSCache> newStoreSheetCache();
    // Runs the change on the lock queue; what it evicted is let go of on the main thread.
    void changeStoreSheetCache(const std::function<void()>& change);
    Ref<NSCache> storeSheetCache_;  // on lockQueue_
    std::vector<Value> evictedStoreSheets_;  // what the cache let go of (or the cache itself), on lockQueue_ until the caller is back
};

void registerApplicationClass();

}  // namespace adlib
