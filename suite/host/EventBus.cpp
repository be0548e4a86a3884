#include "host/EventBus.h"

HRESULT STDMETHODCALLTYPE CEventBus::Subscribe(UINT code, CVelEventListener* listener) {
    if (!listener) return E_POINTER;
    try {
        return m_listeners[code].Add(listener) ? S_OK : S_FALSE;
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

HRESULT STDMETHODCALLTYPE CEventBus::Unsubscribe(UINT code, CVelEventListener* listener) {
    const auto it = m_listeners.find(code);
    if (it == m_listeners.end() || !it->second.Remove(listener)) return S_FALSE;
    // The code's list stays even when empty: a Fire of this code may be walking it.
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CEventBus::Fire(UINT code, INT_PTR param1, INT_PTR param2, INT_PTR param3) {
    const auto it = m_listeners.find(code);
    if (it == m_listeners.end()) return S_FALSE;
    // Keep the bus alive even if a listener drops the last outside reference.
    AddRef();
    try {
        it->second.Walk([&](CVelEventListener* listener) {
            listener->HandleEvent(code, param1, param2, param3);
            return false;
        });
    } catch (...) {
    }
    Release();
    return S_OK;
}

size_t CEventBus::ListenerCount(UINT code) const {
    const auto it = m_listeners.find(code);
    return it == m_listeners.end() ? 0 : it->second.Size();
}
