#include "platform/com_win.h"

#include <cstdio>
#include <new>
#include <stdexcept>

#include "platform/encoding.h"
#include "platform/system.h"

namespace fbwb::platform {

Bstr::Bstr(std::string_view utf8) {
    const std::wstring wide = widen(utf8);
    value_ = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
    if (value_ == nullptr) throw std::bad_alloc();
}

Bstr& Bstr::operator=(Bstr&& other) noexcept {
    if (this != &other) {
        SysFreeString(value_);
        value_ = std::exchange(other.value_, nullptr);
    }
    return *this;
}

BSTR* Bstr::put() {
    SysFreeString(std::exchange(value_, nullptr));
    return &value_;
}

std::string Bstr::text() const { return value_ == nullptr ? std::string() : narrow({value_, SysStringLen(value_)}); }

void createByProgId(std::string_view progId, REFIID iid, void** object) {
    *object = nullptr;
    CLSID clsid{};
    HRESULT result = CLSIDFromProgID(widen(progId).c_str(), &clsid);
    if (SUCCEEDED(result))
        result = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, iid, object);
    if (FAILED(result)) {
        const std::string message = systemMessage(static_cast<std::uint32_t>(result));
        throw std::runtime_error(std::string(progId) + (message.empty() ? "" : ": " + message) + " (" +
                                 hresultHex(result) + ")");
    }
}

std::string comErrorMessage(HRESULT result, IUnknown* object, REFIID iid) {
    ComPtr<ISupportErrorInfo> support;
    if (object != nullptr &&
        SUCCEEDED(object->QueryInterface(__uuidof(ISupportErrorInfo), reinterpret_cast<void**>(support.put()))) &&
        support->InterfaceSupportsErrorInfo(iid) == S_OK) {
        ComPtr<IErrorInfo> info;
        Bstr description;
        if (GetErrorInfo(0, info.put()) == S_OK && info && SUCCEEDED(info->GetDescription(description.put()))) {
            std::string text = description.text();
            if (!text.empty()) return text;
        }
    }
    return systemMessage(static_cast<std::uint32_t>(result));
}

std::string hresultHex(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "%lX", static_cast<unsigned long>(static_cast<std::uint32_t>(result)));
    return text;
}

}  // namespace fbwb::platform
