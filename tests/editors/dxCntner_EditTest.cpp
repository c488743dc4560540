// The in-place editor on real windows: placing and showing over a cell, the keys it
// keeps and those it hands to its host, validation with the restore point, refused
// characters, and the class-level painting of its view data, checked by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "classlib/Classes_Streaming.h"
#include "classlib/ScopeExit.h"
#include "editors/dxCntner.h"
#include "editors/dxCntner_Edit.h"
#include "editors/dxEditor.h"
#include "editors/dxExEdtr_BlobPopup.h"
#include "editors/dxExEdtr_CalcEdit.h"
#include "editors/dxExEdtr_DateEdit.h"
#include "editors/dxExEdtr_Graphic.h"
#include "editors/dxExEdtr_Spin.h"
#include "editors/dxExEdtr_Time.h"
#include "tests/editors/EditTestSupport.h"

using namespace edittest;
using uitest::HeldKeys;
using uitest::Pump;
using uitest::TProbe;

TCLASS_IMPL(TTestEdit)
TCLASS_IMPL(TOutsideEdit)

namespace {

// An editor class whose buttons take 16 x 12 pixels.
class TButtonsEdit : public TTestEdit {
  TCLASS_DECL(TButtonsEdit, TTestEdit)
 public:
  using TTestEdit::TTestEdit;
  static TRect GetButtonsRect(MetaType::TSelf /*Self*/, TdxEditViewData* /*ViewData*/) {
    return Rect(0, 0, 16, 12);
  }
};
TCLASS_IMPL(TButtonsEdit)

// A text editor outside a container, and one of its descendants that starts with the
// parent's colour.
class TOutsideTextEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TOutsideTextEdit, TdxInplaceTextEdit)
 public:
  using TdxInplaceTextEdit::TdxInplaceTextEdit;
  static bool IsInplace(MetaType::TSelf /*Self*/) { return false; }
};
TCLASS_IMPL(TOutsideTextEdit)

class TParentColorTextEdit : public TOutsideTextEdit {
  TCLASS_DECL(TParentColorTextEdit, TOutsideTextEdit)
 public:
  explicit TParentColorTextEdit(TComponent* AOwner) : TOutsideTextEdit(AOwner) {
    SetParentColor(true);
  }
};
TCLASS_IMPL(TParentColorTextEdit)

// Refuses every value, or accepts, and counts the questions.
class TValidator : public TObject {
 public:
  void Validate(TObject* /*Sender*/, AnsiString& ErrorText, bool& Accept) {
    ++Calls;
    if (!Refuse) return;
    Accept = false;
    if (!Text.empty()) ErrorText = Text;
  }
  bool Refuse = true;
  AnsiString Text;
  int Calls = 0;
};

// A host key event that validates its editor in the middle of the key.
class TValidatingKeyHandler : public TObject {
 public:
  explicit TValidatingKeyHandler(TdxInplaceEdit* AEdit) : Edit(AEdit) {}
  void KeyDown(TObject* /*Sender*/, Word& /*Key*/, TShiftState /*Shift*/) { Edit->Validate(); }
  TdxInplaceEdit* Edit;
};

// A 32-bit memory bitmap filled white, to draw view data into and read back.
class TPixelCanvas {
 public:
  TPixelCanvas(int AWidth, int AHeight) : FWidth(AWidth) {
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(Info.bmiHeader);
    Info.bmiHeader.biWidth = AWidth;
    Info.bmiHeader.biHeight = -AHeight;
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 32;
    FDC = CreateCompatibleDC(nullptr);
    FBitmap = CreateDIBSection(FDC, &Info, DIB_RGB_COLORS, reinterpret_cast<void**>(&FBits), nullptr, 0);
    FOld = SelectObject(FDC, FBitmap);
    RECT All{0, 0, AWidth, AHeight};
    FillRect(FDC, &All, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  ~TPixelCanvas() {
    SelectObject(FDC, FOld);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
  }
  HDC DC() const { return FDC; }
  COLORREF Pixel(int X, int Y) const {
    GdiFlush();
    DWORD P = FBits[Y * FWidth + X];
    return RGB((P >> 16) & 0xFF, (P >> 8) & 0xFF, P & 0xFF);
  }

 private:
  int FWidth;
  HDC FDC;
  HBITMAP FBitmap;
  HGDIOBJ FOld;
  DWORD* FBits = nullptr;
};

LPARAM AltKeyData() { return 0x20000000 | 1; }

class InplaceEditTest : public EditTest {
 protected:
  void SendKey(TdxInplaceEdit* Edit, Word Key, LPARAM KeyData = 1) {
    SendMessageA(Edit->Handle(), WM_KEYDOWN, Key, KeyData);
  }
  void SendChar(TdxInplaceEdit* Edit, char Ch) {
    SendMessageA(Edit->Handle(), WM_CHAR, static_cast<unsigned char>(Ch), 1);
  }
};

// ---------------------------------------------------------------------------------
// Construction

TEST_F(InplaceEditTest, AnEditorInPlaceTakesNoTabStopNorThreeDimensionalLookNorParentColour) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  EXPECT_EQ(Host, Edit->GetContainer());
  EXPECT_FALSE(Edit->TabStop());
  EXPECT_FALSE(Edit->Ctl3D());
  EXPECT_FALSE(Edit->ParentCtl3D());
  EXPECT_FALSE(Edit->ParentColor());
  EXPECT_TRUE(Edit->AutoSize());
}

TEST_F(InplaceEditTest, AnEditorOutsideAContainerHasItsOwnSizeAndTabStop) {
  TTestContainer* Host = ShownContainer();
  auto* Edit = NewObject<TOutsideEdit>(Host);
  EXPECT_EQ(nullptr, Edit->GetContainer());
  EXPECT_TRUE(Edit->TabStop());
  EXPECT_EQ(121, Edit->Width());
  EXPECT_EQ(24, Edit->Height());
}

// ---------------------------------------------------------------------------------
// Showing over a cell

TEST_F(InplaceEditTest, ShowAtPlacesTheEditorTwoPixelsAroundTheCellAndFocusesIt) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->ShowAt(Rect(5, 5, 15, 15));
  EXPECT_EQ(3, Edit->Left());
  EXPECT_EQ(3, Edit->Top());
  EXPECT_EQ(14, Edit->Width());
  EXPECT_EQ(14, Edit->Height());
  EXPECT_TRUE(Edit->Shown());
  EXPECT_TRUE(IsWindowVisible(Edit->Handle()));
  EXPECT_EQ(Edit->Handle(), GetFocus());
  // The host is its form's focused control; the editor's window holds the focus.
  EXPECT_EQ(Host, GetParentForm(Host)->ActiveControl());
}

