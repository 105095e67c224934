// Colours as older streams hold them.
//
// Tested by: chart/tests/ChartStreamTest.cpp
#include "chart/core/KivStream.h"

#include <utility>

#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/TextUtils.h"

namespace chart {

namespace {

const std::pair<std::string_view, TColor> ColorNames[] = {
    {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
    {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
    {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
    {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
    {"clMoneyGreen", clMoneyGreen}, {"clSkyBlue", clSkyBlue}, {"clCream", clCream}, {"clMedGray", clMedGray},
    {"clNone", clNone}, {"clDefault", clDefault},
    {"clScrollBar", clScrollBar}, {"clBackground", clBackground}, {"clActiveCaption", clActiveCaption},
    {"clInactiveCaption", clInactiveCaption}, {"clMenu", clMenu}, {"clWindow", clWindow},
    {"clWindowFrame", clWindowFrame}, {"clMenuText", clMenuText}, {"clWindowText", clWindowText},
    {"clCaptionText", clCaptionText}, {"clActiveBorder", clActiveBorder}, {"clInactiveBorder", clInactiveBorder},
    {"clAppWorkSpace", clAppWorkSpace}, {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText},
    {"clBtnFace", clBtnFace}, {"clBtnShadow", clBtnShadow}, {"clGrayText", clGrayText},
    {"clBtnText", clBtnText}, {"clInactiveCaptionText", clInactiveCaptionText},
    {"clBtnHighlight", clBtnHighlight}, {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight},
    {"clInfoText", clInfoText}, {"clInfoBk", clInfoBk},
};

}  // namespace

bool IdentToColor(std::string_view name, TColor& color) {
  for (const auto& [text, value] : ColorNames)
    if (classlib::SameText(text, name)) {
      color = value;
      return true;
    }
  return false;
}

TColor ReadColorValue(classlib::TReader& reader) {
  if (reader.NextValue() == classlib::vaIdent) {
    const std::string name = reader.ReadIdent();
    TColor color = clBlack;
    if (!IdentToColor(name, color)) throw classlib::EReadError("Invalid property value: no colour is named " + name);
    return color;
  }
  return static_cast<TColor>(static_cast<std::uint32_t>(reader.ReadInt64()));
}

}  // namespace chart
