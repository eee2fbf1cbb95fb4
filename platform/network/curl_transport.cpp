#include "platform/network/curl_transport.h"

#include <curl/curl.h>

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

namespace platform {
namespace network {
namespace {
std::atomic<bool> onlyLoopback{false};
}  // namespace

void setLoopbackOnly(bool only) { onlyLoopback = only; }
bool loopbackOnly() { return onlyLoopback; }

}  // namespace network

namespace {

long long codeForCurlError(CURLcode code) {
    switch (code) {
        case CURLE_UNSUPPORTED_PROTOCOL: return NSURLErrorUnsupportedURL;
        case CURLE_URL_MALFORMAT: return NSURLErrorBadURL;
        case CURLE_COULDNT_RESOLVE_HOST: return NSURLErrorCannotFindHost;
        case CURLE_COULDNT_CONNECT: return NSURLErrorCannotConnectToHost;
        case CURLE_OPERATION_TIMEDOUT: return NSURLErrorTimedOut;
        case CURLE_PARTIAL_FILE:
        case CURLE_GOT_NOTHING:
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_HTTP2:
        case CURLE_HTTP2_STREAM: return NSURLErrorNetworkConnectionLost;
        case CURLE_WEIRD_SERVER_REPLY: return NSURLErrorBadServerResponse;
        case CURLE_BAD_CONTENT_ENCODING: return NSURLErrorCannotDecodeContentData;
        case CURLE_SSL_CONNECT_ERROR: return NSURLErrorSecureConnectionFailed;
        case CURLE_PEER_FAILED_VERIFICATION: return NSURLErrorServerCertificateUntrusted;
        default: return NSURLErrorUnknown;
    }
}

std::string trimmed(std::string_view text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
    return std::string(text.substr(begin, end - begin));
}

std::once_flag curlInit;

}  // namespace

// What the main thread and the loading thread share. The loading thread owns
// the transfers; the main thread owns the loads' clients. Steps posted to the
// main run loop find their client through the table, so a cancelled load
// hears nothing more.
struct CurlTransport::Shared {
    // One transfer, touched only by the loading thread once handed over.
    struct Transfer {
        Shared* shared = nullptr;
        LoadId id = 0;
        CURL* easy = nullptr;
        curl_slist* headers = nullptr;
        std::string url;
        std::string method;
        std::string body;
        long status = 0;
        HeaderFields fields;
        bool responded = false;
        ~Transfer() {
            if (easy) curl_easy_cleanup(easy);
            if (headers) curl_slist_free_all(headers);
        }
    };
    struct Load {
        std::shared_ptr<TransportClient> client;
        Ref<NSURL> url;
    };

    Shared() : multi(curl_multi_init()) {}
    ~Shared() { curl_multi_cleanup(multi); }

    CURLM* multi;
    std::weak_ptr<Shared> self;

    mutable std::mutex mutex;
    // Main thread's side.
    std::map<LoadId, Load> loads;
    LoadId next = 1;
    // Handed to the loading thread.
    std::vector<std::unique_ptr<Transfer>> added;
    std::vector<LoadId> removed;
    bool stopping = false;
    std::size_t transferCount = 0;  // held by the loading thread, mirrored for tests

    // Runs `step` on the main run loop with the load's client, if it still has one.
    void post(LoadId id, std::function<void(TransportClient&, NSURL*)> step, bool last) {
        auto keep = self.lock();
        RunLoop::main().schedule(0, [keep, id, step = std::move(step), last] {
            Load load;
            {
                std::lock_guard lock(keep->mutex);
                auto it = keep->loads.find(id);
                if (it == keep->loads.end()) return;
                load = it->second;
                if (last) keep->loads.erase(it);
            }
            step(*load.client, load.url.get());
        }, this, "load:" + std::to_string(id) + ";");
    }
    void fail(LoadId id, long long code) {
        post(id, [code](TransportClient& c, NSURL*) { c.transportFailed(code); }, true);
    }
    void respond(Transfer& t) {
        t.responded = true;
        post(t.id, [status = t.status, fields = t.fields](TransportClient& c, NSURL* url) {
            Ref<NSHTTPURLResponse> response = NSHTTPURLResponse::make(url, status, fields);
            c.transportReceivedResponse(response.get());
        }, false);
    }

    static std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
        auto& t = *static_cast<Transfer*>(user);
        std::string_view line(data, size * count);
        if (line.starts_with("HTTP/")) {
            // A new block: an interim 1xx answer comes before the final one.
            std::size_t space = line.find(' ');
            t.status = space == std::string_view::npos ? 0 : std::atol(std::string(line.substr(space + 1, 3)).c_str());
            t.fields = HeaderFields();
        } else if (trimmed(line).empty()) {
            if (t.status >= 200 && !t.responded) t.shared->respond(t);
        } else if (std::size_t colon = line.find(':'); colon != std::string_view::npos) {
            std::string name = trimmed(line.substr(0, colon));
            std::string value = trimmed(line.substr(colon + 1));
            // Repeated fields are joined, as the platform shows them.
            if (const std::string* earlier = t.fields.find(name)) value = *earlier + ", " + value;
            t.fields.set(name, &value);
        }
        return size * count;
    }

    static std::size_t onData(char* data, std::size_t size, std::size_t count, void* user) {
        auto& t = *static_cast<Transfer*>(user);
        if (!t.responded) t.shared->respond(t);
        Data piece(data, data + size * count);
        t.shared->post(t.id, [piece = std::move(piece)](TransportClient& c, NSURL*) { c.transportReceivedData(piece); },
                       false);
        return size * count;
    }

