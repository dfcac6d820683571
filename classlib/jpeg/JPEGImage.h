// The Jpeg unit: TJPEGImage, a graphic that holds JPEG data and shows it
// through the bitmap libjpeg-turbo decodes from it.
//
// Decompression only: the data are kept as loaded and written back as they
// are (stored forms, SaveToStream); the image is decoded at load, so that a
// damaged file raises there and leaves the image as it was, and decoded again
// when Scale, Grayscale or Performance change.
#pragma once

#include "classlib/Win.h"

#include <cstdint>
#include <vector>

#include "classlib/Graphics.h"

// The platform's JPEG exception; an EInvalidGraphic, so that picture loaders
// catch it with every other damaged graphic.
DECLARE_EXCEPTION(EJPEG, EInvalidGraphic);

enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
DECLARE_ENUM_TYPE(TJPEGScale);
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };
DECLARE_ENUM_TYPE(TJPEGPerformance);

class TJPEGImage : public TGraphic {
  DECLARE_CLASS(TJPEGImage, TGraphic)

  TJPEGImage();

  void Assign(TPersistent* source) override;
  void AssignTo(TPersistent* dest) override;

  // Reads from the stream's position to its end. Raises EJPEG (an
  // EInvalidGraphic) for damaged or truncated data; the image is then unchanged.
  void LoadFromStream(TStream* stream) override;
  // Writes the JPEG data as loaded. An image that holds only a bitmap (after
  // Assign from a TBitmap) has no JPEG data and raises EJPEG: this system
  // decodes but never encodes.
  void SaveToStream(TStream* stream) override;

  // Through the decoded bitmap (CF_BITMAP/CF_DIB).
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) override;

  void Draw(TCanvas* canvas, const TRect& rect) override;
  bool GetEmpty() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidth(int value) override;
  void SetHeight(int value) override;
  bool GetTransparent() const override { return false; }
  // The decoded bitmap's palette (the grey palette of a greyscale image).
  HPALETTE GetPalette() override;

  // Makes sure the bitmap is decoded with the current settings.
  void DIBNeeded();
  // The decoded bitmap (decoded on demand); owned by the image.
  TBitmap* GetBitmap();

  // True when asked for, and for grey data.
  bool GetGrayscale() const;
  void SetGrayscale(bool value);
  TJPEGScale GetScale() const { return scale_; }
  void SetScale(TJPEGScale value);
  TJPEGPerformance GetPerformance() const { return performance_; }
  void SetPerformance(TJPEGPerformance value);
  bool GetProgressiveDisplay() const { return progressiveDisplay_; }
  void SetProgressiveDisplay(bool value) { progressiveDisplay_ = value; }
  // True when the held data is a progressive JPEG.
  bool GetProgressiveEncoding() const { return progressive_; }
  // The held JPEG data (empty when the image came from a bitmap).
  const std::vector<uint8_t>& GetData() const { return data_; }

  // Stored forms: a 32-bit byte count, then the JPEG data.
  void ReadData(TStream* stream) override;
  void WriteData(TStream* stream) override;

 protected:
  void Destroy() override;

 private:
  void LoadData(std::vector<uint8_t> data);
  void FreeBitmap();
  void SettingChanged();

  std::vector<uint8_t> data_;
  TBitmap* bitmap_ = nullptr;
  // Size of the full image, from the data's header.
  int imageWidth_ = 0;
  int imageHeight_ = 0;
  bool progressive_ = false;
  bool grayscale_ = false;
  bool grayData_ = false;
  TJPEGScale scale_ = jsFullSize;
  TJPEGPerformance performance_ = jpBestQuality;
  bool progressiveDisplay_ = false;
};

// The Jpeg unit's start-up: "jpg" and "jpeg" in the picture formats, and the
// class in the class registry for stored forms.
void InitializeJpeg();
void FinalizeJpeg();
