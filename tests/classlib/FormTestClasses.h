// The classes of the test form files (tests/classlib/forms): a custom component
// with a property of every kind, a frame, a form holding one of every standard
// control, and a form whose file is wrong. RegisterFormTestClasses registers them
// and their published parts, as a unit's initialization would.
#pragma once

#include <string>
#include <vector>

#include "classlib/Buttons.h"
#include "classlib/Classes_Streaming.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/Spin.h"
#include "classlib/StdCtrls.h"

namespace formtest {

// What the test classes saw, in order ("loaded frmTest", "click rbnB", ...).
inline std::vector<std::string> FormLog;

enum TWidgetMode { wmIdle, wmBusy, wmDone };
enum TWidgetOption { woFast, woSafe, woLoud };
using TWidgetOptions = TSet<TWidgetOption>;

}  // namespace formtest

TENUM_INFO(formtest::TWidgetMode, "wmIdle", "wmBusy", "wmDone")
TENUM_INFO(formtest::TWidgetOption, "woFast", "woSafe", "woLoud")

namespace formtest {

class TWidgetItem : public TCollectionItem {
  TCLASS_DECL(TWidgetItem, TCollectionItem)
 public:
  explicit TWidgetItem(TCollection* ACollection) : TCollectionItem(ACollection) {}
  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value) { FCaption = Value; }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { FWidth = Value; }

 private:
  AnsiString FCaption;
  int FWidth = 50;
};

// A non-visual component with one property of each kind, a reference to a control,
// strings, a collection, and two properties of its own (the binary "Blob" and the
// text "Note"). It counts its living instances.
class TTestWidget : public TComponent {
  TCLASS_DECL(TTestWidget, TComponent)
 public:
  explicit TTestWidget(TComponent* AOwner);
  ~TTestWidget() override;
  inline static int Live = 0;

  int Count() const { return FCount; }
  void SetCount(int Value);
  double Ratio() const { return FRatio; }
  void SetRatio(double Value) { FRatio = Value; }
  const AnsiString& Title() const { return FTitle; }
  void SetTitle(const AnsiString& Value) { FTitle = Value; }
  TWidgetOptions Options() const { return FOptions; }
  void SetOptions(TWidgetOptions Value) { FOptions = Value; }
  TWidgetMode Mode() const { return FMode; }
  void SetMode(TWidgetMode Value) { FMode = Value; }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { FColor = Value; }
  TControl* Target() const { return FTarget; }
  void SetTarget(TControl* Value);
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* Value) { FLines->Assign(Value); }
  TCollection* Items() const { return FItems; }
  void SetItems(TCollection* Value) { FItems->Assign(Value); }

  std::vector<Byte> Blob;
  AnsiString Note;
  bool LoadingWhileRead = false;  // csLoading was set when Count was read
  bool TargetAtLoaded = false;    // Target was resolved when Loaded ran
  int LoadedCalls = 0;

  void DefineProperties(TFiler* Filer) override;
  void Loaded() override;

  TNotifyEvent OnPing;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ReadBlob(TStream* Stream);
  void WriteBlob(TStream* Stream);
  void ReadNote(TReader* Reader) { Note = Reader->ReadString(); }
  void WriteNote(TWriter* Writer) { Writer->WriteString(Note); }

  int FCount = 0;
  double FRatio = 0;
  AnsiString FTitle;
  TWidgetOptions FOptions;
  TWidgetMode FMode = wmIdle;
  TColor FColor = clWindow;
  TControl* FTarget = nullptr;
  TStringList* FLines;
  TCollection* FItems;
};

class TTestFrame : public TFrame {
  TCLASS_DECL(TTestFrame, TFrame)
 public:
  explicit TTestFrame(TComponent* AOwner) : TFrame(AOwner) {}
  void Loaded() override;
  void edtFrameChange(TObject*) { FormLog.push_back("change edtFrame"); }

  TLabel* lblFrame = nullptr;
  TEdit* edtFrame = nullptr;

  // What the set-up step saw: how often it ran, the label's caption then, and
  // whether Loaded had run before it.
  int SetUps = 0;
  AnsiString CaptionAtSetUp;
  bool LoadedAtSetUp = false;
  bool IsLoaded = false;

 protected:
  void DoCreate() override;
};

class TTestForm : public TForm {
  TCLASS_DECL(TTestForm, TForm)
 public:
  explicit TTestForm(TComponent* AOwner) : TForm(AOwner) {}
  TTestForm(TComponent* AOwner, TCreateNew) : TForm(AOwner, CreateNew) {}
  void Loaded() override;

  void FormShow(TObject*) { FormLog.push_back("show"); }
  void edtNameChange(TObject*) { FormLog.push_back("change edtName"); }
  void rbnClick(TObject* Sender) {
    FormLog.push_back("click " + static_cast<TComponent*>(Sender)->Name());
  }
  void cbxLayerChange(TObject*) { FormLog.push_back("change cbxLayer"); }
  void WidgetPing(TObject*) { FormLog.push_back("ping"); }

  TPanel* pnlTop = nullptr;
  TLabel* lblName = nullptr;
  TEdit* edtName = nullptr;
  TPanel* pnlBody = nullptr;
  TRadioButton* rbnA = nullptr;
  TRadioButton* rbnB = nullptr;
  TCheckBox* chkX = nullptr;
  TCheckBox* chkY = nullptr;
  TComboBox* cbxLayer = nullptr;
  TSpinEdit* sedCount = nullptr;
  TImage* imgPicture = nullptr;
  TTestFrame* fraInner = nullptr;
  TTestWidget* wgtMain = nullptr;

  // What the set-up step saw: the edit's text (empty without the edit), whether
  // Loaded had run, and whether the frame had been set up.
  AnsiString NameAtSetUp;
  bool LoadedAtSetUp = false;
  bool FrameSetUpFirst = false;

 protected:
  void DoCreate() override;

 private:
  bool FIsLoaded = false;
};

// Its form file names a property that does not exist, after a few components.
class TBadForm : public TForm {
  TCLASS_DECL(TBadForm, TForm)
 public:
  explicit TBadForm(TComponent* AOwner) : TForm(AOwner) {}
};

void RegisterFormTestClasses();
void UnregisterFormTestClasses();

}  // namespace formtest
