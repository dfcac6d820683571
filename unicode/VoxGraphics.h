// VoxGraphics: UTF-16 text drawn and measured on the class library's
// canvas, and pictures loaded and saved under wide file names.
#pragma once

#include <string>

#include "classlib/Graphics.h"
#include "classlib/Win.h"

// Text in the canvas's font over its brush at (x, y), with the canvas's text
// flags; the pen moves to the end of the text. On a right-to-left canvas the
// reference point moves one text width (+1) to the right, so the text takes
// the place it takes on a left-to-right canvas.
void WideCanvasTextOut(TCanvas* canvas, int x, int y, const std::wstring& text);
// Clipped to rect, which the brush fills first unless it is clear; the
// right-to-left move applies when the text flags hold ETO_RTLREADING.
void WideCanvasTextRect(TCanvas* canvas, const TRect& rect, int x, int y, const std::wstring& text);
// GetTextExtentPoint32W of the whole text; (0, 0) for none.
TSize WideDCTextExtent(HDC dc, const std::wstring& text);
// The same in the canvas's font.
TSize WideCanvasTextExtent(TCanvas* canvas, const std::wstring& text);
int WideCanvasTextWidth(TCanvas* canvas, const std::wstring& text);
int WideCanvasTextHeight(TCanvas* canvas, const std::wstring& text);

// A picture whose files have wide names. The class library's loaders take
// ANSI names, so the file is reached through its short (8.3) name.
class TVoxPicture : public TPicture {
  DECLARE_CLASS(TVoxPicture, TPicture)

  using TPicture::LoadFromFile;
  using TPicture::SaveToFile;
  void LoadFromFile(const std::wstring& fileName);
  // Writes a new file beside the target and puts it in the target's place
  // only once it is complete: a failure raises the OS error and leaves the
  // old file as it was. Without a graphic nothing is written.
  void SaveToFile(const std::wstring& fileName);
};
