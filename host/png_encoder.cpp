#include "host/png_encoder.h"

#include <objbase.h>
#include <wincodec.h>

namespace {

// Releases a COM interface when its owner leaves scope.
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

// Three bytes a pixel, so that the encoder writes colour without an alpha channel.
std::vector<BYTE> ToBgr(const uint32_t* bgrx, UINT width, UINT height)
{
    std::vector<BYTE> bgr(size_t(width) * height * 3);
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        bgr[3 * i] = static_cast<BYTE>(bgrx[i]);
        bgr[3 * i + 1] = static_cast<BYTE>(bgrx[i] >> 8);
        bgr[3 * i + 2] = static_cast<BYTE>(bgrx[i] >> 16);
    }
    return bgr;
}

bool Encode(const uint32_t* bgrx, UINT width, UINT height, std::vector<uint8_t>* png, std::string* error)
{
    ComRef<IWICImagingFactory> factory;
    HRESULT hr = CoCreateInstance(
        CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory, (void**)&factory);
    if (FAILED(hr))
        return *error = Failed("starting the imaging component", hr), false;
    ComRef<IStream> stream;
    if (FAILED(hr = CreateStreamOnHGlobal(nullptr, TRUE, &stream)))
        return *error = Failed("making a memory stream", hr), false;
    ComRef<IWICBitmapEncoder> encoder;
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    std::vector<BYTE> bgr = ToBgr(bgrx, width, height);
    const UINT stride = width * 3;
    if (FAILED(hr = factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) ||
        FAILED(hr = encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
        FAILED(hr = encoder->CreateNewFrame(&frame, &options)) || FAILED(hr = frame->Initialize(options.p)) ||
        FAILED(hr = frame->SetSize(width, height)) || FAILED(hr = frame->SetPixelFormat(&format)))
        return *error = Failed("preparing the PNG encoder", hr), false;
    if (!IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        return *error = "the PNG encoder does not take 24-bit pixels", false;
    if (FAILED(hr = frame->WritePixels(height, stride, static_cast<UINT>(bgr.size()), bgr.data())) ||
        FAILED(hr = frame->Commit()) || FAILED(hr = encoder->Commit()))
        return *error = Failed("encoding the picture", hr), false;

    STATSTG stat{};
    LARGE_INTEGER start{};
    if (FAILED(hr = stream->Stat(&stat, STATFLAG_NONAME)) ||
        FAILED(hr = stream->Seek(start, STREAM_SEEK_SET, nullptr)))
        return *error = Failed("reading the encoded picture", hr), false;
    png->resize(static_cast<size_t>(stat.cbSize.QuadPart));
    ULONG got = 0;
    if (FAILED(hr = stream->Read(png->data(), static_cast<ULONG>(png->size()), &got)) || got != png->size())
        return *error = Failed("reading the encoded picture", hr), false;
    return true;
}

}  // namespace

bool HostEncodePng(
    const uint32_t* bgrx, UINT width, UINT height, std::vector<uint8_t>* png, std::string* error)
{
    // The imaging component is a COM server; the picture mode is the only user.
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool ok = Encode(bgrx, width, height, png, error);
    if (SUCCEEDED(init))
        CoUninitialize();
    return ok;
}
