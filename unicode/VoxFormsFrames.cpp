// The wide scroll box and frames: Unicode windows of the layer's own class
// and a wide Hint.
#include "classlib/Scopes.h"
#include "classlib/forms/PublishScrolling.h"
#include "unicode/VoxForms.h"

// --- TVoxScrollBox ---------------------------------------------------------------------------

TVoxScrollBox::TVoxScrollBox(TComponent* owner) : TVoxControlOf(owner) {}

void TVoxScrollBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, std::wstring());
}

void TVoxScrollBox::WMSize(TMessage& m) {
  TRestore nesting(sizeNesting_, sizeNesting_ + 1);
  if (sizeNesting_ < 32) inherited::WMSize(m);
}

PUBLISHED(TVoxScrollBox) { PublishWideHint(p); }

// --- TVoxCustomFrame, TVoxFrame ----------------------------------------------------------------

TVoxCustomFrame::TVoxCustomFrame(TComponent* owner) : TVoxControlOf(owner, TVoxFrame::StaticClass()) {}

void TVoxCustomFrame::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, std::wstring());
}

PUBLISHED(TVoxCustomFrame) { PublishWideHint(p); }

// The frame's published set; the wide Hint is TVoxCustomFrame's.
PUBLISHED(TVoxFrame) { PublishScrollingContainer(p, [](auto&) {}); }
