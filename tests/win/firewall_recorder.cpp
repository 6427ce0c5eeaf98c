#include "win/firewall_recorder.h"

#include <netfw.h>

#include <atomic>
#include <functional>
#include <map>
#include <stdexcept>

#include "install/texts_install.h"
#include "platform/encoding.h"

namespace fbwb::test {

struct Failure {
    HRESULT result = S_OK;
    std::string message;
};

struct FirewallLog {
    std::vector<std::string> calls;
    std::map<std::string, Failure, std::less<>> failures;
    int liveObjects = 0;

    // S_OK, or the failure set for the call, with its message left as the thread's error information.
    HRESULT answer(std::string_view call, REFIID iid) const {
        const auto failure = failures.find(call);
        if (failure == failures.end()) return S_OK;
        platform::ComPtr<IErrorInfo> info;
        if (!failure->second.message.empty()) {
            platform::ComPtr<ICreateErrorInfo> create;
            if (SUCCEEDED(CreateErrorInfo(create.put()))) {
                create->SetGUID(iid);
                create->SetDescription(platform::widen(failure->second.message).data());
                create->QueryInterface(__uuidof(IErrorInfo), reinterpret_cast<void**>(info.put()));
            }
        }
        SetErrorInfo(0, info.get());
        return failure->second.result;
    }
    HRESULT record(std::string_view property, std::string_view value, REFIID iid) {
        calls.push_back(std::string(property) + "=" + std::string(value));
        return answer(property, iid);
    }
};

namespace {

std::string text(BSTR value) {
    return value == nullptr ? std::string() : platform::narrow({value, SysStringLen(value)});
}

std::string boolText(VARIANT_BOOL value) {
    if (value == VARIANT_TRUE) return "true";
    if (value == VARIANT_FALSE) return "false";
    return std::to_string(value);
}

// IUnknown, an empty IDispatch and ISupportErrorInfo (for Interface only) of a recording object.
template <typename Interface>
class Recording : public Interface, public ISupportErrorInfo {
public:
    explicit Recording(std::shared_ptr<FirewallLog> log) : log_(std::move(log)) { ++log_->liveObjects; }
    virtual ~Recording() { --log_->liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(Interface)) {
            *object = static_cast<Interface*>(this);
        } else if (iid == __uuidof(ISupportErrorInfo)) {
            *object = static_cast<ISupportErrorInfo*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == __uuidof(Interface) ? S_OK : S_FALSE;
    }

protected:
    HRESULT record(std::string_view property, std::string_view value) {
        return log_->record(property, value, __uuidof(Interface));
    }

    std::shared_ptr<FirewallLog> log_;

private:
    std::atomic<ULONG> references_{1};
};

class RecordingRule : public Recording<INetFwRule> {
public:
    using Recording::Recording;

