#include "install/zip_reader.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "zip_builder.h"

namespace fbwb {
namespace {

using test::buildZip;
using test::ZipItem;

std::string contentOf(const ZipReader& reader, const ZipEntry& entry) {
    std::string out;
    reader.extract(entry, [&](const char* data, size_t size) { out.append(data, size); });
    return out;
}

// The message of the ZipError the call throws, or "(none)".
template <typename Call>
std::string zipErrorOf(Call call) {
    try {
        call();
    } catch (const ZipError& e) {
        return e.what();
    }
    return "(none)";
}

TEST(ZipReader, ReadsStoredDeflatedDescriptorFolderAndEmptyEntries) {
    const std::string text(5000, 'x');
    const std::string archive = buildZip({
        {.name = "firebird.conf", .data = "RemoteServicePort = 3050\r\n", .method = 0},
        {.name = "bin/fbclient.dll", .data = text, .method = 8},
        {.name = "bin/instsvc.exe", .data = "MZ" + text, .method = 8, .descriptor = true},
        {.name = "stored-descriptor.txt", .data = "abc", .method = 0, .descriptor = true},
        {.name = "doc/", .data = "", .method = 0},
        {.name = "empty.txt", .data = "", .method = 0},
        {.name = "empty-deflated.txt", .data = "", .method = 8},
    });
    const ZipReader reader(archive);
    const auto& entries = reader.entries();
    ASSERT_EQ(entries.size(), 7u);
    EXPECT_EQ(entries[0].name, "firebird.conf");
    EXPECT_EQ(contentOf(reader, entries[0]), "RemoteServicePort = 3050\r\n");
    EXPECT_EQ(entries[1].name, "bin\\fbclient.dll");
    EXPECT_EQ(contentOf(reader, entries[1]), text);
    EXPECT_EQ(contentOf(reader, entries[2]), "MZ" + text);
    EXPECT_EQ(contentOf(reader, entries[3]), "abc");
    EXPECT_EQ(entries[4].name, "doc\\");
    EXPECT_TRUE(entries[4].folder);
    EXPECT_FALSE(entries[5].folder);
    EXPECT_EQ(contentOf(reader, entries[5]), "");
    EXPECT_EQ(contentOf(reader, entries[6]), "");
}

TEST(ZipReader, ReadsKitsWrittenByAnotherZipWriter) {
    // Python's zipfile: stored, deflated, and written to a pipe (data descriptors).
    for (const char* kit : {"kit-stored.zip", "kit-deflated.zip", "kit-descriptors.zip"}) {
        std::ifstream in(std::string(FBWB_SOURCE_DIR) + "/tests/fuzz/corpus/zip_reader/" + kit, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        const std::string archive = bytes.str();
        ASSERT_FALSE(archive.empty()) << kit;
        const ZipReader reader(archive);
        std::string names;
        for (const ZipEntry& entry : reader.entries()) {
            names += entry.name + ";";
            if (entry.name == "firebird.conf") {
                EXPECT_EQ(contentOf(reader, entry).substr(0, 24), "RemoteServicePort = 3050");
            }
            if (entry.name == "bin\\instsvc.exe") {
                EXPECT_EQ(contentOf(reader, entry).size(), 768u);
            }
        }
        EXPECT_NE(names.find("firebird.conf;bin\\instsvc.exe;"), std::string::npos) << kit << ": " << names;
    }
}

TEST(ZipReader, DecodesNamesAsUtf8WithTheFlagAndAsCodePage437Without) {
    const std::string archive = buildZip({
        {.name = "mappa/\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91.txt", .data = "1", .flags = 0x800},
        {.name = "\x82kezet \x94t.txt", .data = "2"},
    });
    const ZipReader reader(archive);
    EXPECT_EQ(reader.entries()[0].name, "mappa\\\xC3\xA1rv\xC3\xADzt\xC5\xB1r\xC5\x91.txt");
    EXPECT_EQ(reader.entries()[1].name, "\xC3\xA9kezet \xC3\xB6t.txt");
    EXPECT_NE(zipErrorOf([] {
                  ZipReader(buildZip({{.name = "bad\xC3", .data = "", .flags = 0x800}}));
              }).find("not valid UTF-8"),
              std::string::npos);
}

TEST(ZipReader, RefusesNamesThatLeaveTheDestinationBeforeAnyEntryIsRead) {
    const struct {
        std::string name;
        const char* reason;
    } cases[] = {
        {"..\\..\\evil.txt", "\"..\""},
        {"../x", "\"..\""},
        {"a/../../x", "\"..\""},
        {"a/..", "\"..\""},
        {"/etc/x", "absolute"},
        {"\\x", "absolute"},
        {"C:\\x", "drive"},
        {"C:x", "drive"},
        {"a/b:stream", "drive"},
        {"", "empty name"},
        {std::string("a\0b", 3), "NUL"},
        {"a//b", "empty path component"},
        {"a/.../b", "dots only"},
        {"a /b", "blank"},
        {"dir./b", "dot"},
        {"a?b", "not allowed"},
        {"a\tb", "control"},
    };
    for (const auto& c : cases) {
        // A good entry first: the refusal comes when the archive is opened, before anything is extracted.
        const std::string archive = buildZip({{.name = "good.txt", .data = "ok"}, {.name = c.name, .data = "evil"}});
        const std::string error = zipErrorOf([&] { ZipReader reader(archive); });
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    }
    EXPECT_EQ(refusedEntryName("bin\\fbserver.exe"), "");
    EXPECT_EQ(refusedEntryName("doc\\"), "");
    EXPECT_EQ(refusedEntryName("a\\..b\\.c"), "");
}

TEST(ZipReader, RefusesDamagedArchivesAndEntries) {
    const std::string good = buildZip({{.name = "a.txt", .data = std::string(3000, 'a')}});
    // Every cut of the archive is refused when it is opened.
    for (size_t length = 0; length < good.size(); ++length) {
        const std::string error = zipErrorOf([&] { ZipReader reader(good.substr(0, length)); });
        EXPECT_NE(error, "(none)") << length;
    }
    const struct {
        const char* label;
        std::string archive;
        const char* reason;
    } cases[] = {
        {"not a zip", std::string(100, 'x'), "no end of central directory"},
        {"bzip2", buildZip({{.name = "a.txt", .data = "abc", .method = 12}}), "unsupported compression method 12"},
        {"encrypted", buildZip({{.name = "a.txt", .data = "abc", .flags = 1}}), "encrypted"},
        {"local name", buildZip({{.name = "a.txt", .data = "abc", .localName = "../a.txt"}}), "local header names"},
        {"stored sizes", buildZip({{.name = "a.txt", .data = "abc", .method = 0, .size = 2}}), "different sizes"},
        {"impossible claim", buildZip({{.name = "a.txt", .data = "abc", .size = 0x7FFFFFFF}}), "impossible"},
        {"folder with data", buildZip({{.name = "d/", .data = "abc", .method = 0}}), "folder entry with content"},
    };
    for (const auto& c : cases) {
        const std::string error = zipErrorOf([&] { ZipReader reader(c.archive); });
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.label << ": " << error;
    }
}

TEST(ZipReader, RefusesEntriesWhoseDataDisagreesWithTheirClaims) {
    const std::string text(3000, 't');
    std::string damaged = test::rawDeflate(text);
    damaged[damaged.size() / 2] ^= 0x55;
    const struct {
        const char* label;
        ZipItem item;
        const char* reason;
    } cases[] = {
        {"crc", {.name = "a.txt", .data = text, .crc = 0x12345678}, "CRC-32 mismatch"},
        {"stored crc", {.name = "a.txt", .data = text, .method = 0, .crc = 1}, "CRC-32 mismatch"},
        {"longer", {.name = "a.txt", .data = text, .size = 2999}, "beyond its declared size"},
        {"shorter", {.name = "a.txt", .data = text, .size = 3001}, "shorter"},
        {"cut stream", {.name = "a.txt", .data = text, .packed = test::rawDeflate(text).substr(0, 10)}, "ends early"},
        {"garbage", {.name = "a.txt", .data = text, .packed = std::string(50, '\xFF')}, "damaged"},
    };
    for (const auto& c : cases) {
        const std::string archive = buildZip({c.item});
        const ZipReader reader(archive);
        size_t handed = 0;
        const std::string error =
            zipErrorOf([&] { reader.extract(reader.entries()[0], [&](const char*, size_t size) { handed += size; }); });
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.label << ": " << error;
        EXPECT_LE(handed, reader.entries()[0].size) << c.label;
        EXPECT_NE(error.find("a.txt"), std::string::npos) << c.label;
    }
}

TEST(ZipReader, StopsAnEntryThatClaimsOneKilobyteAndInflatesToOneGigabyte) {
    const std::string archive = buildZip({{.name = "zeros.bin",
                                           .data = std::string(1024, '\0'),
                                           .size = 1024,
                                           .packed = test::deflatedZeroMegabytes(1024)}});
    ASSERT_LT(archive.size(), 2u << 20);
    const ZipReader reader(archive);
    size_t handed = 0;
    const std::string error =
        zipErrorOf([&] { reader.extract(reader.entries()[0], [&](const char*, size_t size) { handed += size; }); });
    EXPECT_NE(error.find("beyond its declared size"), std::string::npos) << error;
    EXPECT_LE(handed, 1024u);
}

}  // namespace
}  // namespace fbwb