TEST_F(InplaceEditTest, ShowAtAnEmptyRectangleDoesNothing) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->SetBounds(20, 20, 50, 18);
  Edit->ShowAt(Rect(5, 5, 5, 15));
  Edit->ShowAt(Rect(5, 5, 15, 5));
  EXPECT_EQ(20, Edit->Left());
  EXPECT_EQ(50, Edit->Width());
  EXPECT_FALSE(Edit->Shown());
  EXPECT_EQ(0, Edit->AfterShows);
}

TEST_F(InplaceEditTest, AfterShowRunsOnceForEachShowOfAHiddenEditor) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->ShowAt(Rect(5, 5, 50, 20));
  Edit->ShowAt(Rect(5, 25, 50, 40));
  EXPECT_EQ(1, Edit->AfterShows);
  Edit->Hide();
  EXPECT_FALSE(Edit->Shown());
  EXPECT_FALSE(IsWindowVisible(Edit->Handle()));
  Edit->ShowAt(Rect(5, 5, 50, 20));
  EXPECT_EQ(2, Edit->AfterShows);
}

TEST_F(InplaceEditTest, AFirstShowInsideAShowLockRunsNoAfterShow) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->BeginShowLock();
  Edit->ShowAt(Rect(5, 5, 50, 20));
  Edit->EndShowLock();
  EXPECT_TRUE(Edit->Shown());
  Edit->ShowAt(Rect(5, 25, 50, 40));
  EXPECT_EQ(0, Edit->AfterShows);
}

// ---------------------------------------------------------------------------------
// Keys

TEST_F(InplaceEditTest, EscapeRestoresTheTextAndModifiedThenReachesTheHost) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->ShowAt(Rect(5, 5, 80, 20));
  Edit->SetText("abc");
  Edit->SetModified(false);
  Edit->SetEditActive(true);
  Edit->SetText("xyz");
  Edit->SetModified(true);

  SendKey(Edit, VK_ESCAPE);
  EXPECT_EQ("abc", Edit->Text());
  EXPECT_FALSE(Edit->Modified());
  EXPECT_EQ(std::vector<Word>{VK_ESCAPE}, Host->HostKeys);
  EXPECT_TRUE(Edit->OwnKeys.empty());
}

TEST_F(InplaceEditTest, NavigationKeysGoToTheHostAndTabWithAltStaysWithTheEditor) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  for (Word Key : {VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_RETURN, VK_TAB}) SendKey(Edit, Key);
  EXPECT_EQ((std::vector<Word>{VK_UP, VK_DOWN, VK_PRIOR, VK_NEXT, VK_RETURN, VK_TAB}), Host->HostKeys);
  EXPECT_TRUE(Edit->OwnKeys.empty());

  Host->HostKeys.clear();
  SendKey(Edit, VK_TAB, AltKeyData());
  EXPECT_TRUE(Host->HostKeys.empty());
  EXPECT_EQ(std::vector<Word>{VK_TAB}, Edit->OwnKeys);
}

TEST_F(InplaceEditTest, ShiftInsertAndDeleteAreDroppedWhileTheHostRefusesChanges) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Host->AllowModify = false;
  HeldKeys = {VK_SHIFT};
  SendKey(Edit, VK_INSERT);
  HeldKeys.clear();
  SendKey(Edit, VK_DELETE);
  EXPECT_TRUE(Edit->OwnKeys.empty());
  EXPECT_TRUE(Host->HostKeys.empty());

  Host->AllowModify = true;
  SendKey(Edit, VK_DELETE);
  HeldKeys = {VK_SHIFT};
  SendKey(Edit, VK_INSERT);
  HeldKeys.clear();
  EXPECT_EQ((std::vector<Word>{VK_DELETE, VK_INSERT}), Edit->OwnKeys);
}

