#include "settings/support_mail.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "platform/foundation/file_system.h"
#include "platform/foundation/run_loop.h"
#include "platform/frameworks/messageui.h"
#include "platform/frameworks/process_runner.h"
#include "tweak/engine/store.h"

namespace rousa {

namespace {

Value fileData(const std::string& path) {
    auto bytes = fs::readFile(path);
    if (!bytes) return Value();
    return Value(Data(bytes->begin(), bytes->end()));
}

void attach(id mail, const Value& data, const char* mimeType, const char* fileName) {
    if (data.isNil()) return;
    sel::addAttachmentData_mimeType_fileName_(mail, data, Value(mimeType), Value(fileName));
}

// Package lists being made, with the page that asked: a list whose page went
// away is removed then, not left behind when the Settings app ends before the
// list is done. Main thread only.
struct PendingList {
    const Object* page;
    std::string path;
};
std::vector<PendingList>& pendingLists() {
    static auto* lists = new std::vector<PendingList>();
    return *lists;
}

// Removes the list's file; false when its page took it away already.
bool takeList(const std::string& path) {
    auto& lists = pendingLists();
    auto it = std::find_if(lists.begin(), lists.end(), [&](const PendingList& l) { return l.path == path; });
    if (it == lists.end()) return false;
    lists.erase(it);
    return true;
}

// On the main thread, once the package list is ready (nil when it failed).
void presentMail(const WeakRef<Object>& weakPage, const Value& packages) {
    Ref<Object> page = weakPage.lock();
    auto* controller = as<UIViewController>(page.get());
    if (!controller || !controller->shouldBeVisible()) return;
    Ref<Object> mail = newObject("MFMailComposeViewController");
    sel::setMailComposeDelegate_(mail, page);
    sel::setToRecipients_(mail, Value::array({Value(kSupportAddress)}));
    attach(mail, fileData(kRousaPrefsPath), "application/xml", "Prefs.plist");
    attach(mail, packages, "text/plain", "dpkgl.txt");
    sel::setSubject_(mail, Value(kSupportSubject));
    sel::presentViewController_animated_completion_(page, mail, true, nullptr);
}

}  // namespace

void supportClicked(id self, id) {
    if (!sel::canSendMail(objc_getClass("MFMailComposeViewController"))) return;
    WeakRef<Object> page(self);
    auto list = processRunner::createPrivateTemporaryFile("/tmp", "dpkgl");
    if (!list) {
        dispatch_async(dispatch_get_main_queue(), [page] { presentMail(page, Value()); });
        return;
    }
    pendingLists().push_back({self, list.value()});
    // The list takes a while: the Settings app goes on meanwhile.
    std::thread([page, path = list.value()] {
        bool listed = processRunner::run({"/usr/bin/dpkg", "-l"}, path, kPackageListTimeLimit).succeeded();
        dispatch_async(dispatch_get_main_queue(), [page, path, listed] {
            bool current = takeList(path);
            Value packages = listed && current ? fileData(path) : Value();
            fs::removeFile(path);
            if (current) presentMail(page, packages);
        });
    }).detach();
}

void removePackageListsOf(id page) {
    auto& lists = pendingLists();
    for (auto it = lists.begin(); it != lists.end();) {
        if (it->page != page) {
            ++it;
            continue;
        }
        fs::removeFile(it->path);
        it = lists.erase(it);
    }
}

void mailComposeControllerDidFinish(id self, id, long long, Value) { sel::dismissViewControllerAnimated_completion_(self, true, nullptr); }

}  // namespace rousa
