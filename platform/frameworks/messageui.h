// MessageUI: MFMailComposeViewController, the mail sheet. Whether the device
// can send mail (a mail account is set up) is the device's, set by tests. The
// sheet keeps what it was given (recipients, subject, attachments) and its
// delegate (weak); what the user does with it (send, cancel, ...) is
// delivered by tests through `finish`. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/uikit/view_controller.h"

namespace platform {

inline constexpr long long MFMailComposeResultCancelled = 0;
inline constexpr long long MFMailComposeResultSaved = 1;
inline constexpr long long MFMailComposeResultSent = 2;
inline constexpr long long MFMailComposeResultFailed = 3;

namespace sel {
inline constexpr Sel<bool(id)> canSendMail{"canSendMail"};  // class method
inline constexpr Sel<void(id, id)> setMailComposeDelegate_{"setMailComposeDelegate:"};
inline constexpr Sel<Ref<Object>(id)> mailComposeDelegate{"mailComposeDelegate"};
inline constexpr Sel<void(id, Value)> setToRecipients_{"setToRecipients:"};
inline constexpr Sel<void(id, Value)> setSubject_{"setSubject:"};
// The data must not be nil (NSInvalidArgumentException).
inline constexpr Sel<void(id, Value, Value, Value)> addAttachmentData_mimeType_fileName_{"addAttachmentData:mimeType:fileName:"};
// The delegate's; the error is nil unless the result is a failure.
inline constexpr Sel<void(id, id, long long, Value)> mailComposeController_didFinishWithResult_error_{
    "mailComposeController:didFinishWithResult:error:"};
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
    Value subject_;
    std::vector<Attachment> attachments_;
};

namespace messageui {
// Whether the device has a mail account; YES until set.
void setCanSendMail(bool can);
// The user ends the sheet: its delegate hears the result.
void finish(MFMailComposeViewController* sheet, long long result);
void registerClasses();
}  // namespace messageui

}  // namespace platform
