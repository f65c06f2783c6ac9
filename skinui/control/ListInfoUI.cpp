#include "ListInfoUI.h"

#include "AttributeTableUI.h"

namespace SkinUI {

namespace {

using Attributes = CAttributeTableUI<TListInfoUI>;

uint32_t Color(const std::wstring& value) { return attr::ParseColor(value, true); }

const Attributes::Entry kListInfoAttributes[] = {
    {L"itemfont", [](TListInfoUI& info, const std::wstring& v) { info.font = attr::ParseInt(v); }},
    {L"itemalign",
     [](TListInfoUI& info, const std::wstring& v) {
       info.textStyle &= ~(kStyleCenter | kStyleRight);
       if (attr::ContainsWord(v, L"center")) info.textStyle |= kStyleCenter;
       if (attr::ContainsWord(v, L"right")) info.textStyle |= kStyleRight;
     }},
    {L"itemendellipsis",
     [](TListInfoUI& info, const std::wstring& v) {
       info.textStyle = attr::ParseBool(v) ? info.textStyle | kStyleEndEllipsis : info.textStyle & ~kStyleEndEllipsis;
     }},
    {L"itemtextpadding",
     [](TListInfoUI& info, const std::wstring& v) {
       int sides[4];
       attr::ParseIntList(v, sides, 4);
       info.textPadding = RECT{sides[0], sides[1], sides[2], sides[3]};
     }},
    {L"itemshowhtml", [](TListInfoUI& info, const std::wstring& v) { info.showHtml = attr::ParseBool(v); }},
    {L"itemtextcolor", [](TListInfoUI& info, const std::wstring& v) { info.textColor = Color(v); }},
    {L"itembkcolor", [](TListInfoUI& info, const std::wstring& v) { info.bkColor = Color(v); }},
    {L"itemaltbkcolor", [](TListInfoUI& info, const std::wstring& v) { info.alternateBkColor = Color(v); }},
    {L"itembkimage", [](TListInfoUI& info, const std::wstring& v) { info.bkImage = v; }},
    {L"itemhottextcolor", [](TListInfoUI& info, const std::wstring& v) { info.hotTextColor = Color(v); }},
    {L"itemhotbkcolor", [](TListInfoUI& info, const std::wstring& v) { info.hotBkColor = Color(v); }},
    {L"itemhotimage", [](TListInfoUI& info, const std::wstring& v) { info.hotImage = v; }},
    {L"itemselectedtextcolor", [](TListInfoUI& info, const std::wstring& v) { info.selectedTextColor = Color(v); }},
    {L"itemselectedbkcolor", [](TListInfoUI& info, const std::wstring& v) { info.selectedBkColor = Color(v); }},
    {L"itemselectedimage", [](TListInfoUI& info, const std::wstring& v) { info.selectedImage = v; }},
    {L"itemdisabledtextcolor", [](TListInfoUI& info, const std::wstring& v) { info.disabledTextColor = Color(v); }},
    {L"itemdisabledbkcolor", [](TListInfoUI& info, const std::wstring& v) { info.disabledBkColor = Color(v); }},
    {L"itemdisabledimage", [](TListInfoUI& info, const std::wstring& v) { info.disabledImage = v; }},
    {L"itemlinecolor", [](TListInfoUI& info, const std::wstring& v) { info.lineColor = Color(v); }},
};

}  // namespace

bool SetListInfoAttribute(TListInfoUI& info, const std::wstring& name, const std::wstring& value) {
  return Attributes::Apply(kListInfoAttributes, info, name, value);
}

}  // namespace SkinUI
