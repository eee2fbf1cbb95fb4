#include "platform/webkit/real_page_engine.h"

#include <duktape.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"
#include "platform/uikit/image.h"
#include "platform/webkit/css_color.h"
#include "platform/webkit/html_parser.h"

namespace platform::webkit {

extern const char* const kPageScript;

namespace {

// The executor calls the budget check every DUK_HTHREAD_INTCTR_DEFAULT
// (256 Ki) instructions; the budget is counted in those steps.
constexpr std::uint64_t kInstructionsPerCheck = 256 * 1024;

// What the allocator and the budget check share with the heap.
struct HeapState {
    std::size_t used = 0;
    std::size_t ceiling = 0;
    std::uint64_t checks = 0;
    std::uint64_t allowedChecks = 0;
};

// Each block carries its size in front, so that the ceiling counts live bytes.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* heapAlloc(void* udata, duk_size_t size) {
    auto* state = static_cast<HeapState*>(udata);
    if (size == 0) return nullptr;
    if (state->used + size > state->ceiling) return nullptr;
    auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
    if (!block) return nullptr;
    std::memcpy(block, &size, sizeof size);
    state->used += size;
    return block + kHeader;
}

void heapFree(void* udata, void* ptr) {
    if (!ptr) return;
    auto* state = static_cast<HeapState*>(udata);
    auto* block = static_cast<unsigned char*>(ptr) - kHeader;
    std::size_t size;
    std::memcpy(&size, block, sizeof size);
    state->used -= size;
    std::free(block);
}

void* heapRealloc(void* udata, void* ptr, duk_size_t size) {
    if (!ptr) return heapAlloc(udata, size);
    if (size == 0) {
        heapFree(udata, ptr);
        return nullptr;
    }
    auto* state = static_cast<HeapState*>(udata);
    auto* block = static_cast<unsigned char*>(ptr) - kHeader;
    std::size_t old;
    std::memcpy(&old, block, sizeof old);
    if (size > old && state->used + (size - old) > state->ceiling) return nullptr;
    auto* grown = static_cast<unsigned char*>(std::realloc(block, size + kHeader));
    if (!grown) return nullptr;
    std::memcpy(grown, &size, sizeof size);
    state->used = state->used - old + size;
    return grown + kHeader;
}

[[noreturn]] void heapFatal(void*, const char* message) {
    NSLog("JavaScript engine failure: %@", std::string(message ? message : ""));
    std::abort();
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool isSuccess(const LoadResult& result) {
    if (result.error || !result.response) return false;
    auto* http = dynamic_cast<NSHTTPURLResponse*>(result.response.get());
    return !http || (http->statusCode() >= 200 && http->statusCode() < 300);
}

}  // namespace

extern "C" int rousa_webkit_budget_spent(void* udata) {
    auto* state = static_cast<HeapState*>(udata);
    return ++state->checks > state->allowedChecks ? 1 : 0;
}

extern "C" double rousa_webkit_now_ms(void) { return clock::now().unix() * 1000.0; }

extern "C" double rousa_webkit_monotonic_ms(void) {
    return static_cast<double>(clock::monotonicNanoseconds()) / 1e6;
}

// A frame's document runs in an engine of its own whose host is the page's:
// what the frame starts are frame navigations, its loads and timers are the
// page's (so a new page document ends them too). It tells the page when the
// frame's load ends.
class FrameHost : public PageHost, public std::enable_shared_from_this<FrameHost> {
public:
    FrameHost(PageHost& page, Size size, PageLimits limits) : page_(page), size_(size), engine_(*this, limits) {}

    // A document for the frame arrived; `ended` hears whether its load finished.
    void show(const LoadResult& result, NSURL* url, std::function<void(bool)> ended) {
        if (ended_) std::exchange(ended_, {})(false);
        ended_ = std::move(ended);
        if (result.error) {
            pageFailedLoading(result.error.get());
            return;
        }
        engine_.loadDocument(std::string(result.body.begin(), result.body.end()), url);
    }

    bool navigate(const Navigation& navigation, std::function<void(const LoadResult&)> frameLoaded) override {
        Navigation asked = navigation;
        asked.mainFrame = false;
        if (!navigation.mainFrame) return page_.navigate(asked, std::move(frameLoaded));
        // The frame's own location change replaces the frame's document.
        std::weak_ptr<FrameHost> weak = weak_from_this();
        Ref<NSURL> url(navigation.request->URL());
        return page_.navigate(asked, [weak, url](const LoadResult& result) {
            if (auto frame = weak.lock()) frame->show(result, url.get(), {});
        });
    }
    // stopLoading reaches the frame's own loads too.
    void stop() {
        ended_ = nullptr;
        engine_.stop();
    }

