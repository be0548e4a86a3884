#pragma once
// Owners for BSTR and VARIANT that contain the raw value instead of inheriting
// from it, so that a raw value can never be freed twice by accident.
#include <windows.h>
#include <oleauto.h>
#include <wrl/client.h>

#include <string>
#include <string_view>
#include <utility>

class Bstr {
public:
    Bstr() noexcept = default;
    explicit Bstr(std::wstring_view text) : m_value(::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    explicit Bstr(const wchar_t* text) : m_value(text ? ::SysAllocString(text) : nullptr) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : m_value(other.release()) {}
    Bstr& operator=(Bstr&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~Bstr() { reset(); }

    [[nodiscard]] BSTR get() const noexcept { return m_value; }
    [[nodiscard]] UINT length() const noexcept { return ::SysStringLen(m_value); }
    [[nodiscard]] bool empty() const noexcept { return length() == 0; }
    // An absent string reads as empty text.
    [[nodiscard]] const wchar_t* c_str() const noexcept { return m_value ? m_value : L""; }
    [[nodiscard]] std::wstring str() const { return std::wstring(c_str(), length()); }

    void reset(BSTR value = nullptr) noexcept {
        if (m_value != value) ::SysFreeString(m_value);
        m_value = value;
    }
    [[nodiscard]] BSTR release() noexcept { return std::exchange(m_value, nullptr); }
    BSTR* receive() noexcept {
        reset();
        return &m_value;
    }

private:
    BSTR m_value = nullptr;
};

class Variant {
public:
    Variant() noexcept { ::VariantInit(&m_value); }
    explicit Variant(std::wstring_view text) : Variant() {
        m_value.vt = VT_BSTR;
        m_value.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    explicit Variant(LONG number) noexcept : Variant() {
        m_value.vt = VT_I4;
        m_value.lVal = number;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { ::VariantClear(&m_value); }

    [[nodiscard]] const VARIANT& get() const noexcept { return m_value; }
    VARIANT* receive() noexcept {
        ::VariantClear(&m_value);
        return &m_value;
    }
    void reset() noexcept { ::VariantClear(&m_value); }

private:
    VARIANT m_value;
};

// Takes over the one reference a newly created object starts with. MinGW-w64's
// ComPtr::Attach adds a reference of its own (unlike other implementations),
// so it must not be used for this.
template <typename T>
Microsoft::WRL::ComPtr<T> AdoptReference(T* created) noexcept {
    Microsoft::WRL::ComPtr<T> owner;
    *owner.GetAddressOf() = created;
    return owner;
}
