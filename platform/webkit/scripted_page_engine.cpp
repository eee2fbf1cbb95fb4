#include "platform/webkit/scripted_page_engine.h"

#include "platform/foundation/log.h"

namespace platform::webkit {

PageScript& PageScript::navigate(std::string url, UIWebViewNavigationType type) {
    navigations.push_back(Step{std::move(url), type, true, "GET", {}});
    return *this;
}

PageScript& PageScript::frame(std::string url) {
    navigations.push_back(Step{std::move(url), UIWebViewNavigationTypeOther, false, "GET", {}});
    return *this;
}

PageScript& PageScript::submit(std::string url, std::string formBody) {
    navigations.push_back(Step{std::move(url), UIWebViewNavigationTypeFormSubmitted, true, "POST", std::move(formBody)});
    return *this;
}

PageScript& PageScript::show(PageContent shown) {
    content = std::move(shown);
    return *this;
}

PageScript& PageScript::fail(long long code) {
    end = End::Fail;
    failCode = code;
    return *this;
}

PageScript& PageScript::neverEnd() {
    end = End::Never;
    return *this;
}

PageScript& PageScript::answering(std::string text) {
    answer = std::move(text);
    return *this;
}

PageScript& PageScript::throwing() {
    error = true;
    return *this;
}

ScriptedPages& ScriptedPages::shared() {
    static ScriptedPages pages;
    return pages;
}

void ScriptedPages::whenLoaded(std::string key, PageScript script) { loads_.emplace_back(std::move(key), std::move(script)); }

void ScriptedPages::whenEvaluated(std::string script, PageScript what) { scripts_.emplace_back(std::move(script), std::move(what)); }

const PageScript* ScriptedPages::forDocument(const std::string& url, const std::string& html) const {
    for (auto it = loads_.rbegin(); it != loads_.rend(); ++it)
        if (it->first == url || (!it->first.empty() && html.find(it->first) != std::string::npos)) return &it->second;
    return nullptr;
}

const PageScript* ScriptedPages::forScript(const std::string& script) const {
    for (auto it = scripts_.rbegin(); it != scripts_.rend(); ++it)
        if (it->first == script) return &it->second;
    return nullptr;
}

void ScriptedPageEngine::loadDocument(const std::string& html, NSURL* baseURL) {
    ++generation_;
    pendingFrames_ = 0;
    pendingEnd_.reset();
    url_ = baseURL;
    content_ = {};
    std::string urlText = baseURL ? baseURL->absoluteString() : "about:blank";
    ScriptedPages::shared().recordDocument(urlText);
    const PageScript* found = ScriptedPages::shared().forDocument(urlText, html);
    // A copy: the host's calls may add scripts.
    PageScript script = found ? *found : PageScript{};
    if (!act(script)) return;
    pendingEnd_ = script;
    if (pendingFrames_ == 0) endLoad();
}

ScriptResult ScriptedPageEngine::evaluateScript(const std::string& text) {
    ScriptedPages::shared().recordEvaluated(text);
    const PageScript* found = ScriptedPages::shared().forScript(text);
    if (!found) return {};
    PageScript script = *found;
    act(script);
    if (script.error) return ScriptResult{"", true, "scripted error"};
    return ScriptResult{script.answer, false, {}};
}

void ScriptedPageEngine::stop() {
    ++generation_;
    pendingFrames_ = 0;
    pendingEnd_.reset();
}

bool ScriptedPageEngine::act(const PageScript& script) {
    std::uint64_t generation = generation_;
    for (const PageScript::Step& step : script.navigations) {
        Ref<NSURL> url = NSURL::URLWithString(step.url, url_.get());
        if (!url) {
            NSLog("scripted page: no URL in \"%@\"", Value(step.url));
            continue;
        }
        Ref<NSMutableURLRequest> request = NSMutableURLRequest::requestWithURL(url.get());
        request->setHTTPMethod(step.method);
        if (!step.body.empty()) request->setHTTPBody(Data(step.body.begin(), step.body.end()));
        Navigation navigation{request, step.type, step.mainFrame};
        if (step.mainFrame) {
            if (host_.navigate(navigation)) return false;
        } else if (host_.navigate(navigation, [this, generation](const LoadResult&) { frameEnded(generation); })) {
            ++pendingFrames_;
        }
        // The host's delegate may have loaded something else meanwhile.
        if (generation != generation_) return false;
    }
    if (script.content) content_ = *script.content;
    return true;
}

void ScriptedPageEngine::frameEnded(std::uint64_t generation) {
    if (generation != generation_ || pendingFrames_ == 0) return;
    if (--pendingFrames_ == 0 && pendingEnd_) endLoad();
}

void ScriptedPageEngine::endLoad() {
    PageScript script = std::move(*pendingEnd_);
    pendingEnd_.reset();
    switch (script.end) {
        case PageScript::End::Finish: host_.pageFinishedLoading(); break;
        case PageScript::End::Fail: {
            Value::Dictionary info;
            if (url_) info[std::string(NSURLErrorFailingURLStringErrorKey)] = Value(url_->absoluteString());
            host_.pageFailedLoading(NSError::errorWithDomain(NSURLErrorDomain, script.failCode, Value(std::move(info))).get());
            break;
        }
        case PageScript::End::Never: break;
    }
}

}  // namespace platform::webkit