    void pageFinishedLoading() override {
        if (ended_) std::exchange(ended_, {})(true);
    }
    void pageFailedLoading(NSError*) override {
        if (ended_) std::exchange(ended_, {})(false);
    }
    LoadId loadSubresource(NSURLRequest* request, std::function<void(const LoadResult&)> done) override {
        return page_.loadSubresource(request, std::move(done));
    }
    void cancelSubresource(LoadId load) override { page_.cancelSubresource(load); }
    TimerId scheduleTimer(double seconds, std::function<void()> fire) override {
        return page_.scheduleTimer(seconds, std::move(fire));
    }
    void cancelTimer(TimerId timer) override { page_.cancelTimer(timer); }
    std::string userAgent() const override { return page_.userAgent(); }
    Size viewSize() const override { return size_; }

private:
    PageHost& page_;
    Size size_;
    RealPageEngine engine_;
    std::function<void(bool)> ended_;
};

// One loaded document: its heap, the parse in progress, and what it waits for.
class RealPageEngine::Document : public std::enable_shared_from_this<Document> {
public:
    Document(PageHost& host, PageLimits limits) : host_(host), limits_(limits) {
        state_.ceiling = limits.memoryBytes;
        state_.allowedChecks = limits.instructions / kInstructionsPerCheck;
    }
    ~Document();

    bool start(const std::string& html, NSURL* baseURL);
    ScriptResult evaluate(const std::string& script);
    void stop();
    PageContent content();

private:
    // A call into the page from outside: the instruction budget starts anew
    // for each, and nested calls (a native that runs script) share it.
    class Turn {
    public:
        explicit Turn(Document& d) : d_(d) {
            if (d_.depth_++ == 0) d_.state_.checks = 0;
        }
        ~Turn() { --d_.depth_; }
        Turn(const Turn&) = delete;
        Turn& operator=(const Turn&) = delete;

    private:
        Document& d_;
    };

    struct Frame {
        const HtmlNode* node;
        std::size_t next = 0;
        int scriptId = 0;
    };

    static Document* from(duk_context* ctx);
    bool pushPageScript();
    void installNatives();
    // Calls api[name] with the `nargs` values `push` leaves on the stack;
    // leaves the result on the stack when `keep`, else pops it. False on an
    // error, which is logged.
    bool callApi(const char* name, int nargs, const std::function<void()>& push, bool keep = false);
    // Compiles and runs `code` as a program (or as eval code, whose value is
    // the result, when `eval`), leaving the value on the stack; logs an error.
    bool run(const std::string& code, const std::string& fileName, bool eval, std::string* errorText = nullptr);
    void logError(duk_idx_t index, std::string* errorText = nullptr);
    void pushAttributes(const HtmlNode& node);

    void resumeParse();
    void closeElement(Frame& frame);
    void parseEnded();
    void loadEnded();
    void maybeFinish();
    Ref<NSURL> resolve(const std::string& text) const;
    Ref<NSMutableURLRequest> requestFor(NSURL* url) const;

    // The natives the page script calls.
    static duk_ret_t nativeLog(duk_context* ctx);
    static duk_ret_t nativeReportError(duk_context* ctx);
    static duk_ret_t nativeNavigate(duk_context* ctx);
    static duk_ret_t nativeResolve(duk_context* ctx);
    static duk_ret_t nativeSetTimer(duk_context* ctx);
    static duk_ret_t nativeClearTimer(duk_context* ctx);
    static duk_ret_t nativeParseFragment(duk_context* ctx);
    static duk_ret_t nativeLoadScript(duk_context* ctx);
    static duk_ret_t nativeRunScript(duk_context* ctx);
    static duk_ret_t nativeLoadFrame(duk_context* ctx);
    static duk_ret_t nativeLoadImage(duk_context* ctx);
    static duk_ret_t nativeViewport(duk_context* ctx);
    static duk_ret_t nativeUserAgent(duk_context* ctx);

    void navigateLater(Navigation navigation);
    void fireTimer(int id, double seconds, bool repeat);
    void scriptLoaded(int id, const std::string& url, const LoadResult& result, bool parserBlocking);

    PageHost& host_;
    PageLimits limits_;
    HeapState state_;
    duk_context* ctx_ = nullptr;
    int depth_ = 0;
    Ref<NSURL> url_;
    std::string urlText_ = "about:blank";

