#include "classlib/jpeg/JPEGImage.h"

#include <cstdio>
#include <string>

extern "C" {
#include <jpeglib.h>
#include <jerror.h>
}

#include "classlib/Classes.h"

DEFINE_ENUM_TYPE(TJPEGScale, "jsFullSize", "jsHalf", "jsQuarter", "jsEighth")
DEFINE_ENUM_TYPE(TJPEGPerformance, "jpBestQuality", "jpBestSpeed")

namespace {

// libjpeg's default error handler prints and calls exit(). Ours raises EJPEG
// instead: the mingw x64 build of libjpeg carries SEH unwind tables, so the
// exception unwinds through its frames, and the decompressor below is
// destroyed on every path.
[[noreturn]] void RaiseJpegError(j_common_ptr info) {
  char text[JMSG_LENGTH_MAX] = {};
  info->err->format_message(info, text);
  throw EJPEG("JPEG error #" + std::to_string(info->err->msg_code) + ": " + text);
}

void JpegErrorExit(j_common_ptr info) { RaiseJpegError(info); }

// libjpeg's error manager and what its warnings told about the data.
// libjpeg hands back a pointer to the first member.
struct TJpegErrors {
  jpeg_error_mgr Mgr{};
  // The data ran out ("Premature end of JPEG file"): judged once the whole
  // picture is decoded (EveryCoefficientArrived).
  bool RanOut = false;
};

// Warnings. One rule for every coding: when libjpeg reports corrupt data or
// lost pixels, the picture is damaged and the load fails with its message,
// as for an error; libjpeg would paint grey or garbage and go on.
//  - Corrupt entropy data: a bad Huffman or arithmetic code, a marker met
//    while bits were still needed (Huffman), a lost restart marker, scans that
//    contradict the progression.
//  - Bytes a scan left undecoded before the next marker: the decoder lost
//    its place in the data. Before the first scan such bytes are padding
//    between header markers and change no pixel.
//  - Running out of data. Huffman decoders read ahead, so running out near
//    the end of a complete scan is harmless (a real loss shows as a marker met
//    too early, above). Arithmetic decoders read zeros past the end of a scan
//    by design, so there running out inside a scan before its last row of
//    blocks is a loss; in the last row it cannot be told from a file that
//    lacks only its end marker. Whether a whole scan is missing is judged at
//    the end.
// Other warnings (unknown JFIF revision or Adobe transform, a bad ICC
// marker, loose SOS parameters) leave every pixel intact and are ignored.
void JpegEmitMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  auto* errors = reinterpret_cast<TJpegErrors*>(info->err);
  switch (info->err->msg_code) {
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_HIT_MARKER:
    case JWRN_MUST_RESYNC:
    case JWRN_BOGUS_PROGRESSION:
      RaiseJpegError(info);
    case JWRN_EXTRANEOUS_DATA:
      if (d->input_scan_number > 0) RaiseJpegError(info);
      break;
    case JWRN_JPEG_EOF:
      errors->RanOut = true;
      if (d->arith_code && d->input_scan_number > 0 && d->input_iMCU_row + 1 < d->total_iMCU_rows)
        RaiseJpegError(info);
      break;
    default:
      break;
  }
  ++info->err->num_warnings;
}

void JpegOutputMessage(j_common_ptr) {}

// After data that ran out: every component took part in a scan (its
// quantisation table is latched then), and a progressive picture received
// every coefficient to full precision. Otherwise whole scans are missing.
bool EveryCoefficientArrived(j_decompress_ptr d) {
  for (int c = 0; c < d->num_components; ++c) {
    if (!d->comp_info[c].quant_table) return false;
    if (d->progressive_mode && d->coef_bits)
      for (int k = 0; k < DCTSIZE2; ++k)
        if (d->coef_bits[c][k] != 0) return false;
  }
  return true;
}

// The largest decoded image taken: 256 MB of pixels, as for bitmaps. A
// picture of several scans (progressive, or one component a scan) also makes
// libjpeg hold the coefficients of the whole image: that counts too.
const uint64_t kMaxImageBytes = uint64_t{256} << 20;

// The bytes of libjpeg's whole-image coefficient buffer (full-size blocks of
// 64 coefficients, rows and columns rounded up to the sampling factors).
uint64_t CoefficientBytes(j_decompress_ptr d) {
  uint64_t bytes = 0;
  for (int c = 0; c < d->num_components; ++c) {
    const jpeg_component_info& ci = d->comp_info[c];
    auto roundUp = [](uint64_t v, uint64_t m) { return m ? (v + m - 1) / m * m : v; };
    bytes += roundUp(ci.width_in_blocks, static_cast<uint64_t>(ci.h_samp_factor)) *
             roundUp(ci.height_in_blocks, static_cast<uint64_t>(ci.v_samp_factor)) * sizeof(JBLOCK);
  }
  return bytes;
}

