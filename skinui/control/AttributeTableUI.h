#pragma once
// A control's skin vocabulary as one table of attribute name -> setter. A control keeps its table
// beside its SetAttribute, which applies a matching entry or hands the name to its base class:
//
//   using Attributes = CAttributeTableUI<CSliderUI>;
//   const Attributes::Entry kSliderAttributes[] = {
//       {L"min", Attributes::Int<&CSliderUI::SetMinValue>},
//       {L"thumbimage", Attributes::Text<&CSliderUI::SetThumbImage>},
//       {L"step", [](CSliderUI& slider, const std::wstring& value) { ... }},
//   };
//   void CSliderUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
//     if (!Attributes::Apply(kSliderAttributes, *this, name, value)) CProgressUI::SetAttribute(name, value);
//   }
//
// Names match ignoring case and the first match wins; an alias is one more entry with the same
// setter.

#include <windows.h>

#include <cstddef>
#include <string>

#include "AttributeText.h"

namespace SkinUI {

template <typename Control>
class CAttributeTableUI {
 public:
  using Setter = void (*)(Control& control, const std::wstring& value);

  struct Entry {
    const wchar_t* name;
    Setter set;
  };

  // Applies the entry named name; false when the table has none.
  template <size_t N>
  static bool Apply(const Entry (&table)[N], Control& control, const std::wstring& name, const std::wstring& value) {
    for (const Entry& entry : table) {
      if (attr::EqualsNoCase(name, entry.name)) {
        entry.set(control, value);
        return true;
      }
    }
    return false;
  }

  // Adapters from the attribute text to a one-argument setter. Method may be a member of a base
  // class of Control; overloaded setters need a lambda instead.
  template <auto Method>
  static void Text(Control& control, const std::wstring& value) {
    (control.*Method)(value);
  }
  template <auto Method>
  static void Int(Control& control, const std::wstring& value) {
    (control.*Method)(attr::ParseInt(value));
  }
  template <auto Method>
  static void Bool(Control& control, const std::wstring& value) {
    (control.*Method)(attr::ParseBool(value));
  }
  // "#AARRGGBB", blanks before it allowed.
  template <auto Method>
  static void Color(Control& control, const std::wstring& value) {
    (control.*Method)(attr::ParseColor(value, true));
  }
  // "#AARRGGBB" with nothing before it.
  template <auto Method>
  static void StrictColor(Control& control, const std::wstring& value) {
    (control.*Method)(attr::ParseColor(value, false));
  }
  // "cx,cy".
  template <auto Method>
  static void Size(Control& control, const std::wstring& value) {
    int pair[2];
    attr::ParseIntList(value, pair, 2);
    (control.*Method)(SIZE{pair[0], pair[1]});
  }
  // "left,top,right,bottom".
  template <auto Method>
  static void Rect(Control& control, const std::wstring& value) {
    int sides[4];
    attr::ParseIntList(value, sides, 4);
    (control.*Method)(RECT{sides[0], sides[1], sides[2], sides[3]});
  }
};

}  // namespace SkinUI
