// The ImgList unit: TCustomImageList and TImageList over a COMCTL32 image
// list (HIMAGELIST), and TChangeLink, through which controls that show the
// list's images hear of its changes.
#pragma once

#include "classlib/Win.h"

#include <commctrl.h>

#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"

class TIcon;
class TCustomImageList;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
DECLARE_ENUM_TYPE(TDrawingStyle);
enum TImageType { itImage, itMask };
DECLARE_ENUM_TYPE(TImageType);
// The depth of the list's images; cdDeviceDependent follows the screen.
enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
DECLARE_ENUM_TYPE(TColorDepth);
// One of the four overlay slots of an image list (0 to 3).
using TOverlay = int;
using TImageIndex = int;

// A control's subscription to an image list's changes. Register it with
// RegisterChanges; freeing the link unregisters it, and freeing the list
// clears Sender.
class TChangeLink : public TObject {
  DECLARE_CLASS(TChangeLink, TObject)

  TCustomImageList* GetSender() const { return sender_; }
  void SetSender(TCustomImageList* value) { sender_ = value; }
  const TNotifyEvent& GetOnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }
  // Fires OnChange with Sender.
  virtual void Change();

 protected:
  void Destroy() override;

 private:
  TCustomImageList* sender_ = nullptr;
  TNotifyEvent onChange_;
};

class TCustomImageList : public TComponent {
  DECLARE_CLASS(TCustomImageList, TComponent)

  explicit TCustomImageList(TComponent* owner);
  // The platform's CreateSize.
  TCustomImageList(TComponent* owner, int width, int height);

  void Assign(TPersistent* source) override;
  void DefineProperties(TFiler* filer) override;

  // Adds the image (a bitmap wider than Width adds one image per Width
  // pixels) with its mask (white: transparent; may be null); returns the
  // index of the first image added. Raises EInvalidOperation "Invalid image
  // size" for an image smaller than the list's images.
  int Add(TBitmap* image, TBitmap* mask);
  // Adds the image with every pixel of maskColor transparent. The caller's
  // bitmap is never changed.
  int AddMasked(TBitmap* image, TColor maskColor);
  int AddIcon(TIcon* image);
  void Replace(int index, TBitmap* image, TBitmap* mask);
  void ReplaceMasked(int index, TBitmap* newImage, TColor maskColor);
  void ReplaceIcon(int index, TIcon* image);
  // Removes one image; -1 removes all. EInvalidOperation "Invalid ImageList
  // Index" for an index out of range.
  void Delete(int index);
  void Clear();

  // Enabled: ImageList_DrawEx with the list's colours; disabled: the image's
  // shape embossed in clBtnHighlight (one pixel down and right) and
  // clBtnShadow, as the platform draws disabled images.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle drawingStyle, TImageType imageType,
            bool enabled = true);
  void DrawOverlay(TCanvas* canvas, int x, int y, int imageIndex, TOverlay overlay, bool enabled = true);
  void DrawOverlay(TCanvas* canvas, int x, int y, int imageIndex, TOverlay overlay, TDrawingStyle drawingStyle,
                   TImageType imageType, bool enabled = true);
  // Makes image imageIndex overlay number `overlay`.
  bool Overlay(int imageIndex, TOverlay overlay);

  // Sizes the bitmap to the list's images and draws image `index` on it.
  bool GetBitmap(int index, TBitmap* image);
  // The image as an icon (ImageList_GetIcon).
  void GetIcon(int index, TIcon* image);

  void RegisterChanges(TChangeLink* value);
  void UnRegisterChanges(TChangeLink* value);

  int GetCount() const;
  HIMAGELIST GetHandle();
  // Takes the list over (destroyed with this one unless ShareImages); Width
  // and Height become the list's.
  void SetHandle(HIMAGELIST value);
  bool HandleAllocated() const { return handle_ != nullptr; }

  int GetAllocBy() const { return allocBy_; }
  void SetAllocBy(int value) { allocBy_ = value; }
  // clNone (CLR_NONE) draws the images transparently; kept by the list itself.
  TColor GetBkColor() const;
  void SetBkColor(TColor value);
  TColor GetBlendColor() const { return blendColor_; }
  void SetBlendColor(TColor value) { blendColor_ = value; }
  TColorDepth GetColorDepth() const { return colorDepth_; }
  void SetColorDepth(TColorDepth value);
  TDrawingStyle GetDrawingStyle() const { return drawingStyle_; }
  void SetDrawingStyle(TDrawingStyle value);
  TImageType GetImageType() const { return imageType_; }
  void SetImageType(TImageType value);
  // Changing the size or the mask setting empties the list.
  int GetWidth() const { return width_; }
  void SetWidth(int value);
  int GetHeight() const { return height_; }
  void SetHeight(int value);
  bool GetMasked() const { return masked_; }
  void SetMasked(bool value);
  bool GetShareImages() const { return shareImages_; }
  void SetShareImages(bool value) { shareImages_ = value; }
  const TNotifyEvent& GetOnChange() const { return onChange_; }
  void SetOnChange(const TNotifyEvent& value) { onChange_ = value; }

  // Tells the registered change links, then OnChange.
  virtual void Change();

  // The stored-form "Bitmap" data: the whole list in the image list's own
  // stream format. Reading replaces the list (EReadError when the data are
  // damaged).
  void ReadData(TStream* stream);
  void WriteData(TStream* stream);

 protected:
  void Destroy() override;

 private:
  void CreateImageList();
  void FreeHandle();
  void HandleNeeded();
  void CheckImage(TBitmap* image) const;
  void CheckIndex(int index) const;
  void DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled);

  HIMAGELIST handle_ = nullptr;
  int width_ = 16;
  int height_ = 16;
  int allocBy_ = 4;
  TColor blendColor_ = clNone;
  TColorDepth colorDepth_ = cdDeviceDependent;
  TDrawingStyle drawingStyle_ = dsNormal;
  TImageType imageType_ = itImage;
  bool masked_ = true;
  bool shareImages_ = false;
  TNotifyEvent onChange_;
  std::vector<TChangeLink*> clients_;
};

class TImageList : public TCustomImageList {
  DECLARE_CLASS(TImageList, TCustomImageList)
  using TCustomImageList::TCustomImageList;
};

// The image list unit's start-up: the common controls and the classes that
// stored forms create.
void InitializeImgList();
