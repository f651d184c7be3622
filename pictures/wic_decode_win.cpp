#include "pictures/wic_decode_win.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <vector>

#include "platform/base/com_pointer_win.h"
#include "platform/files/long_path_win.h"
#include "pictures/fitted_size.h"
#include "pictures/wic_source_transform_win.h"

namespace tarnwell {
namespace {

// COM and the factory of this thread, for the thread's life.
class ThreadImaging {
 public:
  ThreadImaging() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(factory_.put()));
  }
  ~ThreadImaging() {
    factory_.reset();
    if (started_) CoUninitialize();
  }
  ThreadImaging(const ThreadImaging&) = delete;
  ThreadImaging& operator=(const ThreadImaging&) = delete;

  IWICImagingFactory* Factory() const { return factory_.get(); }

 private:
  bool started_;
  ComPointer<IWICImagingFactory> factory_;
};

IWICImagingFactory* Factory() {
  thread_local ThreadImaging imaging;
  return imaging.Factory();
}

// Bytes per pixel of the formats a JPEG codec gives when it reduces.
UINT BytesPerPixel(const WICPixelFormatGUID& format) {
  if (format == GUID_WICPixelFormat24bppBGR || format == GUID_WICPixelFormat24bppRGB) return 3;
  if (format == GUID_WICPixelFormat32bppBGR || format == GUID_WICPixelFormat32bppBGRA ||
      format == GUID_WICPixelFormat32bppPBGRA) {
    return 4;
  }
  if (format == GUID_WICPixelFormat8bppGray) return 1;
  return 0;
}

// The frame decoded at the smallest size the codec gives that is still at
// least `width` x `height`; null when the codec cannot reduce it.
ComPointer<IWICBitmap> ReducedWhileDecoding(IWICBitmapFrameDecode* frame, UINT width, UINT height, UINT frameWidth) {
  ComPointer<IWICBitmapSourceTransform> transform;
  if (FAILED(frame->QueryInterface(IID_PPV_ARGS(transform.put())))) return {};
  UINT reducedWidth = width, reducedHeight = height;
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  BOOL rotates = FALSE;
  if (FAILED(transform->GetClosestSize(&reducedWidth, &reducedHeight)) ||
      FAILED(transform->GetClosestPixelFormat(&format)) ||
      FAILED(transform->DoesSupportTransform(WICBitmapTransformRotate0, &rotates))) {
    return {};
  }
  // Smaller than asked would lose sharpness; not smaller than the frame saves nothing.
  const UINT bytes = BytesPerPixel(format);
  if (bytes == 0 || reducedWidth < width || reducedHeight < height || reducedWidth >= frameWidth) return {};
  const UINT stride = (reducedWidth * bytes + 3) & ~3u;
  std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * reducedHeight);
  if (FAILED(transform->CopyPixels(nullptr, reducedWidth, reducedHeight, &format, WICBitmapTransformRotate0, stride,
                                   static_cast<UINT>(pixels.size()), pixels.data()))) {
    return {};
  }
  ComPointer<IWICBitmap> bitmap;
  if (FAILED(Factory()->CreateBitmapFromMemory(reducedWidth, reducedHeight, format, stride,
                                               static_cast<UINT>(pixels.size()), pixels.data(), bitmap.put()))) {
    return {};
  }
  return bitmap;
}

// The source fitted into the box, converted to opaque BGRA; `frame`, when
// given, is the source as a decoder's frame, which may decode itself reduced.
std::optional<Decoded> Fitted(IWICBitmapSource* whole, IWICBitmapFrameDecode* frame, int boxWidth, int boxHeight,
                              std::uint32_t background) {
  IWICImagingFactory* factory = Factory();
  UINT frameWidth = 0, frameHeight = 0;
  if (FAILED(whole->GetSize(&frameWidth, &frameHeight)) || frameWidth == 0 || frameHeight == 0) return std::nullopt;
  const FittedSize fitted =
      FitInBox(static_cast<int>(frameWidth), static_cast<int>(frameHeight), boxWidth, boxHeight);
  const auto width = static_cast<UINT>(fitted.width), height = static_cast<UINT>(fitted.height);

  ComPointer<IWICBitmap> reduced;
  if (frame && width < frameWidth) reduced = ReducedWhileDecoding(frame, width, height, frameWidth);
  IWICBitmapSource* source = reduced ? static_cast<IWICBitmapSource*>(reduced.get()) : whole;
  UINT sourceWidth = 0, sourceHeight = 0;
  source->GetSize(&sourceWidth, &sourceHeight);
  ComPointer<IWICBitmapScaler> scaler;
  if (sourceWidth != width || sourceHeight != height) {
    if (FAILED(factory->CreateBitmapScaler(scaler.put())) ||
        FAILED(scaler->Initialize(source, width, height, WICBitmapInterpolationModeFant))) {
      return std::nullopt;
    }
    source = scaler.get();
  }
  ComPointer<IWICFormatConverter> converter;
  if (FAILED(factory->CreateFormatConverter(converter.put())) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  Decoded decoded;
  decoded.sourceWidth = static_cast<int>(frameWidth);
  decoded.sourceHeight = static_cast<int>(frameHeight);
  Picture& picture = decoded.picture;
  picture.width = static_cast<int>(width);
  picture.height = static_cast<int>(height);
  picture.pixels.resize(static_cast<std::size_t>(width) * height);
  if (FAILED(converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(picture.Bytes()),
                                   reinterpret_cast<BYTE*>(picture.pixels.data())))) {
    return std::nullopt;
  }
  // Premultiplied pixels over the background: what is transparent shows it.
  for (std::uint32_t& pixel : picture.pixels) {
    const std::uint32_t alpha = pixel >> 24;
    if (alpha == 0xFF) continue;
    std::uint32_t blended = 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      const std::uint32_t over = (pixel >> shift) & 0xFF;
      const std::uint32_t under = (background >> shift) & 0xFF;
      blended |= std::min<std::uint32_t>(255, over + under * (255 - alpha) / 255) << shift;
    }
    pixel = blended;
  }
  return decoded;
}

