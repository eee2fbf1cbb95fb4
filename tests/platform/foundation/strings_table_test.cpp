#include "platform/foundation/strings_table.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(StringsTable, ParsesEntriesCommentsAndEscapes) {
    auto t = parseStringsTable(
        "/* a comment\n spanning lines */\n"
        "\"SNOOZE\" = \"Snooze\";\n"
        "// a line comment\n"
        "\"QUOTE\" = \"say \\\"hi\\\"\\n\\tnow\\\\\";\n"
        "\"UNICODE\" = \"caf\\U00e9\";\n"
        "PLAIN_KEY = plain_value;\n"
        "\"SELF\";\n"
        "\"UTF8\"=\"Réveil ⏰\";");
    ASSERT_TRUE(t) << t.error().message;
    EXPECT_EQ(t->at("SNOOZE"), "Snooze");
    EXPECT_EQ(t->at("QUOTE"), "say \"hi\"\n\tnow\\");
    EXPECT_EQ(t->at("UNICODE"), "café");
    EXPECT_EQ(t->at("PLAIN_KEY"), "plain_value");
    EXPECT_EQ(t->at("SELF"), "SELF");
    EXPECT_EQ(t->at("UTF8"), "Réveil ⏰");
}

TEST(StringsTable, ReadsUtf16WithAByteOrderMark) {
    std::string text = "\"K\" = \"v\xC3\xA9\";";  // UTF-8 for the comparison below
    std::u16string wide = u"\"K\" = \"v\u00e9\";";
    std::string little = "\xFF\xFE";
    for (char16_t c : wide) {
        little += static_cast<char>(c & 0xFF);
        little += static_cast<char>(c >> 8);
    }
    auto t = parseStringsTable(little);
    ASSERT_TRUE(t) << t.error().message;
    EXPECT_EQ(t->at("K"), "v\xC3\xA9");
}

TEST(StringsTable, ReportsTheLineOfAnError) {
    for (const char* bad : {"\"A\" = \"x\";\n\"B\" = \"y\"", "\"A\" \"x\";", "\"A\" = \"open;", "/* open"}) {
        SCOPED_TRACE(bad);
        auto t = parseStringsTable(bad);
        ASSERT_FALSE(t);
        EXPECT_EQ(t.error().message.rfind("line ", 0), 0u);
    }
    EXPECT_EQ(parseStringsTable("\"A\" = \"x\";\n\"B\" = \"y\"").error().message.substr(0, 6), "line 2");
}

TEST(StringsTable, SurrogatePairEscapesAreOneCharacter) {
    struct Case {
        const char *escaped, *utf8;
    };
    const Case cases[] = {
        {"\\UD83D\\UDE00", "\xF0\x9F\x98\x80"},          // U+1F600
        {"\\ud83d\\ude00!", "\xF0\x9F\x98\x80!"},        // either case
        {"\\UD83Dx", "\xEF\xBF\xBDx"},                   // a lone high half
        {"\\UDE00", "\xEF\xBF\xBD"},                      // a lone low half
        {"\\UD83D\\U0041", "\xEF\xBF\xBD" "A"},           // a high half before no low half
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.escaped);
        auto t = parseStringsTable(std::string("\"K\" = \"") + c.escaped + "\";");
        ASSERT_TRUE(t) << t.error().message;
        EXPECT_EQ(t->at("K"), c.utf8);
    }
}

TEST(StringsTable, EmptyInputIsAnEmptyTable) {
    auto t = parseStringsTable("  \n/* nothing */\n");
    ASSERT_TRUE(t);
    EXPECT_TRUE(t->empty());
}

}  // namespace
}  // namespace platform