    HRESULT STDMETHODCALLTYPE get_Name(BSTR* name) override {
        if (name == nullptr) return E_POINTER;
        *name = SysAllocString(platform::widen(name_).c_str());
        return *name != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE put_Name(BSTR name) override {
        name_ = text(name);
        return record("Name", name_);
    }
    HRESULT STDMETHODCALLTYPE get_Description(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Description(BSTR value) override { return record("Description", text(value)); }
    HRESULT STDMETHODCALLTYPE get_ApplicationName(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ApplicationName(BSTR value) override {
        return record("ApplicationName", text(value));
    }
    HRESULT STDMETHODCALLTYPE get_ServiceName(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ServiceName(BSTR value) override { return record("ServiceName", text(value)); }
    HRESULT STDMETHODCALLTYPE get_Protocol(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Protocol(LONG value) override { return record("Protocol", std::to_string(value)); }
    HRESULT STDMETHODCALLTYPE get_LocalPorts(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_LocalPorts(BSTR value) override { return record("LocalPorts", text(value)); }
    HRESULT STDMETHODCALLTYPE get_RemotePorts(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_RemotePorts(BSTR value) override { return record("RemotePorts", text(value)); }
    HRESULT STDMETHODCALLTYPE get_LocalAddresses(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_LocalAddresses(BSTR value) override { return record("LocalAddresses", text(value)); }
    HRESULT STDMETHODCALLTYPE get_RemoteAddresses(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_RemoteAddresses(BSTR value) override {
        return record("RemoteAddresses", text(value));
    }
    HRESULT STDMETHODCALLTYPE get_IcmpTypesAndCodes(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_IcmpTypesAndCodes(BSTR value) override {
        return record("IcmpTypesAndCodes", text(value));
    }
    HRESULT STDMETHODCALLTYPE get_Direction(NET_FW_RULE_DIRECTION*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Direction(NET_FW_RULE_DIRECTION value) override {
        return record("Direction", std::to_string(value));
    }
    HRESULT STDMETHODCALLTYPE get_Interfaces(VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Interfaces(VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_InterfaceTypes(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_InterfaceTypes(BSTR value) override { return record("InterfaceTypes", text(value)); }
    HRESULT STDMETHODCALLTYPE get_Enabled(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Enabled(VARIANT_BOOL value) override { return record("Enabled", boolText(value)); }
    HRESULT STDMETHODCALLTYPE get_Grouping(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Grouping(BSTR value) override { return record("Grouping", text(value)); }
    HRESULT STDMETHODCALLTYPE get_Profiles(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Profiles(LONG value) override { return record("Profiles", std::to_string(value)); }
    HRESULT STDMETHODCALLTYPE get_EdgeTraversal(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_EdgeTraversal(VARIANT_BOOL value) override {
        return record("EdgeTraversal", boolText(value));
    }
    HRESULT STDMETHODCALLTYPE get_Action(NET_FW_ACTION*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_Action(NET_FW_ACTION value) override {
        return record("Action", std::to_string(value));
    }

private:
    std::string name_;
};

class RecordingRules : public Recording<INetFwRules> {
public:
    using Recording::Recording;

    HRESULT STDMETHODCALLTYPE get_Count(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Add(INetFwRule* rule) override {
        std::string name;
        BSTR value = nullptr;
        if (rule != nullptr && SUCCEEDED(rule->get_Name(&value))) name = text(value);
        SysFreeString(value);
        return record("Add", name);
    }
    HRESULT STDMETHODCALLTYPE Remove(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Item(BSTR, INetFwRule**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown**) override { return E_NOTIMPL; }
};

class RecordingPolicy : public Recording<INetFwPolicy2> {
public:
    using Recording::Recording;

    HRESULT STDMETHODCALLTYPE get_Rules(INetFwRules** rules) override {
        if (rules == nullptr) return E_POINTER;
        *rules = nullptr;
        const HRESULT result = log_->answer("Rules", __uuidof(INetFwPolicy2));
        if (SUCCEEDED(result)) *rules = new RecordingRules(log_);
        return result;
    }

    HRESULT STDMETHODCALLTYPE get_CurrentProfileTypes(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_FirewallEnabled(NET_FW_PROFILE_TYPE2, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_FirewallEnabled(NET_FW_PROFILE_TYPE2, VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ExcludedInterfaces(NET_FW_PROFILE_TYPE2, VARIANT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_ExcludedInterfaces(NET_FW_PROFILE_TYPE2, VARIANT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_BlockAllInboundTraffic(NET_FW_PROFILE_TYPE2, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_BlockAllInboundTraffic(NET_FW_PROFILE_TYPE2, VARIANT_BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_NotificationsDisabled(NET_FW_PROFILE_TYPE2, VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_NotificationsDisabled(NET_FW_PROFILE_TYPE2, VARIANT_BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_UnicastResponsesToMulticastBroadcastDisabled(NET_FW_PROFILE_TYPE2,
                                                                               VARIANT_BOOL*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_UnicastResponsesToMulticastBroadcastDisabled(NET_FW_PROFILE_TYPE2,
                                                                               VARIANT_BOOL) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_ServiceRestriction(INetFwServiceRestriction**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnableRuleGroup(LONG, BSTR, VARIANT_BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsRuleGroupEnabled(LONG, BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE RestoreLocalFirewallDefaults() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DefaultInboundAction(NET_FW_PROFILE_TYPE2, NET_FW_ACTION*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_DefaultInboundAction(NET_FW_PROFILE_TYPE2, NET_FW_ACTION) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_DefaultOutboundAction(NET_FW_PROFILE_TYPE2, NET_FW_ACTION*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE put_DefaultOutboundAction(NET_FW_PROFILE_TYPE2, NET_FW_ACTION) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE get_IsRuleGroupCurrentlyEnabled(BSTR, VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_LocalPolicyModifyState(NET_FW_MODIFY_STATE*) override { return E_NOTIMPL; }
};

CLSID clsidOf(std::string_view progId) {
    CLSID clsid{};
    const HRESULT result = CLSIDFromProgID(platform::widen(progId).c_str(), &clsid);
    if (FAILED(result)) throw std::runtime_error("FirewallRecorder: unknown ProgID " + std::string(progId));
    return clsid;
}

}  // namespace

// Lives as long as the recorder, which revokes it first: its references need no counting.
class FirewallRecorder::Factory : public IClassFactory {
public:
    using Make = IUnknown* (*)(std::shared_ptr<FirewallLog>);
    Factory(std::string_view progId, std::shared_ptr<FirewallLog> log, Make make)
        : progId_(progId), log_(std::move(log)), make_(make) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (iid != __uuidof(IUnknown) && iid != __uuidof(IClassFactory)) return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        const HRESULT failure = log_->answer(progId_, __uuidof(IClassFactory));
        if (FAILED(failure)) return failure;
        IUnknown* made = make_(log_);
        const HRESULT result = made->QueryInterface(iid, object);
        made->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::string progId_;
    std::shared_ptr<FirewallLog> log_;
    Make make_;
};

FirewallRecorder::FirewallRecorder()
    : log_(std::make_shared<FirewallLog>()),
      policyFactory_(std::make_unique<Factory>(texts_install::kFwPolicyProgId, log_,
                                               [](std::shared_ptr<FirewallLog> log) -> IUnknown* {
                                                   return static_cast<INetFwPolicy2*>(
                                                       new RecordingPolicy(std::move(log)));
                                               })),
      ruleFactory_(std::make_unique<Factory>(texts_install::kFwRuleProgId, log_,
                                             [](std::shared_ptr<FirewallLog> log) -> IUnknown* {
                                                 return static_cast<INetFwRule*>(new RecordingRule(std::move(log)));
                                             })) {
    const CLSID policy = clsidOf(texts_install::kFwPolicyProgId);
    const CLSID rule = clsidOf(texts_install::kFwRuleProgId);
    HRESULT result =
        CoRegisterClassObject(policy, policyFactory_.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &policyCookie_);
    if (SUCCEEDED(result)) {
        result =
            CoRegisterClassObject(rule, ruleFactory_.get(), CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &ruleCookie_);
        if (FAILED(result)) CoRevokeClassObject(policyCookie_);
    }
    if (FAILED(result))
        throw std::runtime_error("FirewallRecorder: CoRegisterClassObject " + platform::hresultHex(result));
}

FirewallRecorder::~FirewallRecorder() {
    CoRevokeClassObject(ruleCookie_);
    CoRevokeClassObject(policyCookie_);
}

std::vector<std::string> FirewallRecorder::calls() const { return log_->calls; }

void FirewallRecorder::failCall(std::string_view call, HRESULT result, std::string_view message) {
    log_->failures[std::string(call)] = Failure{result, std::string(message)};
}

int FirewallRecorder::liveObjects() const { return log_->liveObjects; }

}  // namespace fbwb::test
