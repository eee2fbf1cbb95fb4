// A connection delegate for tests that writes down every call it hears, in a
// form the tables of expected calls compare against.
#pragma once

#include <string>
#include <vector>

#include "platform/network/connection.h"

namespace platform::testing {

class ConnectionRecorder : public NSObject {
public:
    std::vector<std::string> calls;
    int stopAtHop = -1;  // answer nil to willSendRequest: at this redirect hop (0: the first request)
    int hops = 0;
    bool cancelOnFirstData = false;
    // Pieces of a body arrive as the network cuts them: join them into one call.
    bool joinData = false;
    NSURLConnection* lastConnection = nullptr;

    // Whether the load has ended (finished or failed).
    bool ended() const { return !calls.empty() && (calls.back() == "finish" || calls.back().starts_with("fail ")); }

    static Ref<ConnectionRecorder> make() { return as<ConnectionRecorder>(newObject("TestConnectionRecorder").get()); }

    static void registerClass() {
        ClassBuilder<ConnectionRecorder>("TestConnectionRecorder", "NSObject")
            .method(sel::connection_willSendRequest_redirectResponse_,
                    [](id self, id connection, id request, id redirect) -> Ref<Object> {
                        auto* r = as<ConnectionRecorder>(self);
                        auto* asked = as<NSURLRequest>(request);
                        std::string from =
                            redirect ? " from " + std::to_string(as<NSHTTPURLResponse>(redirect)->statusCode()) : "";
                        r->calls.push_back("willSend " + asked->URL()->absoluteString() + from);
                        r->lastConnection = as<NSURLConnection>(connection);
                        if (r->hops++ == r->stopAtHop) return nullptr;
                        return Ref<Object>(request);
                    })
            .method(sel::connection_didReceiveResponse_,
                    [](id self, id, id response) {
                        auto* http = as<NSHTTPURLResponse>(response);
                        as<ConnectionRecorder>(self)->calls.push_back("response " +
                                                                      std::to_string(http ? http->statusCode() : 0));
                    })
            .method(sel::connection_didReceiveData_,
                    [](id self, id connection, Value data) {
                        auto* r = as<ConnectionRecorder>(self);
                        const Data& bytes = data.data();
                        std::string text(bytes.begin(), bytes.end());
                        if (r->joinData && !r->calls.empty() && r->calls.back().starts_with("data ")) r->calls.back() += text;
                        else r->calls.push_back("data " + text);
                        if (r->cancelOnFirstData) as<NSURLConnection>(connection)->cancel();
                    })
            .method(sel::connectionDidFinishLoading_, [](id self, id) { as<ConnectionRecorder>(self)->calls.push_back("finish"); })
            .method(sel::connection_didFailWithError_, [](id self, id, id error) {
                auto* e = as<NSError>(error);
                as<ConnectionRecorder>(self)->calls.push_back("fail " + e->domain() + " " + std::to_string(e->code()) + " " +
                                                              e->userInfo()[NSURLErrorFailingURLStringErrorKey].string());
            });
    }
};

}  // namespace platform::testing
