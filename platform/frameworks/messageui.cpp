#include "platform/frameworks/messageui.h"

#include <atomic>

namespace platform::messageui {

namespace {
std::atomic<bool> canSend{true};
std::atomic<bool> canText{true};
MFMailComposeViewController* sheet(id self) { return as<MFMailComposeViewController>(self); }
MFMessageComposeViewController* messageSheet(id self) { return as<MFMessageComposeViewController>(self); }
}  // namespace

void setCanSendMail(bool can) { canSend = can; }
void setCanSendText(bool can) { canText = can; }

void finish(MFMessageComposeViewController* s, long long result) {
    if (!s) return;
    Ref<MFMessageComposeViewController> protector(s);
    Ref<Object> delegate = s->messageComposeDelegate_.lock();
    if (delegate && respondsToSelector(delegate, sel::messageComposeViewController_didFinishWithResult_.name))
        sel::messageComposeViewController_didFinishWithResult_(delegate, s, result);
}

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
        .method(sel::setCcRecipients_, [](id self, Value recipients) { sheet(self)->ccRecipients_ = recipients; })
        .method(sel::setBccRecipients_, [](id self, Value recipients) { sheet(self)->bccRecipients_ = recipients; })
        .method(sel::setMessageBody_isHTML_,
                [](id self, Value body, bool isHTML) {
                    sheet(self)->messageBody_ = body;
                    sheet(self)->messageBodyIsHTML_ = isHTML;
                })
        .method(sel::addAttachmentData_mimeType_fileName_, [](id self, Value data, Value mimeType, Value fileName) {
            if (data.kind() != Value::Kind::Data)
                raise("NSInvalidArgumentException", "-[MFMailComposeViewController addAttachmentData:mimeType:fileName:] attachment must not be nil.");
            sheet(self)->attachments_.push_back({data.data(), mimeType.stringOr(""), fileName.stringOr("")});
        });
    ClassBuilder<MFMessageComposeViewController>("MFMessageComposeViewController", "UIViewController")
        .classMethod(sel::canSendText, [](id) { return canText.load(); })
        .method(sel::setMessageComposeDelegate_, [](id self, id delegate) { messageSheet(self)->messageComposeDelegate_ = delegate; })
        .method(sel::messageComposeDelegate, [](id self) { return messageSheet(self)->messageComposeDelegate_.lock(); })
        .method(sel::recipients, [](id self) { return messageSheet(self)->recipients_; })
        .method(sel::setRecipients_, [](id self, Value recipients) { messageSheet(self)->recipients_ = recipients; })
        .method(sel::body, [](id self) { return messageSheet(self)->body_; })
        .method(sel::setBody_, [](id self, Value body) { messageSheet(self)->body_ = body; });
}

}  // namespace platform::messageui
