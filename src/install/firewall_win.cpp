#include "install/firewall_win.h"

#include <netfw.h>

#include <stdexcept>
#include <string>

#include "core/helpers.h"
#include "core/text.h"
#include "env/fbconf.h"
#include "env/server_discovery_win.h"
#include "install/firewall_port.h"
#include "install/texts_install.h"
#include "platform/com_win.h"
#include "platform/fs.h"

namespace fbwb {

namespace {

using platform::Bstr;
using platform::ComPtr;

// A failed call of a firewall object becomes the error with the object's message and the code.
void check(HRESULT result, IUnknown* object, REFIID iid) {
    if (SUCCEEDED(result)) return;
    const std::string message = platform::comErrorMessage(result, object, iid);
    throw std::runtime_error(
        fill(replaceAll(texts_install::kOleException, "%x", platform::hresultHex(result)), {message}));
}

}  // namespace

int addFirewallRule(std::string_view ruleName, std::string_view application, std::uint16_t port) {
    // Declared first, so every object below is released before COM is uninitialised.
    const platform::ComScope com;

    const auto policy = platform::createByProgId<INetFwPolicy2>(texts_install::kFwPolicyProgId);
    ComPtr<INetFwRules> rules;
    check(policy->get_Rules(rules.put()), policy.get(), __uuidof(INetFwPolicy2));

    const auto rule = platform::createByProgId<INetFwRule>(texts_install::kFwRuleProgId);
    const auto put = [&](HRESULT result) { check(result, rule.get(), __uuidof(INetFwRule)); };
    const Bstr name(ruleName);
    put(rule->put_Name(name.get()));
    put(rule->put_Description(name.get()));
    put(rule->put_ApplicationName(Bstr(application).get()));
    put(rule->put_Protocol(NET_FW_IP_PROTOCOL_TCP));
    put(rule->put_LocalPorts(Bstr(std::to_string(port)).get()));
    // Inbound: the rule is there to let clients reach the server.
    put(rule->put_Direction(NET_FW_RULE_DIR_IN));
    put(rule->put_Enabled(VARIANT_TRUE));
    put(rule->put_Grouping(Bstr(texts_install::kFwGrouping).get()));
    put(rule->put_Profiles(NET_FW_PROFILE2_PRIVATE | NET_FW_PROFILE2_PUBLIC));
    put(rule->put_Action(NET_FW_ACTION_ALLOW));

    check(rules->Add(rule.get()), rules.get(), __uuidof(INetFwRules));
    return 0;
}

void allowFbServerInFirewall(std::string_view serverFolder) {
    const std::string folder = trim(serverFolder);
    if (folder.empty() || !platform::folderExists(folder)) return;
    const std::string portText = readRemoteServicePort(getFbConfFn(folder));
    // With its trailing backslash the folder is the "file" whose parent names the rule: its own name.
    addFirewallRule(getParentFolderName(withTrailingBackslash(folder)), findFbServerExe(folder),
                    firewallPort(portText));
}

}  // namespace fbwb
