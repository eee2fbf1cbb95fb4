// A page host that loads nothing, refuses every navigation and never fires a
// timer: a page engine given a document only parses it and runs its scripts.
// For measuring or fuzzing the engine alone.
#pragma once

#include <functional>
#include <string>

#include "platform/webkit/page_engine.h"

namespace platform::testing {

class InertPageHost : public webkit::PageHost {
public:
    bool navigate(const webkit::Navigation&, std::function<void(const webkit::LoadResult&)>) override { return false; }
    void pageFinishedLoading() override {}
    void pageFailedLoading(NSError*) override {}
    LoadId loadSubresource(NSURLRequest*, std::function<void(const webkit::LoadResult&)>) override { return 0; }
    void cancelSubresource(LoadId) override {}
    TimerId scheduleTimer(double, std::function<void()>) override { return 0; }
    void cancelTimer(TimerId) override {}
    std::string userAgent() const override { return "inert"; }
    Size viewSize() const override { return Size{320, 50}; }
};

}  // namespace platform::testing