TEST_F(InplaceEditTest, TheHostsKeyEventSeesTheKeysTheEditorKeepsAndMayConsumeThem) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  struct TConsumer : TObject {
    void KeyDown(TObject* /*Sender*/, Word& Key, TShiftState /*Shift*/) {
      Seen.push_back(Key);
      if (Key == VK_LEFT) Key = 0;
    }
    std::vector<Word> Seen;
  };
  auto* Consumer = Keep(NewObject<TConsumer>());
  Host->OnKeyDown = TKeyEvent::Bind<&TConsumer::KeyDown>(Consumer);
  SendKey(Edit, VK_LEFT);
  SendKey(Edit, VK_RIGHT);
  EXPECT_EQ((std::vector<Word>{VK_LEFT, VK_RIGHT}), Consumer->Seen);
  EXPECT_EQ(std::vector<Word>{VK_RIGHT}, Edit->OwnKeys);
}

TEST_F(InplaceEditTest, ARefusedValueRaisesBeforeNavigationKeysReachTheHost) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->ShowAt(Rect(5, 5, 80, 20));
  auto* Validator = Keep(NewObject<TValidator>());
  Edit->OnValidate = TdxEditValidateEvent::Bind<&TValidator::Validate>(Validator);
  Edit->SetText("bad");
  Edit->SetModified(true);

  for (Word Key : {VK_UP, VK_DOWN, VK_TAB, VK_RETURN}) SendKey(Edit, Key);
  EXPECT_TRUE(Host->HostKeys.empty());
  ASSERT_EQ(4u, Log->Messages.size());
  for (const std::string& Message : Log->Messages) EXPECT_EQ(SdxInvalidInput, Message);
  EXPECT_EQ(4, Beeps);
  EXPECT_EQ("bad", Edit->Text());
  EXPECT_TRUE(Edit->Modified());
  EXPECT_EQ(Edit->Handle(), GetFocus());

  // Escape still abandons the change.
  Edit->SetText("good");
  Edit->SetModified(false);
  Edit->SetEditActive(true);
  Edit->SetText("bad");
  Edit->SetModified(true);
  SendKey(Edit, VK_ESCAPE);
  EXPECT_EQ("good", Edit->Text());
  EXPECT_EQ(std::vector<Word>{VK_ESCAPE}, Host->HostKeys);
}

TEST_F(InplaceEditTest, ValidateRaisesTheHandlersTextOnlyForAModifiedValue) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  auto* Validator = Keep(NewObject<TValidator>());
  Validator->Text = "Out of range";
  Edit->OnValidate = TdxEditValidateEvent::Bind<&TValidator::Validate>(Validator);
  Edit->Validate();
  EXPECT_EQ(0, Validator->Calls);
  Edit->SetModified(true);
  try {
    Edit->Validate();
    ADD_FAILURE() << "no exception";
  } catch (const EdxEditInvalidInput& E) {
    EXPECT_EQ("Out of range", E.Message());
  }
  Validator->Refuse = false;
  EXPECT_NO_THROW(Edit->Validate());
}

TEST_F(InplaceEditTest, ValidateDoesNothingWhileAKeyIsBeingHandled) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  auto* Validator = Keep(NewObject<TValidator>());
  Edit->OnValidate = TdxEditValidateEvent::Bind<&TValidator::Validate>(Validator);
  auto* Handler = Keep(NewObject<TValidatingKeyHandler>(Edit));
  Host->OnKeyDown = TKeyEvent::Bind<&TValidatingKeyHandler::KeyDown>(Handler);
  Edit->SetModified(true);
  SendKey(Edit, VK_LEFT);
  EXPECT_EQ(0, Validator->Calls);
  EXPECT_TRUE(Log->Messages.empty());
  EXPECT_EQ(0, Edit->KeyDownLevel());
}

TEST_F(InplaceEditTest, ARefusedValueKeepsTheFocusWhenItWouldLeave) {
  TForm* Form = ShownForm();
  auto* Edit = NewObject<TTestEdit>(Form);
  Edit->SetParent(Form);
  Edit->SetBounds(10, 10, 100, 20);
  auto* Probe = NewObject<TProbe>(Form);
  Probe->SetParent(Form);
  Probe->SetBounds(10, 50, 40, 20);
  Pump();
  Edit->SetFocus();
  Pump();
  ASSERT_EQ(Edit->Handle(), GetFocus());
  auto* Validator = Keep(NewObject<TValidator>());
  Edit->OnValidate = TdxEditValidateEvent::Bind<&TValidator::Validate>(Validator);
  Edit->SetModified(true);

  Probe->SetFocus();
  Pump();
  EXPECT_EQ(Edit->Handle(), GetFocus());
  EXPECT_EQ(Edit, Form->ActiveControl());
  ASSERT_FALSE(Log->Messages.empty());
  EXPECT_EQ(SdxInvalidInput, Log->Messages.front());

  Validator->Refuse = false;
  Probe->SetFocus();
  Pump();
  EXPECT_EQ(Probe->Handle(), GetFocus());
}

