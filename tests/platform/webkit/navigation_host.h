// A page host for tests of pages that speak through navigations: it records
// every navigation the page asks for and refuses it, runs the page's timers on
// the main run loop, and records the subresources asked for without loading them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/webkit/page_engine.h"

namespace platform::testing {

class NavigationHost : public webkit::PageHost {
public:
    explicit NavigationHost(Size size = {0, 0}) : size_(size) {}

    std::vector<std::string> navigations;
    std::vector<std::string> subresources;
    int finished = 0;

    bool navigate(const webkit::Navigation& navigation, std::function<void(const webkit::LoadResult&)>) override {
        navigations.push_back(navigation.request->URL()->absoluteString());
        return false;
    }
    void pageFinishedLoading() override { ++finished; }
    void pageFailedLoading(NSError*) override {}
    LoadId loadSubresource(NSURLRequest* request, std::function<void(const webkit::LoadResult&)>) override {
        subresources.push_back(request->URL()->absoluteString());
        return 0;
    }
    void cancelSubresource(LoadId) override {}
    TimerId scheduleTimer(double seconds, std::function<void()> fire) override {
        return RunLoop::main().schedule(seconds, std::move(fire));
    }
    void cancelTimer(TimerId timer) override { RunLoop::main().cancel(timer); }
    std::string userAgent() const override { return "Mozilla/5.0"; }
    Size viewSize() const override { return size_; }

private:
    Size size_;
};

}  // namespace platform::testing
