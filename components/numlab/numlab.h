#pragma once
// TNumLab: a framed value box that shows one number in a chosen format, with a
// caption to its left and an optional unit to its right. When the number does
// not fit the box, an overflow text replaces it. Every property change repaints
// at once; each paint draws into a fresh off-screen bitmap and copies it to the
// control in one step.
#include <string>
#include <string_view>

#include "components/numlab/numtext.h"
#include "platform/graphiccontrol.h"
#include "platform/surface.h"

// Look of the value box.
enum class TFrameStyle { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

// Frame colour sets: black/white/grey, or the system's button colours.
enum TColorScheme { csBWG, csSytem };

// Position of the number inside the box.
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TNumLab : public TGraphicControl {
  Q_OBJECT

 public:
  // The side texts and the overflow text hold at most this many characters.
  static constexpr std::size_t kMaxTextLength = 50;

  explicit TNumLab(QWidget* parent = nullptr);

  int LeftSpace() const { return FLeftSpace; }
  void SetLeftSpace(int v);  // negative ignored; above the width stored as the width
  bool Empty() const { return FEmpty; }
  void SetEmpty(bool v);
  int LabelWidth() const { return FLabelWidth; }
  void SetLabelWidth(int v);
  int Precision() const { return FPrecision; }
  void SetPrecision(int v);  // negative ignored; above 15 stored as 15
  const std::string& LeftText() const { return FLeftText; }
  void SetLeftText(std::string_view v);  // cut to 50 characters
  const std::string& RightText() const { return FRightText; }
  void SetRightText(std::string_view v);  // cut to 50 characters
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle v);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment v);
  const std::string& OverflowIndicator() const { return FOverflowIndicator; }
  void SetOverflowIndicator(std::string_view v);  // cut to 50 characters
  double Value() const { return FValue; }
  void SetValue(double v);
  TColor ColorLabBakG() const { return FColorLabBakG; }
  void SetColorLabBakG(TColor c);
  TColor ColorLabText() const { return FColorLabText; }
  void SetColorLabText(TColor c);
  TColor ColorOutBakG() const { return FColorOutBakG; }
  void SetColorOutBakG(TColor c);
  TColor ColorOutText() const { return FColorOutText; }
  void SetColorOutText(TColor c);
  TColorScheme ColorScheme() const { return FColorScheme; }
  void SetColorScheme(TColorScheme v);  // also sets ColorShadow and ColorLight
  TDisplay DisplayType() const { return FDisplayType; }
  void SetDisplayType(TDisplay v);

  // Frame colours, chosen by ColorScheme.
  TColor ColorDark() const { return FColorDark; }
  TColor ColorShadow() const { return FColorShadow; }
  TColor ColorLight() const { return FColorLight; }

  // Copies every property of `src` except the control's bounds and font, then
  // repaints.
  void Assign(const TNumLab& src);

  // The number as text in the current format with the system's decimal
  // separator, or OverflowIndicator when the format cannot show the value.
  // Whether it fits the box is decided when painting; see ShownText().
  std::string NumberText() const;
  // What the last paint wrote into the box: the number text, the overflow text
  // when it did not fit, or nothing when Empty is set or nothing was painted yet.
  const std::string& ShownText() const { return FShownText; }

  // Where the bitmaps of each paint come from (tests install a recording one).
  void SetBitmapFactory(TBitmapFactory factory);

  void Paint() override;

 private:
  // Stores a changed value and repaints.
  template <typename T>
  void Change(T& field, const T& value);

  int FLeftSpace = 35;
  bool FEmpty = false;
  int FLabelWidth = 80;
  int FPrecision = 2;
  std::string FLeftText = "X:";
  std::string FRightText;
  TFrameStyle FFrameStyle = TFrameStyle::fsLowered;
  TAlignment FAlignment = taCenter;
  std::string FOverflowIndicator = "*********";
  double FValue = 0.0;
  TColor FColorLabBakG = clSilver;
  TColor FColorLabText = clBlack;
  TColor FColorOutBakG = clSilver;
  TColor FColorOutText = clBlack;
  TColor FColorDark = clBlack;
  TColor FColorShadow = clGray;
  TColor FColorLight = clWhite;
  TColorScheme FColorScheme = csBWG;
  TDisplay FDisplayType = TDisplay::dtFixP;

  TBitmapFactory FBitmapFactory;
  std::string FShownText;
  bool FInPaint = false;
};
