#include "SiblingObject.h"

#include <wrl/client.h>

HRESULT CreateSiblingObject(HMODULE library, REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!library) return E_FAIL;
    using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto getClassObject = reinterpret_cast<GetClassObjectFn>(::GetProcAddress(library, "DllGetClassObject"));
    if (!getClassObject) return E_NOTIMPL;
    Microsoft::WRL::ComPtr<IClassFactory> factory;
    const HRESULT hr = getClassObject(classId, IID_IClassFactory, reinterpret_cast<void**>(factory.GetAddressOf()));
    if (FAILED(hr)) return hr;
    if (!factory) return E_FAIL;
    return factory->CreateInstance(nullptr, iid, object);
}