TEST_F(InplaceEditTest, ADefaultContainerRefusesEveryTypedCharacterWithOneBeep) {
  TForm* Form = ShownForm();
  auto* Host = NewObject<TCustomdxContainer>(Form);
  Host->SetParent(Form);
  Host->SetBounds(10, 10, 200, 100);
  TTestEdit* Edit = HostedEdit(Host);
  for (char Ch : {'a', 'Z', '5', ' '}) SendChar(Edit, Ch);
  EXPECT_EQ(4, Beeps);
  EXPECT_TRUE(Edit->OwnChars.empty());
  // Escape is no typed character: dropped without a beep.
  SendChar(Edit, '\x1B');
  EXPECT_EQ(4, Beeps);
}

TEST_F(InplaceEditTest, AcceptedCharactersReachTheEditorAfterTheHost) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  SendChar(Edit, 'q');
  SendChar(Edit, '\t');
  EXPECT_EQ(0, Beeps);
  EXPECT_EQ((std::vector<char>{'q', '\t'}), Host->HostChars);
  EXPECT_EQ(std::vector<char>{'q'}, Edit->OwnChars);
}

TEST_F(InplaceEditTest, TheDialogCodeFollowsTheHostsTabs) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  LRESULT Code = SendMessageA(Edit->Handle(), WM_GETDLGCODE, 0, 0);
  EXPECT_TRUE(Code & DLGC_WANTCHARS);
  EXPECT_TRUE(Code & DLGC_WANTALLKEYS);
  EXPECT_FALSE(Code & DLGC_WANTTAB);
  Host->TabsWanted = true;
  EXPECT_TRUE(SendMessageA(Edit->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTTAB);
}

TEST_F(InplaceEditTest, KeysAreDroppedUnseenWhileTheHostSaysSo) {
  struct TSkippingContainer : TTestContainer {
    using TTestContainer::TTestContainer;
    bool SkipEditKeyMessage() override { return true; }
  };
  TForm* Form = ShownForm();
  auto* Host = NewObject<TSkippingContainer>(Form);
  Host->SetParent(Form);
  TTestEdit* Edit = HostedEdit(Host);
  SendKey(Edit, VK_UP);
  SendChar(Edit, 'a');
  EXPECT_TRUE(Host->HostKeys.empty());
  EXPECT_TRUE(Host->HostChars.empty());
  EXPECT_EQ(0, Beeps);
}

// ---------------------------------------------------------------------------------
// View data and painting

TEST_F(InplaceEditTest, ADisabledEditorsViewDataPaintsTheButtonFaceAndGreyText) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->SetBounds(0, 0, 40, 20);
  Edit->SetEnabled(false);
  TOwned<TdxEditViewData> ViewData(Edit->CreateViewData(false));
  EXPECT_FALSE(ViewData->Enabled);
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), ViewData->Brush);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), ViewData->BackgroundColor);
  EXPECT_EQ(GetSysColor(COLOR_GRAYTEXT), ViewData->TextColor);

  TPixelCanvas Canvas(40, 20);
  Edit->EditClass()->Draw(Canvas.DC(), Rect(0, 0, 40, 20), ViewData.get(), nullptr);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), Canvas.Pixel(20, 10));
}

TEST_F(InplaceEditTest, AnEnabledEditorsViewDataPaintsItsOwnColour) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->SetBounds(0, 0, 40, 20);
  Edit->SetColor(clRed);
  TOwned<TdxEditViewData> ViewData(Edit->CreateViewData(false));
  TPixelCanvas Canvas(40, 20);
  Edit->EditClass()->Draw(Canvas.DC(), Rect(0, 0, 40, 20), ViewData.get(), nullptr);
  EXPECT_EQ(RGB(255, 0, 0), Canvas.Pixel(20, 10));
  EXPECT_EQ(ColorToRGB(Edit->Font()->Color()), ViewData->TextColor);
}

TEST_F(InplaceEditTest, AHotSingleBorderIsDrawnInTheHotColour) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->SetBounds(0, 0, 30, 20);
  Edit->Style()->SetBorderStyle(xbsSingle);
  Edit->Style()->SetHotTrack(true);

  TOwned<TdxEditViewData> Cold(Edit->CreateViewData(false));
  Edit->SetMouseInside(true);
  TOwned<TdxEditViewData> Hot(Edit->CreateViewData(false));
  EXPECT_FALSE(Cold->Hot);
  EXPECT_TRUE(Hot->Hot);
  EXPECT_EQ(btsHotFlat, Hot->ButtonStyle);

  // The single border runs one pixel inside the outer rectangle.
  TPixelCanvas HotCanvas(30, 20);
  Edit->EditClass()->Draw(HotCanvas.DC(), Rect(0, 0, 30, 20), Hot.get(), nullptr);
  EXPECT_EQ(RGB(10, 36, 106), HotCanvas.Pixel(1, 10));
  EXPECT_EQ(RGB(10, 36, 106), HotCanvas.Pixel(15, 18));
  EXPECT_EQ(RGB(255, 255, 255), HotCanvas.Pixel(0, 10));
  TPixelCanvas ColdCanvas(30, 20);
  Edit->EditClass()->Draw(ColdCanvas.DC(), Rect(0, 0, 30, 20), Cold.get(), nullptr);
  EXPECT_EQ(ColorToRGB(clWindowFrame), ColdCanvas.Pixel(1, 10));
}

