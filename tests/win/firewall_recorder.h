#pragma once
// A stand-in for the Windows Firewall's COM objects. While a FirewallRecorder lives, the ProgIDs
// "HNetCfg.FwPolicy2" and "HNetCfg.FWRule" create, in this process, recording objects behind the real
// INetFwPolicy2, INetFwRules and INetFwRule interfaces: class objects registered for the CLSIDs that the
// ProgIDs map to (CoRegisterClassObject), which COM consults before the registry's servers. The program's
// own code therefore runs unchanged; nothing reaches the real firewall. Construct and destroy it on the
// thread that calls the code under test; it keeps COM initialised (apartment-threaded) there meanwhile,
// so the registration outlives the code's own CoInitializeEx/CoUninitialize pair.
//
// calls(): one entry per property write and per Add, in order, as "Property=value":
//   strings as UTF-8 ("Name=Firebird_3_0_0_64bit", "ApplicationName=" when empty), numbers in decimal
//   ("Protocol=6", "Direction=1"), VARIANT_BOOL as "true" (VARIANT_TRUE) / "false" (VARIANT_FALSE) or else
//   its number ("Enabled=1" shows a C TRUE passed where VARIANT_TRUE belongs), and "Add=<the added rule's
//   Name>". A call made to fail is recorded too. Reads (the policy's Rules) are not recorded. Every other
//   method of the three interfaces answers E_NOTIMPL.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/com_win.h"

namespace fbwb::test {

struct FirewallLog;

class FirewallRecorder {
public:
    // Throws std::runtime_error when a ProgID is unknown or a class object cannot be registered.
    FirewallRecorder();
    ~FirewallRecorder();
    FirewallRecorder(const FirewallRecorder&) = delete;
    FirewallRecorder& operator=(const FirewallRecorder&) = delete;

    std::vector<std::string> calls() const;

    // Makes the named call fail with `result` from now on. Names: a property as in calls() ("Direction",
    // "Add"), "Rules" (the policy's rule collection), or a ProgID (its object's creation). A non-empty message
    // is left as the thread's error information (SetErrorInfo), which the object declares for its interface
    // (ISupportErrorInfo); an empty one leaves none.
    void failCall(std::string_view call, HRESULT result, std::string_view message = {});

    // Recording objects (policy, rule collections, rules) created and not yet released.
    int liveObjects() const;

    class Factory;

private:
    platform::ComScope com_;
    std::shared_ptr<FirewallLog> log_;
    std::unique_ptr<Factory> policyFactory_;
    std::unique_ptr<Factory> ruleFactory_;
    DWORD policyCookie_ = 0;
    DWORD ruleCookie_ = 0;
};

}  // namespace fbwb::test
