#include "ImageDataStream.h"

#include "ModuleState.h"

CImageDataStream::CImageDataStream() noexcept : m_module(ModuleState::ResourceInstance()) {}

CImageDataStream::~CImageDataStream() = default;

bool CImageDataStream::Load(UINT id) noexcept {
    m_stream.Reset();
    if (!m_module) return false;
    HRSRC info = ::FindResourceW(m_module, MAKEINTRESOURCEW(id), L"IMAGE");
    if (!info) return false;
    const DWORD size = ::SizeofResource(m_module, info);
    if (size == 0) return false;
    HGLOBAL loaded = ::LoadResource(m_module, info);
    if (!loaded) return false;
    const void* bytes = ::LockResource(loaded);
    if (!bytes) return false;

    // The stream owns movable global memory of its own: GDI+ may read the
    // picture lazily, long after the resource section could be unmapped.
    Microsoft::WRL::ComPtr<IStream> stream;
    bool copied = SUCCEEDED(::CreateStreamOnHGlobal(nullptr, TRUE, &stream));
    if (copied) {
        ULARGE_INTEGER length{};
        length.QuadPart = size;
        ULONG written = 0;
        LARGE_INTEGER start{};
        copied = SUCCEEDED(stream->SetSize(length)) && SUCCEEDED(stream->Write(bytes, size, &written)) &&
                 written == size && SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr));
    }
    ::FreeResource(loaded);
    if (!copied) return false;
    m_stream = std::move(stream);
    return true;
}
