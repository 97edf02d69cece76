// Scoped owners for GDI state that has to be put back before a function returns.
#pragma once
#include <windows.h>

// Selects an object into a device context and, on leaving the scope, selects back the object
// that first selection replaced. Select() may switch objects in between; the original still
// comes back at the end. When the first selection fails nothing is selected and nothing is
// restored.
class SelectionGuard {
 public:
  SelectionGuard(HDC dc, HGDIOBJ object) : dc(dc) {
    if (dc != nullptr && object != nullptr) {
      HGDIOBJ replaced = SelectObject(dc, object);
      if (replaced != nullptr && replaced != HGDI_ERROR) previous = replaced;
    }
  }
  ~SelectionGuard() {
    if (previous != nullptr) SelectObject(dc, previous);
  }
  SelectionGuard(const SelectionGuard&) = delete;
  SelectionGuard& operator=(const SelectionGuard&) = delete;

  bool Succeeded() const { return previous != nullptr; }
  // Selects another object in place of the current one; false if it could not be selected.
  bool Select(HGDIOBJ object) {
    if (previous == nullptr || object == nullptr) return false;
    HGDIOBJ replaced = SelectObject(dc, object);
    return replaced != nullptr && replaced != HGDI_ERROR;
  }

 private:
  HDC dc;
  HGDIOBJ previous = nullptr;
};
