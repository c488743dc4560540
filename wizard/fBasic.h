// The base of every wizard page: the page protocol that the wizard dialog drives
// (can the user go back, go on or finish here; set up and tear down; load the
// controls from the wizard record and store them back) and the helpers the pages
// share. Pages reach the wizard record, the units of the coordinate edits and the
// dialog's buttons through this base alone; only fBasic.cpp knows the dialog.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "wizard/BoardDB_Rule.h"

class TEditCoordEx;

class TfraBasic : public TFrame {
  TCLASS_DECL(TfraBasic, TFrame)
 public:
  explicit TfraBasic(TComponent* AOwner) : TFrame(AOwner) {}

  // Back, Next and Finish are enabled from these (all True by default; Finish
  // follows the page's own CanGoNext).
  virtual bool CanGoBack();
  virtual bool CanGoNext();
  virtual bool CanFinish();
  // Once per page: when the dialog is first shown, and when it is destroyed.
  virtual void InitPage() {}
  virtual void DonePage() {}
  // Each time the page is shown: loads the controls from the record.
  virtual void EnterPage() {}
  // Each time the page is left by Next, Back or Finish: stores the controls into the
  // record.
  virtual void LeavePage() {}
  // The part of the board rule that the page's answers make up, which Next checks as
  // the page is left; false for a page without one.
  virtual bool BoardPart(TBoardPart& Part) const {
    (void)Part;
    return false;
  }
  // The control that shows a field of the board rule, or nullptr when the page has
  // none.
  virtual TWinControl* FieldEdit(TBoardField Field) const {
    (void)Field;
    return nullptr;
  }

  // Finish, Back and Next enabled from CanFinish, CanGoBack and CanGoNext, in that
  // order; nothing while no wizard dialog exists.
  void UpdateWizardButtons();
  // Shows a copy of Bitmap in Image (an empty picture for nullptr); the page keeps
  // its own bitmap, so each is released once, by its owner.
  void SetImageBitmap(TImage* Image, TBitmap* Bitmap);
  // A new bitmap from the module's bitmap resource Name, owned by the caller; a
  // missing resource raises EResNotFound.
  static TBitmap* LoadPageBitmap(const char* Name);
  // Puts a coordinate edit, owned by the page, in place of a placeholder edit of the
  // form file: same bounds, parent and tab order, the hyperlink look, the
  // placeholder's change handler as its OnValueChange and the placeholder's name;
  // Caption, when given, focuses it. The placeholder stays, hidden and nameless.
  void ReplaceWithCoordEdit(TEdit* Placeholder, TEditCoordEx*& Edit, TLabel* Caption);
  // Every coordinate edit of the page reads its text now. Enter clicks the default
  // button without moving the focus, so a length typed and confirmed with Enter has
  // not been read when the page is left.
  void ReadCoordEdits();

 protected:
  // The record being filled, owned by the runner. Only while a wizard dialog exists;
  // the pages live inside one.
  TBoardInfoFromUser& BoardInfo() const;
  // Every coordinate edit of every page shows and reads the record's units.
  void ApplyUnitsToEdits() const;
  // A click on the dialog's Next button, when it is enabled; nothing otherwise.
  void PressNext();
};

// The unit's start and end.
void InitfBasic();
void DonefBasic();
