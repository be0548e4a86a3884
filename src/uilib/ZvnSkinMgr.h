#pragma once
// The current skin source with the bitmaps loaded from it, cached per thread.
// Switching the source drops every cached bitmap of every thread.
#include <windows.h>

#include <memory>
#include <vector>

#include "ZvnSkinBmpMgr.h"
#include "ZvnSkinLoad.h"
#include "ZvnUICriticalSection.h"

// Something a control hands to the skin manager to be deleted with the skin.
class CZvnSkinOwned {
public:
    virtual ~CZvnSkinOwned() = default;
};

class CZvnSkinMgr {
public:
    CZvnSkinMgr() = default;
    virtual ~CZvnSkinMgr();
    CZvnSkinMgr(const CZvnSkinMgr&) = delete;
    CZvnSkinMgr& operator=(const CZvnSkinMgr&) = delete;

    // Deletes the source, every thread's cached bitmaps and every owned object.
    virtual void Clear();
    virtual void OnBitmapLoaded(UINT id, HBITMAP bitmap);
    // The file name of bitmap `id` in a skin folder; null when there is none.
    virtual const wchar_t* GetBitmapName(UINT id);

    // A folder becomes a folder source, any other file a resource library. On
    // failure the current source stays.
    BOOL LoadSkin(const wchar_t* path);
    // The cache keeps the bitmap: callers must not delete it.
    HBITMAP GetBitmap(UINT id, BOOL dib);
    int GetSkinString(UINT id, wchar_t* buffer, int length);

    void AddOwnedObject(std::unique_ptr<CZvnSkinOwned> object);

    [[nodiscard]] bool HasSource() const noexcept { return m_source != nullptr; }
    [[nodiscard]] bool IsFolderSkin() const noexcept { return m_folder; }

protected:
    // The source, for derived managers that take more than bitmaps from it.
    [[nodiscard]] IZvnSkinLoad* Source() const noexcept { return m_source.get(); }
    // Guards the caches and what OnBitmapLoaded derives from the bitmaps,
    // which any thread's first load of a bitmap replaces.
    [[nodiscard]] CZvnUICriticalSection& CacheLock() const noexcept { return m_cacheLock; }

private:
    // The calling thread's cache, made on first use; caches of ended threads
    // met on the way are reclaimed. Call under m_cacheLock.
    CZvnSkinBmpMgr& ThreadCache();

    std::unique_ptr<IZvnSkinLoad> m_source;
    bool m_folder = false;
    std::vector<std::unique_ptr<CZvnSkinBmpMgr>> m_caches;
    mutable CZvnUICriticalSection m_cacheLock;
    std::vector<std::unique_ptr<CZvnSkinOwned>> m_owned;
    CZvnUICriticalSection m_ownedLock;
};
