// The application's store-sheet cache: a sheet is taken out once and given
// back for the next ad; a size of 0 turns the cache off; every access, also
// the size setter's and the cache getter's, is serialised on the lock queue.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "adlib/foundation/application.h"
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

    // Off: nothing is kept.
    app->setDiscardableStoreProductViewControllerAppCacheMaxSize(0);
    app->finishedUsingStoreProductViewController(sheet.get(), Value("1"));
    EXPECT_FALSE(app->cachedStoreProductViewControllerForProductID(Value("1")));
    EXPECT_FALSE(app->discardableStoreProductViewControllerAppCache());
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
    for (const Ref<Object>& sheet : sheets) EXPECT_EQ(sheet->retainCount(), 1);
}

}  // namespace
}  // namespace adlib