// Every block of a Huffman-coded picture costs at least one bit (its DC
// difference has a code of one bit or more), so a file has at most eight
// blocks a byte. Arithmetic coding has no such floor.
uint64_t BlockCount(j_decompress_ptr d) {
  uint64_t blocks = 0;
  for (int c = 0; c < d->num_components; ++c)
    blocks += uint64_t{d->comp_info[c].width_in_blocks} * d->comp_info[c].height_in_blocks;
  return blocks;
}

class TDecompressor {
 public:
  TDecompressor(const uint8_t* data, size_t size) {
    info_.err = jpeg_std_error(&errors_.Mgr);
    errors_.Mgr.error_exit = JpegErrorExit;
    errors_.Mgr.emit_message = JpegEmitMessage;
    errors_.Mgr.output_message = JpegOutputMessage;
    try {
      jpeg_create_decompress(&info_);
      jpeg_mem_src(&info_, data, static_cast<unsigned long>(size));
    } catch (...) {
      jpeg_destroy_decompress(&info_);
      throw;
    }
  }
  TDecompressor(const TDecompressor&) = delete;
  TDecompressor& operator=(const TDecompressor&) = delete;
  ~TDecompressor() { jpeg_destroy_decompress(&info_); }

  jpeg_decompress_struct* operator->() { return &info_; }
  jpeg_decompress_struct* Get() { return &info_; }
  const TJpegErrors& Errors() const { return errors_; }

 private:
  TJpegErrors errors_;
  jpeg_decompress_struct info_{};
};

// The 8-bit grey palette of a greyscale image, as the platform gives it.
void SetGreyPalette(TBitmap* bitmap) {
  struct {
    WORD Version;
    WORD Count;
    PALETTEENTRY Entries[256];
  } log{0x300, 256, {}};
  for (int i = 0; i < 256; ++i) log.Entries[i] = PALETTEENTRY{BYTE(i), BYTE(i), BYTE(i), 0};
  HPALETTE palette = CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
  if (!palette) throw EOutOfResources("Out of system resources");
  bitmap->SetPalette(palette);
}

}  // namespace

