#include "platform/frameworks/messageui.h"

#include <atomic>

namespace platform::messageui {

namespace {
std::atomic<bool> canSend{true};
MFMailComposeViewController* sheet(id self) { return as<MFMailComposeViewController>(self); }
}  // namespace

void setCanSendMail(bool can) { canSend = can; }

void finish(MFMailComposeViewController* s, long long result) {
    if (!s) return;
    Ref<MFMailComposeViewController> protector(s);
    Ref<Object> delegate = s->mailComposeDelegate_.lock();
    if (delegate && respondsToSelector(delegate, sel::mailComposeController_didFinishWithResult_error_.name))
        sel::mailComposeController_didFinishWithResult_error_(delegate, s, result, Value());
}

void registerClasses() {
    ClassBuilder<MFMailComposeViewController>("MFMailComposeViewController", "UIViewController")
        .classMethod(sel::canSendMail, [](id) { return canSend.load(); })
        .method(sel::setMailComposeDelegate_, [](id self, id delegate) { sheet(self)->mailComposeDelegate_ = delegate; })
        .method(sel::mailComposeDelegate, [](id self) { return sheet(self)->mailComposeDelegate_.lock(); })
        .method(sel::setToRecipients_, [](id self, Value recipients) { sheet(self)->toRecipients_ = recipients; })
        .method(sel::setSubject_, [](id self, Value subject) { sheet(self)->subject_ = subject; })
        .method(sel::addAttachmentData_mimeType_fileName_, [](id self, Value data, Value mimeType, Value fileName) {
            if (data.kind() != Value::Kind::Data)
                raise("NSInvalidArgumentException", "-[MFMailComposeViewController addAttachmentData:mimeType:fileName:] attachment must not be nil.");
            sheet(self)->attachments_.push_back({data.data(), mimeType.stringOr(""), fileName.stringOr("")});
        });
}

}  // namespace platform::messageui
