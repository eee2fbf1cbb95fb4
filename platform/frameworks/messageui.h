// MessageUI: MFMailComposeViewController, the mail sheet, and
// MFMessageComposeViewController, the text message sheet. Whether the device
// can send mail (a mail account is set up) or text is the device's, set by
// tests. A sheet keeps what it was given (recipients, subject, body,
// attachments) and its delegate (weak); what the user does with it (send,
// cancel, ...) is delivered by tests through `finish`. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/uikit/view_controller.h"

namespace platform {

inline constexpr long long MFMailComposeResultCancelled = 0;
inline constexpr long long MFMailComposeResultSaved = 1;
inline constexpr long long MFMailComposeResultSent = 2;
inline constexpr long long MFMailComposeResultFailed = 3;
inline constexpr long long MessageComposeResultCancelled = 0;
inline constexpr long long MessageComposeResultSent = 1;
inline constexpr long long MessageComposeResultFailed = 2;

namespace sel {
inline constexpr Sel<bool(id)> canSendMail{"canSendMail"};  // class method
inline constexpr Sel<void(id, id)> setMailComposeDelegate_{"setMailComposeDelegate:"};
inline constexpr Sel<Ref<Object>(id)> mailComposeDelegate{"mailComposeDelegate"};
inline constexpr Sel<void(id, Value)> setToRecipients_{"setToRecipients:"};
inline constexpr Sel<void(id, Value)> setSubject_{"setSubject:"};
inline constexpr Sel<void(id, Value)> setCcRecipients_{"setCcRecipients:"};
inline constexpr Sel<void(id, Value)> setBccRecipients_{"setBccRecipients:"};
inline constexpr Sel<void(id, Value, bool)> setMessageBody_isHTML_{"setMessageBody:isHTML:"};
// The data must not be nil (NSInvalidArgumentException).
inline constexpr Sel<void(id, Value, Value, Value)> addAttachmentData_mimeType_fileName_{"addAttachmentData:mimeType:fileName:"};
// The delegate's; the error is nil unless the result is a failure.
inline constexpr Sel<void(id, id, long long, Value)> mailComposeController_didFinishWithResult_error_{
    "mailComposeController:didFinishWithResult:error:"};
inline constexpr Sel<bool(id)> canSendText{"canSendText"};  // class method
inline constexpr Sel<void(id, id)> setMessageComposeDelegate_{"setMessageComposeDelegate:"};
inline constexpr Sel<Ref<Object>(id)> messageComposeDelegate{"messageComposeDelegate"};
inline constexpr Sel<Value(id)> recipients{"recipients"};
inline constexpr Sel<void(id, Value)> setRecipients_{"setRecipients:"};
inline constexpr Sel<Value(id)> body{"body"};
inline constexpr Sel<void(id, Value)> setBody_{"setBody:"};
inline constexpr Sel<void(id, id, long long)> messageComposeViewController_didFinishWithResult_{
    "messageComposeViewController:didFinishWithResult:"};
}  // namespace sel

class MFMailComposeViewController : public UIViewController {
public:
    struct Attachment {
        Data data;
        std::string mimeType;
        std::string fileName;
    };
    WeakRef<Object> mailComposeDelegate_;
    Value toRecipients_;
    Value ccRecipients_;
    Value bccRecipients_;
    Value subject_;
    Value messageBody_;
    bool messageBodyIsHTML_ = false;
    std::vector<Attachment> attachments_;
};

class MFMessageComposeViewController : public UIViewController {
public:
    WeakRef<Object> messageComposeDelegate_;
    Value recipients_;
    Value body_;
};

namespace messageui {
// Whether the device has a mail account; YES until set.
void setCanSendMail(bool can);
// Whether the device can send text messages; YES until set.
void setCanSendText(bool can);
// The user ends the sheet: its delegate hears the result.
void finish(MFMailComposeViewController* sheet, long long result);
void finish(MFMessageComposeViewController* sheet, long long result);
void registerClasses();
}  // namespace messageui

}  // namespace platform
