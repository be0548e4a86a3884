#pragma once
// Declares an interface identifier so that __uuidof (and therefore ComPtr::As,
// IID_PPV_ARGS) works with both MinGW-w64 and Microsoft compilers.
#include <windows.h>
#include <unknwn.h>

#if defined(__MINGW32__)
#define QK_DECLARE_UUID(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    __CRT_UUID_DECL(type, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8)
#else
#error "Map QK_DECLARE_UUID to __declspec(uuid(...)) for this compiler."
#endif

// A slot that exists only to keep the slot numbers of a fixed interface right.
#define QK_PLACEHOLDER_SLOT(n) virtual HRESULT STDMETHODCALLTYPE Reserved##n() = 0