    bool configure(Transfer& t) {
        t.easy = curl_easy_init();
        if (!t.easy) return false;
        CURL* e = t.easy;
        curl_easy_setopt(e, CURLOPT_URL, t.url.c_str());
        curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(e, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(e, CURLOPT_NOPROXY, "*");
        curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &Shared::onHeader);
        curl_easy_setopt(e, CURLOPT_HEADERDATA, &t);
        curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &Shared::onData);
        curl_easy_setopt(e, CURLOPT_WRITEDATA, &t);
        curl_easy_setopt(e, CURLOPT_PRIVATE, &t);
        if (t.method == "GET") {
            curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
        } else if (t.method == "HEAD") {
            curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
        } else {
            if (t.method != "POST") curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, t.method.c_str());
            if (t.method == "POST" || !t.body.empty()) {
                curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(t.body.size()));
                curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, t.body.c_str());
            }
        }
        // No "Expect: 100-continue" round trip before a body.
        t.headers = curl_slist_append(t.headers, "Expect:");
        curl_easy_setopt(e, CURLOPT_HTTPHEADER, t.headers);
        return true;
    }

    void finish(Transfer& t, CURLcode result) {
        if (result == CURLE_OK) {
            if (!t.responded) t.shared->respond(t);
            post(t.id, [](TransportClient& c, NSURL*) { c.transportFinished(); }, true);
        } else {
            fail(t.id, codeForCurlError(result));
        }
    }

    void run() {
        std::map<LoadId, std::unique_ptr<Transfer>> transfers;
        for (;;) {
            std::vector<std::unique_ptr<Transfer>> toAdd;
            std::vector<LoadId> toRemove;
            {
                std::lock_guard lock(mutex);
                if (stopping) break;
                toAdd.swap(added);
                toRemove.swap(removed);
            }
            for (auto& t : toAdd) {
                LoadId id = t->id;
                if (!configure(*t) || curl_multi_add_handle(multi, t->easy) != CURLM_OK) {
                    fail(id, NSURLErrorUnknown);
                    continue;
                }
                transfers[id] = std::move(t);
            }
            for (LoadId id : toRemove) {
                auto it = transfers.find(id);
                if (it == transfers.end()) continue;
                curl_multi_remove_handle(multi, it->second->easy);
                transfers.erase(it);
            }
            int running = 0;
            curl_multi_perform(multi, &running);
            int queued = 0;
            while (CURLMsg* message = curl_multi_info_read(multi, &queued)) {
                if (message->msg != CURLMSG_DONE) continue;
                Transfer* t = nullptr;
                curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &t);
                CURLcode result = message->data.result;
                finish(*t, result);
                curl_multi_remove_handle(multi, t->easy);
                transfers.erase(t->id);
            }
            {
                std::lock_guard lock(mutex);
                transferCount = transfers.size();
            }
            curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
        }
        for (auto& [id, t] : transfers) curl_multi_remove_handle(multi, t->easy);
    }
};

CurlTransport::CurlTransport() : shared_(std::make_shared<Shared>()) {
    std::call_once(curlInit, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    shared_->self = shared_;
}

CurlTransport::~CurlTransport() {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
    }
    curl_multi_wakeup(shared_->multi);
    if (thread_.joinable()) thread_.join();
}

Transport::LoadId CurlTransport::start(NSURLRequest* request, std::shared_ptr<TransportClient> client) {
    NSURL* url = request->URL();
    auto transfer = std::make_unique<Shared::Transfer>();
    transfer->shared = shared_.get();
    transfer->url = url ? url->absoluteString() : std::string();
    transfer->method = request->HTTPMethod();
    const Data& body = request->HTTPBody();
    transfer->body.assign(body.begin(), body.end());

    std::string scheme = url ? url->scheme() : std::string();
    for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    long long refusal = 0;
    if (scheme != "http" && scheme != "https") {
        refusal = NSURLErrorUnsupportedURL;
    } else if (network::loopbackOnly() && url->host() != "127.0.0.1") {
        log::write("CurlTransport: refused " + transfer->url + ": this process reaches only 127.0.0.1");
        refusal = NSURLErrorCannotConnectToHost;
    }

    LoadId id;
    {
        std::lock_guard lock(shared_->mutex);
        id = shared_->next++;
        transfer->id = id;
        shared_->loads[id] = Shared::Load{std::move(client), url};
    }
    if (refusal) {
        shared_->fail(id, refusal);
        return id;
    }

    Value::Dictionary fields = request->allHTTPHeaderFields().dictionary();
    for (const auto& [name, value] : fields)
        transfer->headers = curl_slist_append(transfer->headers, (name + ": " + value.string()).c_str());
    {
        std::lock_guard lock(shared_->mutex);
        shared_->added.push_back(std::move(transfer));
    }
    if (!thread_.joinable()) thread_ = std::thread([shared = shared_] { shared->run(); });
    curl_multi_wakeup(shared_->multi);
    return id;
}

void CurlTransport::cancel(LoadId load) {
    {
        std::lock_guard lock(shared_->mutex);
        shared_->loads.erase(load);
        shared_->removed.push_back(load);
    }
    RunLoop::main().cancelOwner(shared_.get(), "load:" + std::to_string(load) + ";");
    curl_multi_wakeup(shared_->multi);
}

std::size_t CurlTransport::activeLoads() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->loads.size();
}

std::size_t CurlTransport::activeTransfers() const {
    std::lock_guard lock(shared_->mutex);
    return shared_->transferCount + shared_->added.size();
}

}  // namespace platform