TEST_F(InplaceEditTest, HotTrackingLiftsTheOtherBorderStyles) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->Style()->SetHotTrack(true);
  Edit->SetMouseInside(true);
  const struct {
    TdxEditBorderStyle Style, Hot;
    TdxEditButtonViewStyle Buttons;
  } Cases[] = {{xbsNone, xbsFlat, btsFlat}, {xbsFlat, xbs3D, bts3D}, {xbsThick, xbsThick, bts3D}};
  for (const auto& Case : Cases) {
    Edit->Style()->SetBorderStyle(Case.Style);
    TOwned<TdxEditViewData> ViewData(Edit->CreateViewData(false));
    EXPECT_EQ(Case.Hot, ViewData->BorderStyle);
    EXPECT_EQ(Case.Buttons, ViewData->ButtonStyle);
  }
}

TEST_F(InplaceEditTest, TheEditorsWindowIsFramedByItsBorder) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->Style()->SetBorderStyle(xbsSingle);
  Edit->Style()->SetHotTrack(true);
  Edit->ShowAt(Rect(10, 10, 60, 30));
  Pump();
  // Content two pixels in from each side: the border takes the non-client area.
  RECT Client;
  GetClientRect(Edit->Handle(), &Client);
  EXPECT_EQ(54 - 4, Client.right);
  EXPECT_EQ(24 - 4, Client.bottom);
  // A single border needs a window region: the outermost ring is not the editor's.
  HRGN Region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_NE(ERROR, GetWindowRgn(Edit->Handle(), Region));
  EXPECT_FALSE(PtInRegion(Region, 0, 5));
  EXPECT_TRUE(PtInRegion(Region, 1, 5));
  DeleteObject(Region);

  // Focused, the editor is hot: its frame is painted in the hot colour.
  RedrawWindow(Edit->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  HDC DC = GetWindowDC(Edit->Handle());
  COLORREF Border = GetPixel(DC, 1, 10);
  ReleaseDC(Edit->Handle(), DC);
  EXPECT_EQ(RGB(10, 36, 106), Border);
}

TEST_F(InplaceEditTest, DrawTakesThePaintedBorderOutOfTheHostsRegion) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->SetBounds(0, 0, 30, 20);
  Edit->Style()->SetShadow(true);
  TOwned<TdxEditViewData> ViewData(Edit->CreateViewData(false));
  HRGN Region = CreateRectRgn(0, 0, 100, 100);
  TPixelCanvas Canvas(30, 20);
  Edit->EditClass()->Draw(Canvas.DC(), Rect(0, 0, 30, 20), ViewData.get(), Region);
  // 3D border of 2 around content (2, 2, 26, 16); the shadow 2 pixels right and down.
  EXPECT_FALSE(PtInRegion(Region, 0, 0));
  EXPECT_FALSE(PtInRegion(Region, 27, 17));
  EXPECT_TRUE(PtInRegion(Region, 29, 1));
  EXPECT_TRUE(PtInRegion(Region, 40, 40));
  DeleteObject(Region);
  EXPECT_EQ(ColorToRGB(clBtnShadow), Canvas.Pixel(28, 19));
}

// ---------------------------------------------------------------------------------
// Class operations

TEST_F(InplaceEditTest, GetEditHeightIsTheTextHeightPlusThreeInPlaceAndTheBordersOutside) {
  ASSERT_EQ(1, GetSystemMetrics(SM_CYBORDER));
  TOwned<TFont> Font(NewObject<TFont>());
  Font->SetSize(12);
  HDC DC = GetDC(nullptr);
  HGDIOBJ Old = SelectObject(DC, Font->Handle());
  TEXTMETRICA Metrics{};
  GetTextMetricsA(DC, &Metrics);
  SelectObject(DC, Old);
  ReleaseDC(nullptr, DC);

  TOwned<TdxEditViewData> ViewData(TTestEdit::StaticClass().NewViewData());
  ViewData->Font = Font->Handle();
  EXPECT_EQ(Metrics.tmHeight + 3, TTestEdit::StaticClass().GetEditHeight(ViewData.get()));
  EXPECT_EQ(Metrics.tmHeight + 4, TOutsideEdit::StaticClass().GetEditHeight(ViewData.get()));
}

