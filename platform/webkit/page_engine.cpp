#include "platform/webkit/page_engine.h"

#include <mutex>

#include "platform/webkit/scripted_page_engine.h"

namespace platform::webkit {
namespace {

std::mutex factoryMutex;
PageEngineFactory& factory() {
    static PageEngineFactory f;
    return f;
}

}  // namespace

void setPageEngineFactory(PageEngineFactory f) {
    std::lock_guard lock(factoryMutex);
    factory() = std::move(f);
}

std::unique_ptr<PageEngine> makePageEngine(PageHost& host) {
    PageEngineFactory f;
    {
        std::lock_guard lock(factoryMutex);
        f = factory();
    }
    if (f)
        if (auto engine = f(host)) return engine;
    return std::make_unique<ScriptedPageEngine>(host);
}

}  // namespace platform::webkit
