#include "host/ModuleLoader.h"

namespace {
HRESULT ResolveClassId(const std::wstring& module, CLSID& classId) {
    if (!module.empty() && module.front() == L'{') return ::CLSIDFromString(module.c_str(), &classId);
    return ::CLSIDFromProgID(module.c_str(), &classId);
}
}  // namespace

HRESULT LoadUIModule(const std::wstring& module, const std::wstring& dllPath, LoadedModule& loaded) {
    CLSID classId{};
    HRESULT hr = ResolveClassId(module, classId);
    if (FAILED(hr)) return hr;

    if (dllPath.empty()) {
        return ::CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&loaded.module));
    }

    loaded.library.reset(::LoadLibraryExW(dllPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!loaded.library) return HRESULT_FROM_WIN32(::GetLastError());
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto getClassObject =
        reinterpret_cast<GetClassObjectFn>(::GetProcAddress(loaded.library.get(), "DllGetClassObject"));
    if (!getClassObject) return E_NOTIMPL;
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    hr = getClassObject(classId, IID_PPV_ARGS(&factory));
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, IID_PPV_ARGS(&loaded.module));
}
