#pragma once
// COM for the length of one call: the thread's initialisation, owned interface pointers and BSTRs,
// creation by ProgID and the message of a failed call.
#include <windows.h>
#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace fbwb::platform {

// COM in the calling thread (apartment-threaded) while the scope lives. A thread that has COM already keeps
// its model; only an initialisation that succeeded (S_FALSE, already initialised, included) is undone.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

    HRESULT result() const { return result_; }

private:
    HRESULT result_;
};

// An owned interface pointer: one reference, released once; moved, never copied.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over the caller's reference.
    explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) reset(std::exchange(other.pointer_, nullptr));
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { reset(); }

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    void reset(Interface* pointer = nullptr) {
        if (pointer_ != nullptr) pointer_->Release();
        pointer_ = pointer;
    }
    // For calls that hand out a reference through a pointer.
    Interface** put() {
        reset();
        return &pointer_;
    }

private:
    Interface* pointer_ = nullptr;
};

// An owned BSTR; moved, never copied.
class Bstr {
public:
    Bstr() = default;
    // Throws std::bad_alloc when the system has no memory for it.
    explicit Bstr(std::string_view utf8);
    Bstr(Bstr&& other) noexcept : value_(std::exchange(other.value_, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(value_); }

    BSTR get() const { return value_; }
    // For calls that hand out a BSTR through a pointer.
    BSTR* put();
    std::string text() const;

private:
    BSTR value_ = nullptr;
};

// Creates the object that the ProgID names (in process or in a local server) and asks it for the interface.
// Throws std::runtime_error "<ProgID>: <system's message> (<HRESULT in hexadecimal>)" when that fails
// ("<ProgID> (<HRESULT>)" when the system has no message for the code).
void createByProgId(std::string_view progId, REFIID iid, void** object);

template <typename Interface>
ComPtr<Interface> createByProgId(std::string_view progId) {
    ComPtr<Interface> object;
    createByProgId(progId, __uuidof(Interface), reinterpret_cast<void**>(object.put()));
    return object;
}

// The message of a call that failed with `result` on `object` through the interface iid: the error
// information the object left, when it declares that it leaves some for that interface; else the system's
// message of the code; else empty. Call it right after the failed call (it takes the thread's error info).
std::string comErrorMessage(HRESULT result, IUnknown* object, REFIID iid);

// The code as unsigned hexadecimal, upper-case digits, no prefix: 80070005.
std::string hresultHex(HRESULT result);

}  // namespace fbwb::platform
