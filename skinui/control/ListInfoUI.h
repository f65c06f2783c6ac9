#pragma once
// The drawing settings a list's owner shares with every row, and the owner's "item..." attributes
// that fill them.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "LabelUI.h"

namespace SkinUI {

// How the rows of one owner are drawn: text, colours and pictures per row state, and the
// columns (x extents) the header gives them.
struct TListInfoUI {
  std::vector<RECT> columns;
  int font = -1;
  UINT textStyle = kStyleVCenter | kStyleSingleLine;
  RECT textPadding = {};
  bool showHtml = false;
  uint32_t textColor = 0;
  uint32_t bkColor = 0;
  uint32_t alternateBkColor = 0;
  std::wstring bkImage;
  uint32_t hotTextColor = 0;
  uint32_t hotBkColor = 0;
  std::wstring hotImage;
  uint32_t selectedTextColor = 0;
  uint32_t selectedBkColor = 0;
  std::wstring selectedImage;
  uint32_t disabledTextColor = 0;
  uint32_t disabledBkColor = 0;
  std::wstring disabledImage;
  uint32_t lineColor = 0;
};

// Applies one of the "item..." attributes a list or a combo box shares; false for other names.
bool SetListInfoAttribute(TListInfoUI& info, const std::wstring& name, const std::wstring& value);

}  // namespace SkinUI