TEST_F(InplaceEditTest, TheClassOperationsAnswerOnTheMetaclassWithoutAnEditor) {
  TdxInplaceEditClass Base = &TdxInplaceEdit::StaticClass();
  TdxInplaceEditClass Buttons = &TButtonsEdit::StaticClass();
  EXPECT_EQ(&TdxEditViewData::StaticClass(), Base->GetViewDataClass());
  EXPECT_EQ(&TdxEditStyle::StaticClass(), Buttons->GetStyleClass());
  EXPECT_TRUE(Base->IsInplace());
  EXPECT_FALSE(TOutsideEdit::StaticClass().IsInplace());
  EXPECT_TRUE(IsRectEmpty(&static_cast<const RECT&>(Base->GetButtonsRect(nullptr))));

  TOwned<TdxEditViewData> ViewData(Base->NewViewData());
  EXPECT_EQ(crArrow, Base->GetCursor(0, 0, ViewData.get()));
  ViewData->NativeEdit = true;
  EXPECT_EQ(crDefault, Base->GetCursor(0, 0, ViewData.get()));
  ViewData->Cursor = crHandPoint;
  EXPECT_EQ(crHandPoint, Base->GetCursor(0, 0, ViewData.get()));

  // CalcDrawInfo reaches the class's own buttons rectangle.
  ViewData->Bounds = Rect(10, 10, 200, 60);
  ViewData->BorderStyle = xbsSingle;
  ViewData->Edges = {edgLeft, edgTop, edgRight};
  TdxEditDrawInfo Info;
  Buttons->CalcDrawInfo(ViewData.get(), true, Info);
  EXPECT_EQ(1, Info.BorderSize);
  EXPECT_EQ(0, Info.ShadowSize);
  EXPECT_EQ(Rect(10, 10, 10 + 16 + 4, 10 + 12 + 4), Info.OuterRect);
  EXPECT_EQ(Rect(12, 12, 12 + 16, 12 + 12), Info.ContentRect);
  EXPECT_EQ(Rect(11, 11, 29, 24), Info.BorderRect);
  EXPECT_FALSE(Info.BottomEdge);
  Base->CalcDrawInfo(ViewData.get(), false, Info);
  EXPECT_EQ(Rect(10, 10, 200, 60), Info.OuterRect);
}

TEST_F(InplaceEditTest, ADrawnContentFillsWithTheViewDatasBrushUnlessMeasuring) {
  TOwned<TdxEditViewData> ViewData(TdxInplaceEdit::StaticClass().NewViewData());
  ViewData->Brush = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  TPixelCanvas Canvas(10, 10);
  ViewData->MeasureOnly = true;
  EXPECT_TRUE(TdxInplaceEdit::StaticClass().DrawContent(Canvas.DC(), Rect(0, 0, 10, 10), false, ViewData.get()));
  EXPECT_EQ(RGB(255, 255, 255), Canvas.Pixel(5, 5));
  ViewData->MeasureOnly = false;
  TdxInplaceEdit::StaticClass().DrawContent(Canvas.DC(), Rect(0, 0, 10, 10), false, ViewData.get());
  EXPECT_EQ(RGB(0, 0, 0), Canvas.Pixel(5, 5));
}

TEST_F(InplaceEditTest, ASingleBorderPaintsItsColourWithABrushKeptAcrossPaints) {
  TdxInplaceEditClass Base = &TdxInplaceEdit::StaticClass();
  TOwned<TdxEditViewData> ViewData(Base->NewViewData());
  ViewData->Bounds = Rect(0, 0, 20, 20);
  ViewData->BorderStyle = xbsSingle;
  ViewData->BorderColor = clRed;
  TdxEditDrawInfo Info;
  Base->CalcDrawInfo(ViewData.get(), false, Info);
  TPixelCanvas Canvas(20, 20);
  const int HandlesBefore = GdiHandleCount();
  Base->DrawBorder(Canvas.DC(), Info, ViewData.get());
  EXPECT_EQ(RGB(255, 0, 0), Canvas.Pixel(Info.BorderRect.left, 10));
  const int BrushesMade = GdiObjectsMade(OBJ_BRUSH);
  for (int I = 0; I < 3; ++I) Base->DrawBorder(Canvas.DC(), Info, ViewData.get());
  EXPECT_EQ(GdiObjectsMade(OBJ_BRUSH), BrushesMade) << "a paint of the same colour makes no brush";
  ViewData->BorderColor = clBlue;
  Base->DrawBorder(Canvas.DC(), Info, ViewData.get());
  EXPECT_EQ(RGB(0, 0, 255), Canvas.Pixel(Info.BorderRect.left, 10));
  EXPECT_LE(GdiHandleCount(), HandlesBefore + 1) << "only the last colour's brush is kept";
}

// ---------------------------------------------------------------------------------
// Stored values and form files

TEST_F(InplaceEditTest, PropertiesSetExplicitlyAreMarkedUntilTheDefaultsAreRestored) {
  TTestContainer* Host = ShownContainer();
  TTestEdit* Edit = HostedEdit(Host);
  Edit->SetAlignment(taRightJustify);
  Edit->SetReadOnly(true);
  EXPECT_EQ((TdxEditStoredValues{esvAlignment, esvReadOnly}), Edit->StoredValues());
  EXPECT_TRUE(Edit->GetReadOnly());
  Edit->RestoreDefaults();
  EXPECT_TRUE(Edit->StoredValues().Empty());
  EXPECT_EQ(taLeftJustify, Edit->Alignment());
  EXPECT_FALSE(Edit->GetReadOnly());
}

