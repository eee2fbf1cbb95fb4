// What the SDK-core tests share: manual queues drained to a standstill, the
// page's address answered by the scripted transport and engine, and a
// delegate of the message handler that records what reaches it.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "adlib/foundation/configuration.h"
#include "adlib/pipeline/sdk_core_web_view.h"
#include "platform/foundation/run_loop.h"
#include "platform/network/transport.h"
#include "platform/network/url.h"
#include "platform/webkit/scripted_page_engine.h"
#include "tests/adlib/adlib_fixture.h"

namespace adlib::testing {

// Runs every queue given, the background queue and the main loop's due work
// until nothing is left to run; the virtual clock stands still.
inline void settle(std::initializer_list<dispatch_queue_t> queues) {
    for (int round = 0; round < 100; ++round) {
        std::size_t ran = 0;
        for (dispatch_queue_t q : queues) ran += dispatch::drainAll(q);
        ran += dispatch::drainAll(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_BACKGROUND, 0));
        ran += dispatch::drainAll(dispatch_get_global_queue(DISPATCH_QUEUE_PRIORITY_DEFAULT, 0));
        Date due;
        const bool mainWork = RunLoop::main().nextDue(&due) && due <= NSDate::date();
        if (mainWork) platform::testing::advance(0);
        if (ran == 0 && !mainWork) return;
    }
    ADD_FAILURE() << "the queues did not come to rest";
}

inline Ref<NSURLRequest> requestFor(std::string_view text) {
    Ref<NSURL> url = NSURL::URLWithString(text);
    EXPECT_TRUE(url) << text;
    return NSURLRequest::requestWithURL(url.get());
}

// A fixture in manual queue mode with the page served by the scripted transport.
class ManualSDKCore : public ::testing::Test {
protected:
    ManualSDKCore() {
        network::setTransport(transport);
        transport->answer(YBXSDKCorePageURL(), ScriptedTransport::Script::body({"<html>sdk core</html>"}));
    }
    // Before the environment, so that no block is queued before the mode is set.
    struct ManualMode {
        ManualMode() { dispatch::setMode(dispatch::Mode::manual); }
    } manualMode;
    AdLibEnvironment env;
    std::shared_ptr<ScriptedTransport> transport = std::make_shared<ScriptedTransport>();
    webkit::ScriptedPages& pages = webkit::ScriptedPages::shared();

    // Documents loaded at the page's address.
    std::size_t pageLoads() const {
        std::size_t n = 0;
        for (const std::string& d : pages.documents()) n += d == YBXSDKCorePageURL();
        return n;
    }
    // Scripts evaluated that begin with the text.
    std::vector<std::string> evaluatedStartingWith(std::string_view start) const {
        std::vector<std::string> found;
        for (const std::string& s : pages.evaluated())
            if (s.rfind(start, 0) == 0) found.push_back(s);
        return found;
    }
};

}  // namespace adlib::testing
