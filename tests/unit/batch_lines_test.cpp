#include <gtest/gtest.h>

#include "script/batch_lines.h"
#include "script/texts.h"

using namespace fbwb;

TEST(BatchLines, SharedShapes) {
    EXPECT_EQ(redirectSuffix(true, "c:\\t\\fdbMaintain_0.txt"), "  >>  \"c:\\t\\fdbMaintain_0.txt\"");
    EXPECT_EQ(redirectSuffix(false, "c:\\t\\fdbMaintain_0.txt"), "");
    EXPECT_EQ(callLine("c:\\fb\\gfix.exe", "-sweep", redirectSuffix(false, "x")), "call \"c:\\fb\\gfix.exe\" -sweep ");
    EXPECT_EQ(callLine("c:\\fb\\gfix.exe", "-sweep", redirectSuffix(true, "c:\\o.txt")),
              "call \"c:\\fb\\gfix.exe\" -sweep   >>  \"c:\\o.txt\"");
    EXPECT_EQ(callLine("c:\\fb\\gstat.exe", "-h"), "call \"c:\\fb\\gstat.exe\" -h");
    EXPECT_EQ(deleteLine("c:\\a b\\x.fbk"), "del \"c:\\a b\\x.fbk\"");
    // A value that itself looks like a format place is written as it is.
    EXPECT_EQ(deleteLine("c:\\%s.fbk"), "del \"c:\\%s.fbk\"");
}

TEST(BatchValueRule, CredentialsAndRefusals) {
    struct Case {
        const char* value;
        const char* credential;  // nullptr: refused
    } cases[] = {
        {"SYSDBA", "SYSDBA"},
        {"qwdbadmin", "qwdbadmin"},
        {"Árvíztűrő", "Árvíztűrő"},
        {"a=b;c,d!", "a=b;c,d!"},
        {"two words", "\"two words\""},
        {"a&b", "\"a&b\""},
        {"a|b", "\"a|b\""},
        {"a<b", "\"a<b\""},
        {"a>b", "\"a>b\""},
        {"(ab", "\"(ab\""},
        {"ab)", "\"ab)\""},
        {"", "\"\""},
        {"100%", nullptr},
        {"%PATH%", nullptr},
        {"a^b", nullptr},
        {"a\"b", nullptr},
        {"a\r\nnet user x /add", nullptr},
        {"tab\there", nullptr},
    };
    for (const auto& c : cases) {
        const auto refused = refuseBatchValue(c.value, texts_script::kFieldUserName);
        EXPECT_EQ(refused.has_value(), c.credential == nullptr) << c.value;
        if (c.credential) {
            EXPECT_EQ(batchCredential(c.value), c.credential) << c.value;
        }
    }
}

TEST(BatchValueRule, PathsWithBlanksAndSpecialsPassInQuotes) {
    for (const char* path : {"D:\\Data 2017\\conf.fdb", "D:\\R&D\\(old)\\a.fdb", "D:\\Könyvelés\\a.fdb"}) {
        EXPECT_FALSE(refuseBatchValue(path, texts_script::kFieldDatabaseFile)) << path;
    }
}

TEST(BatchValueRule, ErrorLineNamesTheFieldAndHidesPasswords) {
    EXPECT_EQ(refuseBatchValue("D:\\100%\\a.fdb", texts_script::kFieldDatabaseFile),
              "A(z) adatbázis-fájl nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
              "% ^ \" (érték: D:\\100%\\a.fdb)");
    EXPECT_EQ(refuseBatchSecret("se^cret", texts_script::kFieldPassword),
              "A(z) jelszó nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \"");
    EXPECT_EQ(refuseBatchSecret("a\nb", texts_script::kFieldPassword),
              "A(z) jelszó nem írható parancsfájlba, mert vezérlőkaraktert tartalmaz.");
    EXPECT_FALSE(refuseBatchSecret("masterkey", texts_script::kFieldPassword));
}
