#include "settings/support_mail.h"

#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <mutex>

#include "platform/foundation/file_system.h"
#include "platform/frameworks/messageui.h"
#include "platform/frameworks/process_runner.h"
#include "settings_fixture.h"

namespace rousa {
namespace {

using testing::SettingsTest;
using Outcome = processRunner::Outcome;

constexpr const char* kListing = "ii  dpkg  1.21.22  amd64  Debian package management system\n";

std::string text(const Data& d) { return std::string(d.begin(), d.end()); }

class SupportMail : public SettingsTest {
protected:
    SupportMail() {
        processRunner::setRunner([this](const std::vector<std::string>& argv, const std::string& path, double timeout) {
            {
                std::lock_guard guard(mutex);
                calls.push_back({argv, path, timeout});
            }
            if (blocked) {
                std::unique_lock lock(mutex);
                released.wait(lock, [this] { return !blocked; });
            }
            std::ofstream(fs::resolve(path)) << output;
            ++finished;
            return outcome;
        });
        root = openRoot();
    }
    ~SupportMail() override {
        release();
        processRunner::setRunner({});
        messageui::setCanSendMail(true);
    }

    void release() {
        {
            std::lock_guard guard(mutex);
            blocked = false;
        }
        released.notify_all();
    }
    // The support row of the root page.
    void pressSupport() { select(root, 1, 0); }
    // Waits (in real time, for the list's thread) until the mail is shown or the list's file is gone.
    MFMailComposeViewController* waitForMail() {
        RunLoop::main().runUntil([this] { return root->presented_ || (finished > 0 && privateFiles().empty()); }, 10.0);
        return as<MFMailComposeViewController>(root->presented_.get());
    }
    bool ran() {
        std::lock_guard guard(mutex);
        return !calls.empty();
    }
    // The files in the device's /tmp other than planted ones.
    std::vector<std::string> privateFiles() {
        std::vector<std::string> out;
        for (const auto& f : fs::listDirectory("/tmp"))
            if (f.rfind("dpkgl.", 0) == 0 && f != "dpkgl.log") out.push_back(f);
        return out;
    }
    static const MFMailComposeViewController::Attachment* attachment(MFMailComposeViewController* mail, const std::string& name) {
        for (const auto& a : mail->attachments_)
            if (a.fileName == name) return &a;
        return nullptr;
    }
    static void writePrefs() {
        ASSERT_TRUE(plist::writeFile(kRousaPrefsPath, Value{{"sleepaction", Value(2)}, {"Alarms", Value::array({})}}));
    }

    struct Call {
        std::vector<std::string> argv;
        std::string path;
        double timeout;
    };
    std::mutex mutex;
    std::condition_variable released;
    std::vector<Call> calls;
    std::atomic<bool> blocked{false};
    std::atomic<int> finished{0};  // lists the runner has written
    std::string output = kListing;
    Outcome outcome{true, false, 0};
    Ref<PSListController> root;
};

TEST_F(SupportMail, AttachesThePreferencesAndThePackageListAndDismissesWhenDone) {
    writePrefs();
    pressSupport();
    EXPECT_FALSE(root->presented_);  // the list is made off the main thread first
    MFMailComposeViewController* mail = waitForMail();
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->toRecipients_, Value::array({Value(kSupportAddress)}));
    EXPECT_EQ(mail->subject_, Value("Rousa 2"));
    EXPECT_EQ(mail->mailComposeDelegate_.lock().get(), root.get());
    ASSERT_EQ(mail->attachments_.size(), 2u);
    EXPECT_EQ(mail->attachments_[0].fileName, "Prefs.plist");
    EXPECT_EQ(mail->attachments_[0].mimeType, "application/xml");
    EXPECT_EQ(text(mail->attachments_[0].data), fs::readFile(kRousaPrefsPath).value());
    EXPECT_EQ(mail->attachments_[1].fileName, "dpkgl.txt");
    EXPECT_EQ(mail->attachments_[1].mimeType, "text/plain");
    EXPECT_EQ(text(mail->attachments_[1].data), kListing);
    // The host's package list, within ten seconds, into a private file that is gone afterwards.
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].argv, (std::vector<std::string>{"/usr/bin/dpkg", "-l"}));
    EXPECT_EQ(calls[0].timeout, kPackageListTimeLimit);
    EXPECT_EQ(fs::dirname(calls[0].path), "/tmp");
    EXPECT_NE(calls[0].path, "/tmp/dpkgl.log");
    EXPECT_FALSE(fs::exists(calls[0].path));

    messageui::finish(mail, MFMailComposeResultSent);
    EXPECT_FALSE(root->presented_);
}

