#include "components/numlab/numlab.h"

#include <QLocale>
#include <algorithm>

#include "components/common/cutchars.h"
#include "platform/qtsurface.h"
#include "platform/syscolors.h"

namespace {

// Text whose height spans the tallest and deepest glyphs of a font.
constexpr std::string_view kHeightProbe = "(8g]}\u00DC\u00C4\u00A7";

}  // namespace

TNumLab::TNumLab(QWidget* parent)
    : TGraphicControl(parent), FBitmapFactory(DefaultBitmapFactory()) {
  SetBounds(Left(), Top(), 160, 28);
}

template <typename T>
void TNumLab::Change(T& field, const T& value) {
  if (field == value) return;
  field = value;
  Repaint();
}

void TNumLab::SetLeftSpace(int v) {
  if (v < 0) return;
  Change(FLeftSpace, std::min(v, Width()));
}

void TNumLab::SetEmpty(bool v) {
  Change(FEmpty, v);
}
void TNumLab::SetLabelWidth(int v) {
  Change(FLabelWidth, v);
}

void TNumLab::SetPrecision(int v) {
  if (v < 0) return;
  Change(FPrecision, std::min(v, 15));
}

void TNumLab::SetLeftText(std::string_view v) {
  Change(FLeftText, CutChars(v, kMaxTextLength));
}
void TNumLab::SetRightText(std::string_view v) {
  Change(FRightText, CutChars(v, kMaxTextLength));
}
void TNumLab::SetOverflowIndicator(std::string_view v) {
  Change(FOverflowIndicator, CutChars(v, kMaxTextLength));
}

void TNumLab::SetFrameStyle(TFrameStyle v) {
  Change(FFrameStyle, v);
}
void TNumLab::SetAlignment(TAlignment v) {
  Change(FAlignment, v);
}

void TNumLab::SetValue(double v) {
  // compared with ==: 0.0 and -0.0 count as equal (no repaint); NaN never equals
  // itself and so always repaints
  Change(FValue, v);
}

void TNumLab::SetColorLabBakG(TColor c) {
  Change(FColorLabBakG, c);
}
void TNumLab::SetColorLabText(TColor c) {
  Change(FColorLabText, c);
}
void TNumLab::SetColorOutBakG(TColor c) {
  Change(FColorOutBakG, c);
}
void TNumLab::SetColorOutText(TColor c) {
  Change(FColorOutText, c);
}
void TNumLab::SetDisplayType(TDisplay v) {
  Change(FDisplayType, v);
}

void TNumLab::SetColorScheme(TColorScheme v) {
  if (v == FColorScheme) return;
  FColorScheme = v;
  if (v == csSytem) {
    FColorShadow = SysColorBtnShadow();
    FColorLight = SysColorBtnHighlight();
  } else {
    FColorShadow = clGray;
    FColorLight = clWhite;
  }
  FColorDark = clBlack;
  Repaint();
}

void TNumLab::Assign(const TNumLab& src) {
  if (&src == this) return;
  FLeftSpace = src.FLeftSpace;
  FEmpty = src.FEmpty;
  FLabelWidth = src.FLabelWidth;
  FPrecision = src.FPrecision;
  FLeftText = src.FLeftText;
  FRightText = src.FRightText;
  FFrameStyle = src.FFrameStyle;
  FAlignment = src.FAlignment;
  FOverflowIndicator = src.FOverflowIndicator;
  FValue = src.FValue;
  FColorLabBakG = src.FColorLabBakG;
  FColorLabText = src.FColorLabText;
  FColorOutBakG = src.FColorOutBakG;
  FColorOutText = src.FColorOutText;
  FColorDark = src.FColorDark;
  FColorShadow = src.FColorShadow;
  FColorLight = src.FColorLight;
  FColorScheme = src.FColorScheme;
  FDisplayType = src.FDisplayType;
  Repaint();
}

