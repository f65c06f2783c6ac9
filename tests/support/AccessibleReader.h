#pragma once
// Reads accessible objects as a screen reader does, for the tests of skinned windows.

#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

// What one object tells about itself.
struct AccessibleFacts {
  std::wstring name;
  LONG role = 0;
  LONG state = 0;
  std::wstring action;
  std::wstring value;
  RECT place = {};
};

VARIANT ChildSelf();
AccessibleFacts ReadAccessible(IAccessible* object);
// The children as objects, through AccessibleChildren; the caller releases them.
std::vector<IAccessible*> AccessibleChildrenOf(IAccessible* parent);
// The IAccessible of a variant holding an object, or null; the variant is cleared.
IAccessible* TakeAccessible(VARIANT& item);
void ReleaseAccessibles(std::vector<IAccessible*>& objects);
