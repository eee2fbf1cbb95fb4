#include "settings/support_mail.h"

#include <thread>

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
    // The list takes a while: the Settings app goes on meanwhile.
    std::thread([page, path = list.value()] {
        bool listed = processRunner::run({"/usr/bin/dpkg", "-l"}, path, kPackageListTimeLimit).succeeded();
        dispatch_async(dispatch_get_main_queue(), [page, path, listed] {
            Value packages = listed ? fileData(path) : Value();
            fs::removeFile(path);
            presentMail(page, packages);
        });
    }).detach();
}

void mailComposeControllerDidFinish(id self, id, long long, Value) { sel::dismissViewControllerAnimated_completion_(self, true, nullptr); }

}  // namespace rousa
