// The real page engine: the page's HTML parsed with Gumbo into a DOM, its
// scripts run in order in Duktape, with the DOM, events, timers, `location`
// and `console` that creatives use (page_script.js). Everything that leaves
// the page (navigations, script, frame and image loads, timers) goes through
// the host, so the web view's delegate and URL loading see it.
//
// Each document gets a heap of its own. Every call into the page (a parse
// step, a timer, a load's end, an evaluated script) runs under the engine's
// limits: a memory ceiling for the heap and a budget of executed
// instructions, counted by the interpreter, not by the clock, so a runaway
// creative stops at the same point in every build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/webkit/page_engine.h"

namespace platform::webkit {

struct PageLimits {
    std::size_t memoryBytes = 64u << 20;
    std::uint64_t instructions = 40'000'000;
};

class RealPageEngine : public PageEngine {
public:
    explicit RealPageEngine(PageHost& host, PageLimits limits = {});
    ~RealPageEngine() override;

    void loadDocument(const std::string& html, NSURL* baseURL) override;
    ScriptResult evaluateScript(const std::string& script) override;
    void stop() override;
    PageContent visibleContent() const override;

    // Makes new web views run real pages.
    static void install();

    class Document;

private:
    PageHost& host_;
    PageLimits limits_;
    std::shared_ptr<Document> document_;
};

}  // namespace platform::webkit
