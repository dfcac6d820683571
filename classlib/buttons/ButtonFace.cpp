#include "classlib/buttons/ButtonFace.h"

#include "classlib/extctrls/Frame3D.h"

TRect DrawButtonFace(TCanvas* canvas, const TRect& client, int bevelWidth, TButtonStyle style, bool isRounded,
                     bool isDown, bool isFocused) {
  bool newStyle = (style == bsAutoDetect && NewStyleControls) || style == bsNew;
  TRect r = client;
  if (newStyle) {
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->GetBrush()->SetStyle(bsSolid);
    HDC dc = canvas->GetHandle();
    // Two rings of DrawEdge halves: outer black and highlight, inner shadow
    // and face; pressed, the dark halves change sides.
    if (isDown) {
      DrawEdge(dc, &r, BDR_SUNKENINNER, BF_TOPLEFT);
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_BOTTOMRIGHT);
      --r.bottom;
      --r.right;
      ++r.top;
      ++r.left;
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MIDDLE);
    } else {
      DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
      --r.bottom;
      --r.right;
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_TOPLEFT);
      ++r.top;
      ++r.left;
      DrawEdge(dc, &r, BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_MIDDLE);
    }
  } else {
    canvas->GetPen()->SetColor(clWindowFrame);
    canvas->GetBrush()->SetColor(clBtnFace);
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->Rectangle(r.left, r.top, r.right, r.bottom);
    if (isRounded) {
      canvas->SetPixels(r.left, r.top, clBtnFace);
      canvas->SetPixels(r.left, r.bottom - 1, clBtnFace);
      canvas->SetPixels(r.right - 1, r.top, clBtnFace);
      canvas->SetPixels(r.right - 1, r.bottom - 1, clBtnFace);
    }
    if (isFocused) {
      InflateRect(&r, -1, -1);
      canvas->GetBrush()->SetStyle(bsClear);
      canvas->Rectangle(r.left, r.top, r.right, r.bottom);
    }
    InflateRect(&r, -1, -1);
    if (!isDown) {
      Frame3D(canvas, r, clBtnHighlight, clBtnShadow, bevelWidth);
    } else {
      canvas->GetPen()->SetColor(clBtnShadow);
      POINT line[3] = {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top}};
      canvas->Polyline(line, 3);
    }
  }
  TRect result{client.left + 1, client.top + 1, client.right - 2, client.bottom - 2};
  if (isDown) OffsetRect(&result, 1, 1);
  return result;
}
