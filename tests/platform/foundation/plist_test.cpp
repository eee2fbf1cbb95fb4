#include "platform/foundation/plist.h"

#include <gtest/gtest.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <vector>

#include "platform/foundation/file_system.h"
#include "platform/foundation/log.h"
#include "platform/testing/damaged_files.h"
#include "platform/testing/test_environment.h"

namespace platform {
namespace {

using testing::TestEnvironment;

const char* const kPath = "/var/mobile/Library/Preferences/test.plist";

Value everyKind() {
    return Value(Value::Dictionary{
        {"bool", Value(true)},
        {"int", Value(-5)},
        {"big", Value(5000000000LL)},
        {"real", Value(0.25)},
        {"string", Value("héllo <&>")},
        {"data", Value(Data{0, 1, 255})},
        {"date", Value(Date{789285600})},
        {"array", Value::array({Value(1), Value("two"), Value::array({})})},
        {"dict", Value(Value::Dictionary{{"nested", Value(false)}})},
    });
}

std::string slurp(const std::string& hostPath) {
    std::ifstream in(hostPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void plant(const std::string& hostPath, const std::string& bytes) { std::ofstream(hostPath, std::ios::binary) << bytes; }

// A change that sets "k" to `v`.
auto setK(int v) {
    return [v](Value::Dictionary& d) {
        d["k"] = Value(v);
        return true;
    };
}

TEST(Plist, RoundTripsEveryKindThroughXmlAndBinary) {
    Value v = everyKind();
    auto xml = plist::toXml(v);
    ASSERT_TRUE(xml) << xml.error().message;
    auto fromXml = plist::parse(*xml);
    ASSERT_TRUE(fromXml);
    EXPECT_EQ(*fromXml, v);
    EXPECT_EQ((*fromXml)["bool"].kind(), Value::Kind::Bool);
    EXPECT_EQ((*fromXml)["real"].kind(), Value::Kind::Real);

    auto bin = plist::toBinary(v);
    ASSERT_TRUE(bin);
    auto fromBin = plist::parse(*bin);
    ASSERT_TRUE(fromBin);
    EXPECT_EQ(*fromBin, v);
}

// Files are written with their keys sorted, whatever order a dictionary was
// built in, so that the bytes on disk stay as they have always been.
TEST(Plist, OutputIsSortedByKeyWhateverTheInsertionOrder) {
    Value sorted = Value(Value::Dictionary{{"Alarms", Value::array({Value(Value::Dictionary{{"a", Value(1)}, {"b", Value(2)}})})},
                                           {"def", Value(true)},
                                           {"zed", Value("z")}});
    Value shuffled = Value(Value::Dictionary{{"zed", Value("z")},
                                             {"Alarms", Value::array({Value(Value::Dictionary{{"b", Value(2)}, {"a", Value(1)}})})},
                                             {"def", Value(true)}});
    EXPECT_EQ(*plist::toXml(shuffled), *plist::toXml(sorted));
    EXPECT_EQ(*plist::toBinary(shuffled), *plist::toBinary(sorted));
    EXPECT_EQ(*plist::toXml(shuffled),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
              "<plist version=\"1.0\">\n<dict>\n\t<key>Alarms</key>\n\t<array>\n\t\t<dict>\n"
              "\t\t\t<key>a</key>\n\t\t\t<integer>1</integer>\n\t\t\t<key>b</key>\n\t\t\t<integer>2</integer>\n"
              "\t\t</dict>\n\t</array>\n\t<key>def</key>\n\t<true/>\n\t<key>zed</key>\n\t<string>z</string>\n</dict>\n</plist>\n");
}

TEST(Plist, RefusesWhatAPropertyListCannotHold) {
    EXPECT_FALSE(plist::toXml(Value(Value::Dictionary{{"r", Value(Rect(0, 0, 1, 1))}})));
    EXPECT_FALSE(plist::toXml(Value()));
}

TEST(Plist, DamagedInputIsNotAPropertyList) {
    auto xml = *plist::toXml(everyKind());
    for (const std::string& bad : {std::string(), std::string("garbage"), xml.substr(0, xml.size() / 2)}) {
        SCOPED_TRACE(bad.size());
        EXPECT_FALSE(plist::parse(bad));
    }
}

TEST(Plist, ANulInAStringOrKeyOrDeepOrSharedNestingIsUnreadableNeverAborts) {
    for (const auto& bad : testing::damagedPropertyLists()) {
        SCOPED_TRACE(bad.name);
        EXPECT_FALSE(plist::parse(bad.bytes));
    }
    // The same lists without the NUL or as deep as a real file read.
    EXPECT_EQ(*plist::parse(*plist::toBinary(Value(Value::Dictionary{{"k", Value("é")}}))),
              Value(Value::Dictionary{{"k", Value("é")}}));
    EXPECT_TRUE(plist::parse(testing::nestedXml(200)));
    EXPECT_TRUE(plist::parse(testing::nestedBinary(200, 1)));
}

TEST(Plist, SharedOrDeepDictionaryNestingIsUnreadable) {
    // 48 levels, each array holding the next twice: 2^48 arrays when built.
    EXPECT_FALSE(plist::parse(testing::nestedBinary(48, 2)));
    std::string dicts = "<plist>";
    for (int i = 0; i < 1000; ++i) dicts += "<dict><key>k</key>";
    dicts += "<true/>";
    for (int i = 0; i < 1000; ++i) dicts += "</dict>";
    EXPECT_FALSE(plist::parse(dicts + "</plist>"));
}

TEST(Plist, ADateOutsideTheFormatIsClampedNotConverted) {
    struct Case {
        double in, out;
    } cases[] = {{std::nan(""), 0}, {1e300, 2147483647}, {-1e300, -2147483648.0}, {12, 12}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        for (auto write : {plist::toXml, plist::toBinary}) {
            auto bytes = write(Value(Date{c.in}));
            ASSERT_TRUE(bytes);
            EXPECT_EQ(plist::parse(*bytes)->date().sinceReferenceDate, c.out);
        }
    }
}

class PlistFile : public ::testing::Test {
protected:
    TestEnvironment env;
    std::string host = env.hostPath(kPath);
    void TearDown() override { fs::testing::reset(); }
};

TEST_F(PlistFile, UpdateOfAMissingFileStartsEmpty) {
    EXPECT_TRUE(plist::update(kPath, [](Value::Dictionary& d) {
        EXPECT_TRUE(d.empty());
        d["k"] = Value(1);
        return true;
    }));
    EXPECT_EQ(plist::readFile(kPath), Value(Value::Dictionary{{"k", Value(1)}}));
}

TEST_F(PlistFile, UpdateKeepsOtherKeysAndReadsBinaryFiles) {
    plant(host, *plist::toBinary(Value(Value::Dictionary{{"keep", Value("me")}})));
    EXPECT_TRUE(plist::update(kPath, [](Value::Dictionary& d) {
        d["new"] = Value(2);
        return true;
    }));
    Value v = plist::readFile(kPath);
    EXPECT_EQ(v["keep"].string(), "me");
    EXPECT_EQ(v["new"].intValue(), 2);
    EXPECT_NE(slurp(host).find("<?xml"), std::string::npos);
}

TEST_F(PlistFile, ANonDictionaryOrDamagedFileIsKeptAside) {
    for (const std::string& bad : {std::string("not a plist"), *plist::toXml(Value::array({Value(1)}))}) {
        SCOPED_TRACE(bad);
        plant(host, bad);
        EXPECT_TRUE(plist::update(kPath, [](Value::Dictionary& d) {
            EXPECT_TRUE(d.empty());
            d["k"] = Value(1);
            return true;
        }));
        EXPECT_EQ(slurp(host + ".corrupt"), bad);
        EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
    }
}

TEST_F(PlistFile, AChangeThatAnswersFalseWritesNothing) {
    EXPECT_FALSE(plist::update(kPath, [](Value::Dictionary&) { return false; }));
    EXPECT_FALSE(fs::exists(kPath));
}

TEST_F(PlistFile, AReadErrorFailsTheWriteAndKeepsTheFile) {
    plant(host, *plist::toXml(Value(Value::Dictionary{{"k", Value(1)}})));
    fs::testing::failNth(fs::testing::Op::Read, 1, EIO);
    bool called = false;
    EXPECT_FALSE(plist::update(kPath, [&](Value::Dictionary&) {
        called = true;
        return true;
    }));
    EXPECT_FALSE(called);
    EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
}

TEST_F(PlistFile, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    plant(host, *plist::toXml(Value(Value::Dictionary{{"k", Value(1)}})));
    fs::testing::failNth(fs::testing::Op::Sync, 1, ENOSPC);
    EXPECT_FALSE(plist::update(kPath, setK(2)));
    EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
    EXPECT_EQ(fs::listDirectory(fs::dirname(kPath)), (std::vector<std::string>{"test.plist", "test.plist.lock"}));
}

TEST_F(PlistFile, AWriterKilledBeforeTheRenameLeavesTheOldFileWhole) {
    plant(host, *plist::toXml(Value(Value::Dictionary{{"k", Value(1)}})));
    std::string result = testing::runInChild([] {
        fs::testing::beforeEach(fs::testing::Op::Rename, [] { ::_exit(9); });
        plist::update(kPath, setK(2));
        return std::string("renamed");
    });
    EXPECT_EQ(result, "");
    EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
    // The lock died with the writer: the next update goes through.
    EXPECT_TRUE(plist::update(kPath, setK(3)));
    EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 3);
}

// Reads answer from what was parsed last only while the file holds the same
// bytes; every way of changing it is seen at the next read.
TEST_F(PlistFile, AChangedFileIsReadAnew) {
    struct Case {
        const char* name;
        std::function<void(const std::string& host)> change;
    };
    const std::vector<Case> cases = {
        // Same size, same inode, within the same second: only the bytes differ.
        {"rewritten in place", [](const std::string& h) { plant(h, *plist::toXml(Value(Value::Dictionary{{"k", Value(2)}}))); }},
        {"replaced by rename",
         [](const std::string& h) {
             plant(h + ".new", *plist::toXml(Value(Value::Dictionary{{"k", Value(2)}})));
             ASSERT_EQ(::rename((h + ".new").c_str(), h.c_str()), 0);
         }},
        {"updated by another process",
         [](const std::string&) { EXPECT_EQ(testing::runInChild([] { return std::to_string(plist::update(kPath, setK(2))); }), "1"); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        plant(host, *plist::toXml(Value(Value::Dictionary{{"k", Value(1)}})));
        ASSERT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
        ASSERT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
        c.change(host);
        EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 2);
        // The locked update reads what is on disk too.
        EXPECT_TRUE(plist::update(kPath, [](Value::Dictionary& d) { return d["k"].intValue() == 2; }));
    }
}

TEST_F(PlistFile, AReadFaultReachesTheReaderOfAnUnchangedFile) {
    plant(host, *plist::toXml(Value(Value::Dictionary{{"k", Value(1)}})));
    ASSERT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
    fs::testing::failNth(fs::testing::Op::Read, 1, EIO);
    EXPECT_TRUE(plist::readFile(kPath).isNil());
    EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
    fs::testing::failNth(fs::testing::Op::Read, 1, EIO);
    EXPECT_TRUE(plist::readDocument(kPath)->valueForKey("k").isNil());
    EXPECT_EQ(plist::readDocument(kPath)->valueForKey("k").intValue(), 1);
}

// A document answers a key or a record from the parsed file exactly as the
// whole converted contents would, whether it was parsed from the file or is
// what a writer wrote.
TEST_F(PlistFile, ADocumentAnswersKeysAndRecordsAsTheWholeContents) {
    Value records = Value::array({Value("not a record"), Value(Value::Dictionary{{"id", Value(5)}}),
                                  Value(Value::Dictionary{{"id", Value("A")}, {"n", Value(1)}}),
                                  Value(Value::Dictionary{{"id", Value("B")}}),
                                  Value(Value::Dictionary{{"id", Value("A")}, {"n", Value(2)}})});
    const Value contents[] = {
        Value(Value::Dictionary{{"k", Value(1)}, {"list", records}, {"nested", Value(Value::Dictionary{{"x", Value(true)}})}}),
        Value(Value::Dictionary{{"list", Value("not a list")}}),
        records,
    };
    enum class Made { Parsed, Written, FromValue };
    for (const Value& c : contents) {
        for (Made made : {Made::Parsed, Made::Written, Made::FromValue}) {
            SCOPED_TRACE(c.description() + " made " + std::to_string(static_cast<int>(made)));
            if (made == Made::Parsed) plant(host, *plist::toXml(c));
            if (made == Made::Written) {
                ASSERT_TRUE(plist::writeFile(kPath, c));
            }
            std::shared_ptr<const plist::Document> d = made == Made::FromValue ? std::make_shared<const plist::Document>(c) : plist::readDocument(kPath);
            for (const char* key : {"k", "list", "nested", "absent", ""}) EXPECT_EQ(d->valueForKey(key), c[key]) << key;
            using Match = plist::Document::Match;
            for (const char* id : {"A", "B", "5", "C"}) {
                Value first, last;
                for (const Value& e : c["list"].array())
                    if (e["id"].isString() && e["id"].string() == id) {
                        if (first.isNil()) first = e;
                        last = e;
                    }
                EXPECT_EQ(d->dictionaryWhere("list", "id", id), first) << id;
                EXPECT_EQ(d->dictionaryWhere("list", "id", id, Match::Last), last) << id;
            }
            EXPECT_TRUE(d->dictionaryWhere("k", "id", "A").isNil());
            EXPECT_EQ(d->value(), c);
        }
    }
    fs::removeFile(kPath);
    EXPECT_TRUE(plist::readDocument(kPath)->value().isNil());
    EXPECT_TRUE(plist::readDocument(kPath)->valueForKey("k").isNil());
}

// What a writer wrote stands for the next read only as the file holds it.
TEST_F(PlistFile, WhatWasWrittenReadsBackAsTheFileHoldsIt) {
    ASSERT_TRUE(plist::writeFile(kPath, Value(Value::Dictionary{{"date", Value(Date{100.75})}, {"k", Value(1)}})));
    EXPECT_EQ(plist::readFile(kPath)["date"].date().sinceReferenceDate, 100.0);
    ASSERT_TRUE(plist::update(kPath, [](Value::Dictionary& d) {
        d["date"] = Value(Date{200.5});
        return true;
    }));
    EXPECT_EQ(plist::readFile(kPath)["date"].date().sinceReferenceDate, 200.0);
    EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 1);
}

TEST_F(PlistFile, AFileHoldingANulOrANaNDateIsReadAndReSavedWithoutAborting) {
    for (const auto& bad : testing::damagedPropertyLists()) {
        SCOPED_TRACE(bad.name);
        plant(host, bad.bytes);
        EXPECT_TRUE(plist::readFile(kPath).isNil());
        EXPECT_TRUE(plist::update(kPath, setK(1)));
        EXPECT_EQ(slurp(host + ".corrupt"), bad.bytes);
    }

    // A date of NaN seconds in a binary file (written by another program).
    std::string date = *plist::toBinary(Value(Value::Dictionary{{"d", Value(Date{1})}}));
    const std::string one("\x33\x3f\xf0\0\0\0\0\0\0", 9), nan("\x33\x7f\xf8\0\0\0\0\0\0", 9);
    plant(host, testing::patched(date, one, nan));
    EXPECT_TRUE(plist::readFile(kPath)["d"].kind() == Value::Kind::Date);
    EXPECT_TRUE(plist::update(kPath, setK(2)));
    EXPECT_TRUE(plist::readFile(kPath)["d"].kind() == Value::Kind::Date);
    EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 2);
}

TEST_F(PlistFile, AFileAboveTheSizeCapIsKeptAsideAndReadsAsNothing) {
    std::string big = *plist::toXml(Value(Value::Dictionary{{"k", Value(1)}}));
    big += std::string(50 << 20, ' ');
    plant(host, big);
    EXPECT_TRUE(plist::readFile(kPath).isNil());
    EXPECT_TRUE(log::contains("larger than"));
    EXPECT_TRUE(plist::update(kPath, [](Value::Dictionary& d) {
        EXPECT_TRUE(d.empty());
        d["k"] = Value(2);
        return true;
    }));
    EXPECT_EQ(slurp(host + ".corrupt").size(), big.size());
    EXPECT_EQ(plist::readFile(kPath)["k"].intValue(), 2);
}

TEST_F(PlistFile, TheNextWriterRemovesTemporaryFilesOfDeadWritersOnlyWhenOld) {
    auto temp = [&](const std::string& suffix, int ageSeconds) {
        plant(host + suffix, "partial");
        struct timeval times[2];
        ::gettimeofday(&times[0], nullptr);
        times[0].tv_sec -= ageSeconds;
        times[1] = times[0];
        ::utimes((host + suffix).c_str(), times);
    };
    temp(".aB3xYz", 120);  // a writer killed two minutes ago
    temp(".Qw9rT2", 5);    // a writer that may still be writing
    temp(".backups", 120);  // not a temporary file of ours
    EXPECT_TRUE(plist::update(kPath, setK(1)));
    EXPECT_EQ(fs::listDirectory(fs::dirname(kPath)),
              (std::vector<std::string>{"test.plist", "test.plist.Qw9rT2", "test.plist.backups", "test.plist.lock"}));
}

TEST(PlistConcurrency, ProcessesUpdatingOneFileLoseNoUpdate) {
    TestEnvironment env({}, false);
    constexpr int kWriters = 4, kEach = 25;
    std::vector<testing::ChildProcess> children;
    for (int w = 0; w < kWriters; ++w) {
        host::BootOptions o;
        o.deviceRoot = env.root();
        children.emplace_back(o, [w] {
            for (int i = 0; i < kEach; ++i) {
                bool ok = plist::update(kPath, [&](Value::Dictionary& d) {
                    d["w" + std::to_string(w) + "_" + std::to_string(i)] = Value(i);
                    d["count"] = Value(d["count"].intValue() + 1);
                    return true;
                });
                if (!ok) return std::string("failed");
                // Readers take no lock and always see a whole file.
                if (!plist::readFile(kPath).isDictionary()) return std::string("torn read");
            }
            return std::string("ok");
        });
    }
    for (auto& c : children) EXPECT_EQ(c.wait(), "ok");
    env.boot();
    Value v = plist::readFile(kPath);
    EXPECT_EQ(v["count"].intValue(), kWriters * kEach);
    EXPECT_EQ(v.count(), static_cast<std::size_t>(kWriters * kEach + 1));
}

}  // namespace
}  // namespace platform
