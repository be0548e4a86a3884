#include "ZvnSkinMgr.h"

#include <string>

#include "Trace.h"
#include "ZvnSkinLoadDirFile.h"
#include "ZvnSkinLoadResDll.h"

namespace {
bool ThreadHasEnded(DWORD threadId) noexcept { return ::GetThreadDesktop(threadId) == nullptr; }
}  // namespace

CZvnSkinMgr::~CZvnSkinMgr() {
    // Clear is virtual, but a derived manager has already cleared its own part.
    CZvnSkinMgr::Clear();
}

void CZvnSkinMgr::Clear() {
    {
        CZvnUIAutoLock lock(m_cacheLock);
        m_source.reset();
        m_caches.clear();
    }
    CZvnUIAutoLock lock(m_ownedLock);
    m_owned.clear();
}

void CZvnSkinMgr::OnBitmapLoaded(UINT, HBITMAP) {}

const wchar_t* CZvnSkinMgr::GetBitmapName(UINT) { return L""; }

BOOL CZvnSkinMgr::LoadSkin(const wchar_t* path) {
    CAutoFunTrace trace("CZvnSkinMgr::LoadSkin");
    if (!path) return FALSE;
    const DWORD attributes = ::GetFileAttributesW(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        TraceText(2, "CZvnSkinMgr::LoadSkin::no such skin");
        return FALSE;
    }
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    std::unique_ptr<IZvnSkinLoad> source;
    if (folder)
        source = std::make_unique<CZvnSkinLoadDirFile>();
    else
        source = std::make_unique<CZvnSkinLoadResDll>();
    if (!source->Open(path)) {
        TraceText(2, "CZvnSkinMgr::LoadSkin::cannot open skin");
        return FALSE;
    }
    Clear();
    CZvnUIAutoLock lock(m_cacheLock);
    m_folder = folder;
    m_source = std::move(source);
    return TRUE;
}

CZvnSkinBmpMgr& CZvnSkinMgr::ThreadCache() {
    const DWORD self = ::GetCurrentThreadId();
    for (size_t i = m_caches.size(); i-- > 0;) {
        CZvnSkinBmpMgr* cache = m_caches[i].get();
        if (cache && cache->ThreadId() == self) return *cache;
        if (!cache || ThreadHasEnded(cache->ThreadId())) m_caches.erase(m_caches.begin() + static_cast<ptrdiff_t>(i));
    }
    m_caches.push_back(std::make_unique<CZvnSkinBmpMgr>(self));
    return *m_caches.back();
}

HBITMAP CZvnSkinMgr::GetBitmap(UINT id, BOOL dib) {
    try {
        CZvnUIAutoLock lock(m_cacheLock);
        if (!m_source) return nullptr;
        CZvnSkinBmpMgr& cache = ThreadCache();
        if (HBITMAP cached = cache.Find(id)) return cached;
        const wchar_t* name = m_folder ? GetBitmapName(id) : MAKEINTRESOURCEW(LOWORD(id));
        HBITMAP bitmap = m_source->LoadBitmap(name, dib);
        if (!bitmap) return nullptr;
        cache.Store(id, bitmap);
        OnBitmapLoaded(id, bitmap);
        return bitmap;
    } catch (...) {
        return nullptr;
    }
}

int CZvnSkinMgr::GetSkinString(UINT id, wchar_t* buffer, int length) {
    CZvnUIAutoLock lock(m_cacheLock);
    if (!m_source) return 0;
    if (!m_folder) return m_source->LoadString(MAKEINTRESOURCEW(LOWORD(id)), buffer, length);
    // Texts without a bitmap name are keyed by their number in the skin's ini file.
    const wchar_t* name = GetBitmapName(id);
    if (name && *name) return m_source->LoadString(name, buffer, length);
    const std::wstring key = std::to_wstring(id);
    return m_source->LoadString(key.c_str(), buffer, length);
}

void CZvnSkinMgr::AddOwnedObject(std::unique_ptr<CZvnSkinOwned> object) {
    CZvnUIAutoLock lock(m_ownedLock);
    m_owned.push_back(std::move(object));
}
