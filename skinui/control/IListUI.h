#pragma once
// The interfaces between a list's owner (a list or a combo box) and its rows.

#include <windows.h>

#include "ControlEventUI.h"
#include "ListInfoUI.h"

namespace SkinUI {

class CControlUI;

class IListOwnerUI {
 public:
  virtual TListInfoUI* GetListInfo() = 0;
  virtual int GetCurSel() const = 0;
  // Selects the row at index (-1: none); "itemselect" from the owner when it changed.
  virtual bool SelectItem(int index, bool takeFocus = false) = 0;
  // Keys and the wheel a row does not use itself.
  virtual void DoEvent(TControlEventUI& event) = 0;
  // A row was clicked or activated (double click, Return).
  virtual void OnItemClick(int index) = 0;
  virtual void OnItemActivate(int index) = 0;

 protected:
  ~IListOwnerUI() = default;
};

class IListItemUI {
 public:
  virtual int GetIndex() const = 0;
  virtual void SetIndex(int index) = 0;
  virtual IListOwnerUI* GetOwner() = 0;
  virtual void SetOwner(CControlUI* owner) = 0;
  virtual bool IsSelected() const = 0;
  virtual bool Select(bool select = true) = 0;

 protected:
  ~IListItemUI() = default;
};

}  // namespace SkinUI
