// The application's store-sheet cache: a sheet is taken out once and given
// back for the next ad; a size of 0 or less turns the cache off; a product is
// one key whether named by number or text; every access, also the size
// setter's and the cache getter's, is serialised on the lock queue, and the
// sheets it lets go of are released on the main thread.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

#include "adlib/foundation/application.h"
#include "platform/foundation/run_loop.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib {
namespace {

using testing::AdLibEnvironment;

TEST(StoreSheetCache, ASheetIsTakenOutOnceAndGivenBack) {
    AdLibEnvironment env;
    YBXApplication* app = YBXApplication::sharedApplication();
    ASSERT_TRUE(app);
    Ref<Object> sheet = newObject("NSObject");
    EXPECT_FALSE(app->cachedStoreProductViewControllerForProductID(Value()));
    EXPECT_FALSE(app->cachedStoreProductViewControllerForProductID(Value("1")));
    app->finishedUsingStoreProductViewController(nullptr, Value("1"));
    app->finishedUsingStoreProductViewController(sheet.get(), Value());
    EXPECT_EQ(app->discardableStoreProductViewControllerAppCache()->count(), 0u);

    sel::finishedUsingStoreProductViewController_forProductID_(app, sheet.get(), Value("1"));
    EXPECT_EQ(sel::cachedStoreProductViewControllerForProductID_(app, Value("1")).get(), sheet.get());
    EXPECT_FALSE(app->cachedStoreProductViewControllerForProductID(Value("1")));

    // A sheet given back under a product's number is found under its text, and the other way round.
    app->finishedUsingStoreProductViewController(sheet.get(), Value(42LL));
    EXPECT_EQ(app->cachedStoreProductViewControllerForProductID(Value("42")).get(), sheet.get());
    app->finishedUsingStoreProductViewController(sheet.get(), Value("42"));
    EXPECT_EQ(app->cachedStoreProductViewControllerForProductID(Value(42LL)).get(), sheet.get());

    // Off, by 0 or by a negative size: nothing is kept.
    for (long long size : {0LL, -1LL}) {
        app->setDiscardableStoreProductViewControllerAppCacheMaxSize(1);
        app->setDiscardableStoreProductViewControllerAppCacheMaxSize(size);
        app->finishedUsingStoreProductViewController(sheet.get(), Value("1"));
        EXPECT_FALSE(app->cachedStoreProductViewControllerForProductID(Value("1")));
        EXPECT_FALSE(app->discardableStoreProductViewControllerAppCache());
    }
}

// A sheet that notes the thread it is destroyed on.
struct SheetRecord {
    std::atomic<int> destroyed{0};
    std::atomic<int> destroyedOffMain{0};
};
SheetRecord sheetRecord;

class RecordingSheet : public NSObject {
public:
    ~RecordingSheet() override {
        ++sheetRecord.destroyed;
        if (!NSThread::isMainThread()) ++sheetRecord.destroyedOffMain;
    }
};

TEST(StoreSheetCache, SheetsItLetsGoOfAreReleasedOnTheMainThread) {
    AdLibEnvironment env;
    ClassBuilder<RecordingSheet>("RecordingStoreSheet", "NSObject");
    YBXApplication* app = YBXApplication::sharedApplication();
    ASSERT_TRUE(app);
    std::thread background([&] {
        // Evicted by the next one (the cache keeps one), replaced, then dropped with the cache.
        app->finishedUsingStoreProductViewController(newObject("RecordingStoreSheet").get(), Value("1"));
        app->finishedUsingStoreProductViewController(newObject("RecordingStoreSheet").get(), Value("2"));
        app->finishedUsingStoreProductViewController(newObject("RecordingStoreSheet").get(), Value("2"));
        app->setDiscardableStoreProductViewControllerAppCacheMaxSize(0);
    });
    background.join();
    EXPECT_EQ(sheetRecord.destroyed.load(), 0);
    EXPECT_TRUE(RunLoop::main().runUntil([] { return sheetRecord.destroyed.load() == 3; }, 5.0));
    EXPECT_EQ(sheetRecord.destroyedOffMain.load(), 0);
}

TEST(StoreSheetCache, ThreadsTakeGiveAndResizeTogether) {
    AdLibEnvironment env;
    YBXApplication* app = YBXApplication::sharedApplication();
    ASSERT_TRUE(app);
    std::vector<Ref<Object>> sheets;
    for (int i = 0; i < 4; ++i) sheets.push_back(newObject("NSObject"));
    std::atomic<int> taken{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            const Value productID(std::to_string(t));
            for (int i = 0; i < 200; ++i) {
                app->finishedUsingStoreProductViewController(sheets[t].get(), productID);
                if (app->cachedStoreProductViewControllerForProductID(productID)) ++taken;
            }
        });
    threads.emplace_back([&] {
        for (int i = 0; i < 200; ++i) {
            app->setDiscardableStoreProductViewControllerAppCacheMaxSize(i % 3);
            if (Ref<NSCache> cache = app->discardableStoreProductViewControllerAppCache()) {
                EXPECT_GE(cache->countLimit(), 1);
            }
        }
    });
    for (std::thread& thread : threads) thread.join();
    EXPECT_GT(taken.load(), 0);
    // Each sheet is held by its test reference, and at most once by the cache.
    app->setDiscardableStoreProductViewControllerAppCacheMaxSize(0);
    // The threads' evictions are let go of on the main thread.
    RunLoop::main().runUntil([&] { return std::all_of(sheets.begin(), sheets.end(), [](const Ref<Object>& s) { return s->retainCount() == 1; }); }, 5.0);
    for (const Ref<Object>& sheet : sheets) EXPECT_EQ(sheet->retainCount(), 1);
}

}  // namespace
}  // namespace adlib
