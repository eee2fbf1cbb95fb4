#include "platform/webkit/page_engine.h"

#include <mutex>

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
    if (f) return f(host);
    return nullptr;
}

}  // namespace platform::webkit
