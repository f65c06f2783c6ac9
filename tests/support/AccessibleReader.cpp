#include "AccessibleReader.h"

namespace {

std::wstring Take(BSTR text) {
  std::wstring result = text != nullptr ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
  ::SysFreeString(text);
  return result;
}

}  // namespace

VARIANT ChildSelf() {
  VARIANT self;
  ::VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}

AccessibleFacts ReadAccessible(IAccessible* object) {
  AccessibleFacts facts;
  BSTR text = nullptr;
  object->get_accName(ChildSelf(), &text);
  facts.name = Take(text);
  VARIANT out;
  ::VariantInit(&out);
  if (SUCCEEDED(object->get_accRole(ChildSelf(), &out)) && out.vt == VT_I4) facts.role = out.lVal;
  ::VariantInit(&out);
  if (SUCCEEDED(object->get_accState(ChildSelf(), &out)) && out.vt == VT_I4) facts.state = out.lVal;
  text = nullptr;
  object->get_accDefaultAction(ChildSelf(), &text);
  facts.action = Take(text);
  text = nullptr;
  object->get_accValue(ChildSelf(), &text);
  facts.value = Take(text);
  long left = 0, top = 0, width = 0, height = 0;
  object->accLocation(&left, &top, &width, &height, ChildSelf());
  facts.place = RECT{left, top, left + width, top + height};
  return facts;
}

IAccessible* TakeAccessible(VARIANT& item) {
  IAccessible* object = nullptr;
  if (item.vt == VT_DISPATCH && item.pdispVal != nullptr)
    item.pdispVal->QueryInterface(IID_IAccessible, reinterpret_cast<void**>(&object));
  ::VariantClear(&item);
  return object;
}

std::vector<IAccessible*> AccessibleChildrenOf(IAccessible* parent) {
  std::vector<IAccessible*> children;
  long count = 0;
  if (FAILED(parent->get_accChildCount(&count)) || count <= 0) return children;
  std::vector<VARIANT> items(static_cast<size_t>(count));
  long fetched = 0;
  if (FAILED(::AccessibleChildren(parent, 0, count, items.data(), &fetched))) return children;
  for (long i = 0; i < fetched; ++i)
    if (IAccessible* child = TakeAccessible(items[static_cast<size_t>(i)])) children.push_back(child);
  return children;
}

void ReleaseAccessibles(std::vector<IAccessible*>& objects) {
  for (IAccessible* object : objects) object->Release();
  objects.clear();
}
