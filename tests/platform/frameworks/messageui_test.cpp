#include "platform/frameworks/messageui.h"

#include <gtest/gtest.h>

#include "platform/runtime/call_log.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class MailDelegate : public NSObject {};

TEST(MessageUI, TheSheetKeepsWhatItIsGivenAndTellsItsDelegateTheResult) {
    testing::TestEnvironment env(host::BootOptions{.bundleIdentifier = host::kSettingsApp});
    ClassBuilder<MailDelegate>("MailDelegate", "NSObject")
        .method(sel::mailComposeController_didFinishWithResult_error_,
                [](id, id, long long result, Value) { callLog::record("MailDelegate", "didFinish", std::to_string(result)); });
    Class* mailClass = objc_getClass("MFMailComposeViewController");
    EXPECT_TRUE(sel::canSendMail(mailClass));
    messageui::setCanSendMail(false);
    EXPECT_FALSE(sel::canSendMail(mailClass));

    auto sheet = as<MFMailComposeViewController>(newObject("MFMailComposeViewController"));
    Ref<Object> delegate = newObject("MailDelegate");
    sel::setMailComposeDelegate_(sheet, delegate);
    sel::setToRecipients_(sheet, Value::array({Value("a@example.com")}));
    sel::setSubject_(sheet, Value("Hi"));
    sel::addAttachmentData_mimeType_fileName_(sheet, Value(Data{'x'}), Value("text/plain"), Value("x.txt"));
    EXPECT_THROW(sel::addAttachmentData_mimeType_fileName_(sheet, Value(), Value("text/plain"), Value("y.txt")), NSException);
    ASSERT_EQ(sheet->attachments_.size(), 1u);
    EXPECT_EQ(sheet->attachments_[0].fileName, "x.txt");
    EXPECT_EQ(sheet->subject_, Value("Hi"));
    messageui::finish(sheet, MFMailComposeResultSent);
    EXPECT_EQ(callLog::lines("MailDelegate"), (std::vector<std::string>{"MailDelegate didFinish 2"}));
}

}  // namespace
}  // namespace platform