std::string TNumLab::NumberText() const {
  const std::string sep = QLocale::system().decimalPoint().toStdString();
  auto text = NumLabText(FDisplayType, FPrecision, FValue, sep);
  return text ? *text : FOverflowIndicator;
}

void TNumLab::SetBitmapFactory(TBitmapFactory factory) {
  FBitmapFactory = factory ? std::move(factory) : DefaultBitmapFactory();
}

void TNumLab::Paint() {
  if (!Visible() || FInPaint) return;
  FInPaint = true;
  struct TGuard {
    bool& Flag;
    ~TGuard() { Flag = false; }
  } guard{FInPaint};

  const int l = FLeftSpace;
  const int w = FLabelWidth;
  std::unique_ptr<TBitmap> bmp = FBitmapFactory();
  bmp->SetFont(Font());

  // the height follows the font
  const int th = bmp->TextHeight(kHeightProbe);
  if (Height() != th + 6) SetHeight(th + 6);
  const int t = th + 2;
  bmp->SetSize(Width(), Height());

  bmp->SetBrushStyle(TBrushStyle::bsSolid);
  bmp->SetPenColor(FColorOutBakG);
  bmp->SetBrushColor(FColorOutBakG);
  bmp->Rectangle(0, 0, Width(), Height());

  // the value box and its outline
  TColor outline = FColorShadow;
  if (FFrameStyle == TFrameStyle::fsNone) outline = FColorLabBakG;
  if (FFrameStyle == TFrameStyle::fsEmbossed) outline = FColorLight;
  bmp->SetPenColor(outline);
  bmp->SetBrushColor(FColorLabBakG);
  bmp->Rectangle(l, 0, l + w + 2, t + 3);

  // the 3-D edges: inner polyline along the left and top, outer one along the
  // bottom and right
  TColor inner = 0, outer = 0;
  bool edges = true;
  switch (FFrameStyle) {
    case TFrameStyle::fsLowered:
      inner = FColorDark;
      outer = FColorLight;
      break;
    case TFrameStyle::fsRaised:
      inner = FColorLight;
      outer = FColorDark;
      break;
    case TFrameStyle::fsEmbossed:
      inner = FColorShadow;
      outer = FColorShadow;
      break;
    case TFrameStyle::fsEngraved:
      inner = FColorLight;
      outer = FColorLight;
      break;
    default:
      edges = false;
      break;
  }
  if (edges) {
    const TPoint innerPts[3] = {{l + 1, t + 1}, {l + 1, 1}, {l + w + 1, 1}};
    const TPoint outerPts[3] = {{l + 1, t + 3}, {l + w + 2, t + 3}, {l + w + 2, 0}};
    bmp->SetPenColor(inner);
    bmp->Polyline(innerPts, 3);
    bmp->SetPenColor(outer);
    bmp->Polyline(outerPts, 3);
  }

  FShownText.clear();
  if (!FEmpty) {
    std::string text = NumberText();
    int tw = bmp->TextWidth(text);
    if (w - 6 < tw) {
      text = FOverflowIndicator;
      tw = bmp->TextWidth(text);
    }
    int x = l + 2 + (w - tw) / 2;
    if (FAlignment == taLeftJustify) x = l + 4;
    if (FAlignment == taRightJustify) x = l + w - 2 - tw;
    bmp->SetBrushColor(FColorLabBakG);
    bmp->SetFontColor(FColorLabText);
    bmp->TextRect(TRect{l + 3, 2, l + w - 1, t + 1}, x, 3, text);
    FShownText = std::move(text);
  }

  bmp->SetBrushColor(FColorOutBakG);
  bmp->SetFontColor(FColorOutText);
  bmp->TextOut(l - 7 - bmp->TextWidth(FLeftText), 3, FLeftText);
  bmp->TextOut(l + w + 9, 3, FRightText);

  Canvas().Draw(0, 0, *bmp);
}
