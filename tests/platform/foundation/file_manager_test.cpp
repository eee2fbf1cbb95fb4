#include "platform/foundation/file_manager.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/foundation/error.h"
#include "platform/foundation/file_system.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

class NSFileManagerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setHomeDirectory("/var/mobile/Containers/Data/Application/net.quillory.AdSample");
        ASSERT_TRUE(fs::createDirectories(NSHomeDirectory() + "/Library/Caches"));
    }
    testing::TestEnvironment env;
    NSFileManager* files = NSFileManager::defaultManager();
};

TEST_F(NSFileManagerTest, SearchPathsAreTheSandboxFolders) {
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSDocumentDirectory, NSUserDomainMask, true),
              Value::array({Value(NSHomeDirectory() + "/Documents")}));
    EXPECT_EQ(NSSearchPathForDirectoriesInDomains(NSCachesDirectory, NSUserDomainMask, true),
              Value::array({Value(NSHomeDirectory() + "/Library/Caches")}));
    EXPECT_TRUE(NSSearchPathForDirectoriesInDomains(NSCachesDirectory, 0, true).array().empty());
}

TEST_F(NSFileManagerTest, FoldersAreMadeListedAndRemoved) {
    std::string caches = NSHomeDirectory() + "/Library/Caches";
    std::string deep = caches + "/ads/creatives";
    Value error;
    EXPECT_FALSE(files->createDirectoryAtPath(deep, false, Value(), &error));
    EXPECT_EQ(error.objectAs<NSError>()->code(), NSFileNoSuchFileError);
    EXPECT_TRUE(files->createDirectoryAtPath(deep, true, Value()));
    EXPECT_TRUE(files->createDirectoryAtPath(deep, true, Value()));  // already there
    bool isDirectory = false;
    EXPECT_TRUE(files->fileExistsAtPath(deep, &isDirectory));
    EXPECT_TRUE(isDirectory);
    ASSERT_TRUE(writeToFile(Data{'h', 'i'}, deep + "/b.html", true));
    ASSERT_TRUE(writeToFile(Data{'x'}, caches + "/ads/a.json", true));
    EXPECT_EQ(files->contentsOfDirectoryAtPath(caches + "/ads"), Value::array({Value("a.json"), Value("creatives")}));
    EXPECT_TRUE(files->contentsOfDirectoryAtPath(caches + "/none").isNil());
    EXPECT_TRUE(files->removeItemAtPath(caches + "/ads"));
    EXPECT_FALSE(files->fileExistsAtPath(deep + "/b.html"));
    error = Value();
    EXPECT_FALSE(files->removeItemAtPath(caches + "/ads", &error));
    EXPECT_EQ(error.objectAs<NSError>()->code(), NSFileNoSuchFileError);
}

TEST_F(NSFileManagerTest, TheModificationDateIsReadAndSet) {
    std::string path = NSHomeDirectory() + "/Library/Caches/file";
    ASSERT_TRUE(writeToFile(Data{1, 2, 3}, path, true));
    Value attributes = files->attributesOfItemAtPath(path);
    EXPECT_EQ(attributes[NSFileSize].intValue(), 3);
    EXPECT_EQ(attributes[NSFileType], Value(NSFileTypeRegular));
    Date old = Date::fromUnix(1700000000.5);
    EXPECT_TRUE(files->setAttributes(Value(Value::Dictionary{{NSFileModificationDate, Value(old)}}), path));
    EXPECT_NEAR(files->attributesOfItemAtPath(path)[NSFileModificationDate].date().unix(), old.unix(), 1e-3);
    Value error;
    EXPECT_TRUE(files->attributesOfItemAtPath(path + ".none", &error).isNil());
    EXPECT_EQ(error.objectAs<NSError>()->code(), NSFileReadNoSuchFileError);
}

TEST_F(NSFileManagerTest, AFailedWriteKeepsTheOldFileWhole) {
    std::string path = NSHomeDirectory() + "/Library/Caches/file";
    ASSERT_TRUE(writeToFile(Data{'o', 'l', 'd'}, path, true));
    fs::testing::failNth(fs::testing::Op::Rename, 1, EIO);
    EXPECT_FALSE(writeToFile(Data{'n', 'e', 'w'}, path, true));
    EXPECT_EQ(dataWithContentsOfFile(path), Value(Data{'o', 'l', 'd'}));
    fs::testing::failNth(fs::testing::Op::Read, 1, EIO);
    EXPECT_TRUE(dataWithContentsOfFile(path).isNil());
    EXPECT_TRUE(dataWithContentsOfFile(path + ".none").isNil());
    EXPECT_TRUE(dataWithContentsOfFile(NSHomeDirectory()).isNil());
}

}  // namespace
}  // namespace platform
