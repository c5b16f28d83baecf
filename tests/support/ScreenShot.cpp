#include "tests/support/ScreenShot.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

#include "platform/rtl/SysUtils.h"

namespace testing_support {

namespace {

// Top-down 24-bit rows of the screen, each padded to four bytes.
struct ScreenBits {
  int width = 0, height = 0;
  UINT stride = 0;
  std::vector<BYTE> rows;
};

bool ReadScreen(const RECT& r, ScreenBits& out) {
  out.width = r.right - r.left;
  out.height = r.bottom - r.top;
  if (out.width <= 0 || out.height <= 0) return false;
  out.stride = ((UINT)out.width * 3 + 3) & ~3u;
  out.rows.assign((size_t)out.stride * out.height, 0);
  HDC screen = GetDC(nullptr);
  if (!screen) return false;
  bool ok = false;
  if (HDC mem = CreateCompatibleDC(screen)) {
    if (HBITMAP bitmap = CreateCompatibleBitmap(screen, out.width, out.height)) {
      HGDIOBJ old = SelectObject(mem, bitmap);
      BITMAPINFO bi{};
      bi.bmiHeader = {sizeof(BITMAPINFOHEADER), out.width, -out.height, 1, 24, BI_RGB};
      ok = BitBlt(mem, 0, 0, out.width, out.height, screen, r.left, r.top, SRCCOPY | CAPTUREBLT) &&
           GetDIBits(mem, bitmap, 0, out.height, out.rows.data(), &bi, DIB_RGB_COLORS) == out.height;
      SelectObject(mem, old);
      DeleteObject(bitmap);
    }
    DeleteDC(mem);
  }
  ReleaseDC(nullptr, screen);
  return ok;
}

// COM for this thread while a picture is encoded; left alone when the thread already has it
// in another mode.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  HRESULT hr_;
};

template <class T>
struct ComPtr {
  T* p = nullptr;
  ComPtr() = default;
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  ~ComPtr() {
    if (p) p->Release();
  }
  T* operator->() const { return p; }
  T** operator&() { return &p; }
};

// The platform's own PNG encoder (Windows Imaging Component).
bool WritePng(const ScreenBits& bits, const std::string& path) {
  ComScope com;
  ComPtr<IWICImagingFactory> factory;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(&factory))))
    return false;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  ComPtr<IWICBitmapFrameEncode> frame;
  std::wstring wide = sys::AnsiToWide(path);
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  bool ok = SUCCEEDED(factory->CreateStream(&stream)) &&
            SUCCEEDED(stream->InitializeFromFilename(wide.c_str(), GENERIC_WRITE)) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
            SUCCEEDED(encoder->Initialize(stream.p, WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) && SUCCEEDED(frame->Initialize(nullptr)) &&
            SUCCEEDED(frame->SetSize(bits.width, bits.height)) && SUCCEEDED(frame->SetPixelFormat(&format)) &&
            IsEqualGUID(format, GUID_WICPixelFormat24bppBGR) &&
            SUCCEEDED(frame->WritePixels(bits.height, bits.stride, (UINT)bits.rows.size(),
                                         const_cast<BYTE*>(bits.rows.data()))) &&
            SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  return ok;
}

bool WriteBmp(const ScreenBits& bits, const std::string& path) {
  BITMAPINFOHEADER ih{sizeof ih, bits.width, -bits.height, 1, 24, BI_RGB};
  BITMAPFILEHEADER fh{0x4D42, (DWORD)(sizeof fh + sizeof ih + bits.rows.size()), 0, 0, (DWORD)(sizeof fh + sizeof ih)};
  std::string data(reinterpret_cast<const char*>(&fh), sizeof fh);
  data.append(reinterpret_cast<const char*>(&ih), sizeof ih);
  data.append(reinterpret_cast<const char*>(bits.rows.data()), bits.rows.size());
  try {
    sys::WriteFileBytes(path, data);
  } catch (...) {
    return false;
  }
  return true;
}

}  // namespace

bool SaveScreenRect(const RECT& r, const std::string& path) {
  ScreenBits bits;
  if (!ReadScreen(r, bits)) return false;
  std::string png = sys::ChangeFileExt(path, ".png");
  if (WritePng(bits, png)) return true;
  DeleteFileA(png.c_str());  // a partial file is no picture
  return WriteBmp(bits, sys::ChangeFileExt(path, ".bmp"));
}

}  // namespace testing_support