TEST_F(InplaceEditTest, TheFormFileKeepsTheHeightAndTheLowBitsOfTheStoredValues) {
  RegisterClass(&TTestEdit::StaticClass());
  auto Unregister = ScopeExit([] { UnRegisterClass(&TTestEdit::StaticClass()); });
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("EditForm");
  auto* Edit = NewObject<TTestEdit>(Form.get());
  Edit->SetName("Edit1");
  Edit->SetParent(Form.get());
  Edit->SetBounds(5, 5, 80, 27);
  Edit->SetAlignment(taCenter);
  Edit->SetReadOnly(true);
  Edit->SetStoredValues(Edit->StoredValues() + TdxEditStoredValues{esvDisplayFormat});

  AnsiString Text = WriteComponentText(Form.get());
  std::size_t At = Text.find("component Edit1");
  ASSERT_NE(AnsiString::npos, At);
  EXPECT_NE(AnsiString::npos, Text.find("StoredValues = 65", At));
  EXPECT_NE(AnsiString::npos, Text.find("Height = 27", At));
  // One height only: the published one gives way to the defined one.
  std::size_t First = Text.find("Height = ", At);
  EXPECT_EQ(AnsiString::npos, Text.find("Height = ", First + 1));

  TOwned<TForm> Copy(NewObject<TForm>(nullptr, CreateNew));
  ReadComponentText(Copy.get(), Text, "EditForm");
  auto* Read = ObjectAs<TTestEdit>(Copy->FindComponent("Edit1"));
  ASSERT_NE(nullptr, Read);
  EXPECT_EQ(27, Read->Height());
  EXPECT_EQ((TdxEditStoredValues{esvAlignment, esvReadOnly}), Read->StoredValues());
}

TEST_F(InplaceEditTest, TheFormFileKeepsTheAlignmentAndReadOnlyTheirBitsMark) {
  auto* Edit = FormEdit<TTestEdit>();
  Edit->SetAlignment(taCenter);
  Edit->SetReadOnly(true);
  TTestEdit* Read = ReadBack(Edit);
  ASSERT_NE(nullptr, Read);
  EXPECT_EQ(taCenter, Read->Alignment());
  EXPECT_TRUE(Read->GetReadOnly());
  EXPECT_EQ(Edit->StoredValues(), Read->StoredValues());

  // A kept value equal to the default is kept all the same.
  Edit = FormEdit<TTestEdit>();
  Edit->SetAlignment(taLeftJustify);
  Edit->SetReadOnly(false);
  AnsiString Text;
  Read = ReadBack(Edit, &Text);
  ASSERT_NE(nullptr, Read);
  EXPECT_NE(AnsiString::npos, Text.find("Alignment = taLeftJustify"));
  EXPECT_NE(AnsiString::npos, Text.find("ReadOnly = False"));
  EXPECT_EQ((TdxEditStoredValues{esvAlignment, esvReadOnly}), Read->StoredValues());
}

TEST_F(InplaceEditTest, NoStoredValuesAreWrittenWhileNoneIsSet) {
  TOwned<TForm> Form(NewObject<TForm>(nullptr, CreateNew));
  Form->SetName("EditForm");
  auto* Edit = NewObject<TTestEdit>(Form.get());
  Edit->SetName("Edit1");
  Edit->SetParent(Form.get());
  const AnsiString Text = WriteComponentText(Form.get());
  EXPECT_EQ(AnsiString::npos, Text.find("StoredValues"));
  // Nor the values the bits would mark.
  EXPECT_EQ(AnsiString::npos, Text.find("Alignment"));
  EXPECT_EQ(AnsiString::npos, Text.find("ReadOnly"));
}

