#pragma once
// Move-only owners of Windows handles. INVALID_HANDLE_VALUE is folded into null here, once;
// the predefined registry roots are never closed.
#include <windows.h>

#include <utility>

namespace fbwb::platform {

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type value) : value_(Traits::isValid(value) ? value : Traits::null()) {}
    UniqueHandle(UniqueHandle&& other) noexcept : value_(std::exchange(other.value_, Traits::null())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(std::exchange(other.value_, Traits::null()));
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const { return value_; }
    explicit operator bool() const { return Traits::isValid(value_); }
    Type release() { return std::exchange(value_, Traits::null()); }
    void reset(Type value = Traits::null()) {
        if (Traits::isValid(value_)) Traits::close(value_);
        value_ = Traits::isValid(value) ? value : Traits::null();
    }
    // For APIs that fill a handle through a pointer.
    Type* put() {
        reset();
        return &value_;
    }

private:
    Type value_ = Traits::null();
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type null() { return nullptr; }
    static bool isValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Type h) { CloseHandle(h); }
};

struct FindHandleTraits {
    using Type = HANDLE;
    static Type null() { return nullptr; }
    static bool isValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(Type h) { FindClose(h); }
};

struct RegistryKeyTraits {
    using Type = HKEY;
    static Type null() { return nullptr; }
    static bool isValid(Type h) { return h != nullptr; }
    static void close(Type h) {
        // The predefined roots (HKEY_LOCAL_MACHINE and the like) are never closed.
        if (reinterpret_cast<ULONG_PTR>(h) < reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT)) RegCloseKey(h);
    }
};

struct ServiceHandleTraits {
    using Type = SC_HANDLE;
    static Type null() { return nullptr; }
    static bool isValid(Type h) { return h != nullptr; }
    static void close(Type h) { CloseServiceHandle(h); }
};

struct GdiFontTraits {
    using Type = HFONT;
    static Type null() { return nullptr; }
    static bool isValid(Type h) { return h != nullptr; }
    static void close(Type h) { DeleteObject(h); }
};

struct GdiBitmapTraits {
    using Type = HBITMAP;
    static Type null() { return nullptr; }
    static bool isValid(Type h) { return h != nullptr; }
    static void close(Type h) { DeleteObject(h); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type null() { return nullptr; }
    static bool isValid(Type h) { return h != nullptr; }
    static void close(Type h) { FreeLibrary(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;
using UniqueServiceHandle = UniqueHandle<ServiceHandleTraits>;
using UniqueModule = UniqueHandle<ModuleTraits>;
using UniqueFont = UniqueHandle<GdiFontTraits>;
using UniqueBitmap = UniqueHandle<GdiBitmapTraits>;

}  // namespace fbwb::platform
