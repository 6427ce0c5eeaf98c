#include <gtest/gtest.h>

#include "script/batch_lines.h"
#include "script/texts.h"

using namespace fbwb;

namespace {

// Stands for a Central European OEM code page: ASCII (never asked) and the Hungarian letters.
bool hungarianOnly(char32_t c) {
    return std::u32string_view(U"áéíóöőúüűÁÉÍÓÖŐÚÜŰ").find(c) != std::u32string_view::npos;
}

const HoldsCharacter kHungarian = hungarianOnly;

}  // namespace

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
        const auto refused = refuseBatchValue(c.value, texts_script::kFieldUserName, kHungarian);
        EXPECT_EQ(refused.has_value(), c.credential == nullptr) << c.value;
        if (c.credential) {
            EXPECT_EQ(batchCredential(c.value), c.credential) << c.value;
        }
    }
}

TEST(BatchValueRule, PathsWithBlanksAndSpecialsPassInQuotes) {
    for (const char* path : {"D:\\Data 2017\\conf.fdb", "D:\\R&D\\(old)\\a.fdb", "D:\\Könyvelés\\a.fdb"}) {
        EXPECT_FALSE(refuseBatchValue(path, texts_script::kFieldDatabaseFile, kHungarian)) << path;
    }
}

TEST(BatchValueRule, ErrorLineNamesTheFieldAndHidesPasswords) {
    EXPECT_EQ(refuseBatchValue("D:\\100%\\a.fdb", texts_script::kFieldDatabaseFile, kHungarian),
              "A(z) adatbázis-fájl nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
              "% ^ \" (érték: D:\\100%\\a.fdb)");
    EXPECT_EQ(refuseBatchSecret("se^cret", texts_script::kFieldPassword, kHungarian),
              "A(z) jelszó nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \"");
    EXPECT_EQ(refuseBatchSecret("a\nb", texts_script::kFieldPassword, kHungarian),
              "A(z) jelszó nem írható parancsfájlba, mert vezérlőkaraktert tartalmaz.");
    EXPECT_FALSE(refuseBatchSecret("masterkey", texts_script::kFieldPassword, kHungarian));
}

// A letter the code page lacks would reach the tool as a look-alike (another database, another
// password): refused, naming the field and (except for a password) the letter and the value.
TEST(BatchValueRule, LettersTheCodePageLacksAreRefused) {
    struct Case {
        const char* value;
        const char* refusal;  // nullptr: written
    } cases[] = {
        {"D:\\Könyvelés\\tükörfúrógép.fdb", nullptr},
        {"D:\\adat\\à.fdb",
         "A(z) adatbázis-fájl nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert "
         "tartalmaz: à (érték: D:\\adat\\à.fdb)"},
        {"D:\\ñ\\Ø.fdb",
         "A(z) adatbázis-fájl nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert "
         "tartalmaz: ñ (érték: D:\\ñ\\Ø.fdb)"},
        // Beyond the Basic Multilingual Plane: one character, not two halves.
        {"D:\\\xF0\x9F\x98\x80.fdb",
         "A(z) adatbázis-fájl nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert "
         "tartalmaz: \xF0\x9F\x98\x80 (érték: D:\\\xF0\x9F\x98\x80.fdb)"},
        // Bytes that are not UTF-8 cannot be converted exactly either.
        {"D:\\\xC3.fdb",
         "A(z) adatbázis-fájl nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert "
         "tartalmaz: \xEF\xBF\xBD (érték: D:\\\xC3.fdb)"},
    };
    for (const Case& c : cases) {
        const auto refused = refuseBatchValue(c.value, texts_script::kFieldDatabaseFile, kHungarian);
        if (c.refusal) {
            EXPECT_EQ(refused, c.refusal);
        } else {
            EXPECT_FALSE(refused) << *refused;
        }
    }
    for (const char* password : {"pàss", "€uro"}) {
        EXPECT_EQ(refuseBatchSecret(password, texts_script::kFieldPassword, kHungarian),
                  "A(z) jelszó nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő karaktert "
                  "tartalmaz.")
            << password;
    }
    EXPECT_FALSE(refuseBatchSecret("árvíztűrő", texts_script::kFieldPassword, kHungarian));
    // The characters that break the line are named first, whatever else the value holds.
    EXPECT_EQ(refuseBatchSecret("à%", texts_script::kFieldPassword, kHungarian),
              "A(z) jelszó nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: % ^ \"");
}

// The C runtime's rule for backslashes before a quote: what goes between the quotes keeps a
// value's trailing backslashes as backslashes and the closing quote as a quote.
TEST(BatchValueRule, TrailingBackslashesInQuotesAreDoubled) {
    struct Case {
        const char* value;
        const char* text;
    } cases[] = {
        // Inner backslashes stay as they are.
        {"D:\\adat\\a.fdb", "D:\\adat\\a.fdb"},
        {"D:\\adat\\", "D:\\adat\\\\"},
        {"b (\\", "b (\\\\"},
        {"x\\\\", "x\\\\\\\\"},
        {"\\", "\\\\"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(quotedArgumentText(c.value), c.text) << c.value;
    EXPECT_EQ(batchCredential("b (\\"), "\"b (\\\\\"");
    EXPECT_EQ(batchCredential("pass\\"), "pass\\") << "unquoted: a backslash before a blank is literal";
}
