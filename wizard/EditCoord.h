// The edit through which the wizard takes every length. It holds a value in host
// coordinates and shows it in its unit ("5000 mil", "127.0 mm"); typed text, with or
// without a unit suffix, is read when the focus enters or leaves, when the program
// sets the text, and when the page it is on is left (see TfraBasic::ReadCoordEdits).
// What is read is snapped to the precision shown: whole mils, or tenths of a
// millimetre. With Hyperlink set it looks like a link while it has no focus: blue
// underlined text on the parent's colour, without a border.
#pragma once

#include "classlib/StdCtrls.h"
#include "classlib/TypInfo.h"
#include "pcb/Pcbtypes.h"

// The units by name, for form files.
TENUM_INFO(TUnit, "eMetric", "eImperial")

class TEditCoordEx : public TEdit {
  TCLASS_DECL(TEditCoordEx, TEdit)
 public:
  // Imperial, value 0, the plain look; the text is "0 mil" once made. Its height
  // does not follow the font (AutoSize off), so the two looks keep its bounds.
  explicit TEditCoordEx(TComponent* AOwner);
  void AfterConstruction() override;

  TUnit Units() const { return FUnits; }
  // Shows the value in the new unit; the value stays.
  void SetUnits(TUnit Value);
  Integer Value() const { return FValue; }
  // A new value is shown, then OnValueChange runs; an equal value does nothing.
  void SetValue(Integer Value);
  bool Hyperlink() const { return FHyperlink; }
  void SetHyperlink(bool Value);

  // Reads the text as a length (StrToCoord, the edit's unit when the text names
  // none) into Value; text that is no length reads as 0.
  void ParseText();
  // Shows Value in the edit's unit.
  void UpdateText();
  // The length in the unit: millimetres or mils.
  static double CoordToUnitValue(Integer Coord, TUnit Unit);

  void Dispatch(TMessage& Message) override;

  // Runs after Value changed.
  TNotifyEvent OnValueChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  virtual void DoValueChange();

 private:
  void ShowPlainLook();
  void ShowHyperlinkLook();
  // Shows or hides the sunken border without making the window again.
  void SetBorderShown(bool Value);

  TUnit FUnits = eImperial;
  Integer FValue = 0;
  bool FHyperlink = false;
  // Guards the two looks against re-entry.
  bool FBusy = false;
  bool FBorderShown = true;
};

// The unit's start (class and published properties) and end.
void InitEditCoord();
void DoneEditCoord();