namespace {

// Decodes data with the given settings into a new bitmap (pf24bit, or pf8bit
// with a grey palette for grey output). Nothing is changed on failure.
Owned<TBitmap> Decode(const std::vector<uint8_t>& data, TJPEGScale scale, bool grayscale,
                      TJPEGPerformance performance, int& width, int& height, bool& progressive, bool& grayData) {
  TDecompressor d(data.data(), data.size());
  jpeg_read_header(d.Get(), TRUE);
  width = static_cast<int>(d->image_width);
  height = static_cast<int>(d->image_height);
  progressive = d->progressive_mode != 0;
  grayData = d->jpeg_color_space == JCS_GRAYSCALE;

  d->scale_num = 1;
  d->scale_denom = 1u << static_cast<unsigned>(scale);
  d->dct_method = performance == jpBestSpeed ? JDCT_IFAST : JDCT_ISLOW;
  d->do_fancy_upsampling = performance == jpBestSpeed ? FALSE : TRUE;
  bool cmyk = d->jpeg_color_space == JCS_CMYK || d->jpeg_color_space == JCS_YCCK;
  bool gray = grayscale || grayData;
  if (cmyk) d->out_color_space = JCS_CMYK;
  else if (gray) d->out_color_space = JCS_GRAYSCALE;
  else d->out_color_space = JCS_EXT_BGR;
  // A header may claim up to 65500 x 65500 pixels. What would pass the size
  // limit, or what its data cannot fill, is refused before anything is
  // allocated.
  jpeg_calc_output_dimensions(d.Get());
  const std::string size = " (" + std::to_string(d->output_width) + " x " + std::to_string(d->output_height) + ")";
  uint64_t bytes = uint64_t{d->output_width} * d->output_height * (gray ? 1u : 3u);
  if (d->progressive_mode || d->comps_in_scan < d->num_components) bytes += CoefficientBytes(d.Get());
  if (bytes > kMaxImageBytes) throw EJPEG("JPEG image is too large" + size);
  if (!d->arith_code && BlockCount(d.Get()) > uint64_t{8} * data.size())
    throw EJPEG("JPEG image is too large for its data" + size);
  jpeg_start_decompress(d.Get());

  int w = static_cast<int>(d->output_width);
  int h = static_cast<int>(d->output_height);
  auto bitmap = MakeOwned<TBitmap>();
  bitmap->SetPixelFormat(gray ? pf8bit : pf24bit);
  bitmap->SetSize(w, h);
  if (gray) SetGreyPalette(bitmap.get());

  std::vector<JSAMPLE> cmykRow(cmyk ? size_t(w) * 4 : 0);
  // Adobe's applications write CMYK inverted (0 is full ink) and mark it so.
  bool inverted = d->saw_Adobe_marker != 0;
  while (d->output_scanline < d->output_height) {
    int y = static_cast<int>(d->output_scanline);
    auto* row = static_cast<JSAMPLE*>(bitmap->GetScanLine(y));
    if (!cmyk) {
      JSAMPROW rows[1] = {row};
      jpeg_read_scanlines(d.Get(), rows, 1);
      continue;
    }
    JSAMPROW rows[1] = {cmykRow.data()};
    jpeg_read_scanlines(d.Get(), rows, 1);
    for (int x = 0; x < w; ++x) {
      const JSAMPLE* s = &cmykRow[size_t(x) * 4];
      int c = s[0], m = s[1], yl = s[2], k = s[3];
      if (!inverted) c = 255 - c, m = 255 - m, yl = 255 - yl, k = 255 - k;
      int r = c * k / 255, g = m * k / 255, b = yl * k / 255;
      if (gray) row[x] = static_cast<JSAMPLE>((r * 77 + g * 150 + b * 29) >> 8);
      else row[size_t(x) * 3] = JSAMPLE(b), row[size_t(x) * 3 + 1] = JSAMPLE(g), row[size_t(x) * 3 + 2] = JSAMPLE(r);
    }
  }
  jpeg_finish_decompress(d.Get());
  if (d.Errors().RanOut && !EveryCoefficientArrived(d.Get()))
    throw EJPEG("JPEG error #" + std::to_string(JWRN_JPEG_EOF) + ": Premature end of JPEG file");
  return bitmap;
}

}  // namespace

IMPLEMENT_CLASS(TJPEGImage)

TJPEGImage::TJPEGImage() = default;

void TJPEGImage::Destroy() {
  FreeBitmap();
  inherited::Destroy();
}

void TJPEGImage::FreeBitmap() { FreeAndNil(bitmap_); }

void TJPEGImage::LoadData(std::vector<uint8_t> data) {
  int w = 0, h = 0;
  bool progressive = false, grayData = false;
  // Decode before anything changes: damaged data leave the image as it was.
  Owned<TBitmap> bitmap = Decode(data, scale_, grayscale_, performance_, w, h, progressive, grayData);
  FreeBitmap();
  bitmap_ = bitmap.release();
  data_ = std::move(data);
  imageWidth_ = w;
  imageHeight_ = h;
  progressive_ = progressive;
  grayData_ = grayData;
  Changed(this);
}

void TJPEGImage::LoadFromStream(TStream* stream) {
  LoadData(graphics_detail::ReadToEnd(stream));
}

void TJPEGImage::SaveToStream(TStream* stream) {
  if (data_.empty()) {
    if (bitmap_) throw EJPEG("JPEG encoding is not supported: the image holds no JPEG data");
    return;
  }
  stream->WriteBuffer(data_.data(), static_cast<int>(data_.size()));
}

void TJPEGImage::LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) {
  Owned<TBitmap> bitmap = MakeOwned<TBitmap>();
  bitmap->LoadFromClipboardFormat(format, data, palette);
  Assign(bitmap.get());
}

void TJPEGImage::SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) {
  GetBitmap()->SaveToClipboardFormat(format, data, palette);
}

void TJPEGImage::ReadData(TStream* stream) {
  std::vector<uint8_t> data;
  if (!graphics_detail::ReadCountedBytes(stream, data))
    throw EJPEG("JPEG error #" + std::to_string(JERR_INPUT_EOF) + ": Premature end of input file");
  LoadData(std::move(data));
}

void TJPEGImage::WriteData(TStream* stream) {
  int32_t size = static_cast<int32_t>(data_.size());
  stream->WriteBuffer(&size, sizeof size);
  SaveToStream(stream);
}

