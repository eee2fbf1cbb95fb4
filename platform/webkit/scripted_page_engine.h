// The page engine of unit tests: no HTML is parsed and no script runs; a test
// says what a page does when its document loads or when a script is evaluated
// in it (ScriptedPages), and the engine acts it out through its host:
// navigations with their types (a "pmsg" creative message is one), the
// content the page shows from then on, the end of the load (finish, fail, or
// nothing), and a script's answer or error. Every document loaded and every
// script evaluated is recorded, in order, for the whole process.
//
// A load waits for the frames it started before it finishes; a main-frame
// navigation that the host lets go ahead ends the acting out (the page is
// being replaced). Without a script a document finishes at once, blank, and
// a script answers "". Main thread only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/webkit/page_engine.h"

namespace platform::webkit {

struct PageScript {
    // One navigation the page starts; the URL is resolved against the page's.
    struct Step {
        std::string url;
        UIWebViewNavigationType type = UIWebViewNavigationTypeOther;
        bool mainFrame = true;
        std::string method = "GET";
        std::string body;
    };
    enum class End { Finish, Fail, Never };

    std::vector<Step> navigations;
    std::optional<PageContent> content;
    // For a document: how its load ends; a failure carries `failCode`
    // (NSURLErrorDomain).
    End end = End::Finish;
    long long failCode = 0;
    // For a script: its result, or an error (the web view then answers "").
    std::string answer;
    bool error = false;

    PageScript& navigate(std::string url, UIWebViewNavigationType type = UIWebViewNavigationTypeOther);
    PageScript& frame(std::string url);
    PageScript& submit(std::string url, std::string body);  // a form POST, type 1
    PageScript& show(PageContent shown);
    PageScript& fail(long long code);
    PageScript& neverEnd();
    PageScript& answering(std::string text);
    PageScript& throwing();
};

class ScriptedPages {
public:
    static ScriptedPages& shared();

    // What a document does: `key` matches a document whose URL text equals it
    // or whose HTML contains it; the latest matching script wins.
    void whenLoaded(std::string key, PageScript script);
    // What evaluating exactly `script` does.
    void whenEvaluated(std::string script, PageScript what);

    // Every script evaluated, in order; the URL text of every document loaded
    // ("about:blank" for none), in order.
    const std::vector<std::string>& evaluated() const { return evaluated_; }
    const std::vector<std::string>& documents() const { return documents_; }

    const PageScript* forDocument(const std::string& url, const std::string& html) const;
    const PageScript* forScript(const std::string& script) const;
    void recordEvaluated(std::string script) { evaluated_.push_back(std::move(script)); }
    void recordDocument(std::string url) { documents_.push_back(std::move(url)); }

private:
    std::vector<std::pair<std::string, PageScript>> loads_;
    std::vector<std::pair<std::string, PageScript>> scripts_;
    std::vector<std::string> evaluated_;
    std::vector<std::string> documents_;
};

class ScriptedPageEngine : public PageEngine {
public:
    explicit ScriptedPageEngine(PageHost& host) : host_(host) {}

    void loadDocument(const std::string& html, NSURL* baseURL) override;
    ScriptResult evaluateScript(const std::string& script) override;
    void stop() override;
    PageContent visibleContent() const override { return content_; }

private:
    // Starts the script's navigations; false when the page is being replaced.
    bool act(const PageScript& script);
    void frameEnded(std::uint64_t generation);
    void endLoad();

    PageHost& host_;
    Ref<NSURL> url_;
    PageContent content_;
    std::uint64_t generation_ = 0;
    int pendingFrames_ = 0;
    std::optional<PageScript> pendingEnd_;  // the load's end, waiting for its frames
};

}  // namespace platform::webkit
