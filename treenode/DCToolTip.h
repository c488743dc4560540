// Thin routines over a tooltip control window that a holder object owns.
#pragma once

#include <windows.h>

#include "classlib/Types.h"

// Whatever owns a tooltip window: the routines need only its handle (0 when it has
// none).
class TToolTipHolder {
 public:
  virtual HWND ToolTipHandle() const = 0;

 protected:
  ~TToolTipHolder() = default;
};

// The size of the TOOLINFO the routines send (up to and with lParam).
inline constexpr UINT ToolInfoSize = 44;

void ActivateToolTip(const TToolTipHolder& Holder);
void DeactivateToolTip(const TToolTipHolder& Holder);
bool ToolTipAllocated(const TToolTipHolder& Holder);
void SetToolTipMaxWidth(const TToolTipHolder& Holder, int Width);
// TTM_ADDTOOL / TTM_SETTOOLINFO for the tool Id of Window; with Subclass the tooltip
// subclasses Window to see its mouse messages. Text must live while the tool shows it.
void AddToolTipTool(const TToolTipHolder& Holder, UINT_PTR Id, HWND Window, bool Subclass,
                    const char* Text, const TRect& Rect);
void SetToolTipToolInfo(const TToolTipHolder& Holder, UINT_PTR Id, HWND Window,
                        bool Subclass, const char* Text, const TRect& Rect);
