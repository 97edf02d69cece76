// Functions that not every supported Windows exports, found when first needed.
#include "host/system_functions.h"

EnableImeFn enableIme = nullptr;

void EnableInputMethod(bool enable) {
  if (enableIme == nullptr)
    enableIme = ProcAs<EnableImeFn>(GetModuleHandleA("user32.dll"), "WINNLSEnableIME");
  if (enableIme != nullptr) enableIme(nullptr, enable ? TRUE : FALSE);
}