// Whatever the constructors choose for ParentColor and ParentCtl3D, and whatever the
// spin editor's step, each value set reads back from the form file as set.
TEST_F(InplaceEditTest, TheFormFileKeepsTheParentFlagsAndTheStepAsSet) {
  auto Check = [this](auto* Edit, bool ParentColor, bool ParentCtl3D) {
    Edit->SetParentColor(ParentColor);
    Edit->SetParentCtl3D(ParentCtl3D);
    AnsiString Text;
    auto* Read = ReadBack(Edit, &Text);
    ASSERT_NE(nullptr, Read);
    EXPECT_EQ(ParentColor, Read->ParentColor()) << Edit->ClassName() << Text.c_str();
    EXPECT_EQ(ParentCtl3D, Read->ParentCtl3D()) << Edit->ClassName() << Text.c_str();
  };
  for (bool ParentColor : {true, false}) {
    for (bool ParentCtl3D : {true, false}) {
      Check(FormEdit<TTestEdit>(), ParentColor, ParentCtl3D);
      Check(FormEdit<TOutsideEdit>(), ParentColor, ParentCtl3D);
      Check(FormEdit<TdxInplaceTextEdit>(), ParentColor, ParentCtl3D);
      Check(FormEdit<TdxInplaceSpinEdit>(), ParentColor, ParentCtl3D);
      Check(FormEdit<TdxInplaceGraphicEdit>(), ParentColor, ParentCtl3D);
      Check(FormEdit<TdxPopupCalculator>(), ParentColor, ParentCtl3D);
      Check(FormEdit<TCustomdxBlobPopup>(), ParentColor, ParentCtl3D);
    }
  }
  // The constructors' own choice is still theirs: an editor outside a container keeps
  // both flags.
  EXPECT_FALSE(FormEdit<TdxInplaceTextEdit>()->ParentColor());
  EXPECT_TRUE(FormEdit<TOutsideEdit>()->ParentColor());
  EXPECT_TRUE(FormEdit<TOutsideEdit>()->ParentCtl3D());
  EXPECT_FALSE(FormEdit<TdxPopupCalculator>()->ParentCtl3D());

  for (double Increment : {0.0, 1.0, 2.5, -3.0}) {
    auto* Spin = FormEdit<TdxInplaceSpinEdit>();
    Spin->SetIncrement(Increment);
    AnsiString Text;
    auto* Read = ReadBack(Spin, &Text);
    ASSERT_NE(nullptr, Read);
    EXPECT_EQ(Increment, Read->Increment()) << Text.c_str();
    EXPECT_EQ(Increment != 1.0, Text.find(" Increment = ") != AnsiString::npos) << Text.c_str();
  }
}

// A form file read and written again is the same file, and holds what was set: the
// parent flags against each class's own start, and the time and date editors' masks
// and stored values whatever the format or UseEditMask made of them.
TEST_F(InplaceEditTest, AFormFileReadAndWrittenAgainIsTheSameFile) {
  // Written, read and written again: the second file, and the editor read.
  auto RoundTrip = [this](auto* Edit, AnsiString& First, AnsiString& Second) {
    auto* Read = ReadBack(Edit, &First);
    if (Read) Second = WriteComponentText(Read->Owner());
    return Read;
  };
  auto CheckParentColor = [&](auto* Edit, bool ParentColor) {
    Edit->SetParentColor(ParentColor);
    AnsiString First, Second;
    auto* Read = RoundTrip(Edit, First, Second);
    ASSERT_NE(nullptr, Read);
    EXPECT_EQ(ParentColor, Read->ParentColor()) << Edit->ClassName() << First.c_str();
    EXPECT_EQ(First, Second);
  };
  for (bool ParentColor : {true, false}) {
    CheckParentColor(FormEdit<TOutsideTextEdit>(), ParentColor);
    CheckParentColor(FormEdit<TParentColorTextEdit>(), ParentColor);
  }
  // An editor outside a container starts as a tab stop, one in place does not.
  auto CheckTabStop = [&](auto* Edit, bool TabStop) {
    Edit->SetTabStop(TabStop);
    AnsiString First, Second;
    auto* Read = RoundTrip(Edit, First, Second);
    ASSERT_NE(nullptr, Read);
    EXPECT_EQ(TabStop, Read->TabStop()) << Edit->ClassName() << First.c_str();
    EXPECT_EQ(First, Second);
  };
  for (bool TabStop : {true, false}) {
    CheckTabStop(FormEdit<TOutsideTextEdit>(), TabStop);
    CheckTabStop(FormEdit<TdxInplaceTextEdit>(), TabStop);
  }

  // The kept mask, the format's and none, under each time format.
  for (TdxTimeEditFormat Format : {tfHourMinSec, tfHourMin, tfHour}) {
    for (int Kept = 0; Kept < 3; ++Kept) {
      auto* Time = FormEdit<TdxInplaceTimeEdit>();
      Time->SetTimeEditFormat(Format);
      if (Kept == 1) Time->SetEditMask("99:99;0;_");
      if (Kept == 2) Time->SetStoredValues({});
      AnsiString First, Second;
      auto* Read = RoundTrip(Time, First, Second);
      ASSERT_NE(nullptr, Read);
      EXPECT_EQ(First, Second);
      EXPECT_EQ(Time->StoredValues(), Read->StoredValues()) << First.c_str();
      EXPECT_EQ(Format, Read->TimeEditFormat());
      EXPECT_EQ(Time->EditMask(), Read->EditMask()) << First.c_str();
    }
  }
  for (int Kept = 0; Kept < 3; ++Kept) {
    auto* Date = FormEdit<TdxInplaceDateEdit>();
    Date->SetUseEditMask(true);
    if (Kept == 1) Date->SetEditMask("99/99/9999;1;_");
    if (Kept == 2) Date->SetStoredValues({});
    AnsiString First, Second;
    auto* Read = RoundTrip(Date, First, Second);
    ASSERT_NE(nullptr, Read);
    EXPECT_EQ(First, Second);
    EXPECT_EQ(Date->StoredValues(), Read->StoredValues()) << First.c_str();
    EXPECT_TRUE(Read->UseEditMask());
    EXPECT_EQ(Date->EditMask(), Read->EditMask()) << First.c_str();
  }
}

}  // namespace
