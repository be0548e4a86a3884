#pragma once
// The bytes of one "IMAGE" resource of the resource library, copied into a
// memory stream that GDI+ can decode.
#include <windows.h>
#include <objidl.h>

#include <wrl/client.h>

class CImageDataStream {
public:
    // Reads from the resource library loaded for the module (or from nothing
    // when none is loaded yet).
    CImageDataStream() noexcept;
    CImageDataStream(const CImageDataStream&) = delete;
    CImageDataStream& operator=(const CImageDataStream&) = delete;
    virtual ~CImageDataStream();

    // Replaces the stream with the bytes of image `id`, positioned at the
    // start. On any failure the stream is left empty and false returned.
    bool Load(UINT id) noexcept;

    [[nodiscard]] bool IsEmpty() const noexcept { return !m_stream; }
    [[nodiscard]] IStream* Stream() const noexcept { return m_stream.Get(); }

private:
    Microsoft::WRL::ComPtr<IStream> m_stream;
    HINSTANCE m_module;
};