void TJPEGImage::DIBNeeded() {
  if (bitmap_ || data_.empty()) return;
  int w = 0, h = 0;
  bool progressive = false, grayData = false;
  bitmap_ = Decode(data_, scale_, grayscale_, performance_, w, h, progressive, grayData).release();
}

TBitmap* TJPEGImage::GetBitmap() {
  DIBNeeded();
  if (!bitmap_) bitmap_ = New<TBitmap>();
  return bitmap_;
}

void TJPEGImage::Draw(TCanvas* canvas, const TRect& rect) {
  DIBNeeded();
  if (bitmap_) canvas->StretchDraw(rect, bitmap_);
}

HPALETTE TJPEGImage::GetPalette() {
  DIBNeeded();
  return bitmap_ ? bitmap_->GetPalette() : nullptr;
}

bool TJPEGImage::GetEmpty() const { return data_.empty() && (!bitmap_ || bitmap_->GetEmpty()); }

namespace {
// libjpeg's output size at 1/denominator: the size divided, rounded up.
int ScaledSize(int size, TJPEGScale scale) {
  int denominator = 1 << static_cast<int>(scale);
  return (size + denominator - 1) / denominator;
}
}  // namespace

int TJPEGImage::GetWidth() const {
  if (bitmap_) return bitmap_->GetWidth();
  return ScaledSize(imageWidth_, scale_);
}

int TJPEGImage::GetHeight() const {
  if (bitmap_) return bitmap_->GetHeight();
  return ScaledSize(imageHeight_, scale_);
}

void TJPEGImage::SetWidth(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }
void TJPEGImage::SetHeight(int) { throw EInvalidGraphicOperation("Cannot change the size of a JPEG image"); }

void TJPEGImage::SettingChanged() {
  // Only an image decoded from data can be decoded again.
  if (data_.empty()) return;
  FreeBitmap();
  Changed(this);
}

bool TJPEGImage::GetGrayscale() const { return grayscale_ || grayData_; }

void TJPEGImage::SetGrayscale(bool value) {
  if (value == grayscale_) return;
  grayscale_ = value;
  SettingChanged();
}

void TJPEGImage::SetScale(TJPEGScale value) {
  if (value == scale_) return;
  scale_ = value;
  SettingChanged();
}

void TJPEGImage::SetPerformance(TJPEGPerformance value) {
  if (value == performance_) return;
  performance_ = value;
  SettingChanged();
}

void TJPEGImage::Assign(TPersistent* source) {
  if (auto* jpeg = dynamic_cast<TJPEGImage*>(source)) {
    if (jpeg == this) return;
    FreeBitmap();
    data_ = jpeg->data_;
    imageWidth_ = jpeg->imageWidth_;
    imageHeight_ = jpeg->imageHeight_;
    progressive_ = jpeg->progressive_;
    grayData_ = jpeg->grayData_;
    grayscale_ = jpeg->grayscale_;
    scale_ = jpeg->scale_;
    performance_ = jpeg->performance_;
    progressiveDisplay_ = jpeg->progressiveDisplay_;
    if (data_.empty() && jpeg->bitmap_) {
      bitmap_ = New<TBitmap>();
      bitmap_->Assign(jpeg->bitmap_);
    }
    Changed(this);
    return;
  }
  if (auto* bitmap = dynamic_cast<TBitmap*>(source)) {
    // Without an encoder the image holds the bitmap itself, at full size.
    Owned<TBitmap> copy = MakeOwned<TBitmap>();
    copy->Assign(bitmap);
    FreeBitmap();
    data_.clear();
    bitmap_ = copy.release();
    imageWidth_ = bitmap_->GetWidth();
    imageHeight_ = bitmap_->GetHeight();
    progressive_ = false;
    grayData_ = false;
    scale_ = jsFullSize;
    Changed(this);
    return;
  }
  inherited::Assign(source);
}

void TJPEGImage::AssignTo(TPersistent* dest) {
  if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
    DIBNeeded();
    if (bitmap_) bitmap->Assign(bitmap_);
    else bitmap->Assign(nullptr);
    return;
  }
  inherited::AssignTo(dest);
}

void InitializeJpeg() {
  TPicture::RegisterFileFormat("jpeg", "JPEG Image File", TJPEGImage::StaticClass());
  TPicture::RegisterFileFormat("jpg", "JPEG Image File", TJPEGImage::StaticClass());
  RegisterClass(TJPEGImage::StaticClass());
}

void FinalizeJpeg() { TPicture::UnregisterGraphicClass(TJPEGImage::StaticClass()); }