TEST_F(SupportMail, WithoutAMailAccountNothingRuns) {
    messageui::setCanSendMail(false);
    pressSupport();
    RunLoop::main().advance(1.0);
    EXPECT_FALSE(root->presented_);
    EXPECT_FALSE(ran());
    EXPECT_TRUE(privateFiles().empty());
}

TEST_F(SupportMail, AFreshInstallWithoutAPreferenceFileSendsThePackageListOnly) {
    pressSupport();
    MFMailComposeViewController* mail = waitForMail();
    ASSERT_NE(mail, nullptr);
    ASSERT_EQ(mail->attachments_.size(), 1u);
    EXPECT_EQ(mail->attachments_[0].fileName, "dpkgl.txt");
}

TEST_F(SupportMail, APackageListThatFailsOrTakesTooLongIsLeftOut) {
    struct Case {
        const char* name;
        Outcome outcome;
    } const cases[] = {{"failed", {true, false, 1}}, {"not started", {false, false, -1}}, {"timed out", {true, true, -1}}};
    writePrefs();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        outcome = c.outcome;
        pressSupport();
        MFMailComposeViewController* mail = waitForMail();
        ASSERT_NE(mail, nullptr);
        ASSERT_EQ(mail->attachments_.size(), 1u);
        EXPECT_EQ(mail->attachments_[0].fileName, "Prefs.plist");
        EXPECT_TRUE(privateFiles().empty());
        messageui::finish(mail, MFMailComposeResultCancelled);
        ASSERT_FALSE(root->presented_);
    }
}

TEST_F(SupportMail, AListReadyAfterThePageLeftTheScreenShowsNothing) {
    blocked = true;
    pressSupport();
    // The Settings app keeps running meanwhile; the user leaves the page.
    sel::popViewControllerAnimated_(preferences::rootNavigationController(), true);
    RunLoop::main().advance(1.0);
    release();
    EXPECT_EQ(waitForMail(), nullptr);
    EXPECT_TRUE(ran());
    EXPECT_TRUE(privateFiles().empty());
    EXPECT_FALSE(sel::presentedViewController(top()));
}

TEST_F(SupportMail, ThePageGoingAwayRemovesAListStillBeingMade) {
    blocked = true;
    pressSupport();
    RunLoop::main().runUntil([this] { return ran(); }, 10.0);
    ASSERT_EQ(privateFiles().size(), 1u);
    sel::popViewControllerAnimated_(preferences::rootNavigationController(), true);
    RunLoop::main().advance(1.0);
    // The Settings app may end before the list is done: nothing of it is left by then.
    EXPECT_TRUE(privateFiles().empty());
    release();
    EXPECT_EQ(waitForMail(), nullptr);
    EXPECT_TRUE(privateFiles().empty());
}

TEST_F(SupportMail, APlantedFileInTmpIsLeftAlone) {
    std::filesystem::path victim = env.hostPath("/var/mobile/victim.txt");
    std::ofstream(victim) << "precious";
    std::filesystem::path planted = env.hostPath("/tmp/dpkgl.log");
    std::filesystem::create_symlink(victim, planted);
    pressSupport();
    MFMailComposeViewController* mail = waitForMail();
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(text(attachment(mail, "dpkgl.txt")->data), kListing);
    EXPECT_TRUE(std::filesystem::is_symlink(planted));
    EXPECT_EQ(fs::readFile("/var/mobile/victim.txt").value(), "precious");
}

TEST_F(SupportMail, ThePrivateFileIsOnlyTheUsers) {
    blocked = true;
    pressSupport();
    ASSERT_TRUE(RunLoop::main().runUntil([this] { return ran(); }, 10.0));
    struct stat info {};
    ASSERT_EQ(::stat(fs::resolve(calls[0].path).c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    release();
    EXPECT_NE(waitForMail(), nullptr);
}

TEST_F(SupportMail, TheRealRunnerListsTheHostsPackages) {
    if (!std::filesystem::exists("/usr/bin/dpkg")) GTEST_SKIP() << "no dpkg on this machine";
    processRunner::setRunner({});
    pressSupport();
    RunLoop::main().runUntil([this] { return static_cast<bool>(root->presented_); }, 15.0);
    auto* mail = as<MFMailComposeViewController>(root->presented_.get());
    ASSERT_NE(mail, nullptr);
    const auto* list = attachment(mail, "dpkgl.txt");
    ASSERT_NE(list, nullptr);
    EXPECT_NE(text(list->data).find("Desired="), std::string::npos);
}

}  // namespace
}  // namespace rousa
