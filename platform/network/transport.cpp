#include "platform/network/transport.h"

#include "platform/foundation/error.h"
#include "platform/foundation/run_loop.h"

namespace platform {
namespace network {
namespace {

std::mutex transportMutex;

std::shared_ptr<Transport>& current() {
    static std::shared_ptr<Transport> instance = std::make_shared<ScriptedTransport>();
    return instance;
}

}  // namespace

std::shared_ptr<Transport> transport() {
    std::lock_guard lock(transportMutex);
    return current();
}

void setTransport(std::shared_ptr<Transport> transport) {
    std::lock_guard lock(transportMutex);
    current() = std::move(transport);
}

}  // namespace network

ScriptedTransport::Script ScriptedTransport::Script::body(std::vector<std::string> chunks, long status) {
    Script script;
    script.status = status;
    script.chunks = std::move(chunks);
    script.headers = {{"Content-Type", "text/html; charset=utf-8"}};
    return script;
}

ScriptedTransport::Script ScriptedTransport::Script::redirect(std::string location, long status) {
    Script script;
    script.status = status;
    script.headers = {{"Location", std::move(location)}};
    return script;
}

ScriptedTransport::Script ScriptedTransport::Script::failure(long long code) {
    Script script;
    script.failCode = code;
    return script;
}

void ScriptedTransport::answer(std::string url, Script script) {
    std::lock_guard lock(mutex_);
    scripts_[std::move(url)] = std::move(script);
}

std::vector<std::string> ScriptedTransport::log() const {
    std::lock_guard lock(mutex_);
    return log_;
}

std::vector<Ref<NSURLRequest>> ScriptedTransport::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::size_t ScriptedTransport::activeLoads() const {
    std::lock_guard lock(mutex_);
    return loads_.size();
}

Transport::LoadId ScriptedTransport::start(NSURLRequest* request, std::shared_ptr<TransportClient> client) {
    std::string url = request->URL() ? request->URL()->absoluteString() : std::string();
    Script script = Script::failure(NSURLErrorCannotConnectToHost);
    LoadId id;
    {
        std::lock_guard lock(mutex_);
        id = next_++;
        log_.push_back(request->HTTPMethod() + " " + url);
        requests_.push_back(Ref<NSURLRequest>(request));
        if (auto it = scripts_.find(url); it != scripts_.end()) script = it->second;
        loads_[id] = client;
    }
    if (script.neverAnswers) return id;

    RunLoop& loop = RunLoop::main();
    std::string tag = "load:" + std::to_string(id) + ";";
    // Each step finds its client through the table, so a cancelled load hears nothing.
    auto step = [this, id](auto&& body) {
        return [this, id, body]() {
            std::shared_ptr<TransportClient> target;
            {
                std::lock_guard lock(mutex_);
                auto it = loads_.find(id);
                if (it == loads_.end()) return;
                target = it->second;
            }
            body(*target);
        };
    };
    double at = script.delay;
    if (script.failCode && !script.failAfterFirstChunk) {
        loop.schedule(at, step([this, id, code = script.failCode](TransportClient& c) {
                          end(id);
                          c.transportFailed(code);
                      }),
                      this, tag);
        return id;
    }
    HeaderFields headers;
    for (const auto& [name, value] : script.headers) headers.set(name, &value);
    Ref<NSURLResponse> response = NSHTTPURLResponse::make(request->URL(), script.status, headers);
    loop.schedule(at, step([response](TransportClient& c) { c.transportReceivedResponse(response.get()); }), this, tag);
    for (std::size_t i = 0; i < script.chunks.size(); ++i) {
        if (i > 0) at += script.chunkDelay;
        Data piece(script.chunks[i].begin(), script.chunks[i].end());
        loop.schedule(at, step([piece](TransportClient& c) { c.transportReceivedData(piece); }), this, tag);
        if (script.failAfterFirstChunk) break;
    }
    loop.schedule(at, step([this, id, code = script.failCode](TransportClient& c) {
                      end(id);
                      if (code) c.transportFailed(code);
                      else c.transportFinished();
                  }),
                  this, tag);
    return id;
}

void ScriptedTransport::end(LoadId load) {
    std::lock_guard lock(mutex_);
    loads_.erase(load);
}

void ScriptedTransport::cancel(LoadId load) {
    end(load);
    RunLoop::main().cancelOwner(this, "load:" + std::to_string(load) + ";");
}

}  // namespace platform