    HtmlNode root_;  // a document node holding the parsed <html>
    std::vector<Frame> parse_;
    bool parseWaiting_ = false;
    bool parsed_ = false;
    bool stopped_ = false;
    bool finished_ = false;
    int pendingLoads_ = 0;  // scripts, frames and images the load event waits for
    std::map<int, PageHost::LoadId> loads_;  // by node id
    std::map<int, PageHost::TimerId> timers_;  // by the page's timer id
    std::optional<Navigation> pendingNavigation_;
    PageHost::TimerId navigationTimer_ = 0;
    PageHost::TimerId finishTimer_ = 0;
    std::map<int, std::shared_ptr<FrameHost>> frames_;  // by the iframe's node id
};

RealPageEngine::Document::~Document() {
    for (auto& [id, timer] : timers_) host_.cancelTimer(timer);
    for (auto& [id, load] : loads_) host_.cancelSubresource(load);
    if (navigationTimer_) host_.cancelTimer(navigationTimer_);
    if (finishTimer_) host_.cancelTimer(finishTimer_);
    if (ctx_) duk_destroy_heap(ctx_);
}

RealPageEngine::Document* RealPageEngine::Document::from(duk_context* ctx) {
    duk_push_global_stash(ctx);
    duk_get_prop_string(ctx, -1, "document");
    auto* d = static_cast<Document*>(duk_get_pointer(ctx, -1));
    duk_pop_2(ctx);
    return d;
}

bool RealPageEngine::Document::start(const std::string& html, NSURL* baseURL) {
    if (baseURL) {
        url_ = baseURL;
        urlText_ = baseURL->absoluteString();
    }
    ctx_ = duk_create_heap(heapAlloc, heapRealloc, heapFree, &state_, heapFatal);
    if (!ctx_) {
        NSLog("JavaScript heap could not be made");
        return false;
    }
    duk_push_global_stash(ctx_);
    duk_push_pointer(ctx_, this);
    duk_put_prop_string(ctx_, -2, "document");
    duk_pop(ctx_);
    {
        Turn turn(*this);
        // The page script is a function of (global, native) answering the api.
        if (!pushPageScript()) return false;
        duk_push_global_object(ctx_);
        installNatives();
        if (duk_pcall(ctx_, 2) != 0) {
            logError(-1);
            duk_pop(ctx_);
            return false;
        }
        duk_push_global_stash(ctx_);
        duk_swap_top(ctx_, -2);
        duk_put_prop_string(ctx_, -2, "api");
        duk_pop(ctx_);
    }
    callApi("begin", 1, [&] { duk_push_string(ctx_, urlText_.c_str()); });

    HtmlNode parsed = parseDocument(html);
    root_.children.push_back(std::move(parsed));
    parse_.push_back({&root_});
    resumeParse();
    return true;
}

// The DOM script is compiled once per process; every new heap loads its
// bytecode, which is far cheaper than compiling it again.
bool RealPageEngine::Document::pushPageScript() {
    static std::vector<unsigned char> bytecode;  // main thread only, as pages are
    if (bytecode.empty()) {
        duk_push_string(ctx_, kPageScript);
        duk_push_string(ctx_, "page_script.js");
        if (duk_pcompile(ctx_, DUK_COMPILE_EVAL) != 0) {
            logError(-1);
            duk_pop(ctx_);
            return false;
        }
        duk_dup_top(ctx_);
        duk_dump_function(ctx_);
        duk_size_t size = 0;
        auto* data = static_cast<unsigned char*>(duk_get_buffer(ctx_, -1, &size));
        bytecode.assign(data, data + size);
        duk_pop(ctx_);
    } else {
        void* buffer = duk_push_fixed_buffer(ctx_, bytecode.size());
        std::memcpy(buffer, bytecode.data(), bytecode.size());
        duk_load_function(ctx_);
    }
    if (duk_pcall(ctx_, 0) != 0) {
        logError(-1);
        duk_pop(ctx_);
        return false;
    }
    return true;
}

void RealPageEngine::Document::installNatives() {
    struct Native {
        const char* name;
        duk_c_function fn;
        duk_idx_t nargs;
    };
    static const Native natives[] = {
        {"log", nativeLog, 2},
        {"reportError", nativeReportError, 1},
        {"navigate", nativeNavigate, 4},
        {"resolve", nativeResolve, 1},
        {"setTimer", nativeSetTimer, 3},
        {"clearTimer", nativeClearTimer, 1},
        {"parseFragment", nativeParseFragment, 2},
        {"loadScript", nativeLoadScript, 2},
        {"runScript", nativeRunScript, 2},
        {"loadFrame", nativeLoadFrame, 4},
        {"loadImage", nativeLoadImage, 2},
        {"viewport", nativeViewport, 0},
        {"userAgent", nativeUserAgent, 0},
    };
    duk_push_object(ctx_);
    for (const Native& n : natives) {
        duk_push_c_function(ctx_, n.fn, n.nargs);
        duk_put_prop_string(ctx_, -2, n.name);
    }
}

bool RealPageEngine::Document::callApi(const char* name, int nargs, const std::function<void()>& push, bool keep) {
    if (!ctx_) return false;
    Turn turn(*this);
    duk_push_global_stash(ctx_);
    duk_get_prop_string(ctx_, -1, "api");
    duk_get_prop_string(ctx_, -1, name);
    duk_swap_top(ctx_, -2);  // [stash fn api]
    push();
    bool ok = duk_pcall_method(ctx_, nargs) == 0;
    if (!ok) logError(-1);
    if (keep && ok) {
        duk_swap_top(ctx_, -2);
        duk_pop(ctx_);
    } else {
        duk_pop_2(ctx_);
    }
    return ok;
}

bool RealPageEngine::Document::run(const std::string& code, const std::string& fileName, bool eval, std::string* errorText) {
    Turn turn(*this);
    duk_push_lstring(ctx_, code.data(), code.size());
    duk_push_lstring(ctx_, fileName.data(), fileName.size());
    if (duk_pcompile(ctx_, eval ? DUK_COMPILE_EVAL : 0) != 0 || duk_pcall(ctx_, 0) != 0) {
        logError(-1, errorText);
        return false;
    }
    return true;
}

// "JavaScript error at line 3 of http://host/page.html: ReferenceError: ..."
void RealPageEngine::Document::logError(duk_idx_t index, std::string* errorText) {
    index = duk_normalize_index(ctx_, index);
    std::string file = urlText_;
    long line = 0;
    if (duk_is_object(ctx_, index)) {
        if (duk_get_prop_string(ctx_, index, "fileName") && duk_is_string(ctx_, -1)) file = duk_get_string(ctx_, -1);
        duk_pop(ctx_);
        if (duk_get_prop_string(ctx_, index, "lineNumber") && duk_is_number(ctx_, -1)) {
            line = static_cast<long>(duk_get_number(ctx_, -1));
        }
        duk_pop(ctx_);
    }
    duk_dup(ctx_, index);
    std::string message = duk_safe_to_string(ctx_, -1);
    duk_pop(ctx_);
    if (errorText) *errorText = message;
    NSLog("JavaScript error at line %ld of %@: %@", line, file, message);
}

void RealPageEngine::Document::pushAttributes(const HtmlNode& node) {
    duk_push_array(ctx_);
    duk_uarridx_t i = 0;
    for (auto& [name, value] : node.attributes) {
        duk_push_lstring(ctx_, name.data(), name.size());
        duk_put_prop_index(ctx_, -2, i++);
        duk_push_lstring(ctx_, value.data(), value.size());
        duk_put_prop_index(ctx_, -2, i++);
    }
}

// The parse walks Gumbo's tree in document order, adding each node to the
// live document, so that a script sees what comes before it. An external
// script pauses the walk until its load ends on the run loop.
void RealPageEngine::Document::resumeParse() {
    auto protect = shared_from_this();
    while (!parse_.empty() && !parseWaiting_ && !stopped_) {
        Frame& frame = parse_.back();
        if (frame.next == frame.node->children.size()) {
            Frame done = frame;
            parse_.pop_back();
            if (done.node != &root_) closeElement(done);
            continue;
        }
        const HtmlNode& child = frame.node->children[frame.next++];
        if (child.kind != HtmlNode::Kind::element) {
            bool comment = child.kind == HtmlNode::Kind::comment;
            callApi("text", 2, [&] {
                duk_push_lstring(ctx_, child.text.data(), child.text.size());
                duk_push_boolean(ctx_, comment);
            });
            continue;
        }
        int scriptId = 0;
        if (callApi("open", 2, [&] {
                duk_push_lstring(ctx_, child.name.data(), child.name.size());
                pushAttributes(child);
            }, true)) {
            scriptId = duk_get_int(ctx_, -1);
            duk_pop(ctx_);
        }
        parse_.push_back({&child, 0, scriptId});
    }
    if (parse_.empty() && !parsed_ && !stopped_) parseEnded();
}

void RealPageEngine::Document::closeElement(Frame& frame) {
    callApi("close", 0, [] {});
    if (frame.node->name != "script" || !frame.scriptId) return;
    const HtmlNode& script = *frame.node;
    std::optional<std::string> src, type, language;
    for (auto& [name, value] : script.attributes) {
        if (name == "src" && !src) src = value;
        if (name == "type" && !type) type = value;
        if (name == "language" && !language) language = value;
    }
    if (type) {
        std::string t = lowerCase(*type);
        if (auto semicolon = t.find(';'); semicolon != std::string::npos) t.resize(semicolon);
        while (!t.empty() && t.back() == ' ') t.pop_back();
        static const char* const runnable[] = {"", "text/javascript", "application/javascript", "application/x-javascript",
                                               "text/ecmascript", "application/ecmascript", "text/jscript"};
        if (std::find(std::begin(runnable), std::end(runnable), t) == std::end(runnable)) return;
    }
    if (language && !language->empty() && lowerCase(*language).rfind("javascript", 0) != 0 &&
        lowerCase(*language).rfind("ecmascript", 0) != 0) {
        return;
    }
    int id = frame.scriptId;
    if (src) {
        Ref<NSURL> url = resolve(*src);
        if (!url) {
            callApi("loaded", 2, [&] { duk_push_int(ctx_, id); duk_push_false(ctx_); });
            return;
        }
        parseWaiting_ = true;
        std::weak_ptr<Document> weak = weak_from_this();
        std::string urlText = url->absoluteString();
        loads_[id] = host_.loadSubresource(requestFor(url.get()).get(), [weak, id, urlText](const LoadResult& result) {
            if (auto d = weak.lock()) d->scriptLoaded(id, urlText, result, true);
        });
        return;
    }
    std::string code;
    int line = 1;
    for (const HtmlNode& text : script.children) {
        if (text.kind != HtmlNode::Kind::text) continue;
        if (code.empty()) line = text.line;
        code += text.text;
    }
    // Blank lines in front make the script's line numbers the page's.
    code.insert(0, static_cast<std::size_t>(line > 1 ? line - 1 : 0), '\n');
    callApi("setCurrentScript", 1, [&] { duk_push_int(ctx_, id); });
    if (run(code, urlText_, false)) duk_pop(ctx_);
    callApi("setCurrentScript", 1, [&] { duk_push_int(ctx_, 0); });
    callApi("forget", 1, [&] { duk_push_int(ctx_, id); });
}

void RealPageEngine::Document::scriptLoaded(int id, const std::string& url, const LoadResult& result, bool parserBlocking) {
    auto protect = shared_from_this();
    loads_.erase(id);
    bool ok = isSuccess(result);
    if (ok) {
        std::string code(result.body.begin(), result.body.end());
        callApi("setCurrentScript", 1, [&] { duk_push_int(ctx_, id); });
        if (run(code, url, false)) duk_pop(ctx_);
        callApi("setCurrentScript", 1, [&] { duk_push_int(ctx_, 0); });
    } else {
        NSLog("Failed to load resource: %@", url);
    }
    callApi("loaded", 2, [&] { duk_push_int(ctx_, id); duk_push_boolean(ctx_, ok); });
    if (parserBlocking) {
        parseWaiting_ = false;
        resumeParse();
    } else {
        loadEnded();
    }
}

void RealPageEngine::Document::parseEnded() {
    parsed_ = true;
    callApi("contentLoaded", 0, [] {});
    maybeFinish();
}

void RealPageEngine::Document::loadEnded() {
    --pendingLoads_;
    maybeFinish();
}

// The window's load event and the host's finish come on a turn of their own
// once the parse is done and nothing the page loads is outstanding.
void RealPageEngine::Document::maybeFinish() {
    if (!parsed_ || pendingLoads_ > 0 || finished_ || stopped_ || finishTimer_) return;
    std::weak_ptr<Document> weak = weak_from_this();
    finishTimer_ = host_.scheduleTimer(0, [weak] {
        auto d = weak.lock();
        if (!d) return;
        d->finishTimer_ = 0;
        if (d->finished_ || d->stopped_ || d->pendingLoads_ > 0) return;
        d->finished_ = true;
        d->callApi("windowLoaded", 0, [] {});
        if (!d->stopped_) d->host_.pageFinishedLoading();
    });
}

// As in a browser, white space around a URL attribute does not count.
Ref<NSURL> RealPageEngine::Document::resolve(const std::string& text) const {
    std::size_t start = text.find_first_not_of(" \t\n\f\r");
    std::string trimmed = start == std::string::npos ? "" : text.substr(start, text.find_last_not_of(" \t\n\f\r") - start + 1);
    if (url_) return NSURL::URLWithString(trimmed, url_.get());
    return NSURL::URLWithString(trimmed);
}

Ref<NSMutableURLRequest> RealPageEngine::Document::requestFor(NSURL* url) const {
    auto request = NSMutableURLRequest::requestWithURL(url);
    if (url_) request->setMainDocumentURL(url_.get());
    return request;
}

ScriptResult RealPageEngine::Document::evaluate(const std::string& script) {
    ScriptResult result;
    if (!ctx_) return result;
    if (!run(script, urlText_, true, &result.errorMessage)) {
        result.error = true;
        return result;
    }
    if (duk_is_string(ctx_, -1) || duk_is_number(ctx_, -1) || duk_is_boolean(ctx_, -1)) {
        result.text = duk_safe_to_string(ctx_, -1);
    }
    duk_pop(ctx_);
    return result;
}

void RealPageEngine::Document::stop() {
    stopped_ = true;
    for (auto& [id, frame] : frames_) frame->stop();
    for (auto& [id, load] : loads_) host_.cancelSubresource(load);
    loads_.clear();
    if (navigationTimer_) host_.cancelTimer(navigationTimer_);
    navigationTimer_ = 0;
    pendingNavigation_.reset();
    if (finishTimer_) host_.cancelTimer(finishTimer_);
    finishTimer_ = 0;
}

// Only the last navigation of one turn is asked of the host, on the next turn.
void RealPageEngine::Document::navigateLater(Navigation navigation) {
    pendingNavigation_ = std::move(navigation);
    if (navigationTimer_) return;
    std::weak_ptr<Document> weak = weak_from_this();
    navigationTimer_ = host_.scheduleTimer(0, [weak] {
        auto d = weak.lock();
        if (!d) return;
        d->navigationTimer_ = 0;
        if (!d->pendingNavigation_) return;
        Navigation navigation = std::move(*d->pendingNavigation_);
        d->pendingNavigation_.reset();
        d->host_.navigate(navigation);
    });
}

void RealPageEngine::Document::fireTimer(int id, double seconds, bool repeat) {
    auto protect = shared_from_this();
    timers_.erase(id);
    if (repeat) {
        std::weak_ptr<Document> weak = weak_from_this();
        timers_[id] = host_.scheduleTimer(seconds, [weak, id, seconds] {
            if (auto d = weak.lock()) d->fireTimer(id, seconds, true);
        });
    }
    callApi("fireTimer", 1, [&] { duk_push_int(ctx_, id); });
}

PageContent RealPageEngine::Document::content() {
    PageContent content;
    if (!ctx_ || !callApi("visibleContent", 0, [] {}, true)) return content;
    std::string text = duk_safe_to_string(ctx_, -1);
    duk_pop(ctx_);
    nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (!json.is_object()) return content;
    auto color = [](const nlohmann::json& j, const char* key) -> std::optional<Rgba8> {
        auto it = j.find(key);
        if (it == j.end() || !it->is_string()) return std::nullopt;
        return parseCssColor(it->get<std::string>());
    };
    auto number = [](const nlohmann::json& j, const char* key) -> std::optional<double> {
        auto it = j.find(key);
        if (it == j.end() || !it->is_number()) return std::nullopt;
        return it->get<double>();
    };
    auto element = [&](const nlohmann::json& j) {
        VisibleElement e;
        e.tag = j.value("tag", "");
        e.displayNone = j.value("displayNone", false);
        e.visibilityHidden = j.value("visibilityHidden", false);
        e.absolute = j.value("absolute", false);
        e.left = number(j, "left");
        e.top = number(j, "top");
        e.width = number(j, "width");
        e.height = number(j, "height");
        e.background = color(j, "background");
        e.color = color(j, "color");
        e.image = j.value("image", false);
        e.imageWidth = j.value("imageWidth", 0.0);
        e.imageHeight = j.value("imageHeight", 0.0);
        e.text = j.value("text", "");
        return e;
    };
    content.background = color(json, "background");
    // The elements come flat, in document order, each naming its parent's
    // place (-1: the body); children follow their parents, so building from
    // the end moves every finished child into its parent.
    auto it = json.find("elements");
    if (it == json.end() || !it->is_array()) return content;
    std::vector<VisibleElement> items;
    std::vector<std::vector<std::size_t>> children(it->size());
    std::vector<std::size_t> top;
    for (std::size_t i = 0; i < it->size(); ++i) {
        const nlohmann::json& j = (*it)[i];
        items.push_back(element(j));
        long parent = j.value("parent", -1L);
        if (parent >= 0 && static_cast<std::size_t>(parent) < i) children[static_cast<std::size_t>(parent)].push_back(i);
        else top.push_back(i);
    }
    for (std::size_t i = items.size(); i-- > 0;) {
        for (std::size_t c : children[i]) items[i].children.push_back(std::move(items[c]));
    }
    for (std::size_t i : top) content.elements.push_back(std::move(items[i]));
    return content;
}

// ---- natives ----

duk_ret_t RealPageEngine::Document::nativeLog(duk_context* ctx) {
    std::string level = duk_safe_to_string(ctx, 0);
    std::string text = duk_safe_to_string(ctx, 1);
    NSLog("console.%@: %@", level, text);
    return 0;
}

duk_ret_t RealPageEngine::Document::nativeReportError(duk_context* ctx) {
    from(ctx)->logError(0);
    return 0;
}

duk_ret_t RealPageEngine::Document::nativeNavigate(duk_context* ctx) {
    Document* d = from(ctx);
    std::string text = duk_safe_to_string(ctx, 0);
    auto type = static_cast<UIWebViewNavigationType>(duk_get_int(ctx, 1));
    std::string method = duk_safe_to_string(ctx, 2);
    std::string body = duk_safe_to_string(ctx, 3);
    Ref<NSURL> url = d->resolve(text);
    if (!url) {
        NSLog("Navigation to an invalid URL ignored: %@", text);
        return 0;
    }
    auto request = NSMutableURLRequest::requestWithURL(url.get());
    request->setMainDocumentURL(url.get());
    request->setMainFrame(true);
    if (method == "POST") {
        request->setHTTPMethod("POST");
        request->setHTTPBody(Data(body.begin(), body.end()));
        request->setValueForHTTPHeaderField(std::string("application/x-www-form-urlencoded"), "Content-Type");
    }
    d->navigateLater({request, type, true});
    return 0;
}

duk_ret_t RealPageEngine::Document::nativeResolve(duk_context* ctx) {
    Ref<NSURL> url = from(ctx)->resolve(duk_safe_to_string(ctx, 0));
    if (!url) return 0;
    duk_push_string(ctx, url->absoluteString().c_str());
    return 1;
}

duk_ret_t RealPageEngine::Document::nativeSetTimer(duk_context* ctx) {
    Document* d = from(ctx);
    int id = duk_get_int(ctx, 0);
    double seconds = duk_get_number(ctx, 1) / 1000.0;
    bool repeat = duk_to_boolean(ctx, 2);
    std::weak_ptr<Document> weak = d->weak_from_this();
    d->timers_[id] = d->host_.scheduleTimer(seconds, [weak, id, seconds, repeat] {
        if (auto doc = weak.lock()) doc->fireTimer(id, seconds, repeat);
    });
    return 0;
}

duk_ret_t RealPageEngine::Document::nativeClearTimer(duk_context* ctx) {
    Document* d = from(ctx);
    auto it = d->timers_.find(duk_get_int(ctx, 0));
    if (it != d->timers_.end()) {
        d->host_.cancelTimer(it->second);
        d->timers_.erase(it);
    }
    return 0;
}

// Markup as nested arrays: [1, name, [attribute, value, ...], [children]],
// [3, text] or [8, comment].
duk_ret_t RealPageEngine::Document::nativeParseFragment(duk_context* ctx) {
    Document* d = from(ctx);
    std::vector<HtmlNode> nodes = parseFragment(duk_safe_to_string(ctx, 0), duk_safe_to_string(ctx, 1));
    std::function<void(const HtmlNode&)> push = [&](const HtmlNode& node) {
        duk_require_stack(ctx, 4);
        duk_push_array(ctx);
        if (node.kind != HtmlNode::Kind::element) {
            duk_push_int(ctx, node.kind == HtmlNode::Kind::comment ? 8 : 3);
            duk_put_prop_index(ctx, -2, 0);
            duk_push_lstring(ctx, node.text.data(), node.text.size());
            duk_put_prop_index(ctx, -2, 1);
            return;
        }
        duk_push_int(ctx, 1);
        duk_put_prop_index(ctx, -2, 0);
        duk_push_lstring(ctx, node.name.data(), node.name.size());
        duk_put_prop_index(ctx, -2, 1);
        d->pushAttributes(node);
        duk_put_prop_index(ctx, -2, 2);
        duk_push_array(ctx);
        duk_uarridx_t i = 0;
        for (const HtmlNode& child : node.children) {
            push(child);
            duk_put_prop_index(ctx, -2, i++);
        }
        duk_put_prop_index(ctx, -2, 3);
    };
    duk_push_array(ctx);
    duk_uarridx_t i = 0;
    for (const HtmlNode& node : nodes) {
        push(node);
        duk_put_prop_index(ctx, -2, i++);
    }
    return 1;
}

// A script added by the page itself: it loads without holding the parse, and
// the load event waits for it.
duk_ret_t RealPageEngine::Document::nativeLoadScript(duk_context* ctx) {
    Document* d = from(ctx);
    int id = duk_get_int(ctx, 0);
    Ref<NSURL> url = d->resolve(duk_safe_to_string(ctx, 1));
    if (!url || d->stopped_) return 0;
    ++d->pendingLoads_;
    std::weak_ptr<Document> weak = d->weak_from_this();
    std::string urlText = url->absoluteString();
    d->loads_[id] = d->host_.loadSubresource(d->requestFor(url.get()).get(), [weak, id, urlText](const LoadResult& result) {
        if (auto doc = weak.lock()) doc->scriptLoaded(id, urlText, result, false);
    });
    return 0;
}

duk_ret_t RealPageEngine::Document::nativeRunScript(duk_context* ctx) {
    Document* d = from(ctx);
    if (d->run(duk_safe_to_string(ctx, 0), duk_safe_to_string(ctx, 1), false)) duk_pop(ctx);
    return 0;
}

// An iframe's document is a navigation of its own, asked of the host on the
// next turn; when allowed it runs as a page of its own, and the page's load
// event waits for the frame's.
duk_ret_t RealPageEngine::Document::nativeLoadFrame(duk_context* ctx) {
    Document* d = from(ctx);
    int id = duk_get_int(ctx, 0);
    Ref<NSURL> url = d->resolve(duk_safe_to_string(ctx, 1));
    Size size{duk_get_number(ctx, 2), duk_get_number(ctx, 3)};
    if (!url || d->stopped_) return 0;
    ++d->pendingLoads_;
    auto request = NSMutableURLRequest::requestWithURL(url.get());
    if (d->url_) request->setMainDocumentURL(d->url_.get());
    request->setMainFrame(false);
    std::weak_ptr<Document> weak = d->weak_from_this();
    Ref<NSURLRequest> frameRequest = request;
    d->host_.scheduleTimer(0, [weak, id, frameRequest, size] {
        auto doc = weak.lock();
        if (!doc || doc->stopped_) return;
        auto ended = [weak, id](bool ok) {
            auto doc = weak.lock();
            if (!doc) return;
            doc->callApi("loaded", 2, [&] { duk_push_int(doc->ctx_, id); duk_push_boolean(doc->ctx_, ok); });
            doc->loadEnded();
        };
        bool allowed = doc->host_.navigate({frameRequest, UIWebViewNavigationTypeOther, false},
                                           [weak, id, size, ended, frameRequest](const LoadResult& result) {
            auto doc = weak.lock();
            if (!doc) return;
            auto& frame = doc->frames_[id];
            if (!frame) frame = std::make_shared<FrameHost>(doc->host_, size, doc->limits_);
            NSURL* url = result.response && result.response->URL() ? result.response->URL() : frameRequest->URL();
            frame->show(result, url, ended);
        });
        if (!allowed) {
            doc->callApi("forget", 1, [&] { duk_push_int(doc->ctx_, id); });
            doc->loadEnded();
        }
    });
    return 0;
}

duk_ret_t RealPageEngine::Document::nativeLoadImage(duk_context* ctx) {
    Document* d = from(ctx);
    int id = duk_get_int(ctx, 0);
    Ref<NSURL> url = d->resolve(duk_safe_to_string(ctx, 1));
    if (!url || d->stopped_) return 0;
    ++d->pendingLoads_;
    std::weak_ptr<Document> weak = d->weak_from_this();
    d->loads_[id] = d->host_.loadSubresource(d->requestFor(url.get()).get(), [weak, id](const LoadResult& result) {
        auto doc = weak.lock();
        if (!doc) return;
        doc->loads_.erase(id);
        Ref<UIImage> image = isSuccess(result) ? UIImage::fromData(result.body, 1) : nullptr;
        std::optional<Size> size;
        if (image) size = image->size_;
        doc->callApi("loaded", 4, [&] {
            duk_push_int(doc->ctx_, id);
            duk_push_boolean(doc->ctx_, size.has_value());
            duk_push_number(doc->ctx_, size ? size->width : 0);
            duk_push_number(doc->ctx_, size ? size->height : 0);
        });
        doc->loadEnded();
    });
    return 0;
}

duk_ret_t RealPageEngine::Document::nativeViewport(duk_context* ctx) {
    Size size = from(ctx)->host_.viewSize();
    duk_push_array(ctx);
    duk_push_number(ctx, size.width);
    duk_put_prop_index(ctx, -2, 0);
    duk_push_number(ctx, size.height);
    duk_put_prop_index(ctx, -2, 1);
    return 1;
}

duk_ret_t RealPageEngine::Document::nativeUserAgent(duk_context* ctx) {
    std::string agent = from(ctx)->host_.userAgent();
    duk_push_lstring(ctx, agent.data(), agent.size());
    return 1;
}

// ---- the engine ----

RealPageEngine::RealPageEngine(PageHost& host, PageLimits limits) : host_(host), limits_(limits) {}

RealPageEngine::~RealPageEngine() = default;

void RealPageEngine::loadDocument(const std::string& html, NSURL* baseURL) {
    document_.reset();
    auto document = std::make_shared<Document>(host_, limits_);
    document_ = document;
    if (!document->start(html, baseURL) && document_ == document) {
        document_.reset();
        host_.pageFailedLoading(NSError::errorWithDomain("WebKitErrorDomain", 0, {}).get());
    }
}

ScriptResult RealPageEngine::evaluateScript(const std::string& script) {
    if (!document_) return {};
    auto document = document_;
    return document->evaluate(script);
}

void RealPageEngine::stop() {
    if (document_) document_->stop();
}

PageContent RealPageEngine::visibleContent() const {
    if (!document_) return {};
    auto document = document_;
    return document->content();
}

void RealPageEngine::install() {
    setPageEngineFactory([](PageHost& host) { return std::make_unique<RealPageEngine>(host); });
}

}  // namespace platform::webkit
