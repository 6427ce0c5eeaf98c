// The conversion dialog's connection tries against a real Firebird 3 server: the fixture server
// (ctest fixture fb_server, its port in C:\fbwb-fixture\fb-server\port) reached through the server
// folders' client library.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "convert/convert_fdb_dialog_win.h"
#include "convert/convert_fdb_ids.h"
#include "core/text.h"
#include "platform/fs.h"
#include "platform/prompter.h"
#include "platform/scripted_prompter.h"
#include "win/dialog_driver.h"
#include "win/temp_folder.h"

using namespace fbwb;
using namespace fbwb::test;

namespace {

using Convert = Driven<TfrmConvertFdb>;

constexpr const char* kPortFile = "C:\\fbwb-fixture\\fb-server\\port";
constexpr const char* kFb25 = "C:\\KELMORA.WIN\\Firebird\\Firebird_2_5";
constexpr const char* kFb3 = "C:\\KELMORA.WIN\\Firebird\\Firebird_3_0";

}  // namespace

// Both servers' tries reach the server with the typed port; a wrong password shows the client's text.
TEST(ConvertConnectionTries, ReachTheServerAndShowTheClientsRefusal) {
    const auto port = platform::readFileBytes(kPortFile);
    ASSERT_TRUE(port) << "the fixture server is not running (no " << kPortFile << ")";
    platform::initCommonControls();
    TempFolder scratch;
    const std::string data = scratch.folder("adat");
    const std::string fdb = scratch / "adat\\kelmora.fdb";
    platform::writeFileBytes(fdb, *platform::readFileBytes("C:\\fbwb-fixture\\template.fdb"));
    platform::ScriptedPrompter boxes;
    platform::PrompterOverride inForce(boxes);

    Convert dialog;
    dialog.script = [&](Convert& d) {
        d.type(IDC_CV_edPortOld, trim(*port));
        d.type(IDC_CV_edPortNew, trim(*port));
        d.click(IDC_CV_Button1);
        d.click(IDC_CV_Button2);
        d.type(IDC_CV_edPwNew, "rossz");
        d.click(IDC_CV_Button2);
    };
    dialog.showForm(data, scratch.path(), "", kFb25, "127.0.0.1", "", "SYSDBA", "qwdbadmin", kFb3, "127.0.0.1", "",
                    "SYSDBA", "qwdbadmin");
    ASSERT_EQ(boxes.boxes().size(), 3u);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(boxes.boxes()[i].text, "A kapcsolat fel\xC3\xA9p\xC3\xADt\xC3\xA9se siker\xC3\xBClt.");
        EXPECT_EQ(boxes.boxes()[i].kind, platform::BoxKind::Message);
    }
    const std::string refused = boxes.boxes()[2].text;
    EXPECT_TRUE(
        startsWith(refused,
                   "A kapcsolat fel\xC3\xA9p\xC3\xADt\xC3\xA9se nem siker\xC3\xBClt\r\nA hiba  le\xC3\xADr\xC3\xA1sa:"
                   "\r\n\r\n"))
        << refused;
    EXPECT_NE(refused.find("Your user name and password are not defined"), std::string::npos) << refused;
    EXPECT_EQ(boxes.boxes()[2].kind, platform::BoxKind::Error);
}