std::optional<Decoded> DecodeFrame(IWICBitmapDecoder* decoder, int boxWidth, int boxHeight, std::uint32_t background) {
  ComPointer<IWICBitmapFrameDecode> frame;
  if (FAILED(decoder->GetFrame(0, frame.put()))) return std::nullopt;
  return Fitted(frame.get(), frame.get(), boxWidth, boxHeight, background);
}

}  // namespace

void PrepareImaging() { Factory(); }

bool DecodesReduced(std::string_view path) {
  IWICImagingFactory* factory = Factory();
  ComPointer<IWICBitmapDecoder> decoder;
  ComPointer<IWICBitmapFrameDecode> frame;
  ComPointer<IWICBitmapSourceTransform> transform;
  return factory &&
         SUCCEEDED(factory->CreateDecoderFromFilename(Win32PathOf(path).c_str(), nullptr, GENERIC_READ,
                                                      WICDecodeMetadataCacheOnDemand, decoder.put())) &&
         SUCCEEDED(decoder->GetFrame(0, frame.put())) &&
         SUCCEEDED(frame->QueryInterface(IID_PPV_ARGS(transform.put())));
}

std::optional<Decoded> DecodeFile(std::string_view path, int boxWidth, int boxHeight, std::uint32_t background) {
  IWICImagingFactory* factory = Factory();
  ComPointer<IWICBitmapDecoder> decoder;
  if (!factory || FAILED(factory->CreateDecoderFromFilename(Win32PathOf(path).c_str(), nullptr, GENERIC_READ,
                                                            WICDecodeMetadataCacheOnDemand, decoder.put()))) {
    return std::nullopt;
  }
  return DecodeFrame(decoder.get(), boxWidth, boxHeight, background);
}

std::optional<Decoded> DecodeRgb(std::span<const std::uint8_t> bytes, int width, int height, int boxWidth, int boxHeight,
                                 std::uint32_t background) {
  IWICImagingFactory* factory = Factory();
  ComPointer<IWICBitmap> bitmap;
  const auto stride = static_cast<UINT>(width) * 3;
  if (!factory || bytes.size() < std::size_t{stride} * static_cast<std::size_t>(height) ||
      FAILED(factory->CreateBitmapFromMemory(static_cast<UINT>(width), static_cast<UINT>(height),
                                             GUID_WICPixelFormat24bppRGB, stride, static_cast<UINT>(bytes.size()),
                                             const_cast<BYTE*>(bytes.data()), bitmap.put()))) {
    return std::nullopt;
  }
  return Fitted(bitmap.get(), nullptr, boxWidth, boxHeight, background);
}

std::optional<Decoded> FitPicture(const Picture& picture, int boxWidth, int boxHeight, std::uint32_t background) {
  IWICImagingFactory* factory = Factory();
  ComPointer<IWICBitmap> bitmap;
  const auto stride = static_cast<UINT>(picture.width) * 4;
  if (!factory || picture.Empty() ||
      FAILED(factory->CreateBitmapFromMemory(static_cast<UINT>(picture.width), static_cast<UINT>(picture.height),
                                             GUID_WICPixelFormat32bppBGR, stride, static_cast<UINT>(picture.Bytes()),
                                             reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(picture.pixels.data())),
                                             bitmap.put()))) {
    return std::nullopt;
  }
  return Fitted(bitmap.get(), nullptr, boxWidth, boxHeight, background);
}

std::optional<Decoded> DecodeBytes(std::span<const std::uint8_t> bytes, int boxWidth, int boxHeight,
                                   std::uint32_t background) {
  IWICImagingFactory* factory = Factory();
  ComPointer<IWICStream> stream;
  ComPointer<IWICBitmapDecoder> decoder;
  if (!factory || FAILED(factory->CreateStream(stream.put())) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
      FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr, WICDecodeMetadataCacheOnDemand, decoder.put()))) {
    return std::nullopt;
  }
  return DecodeFrame(decoder.get(), boxWidth, boxHeight, background);
}

}  // namespace tarnwell
