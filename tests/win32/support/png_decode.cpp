#include "tests/win32/support/png_decode.h"

#include <windows.h>

#include <objbase.h>
#include <wincodec.h>

namespace {

template <typename T> struct ComRef {
    T* p = nullptr;
    ~ComRef()
    {
        if (p != nullptr)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

std::string Failed(const char* step, HRESULT hr)
{
    char text[96];
    wsprintfA(text, "%s failed (0x%08lX)", step, static_cast<unsigned long>(hr));
    return text;
}

bool Decode(const std::vector<uint8_t>& bytes, PngImage* image, std::string* error)
{
    ComRef<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(
        CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, (void**)&factory);
    if (FAILED(hr))
        return *error = Failed("starting the imaging component", hr), false;
    ComRef<IWICStream> stream;
    ComRef<IWICBitmapDecoder> decoder;
    if (FAILED(hr = factory->CreateStream(&stream)) ||
        FAILED(hr = stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), DWORD(bytes.size()))) ||
        FAILED(hr = factory->CreateDecoderFromStream(
                   stream.p, nullptr, WICDecodeMetadataCacheOnDemand, &decoder)))
        return *error = Failed("opening the picture", hr), false;
    GUID container{};
    if (FAILED(hr = decoder->GetContainerFormat(&container)) ||
        !IsEqualGUID(container, GUID_ContainerFormatPng))
        return *error = "the picture is not a PNG", false;
    ComRef<IWICBitmapFrameDecode> frame;
    ComRef<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (FAILED(hr = decoder->GetFrame(0, &frame)) || FAILED(hr = frame->GetSize(&width, &height)) ||
        FAILED(hr = factory->CreateFormatConverter(&converter)) ||
        FAILED(hr = converter->Initialize(frame.p, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone,
                   nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return *error = Failed("decoding the picture", hr), false;
    std::vector<BYTE> bgr(size_t(width) * height * 3);
    if (FAILED(hr = converter->CopyPixels(nullptr, width * 3, UINT(bgr.size()), bgr.data())))
        return *error = Failed("reading the pixels", hr), false;
    image->width = width;
    image->height = height;
    image->rgb.resize(bgr.size());
    for (size_t i = 0; i < bgr.size(); i += 3) {
        image->rgb[i] = bgr[i + 2];
        image->rgb[i + 1] = bgr[i + 1];
        image->rgb[i + 2] = bgr[i];
    }
    return true;
}

}  // namespace

bool PngDecode(const std::vector<uint8_t>& bytes, PngImage* image, std::string* error)
{
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool ok = Decode(bytes, image, error);
    if (SUCCEEDED(init))
        CoUninitialize();
    return ok;
}
