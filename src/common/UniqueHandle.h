#pragma once
// One move-only owner for every kind of Windows handle. Each kind names its
// invalid value and the call that frees it, so a memory DC can never be freed
// with DeleteObject or a window with CloseHandle.
#include <windows.h>
#include <utility>

template <typename Traits>
class UniqueHandle {
public:
    using Type = typename Traits::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type value) noexcept : m_value(value) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : m_value(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    [[nodiscard]] Type get() const noexcept { return m_value; }
    [[nodiscard]] bool valid() const noexcept { return m_value != Traits::Invalid(); }
    explicit operator bool() const noexcept { return valid(); }

    void reset(Type value = Traits::Invalid()) noexcept {
        if (m_value != value && m_value != Traits::Invalid()) Traits::Close(m_value);
        m_value = value;
    }
    [[nodiscard]] Type release() noexcept { return std::exchange(m_value, Traits::Invalid()); }

    // For APIs that hand out a handle through an out-parameter.
    Type* receive() noexcept {
        reset();
        return &m_value;
    }

private:
    Type m_value = Traits::Invalid();
};

namespace handle_traits {
template <typename T, T InvalidValue, auto CloseFn>
struct Simple {
    using Type = T;
    static Type Invalid() noexcept { return InvalidValue; }
    static void Close(Type value) noexcept { CloseFn(value); }
};

struct Kernel {
    using Type = HANDLE;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type value) noexcept { ::CloseHandle(value); }
};
struct File {
    using Type = HANDLE;
    static Type Invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void Close(Type value) noexcept { ::CloseHandle(value); }
};
template <typename T>
struct GdiObject {
    using Type = T;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type value) noexcept { ::DeleteObject(value); }
};
struct Window {
    using Type = HWND;
    static Type Invalid() noexcept { return nullptr; }
    static void Close(Type value) noexcept {
        if (::IsWindow(value)) ::DestroyWindow(value);
    }
};
struct RegistryKey {
    using Type = HKEY;
    static Type Invalid() noexcept { return nullptr; }
    // The root keys are the 32-bit values 0x80000000 to 0x800000FF, which a
    // 64-bit build sees sign-extended (HKEY_CURRENT_USER is 0xFFFFFFFF80000001).
    static bool IsPredefined(Type value) noexcept {
        const auto signedValue = reinterpret_cast<LONG_PTR>(value);
        return signedValue >= static_cast<LONG>(0x80000000UL) && signedValue <= static_cast<LONG>(0x800000FFUL);
    }
    static void Close(Type value) noexcept {
        // The predefined root keys are never closed.
        if (!IsPredefined(value)) ::RegCloseKey(value);
    }
};
}  // namespace handle_traits

using UniqueKernelHandle = UniqueHandle<handle_traits::Kernel>;
using UniqueFileHandle = UniqueHandle<handle_traits::File>;
using UniqueHwnd = UniqueHandle<handle_traits::Window>;
using UniqueHkey = UniqueHandle<handle_traits::RegistryKey>;
using UniqueHmodule = UniqueHandle<handle_traits::Simple<HMODULE, nullptr, ::FreeLibrary>>;
using UniqueHmenu = UniqueHandle<handle_traits::Simple<HMENU, nullptr, ::DestroyMenu>>;
using UniqueHicon = UniqueHandle<handle_traits::Simple<HICON, nullptr, ::DestroyIcon>>;
using UniqueHcursor = UniqueHandle<handle_traits::Simple<HCURSOR, nullptr, ::DestroyCursor>>;
using UniqueMemDC = UniqueHandle<handle_traits::Simple<HDC, nullptr, ::DeleteDC>>;
using UniqueHfont = UniqueHandle<handle_traits::GdiObject<HFONT>>;
using UniqueHbrush = UniqueHandle<handle_traits::GdiObject<HBRUSH>>;
using UniqueHbitmap = UniqueHandle<handle_traits::GdiObject<HBITMAP>>;
using UniqueHpen = UniqueHandle<handle_traits::GdiObject<HPEN>>;
using UniqueHrgn = UniqueHandle<handle_traits::GdiObject<HRGN>>;
