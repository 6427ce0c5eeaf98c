#include <gtest/gtest.h>

#include <string>

#include "install/service_batch_values.h"

using namespace fbwb;

namespace {

// Stands for a Central European OEM code page: ASCII (never asked) and the Hungarian letters.
bool hungarianOnly(char32_t c) {
    return std::u32string_view(U"áéíóöőúüűÁÉÍÓÖŐÚÜŰ").find(c) != std::u32string_view::npos;
}

}  // namespace

TEST(ServiceBatchValues, WritableValuesPass) {
    for (const auto& [fragment, folder] : std::initializer_list<std::pair<std::string, std::string>>{
             {"Kelmora3", "C:\\KELMORA.WIN\\Firebird\\Firebird_3_0_0_64bit"},
             {"", ""},
             {" Kelmora 2 ", "C:\\Program Files (x86)\\Árvíztűrő & társa\\bin\\"},
             // Surrounding blanks and line ends are trimmed away before the lines are written.
             {"Kelmora3\r\n", "\tC:\\fb\n"},
         })
        EXPECT_EQ(refuseServiceBatchValues(fragment, folder, hungarianOnly), std::nullopt) << fragment << folder;
}

TEST(ServiceBatchValues, EachRefusalNamesItsFieldAndValue) {
    struct Case {
        std::string fragment, folder, refusal;
    } cases[] = {
        {"Kel%mora", "C:\\fb",
         "A(z) Firebird szolgáltatás neve nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
         "% ^ \" (érték: Kel%mora)"},
        {"Kel^mora", "C:\\fb",
         "A(z) Firebird szolgáltatás neve nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
         "% ^ \" (érték: Kel^mora)"},
        {"Kel\"mora", "C:\\fb",
         "A(z) Firebird szolgáltatás neve nem írható parancsfájlba, mert a következő karakterek egyikét tartalmazza: "
         "% ^ \" (érték: Kel\"mora)"},
        {"Kel\nmora", "C:\\fb",
         "A(z) Firebird szolgáltatás neve nem írható parancsfájlba, mert vezérlőkaraktert tartalmaz."},
        {"Kelmora€", "C:\\fb",
         "A(z) Firebird szolgáltatás neve nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő "
         "karaktert tartalmaz: € (érték: Kelmora€)"},
        {"Kelmora3", " C:\\50%\\fb ",
         "A(z) Firebird telepítési mappája nem írható parancsfájlba, mert a következő karakterek egyikét "
         "tartalmazza: % ^ \" (érték: C:\\50%\\fb)"},
        {"Kelmora3", "C:\\a\tb",
         "A(z) Firebird telepítési mappája nem írható parancsfájlba, mert vezérlőkaraktert tartalmaz."},
        {"Kelmora3", "C:\\Øre",
         "A(z) Firebird telepítési mappája nem írható parancsfájlba, mert a parancsfájl kódlapjában nem szereplő "
         "karaktert tartalmaz: Ø (érték: C:\\Øre)"},
        // Both wrong: the instance name is named first.
        {"50%", "C:\\50%",
         "A(z) Firebird szolgáltatás neve nem írható parancsfájlba, mert a következő karakterek "
         "egyikét tartalmazza: % ^ \" (érték: 50%)"},
    };
    for (const Case& c : cases) EXPECT_EQ(refuseServiceBatchValues(c.fragment, c.folder, hungarianOnly), c.refusal);
}
