// The graphic editor: shows a picture in a cell (natural size, centred, or stretched
// keeping its aspect ratio) and edits it with cut, copy, paste, delete, load from a
// file, save to a file and a custom command, offered by the popup toolbar or its
// context menu. The host exchanges the picture as a string blob: the graphic's own
// file format, optionally behind an 8-byte header.
//
// Also the blob helpers the blob editor shares, and a read-only stream over memory
// that is not its own.
#pragma once

#include <windows.h>

#include "classlib/Graphics.h"
#include "classlib/Streams.h"
#include "editors/dxCntner_Edit.h"
#include "editors/dxExEdtr_PopupToolBar.h"

// A memory stream over memory it does not own (SetPointer); writing writes nothing.
class TMemoryStreamReadOnly : public TCustomMemoryStream {
  TCLASS_DECL(TMemoryStreamReadOnly, TCustomMemoryStream)
 public:
  int Write(const void* Buffer, int Count) override;
};

// True when the picture is missing, has no graphic, or its graphic is empty.
bool IsPictureEmpty(const TPicture* Picture);
// Loads a string blob into Picture: a value that is not a string, a string of 7 bytes
// or fewer, and a blob the graphic does not read all leave the picture empty (nothing
// is raised: a host paints every cell through this). A leading header (count 1, type
// 0x0100, the size of the rest) is skipped. With a GraphicClass the graphic is made
// of that class; otherwise the picture's bitmap reads the blob.
void LoadPictureFromBlob(TPicture* Picture, const Variant& Value, TClass GraphicClass);
// The graphic's own file format without a header; "" for an empty picture.
void SavePictureToBlob(TPicture* Picture, AnsiString& Text);
// Reads the clipboard into Picture: with CF_PICTURE a bitmap on it becomes the
// picture's bitmap; otherwise the picture takes whatever the clipboard offers.
void PastePictureFromClipboard(TPicture* Picture, UINT ClipboardFormat);
// Asks for a picture file (Filter, or every graphic format): true with its name.
bool ExecuteOpenPictureDialog(const AnsiString& Filter, AnsiString& FileName);
// Asks where to save Picture's graphic (Filter, or its class's filter and extension)
// and saves it there. The picture must have a graphic.
void SavePictureWithDialog(TPicture* Picture, const AnsiString& Filter);

enum TdxGraphicEditTransparency { gtDefault, gtOpaque, gtTransparent };
TENUM_INFO(TdxGraphicEditTransparency, "gtDefault", "gtOpaque", "gtTransparent")

// The view data of graphic cells.
class TdxGraphicEditViewData : public TdxEditViewData {
  TCLASS_DECL(TdxGraphicEditViewData, TdxEditViewData)
 public:
  bool Center = true;
  // The picture to paint (not owned).
  TPicture* Picture = nullptr;
  bool QuickDraw = false;
  bool Stretch = false;
  // The off-screen buffer for a transparent graphic (not owned), or nullptr.
  TBitmap* Buffer = nullptr;
  // Drawn for an empty picture.
  AnsiString Text;
  // Outside a container: a frame in the window-frame colour round the cell.
  bool DrawFrame = false;
  // The selection shading: a checker of ShadowSelectionColor over the painted cell.
  bool ShadowSelection = false;
  TColor ShadowSelectionColor = clHighlight;
};

using TdxGraphicEditAssignPictureEvent = TEvent<void(TObject* Sender, TPicture*& Picture)>;
using TdxGraphicEditGetGraphicClassEvent = TEvent<void(TObject* Sender, TClass& GraphicClass)>;

// No stored toolbar position.
inline constexpr TPoint dxNoToolbarPos{-10000, -10000};

class TdxInplaceGraphicEdit : public TdxInplaceEdit {
  TCLASS_DECL(TdxInplaceGraphicEdit, TdxInplaceEdit)
 public:
  explicit TdxInplaceGraphicEdit(TComponent* AOwner);
  ~TdxInplaceGraphicEdit() override;
  // Not sized by the font, its own colour, 140 x 100.
  void AfterConstruction() override;

  // ----- Class operations.
  static bool DrawContent(MetaType::TSelf Self, HDC DC, const TRect& R, bool IsWindow, TdxEditViewData* ViewData);
  static TRect GetButtonsRect(MetaType::TSelf Self, TdxEditViewData* ViewData);
  static void CalcDrawInfo(MetaType::TSelf Self, TdxEditViewData* ViewData, bool AutoHeight,
                           TdxEditDrawInfo& DrawInfo);
  static TdxEditViewDataClass GetViewDataClass(MetaType::TSelf Self);

  // ----- Settings.
  bool Center() const { return FCenter; }
  void SetCenter(bool Value);
  UINT ClipboardFormat() const { return FClipboardFormat; }
  void SetClipboardFormat(UINT Value) { FClipboardFormat = Value; }
  const AnsiString& CustomFilter() const { return FCustomFilter; }
  void SetCustomFilter(const AnsiString& Value) { FCustomFilter = Value; }
  bool CustomGraphic() const { return FCustomGraphic; }
  void SetCustomGraphic(bool Value);
  bool DblClickActivate() const { return FDblClickActivate; }
  void SetDblClickActivate(bool Value) { FDblClickActivate = Value; }
  TdxGraphicEditTransparency GraphicTransparency() const { return FGraphicTransparency; }
  void SetGraphicTransparency(TdxGraphicEditTransparency Value);
  TPicture* Picture() const { return FPicture; }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  bool QuickDraw() const { return FQuickDraw; }
  void SetQuickDraw(bool Value) { FQuickDraw = Value; }
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  TdxPopupToolBarWindow* PopupToolBar() const { return FPopupToolBarSettings; }
  void SetPopupToolBar(TdxPopupToolBarWindow* Value) { FPopupToolBarSettings->Assign(Value); }
  TPoint PopupToolbarPos() const { return FPopupToolbarPos; }
  void SetPopupToolbarPos(const TPoint& Value) { FPopupToolbarPos = Value; }
  bool PopupToolbarPosStored() const { return FPopupToolbarPosStored; }
  // False also forgets the stored position.
  void SetPopupToolbarPosStored(bool Value);
  // The tool window.
  TdxPopupToolBar* ToolBar() const { return FToolBar; }

  // ----- Commands (the toolbar, the menu and the keys).
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void DeletePicture();
  void LoadFromFile();
  void SaveToFile();
  // Runs the command of a toolbar button or menu item, then re-enables the buttons.
  void DoCommand(TdxPopupToolBarButton Kind);
  // Shows the tool window beside the editor (or where the user last left it), unless
  // the commands are a menu or the tool window may not be shown.
  void ShowPopupToolbar();

  // ----- The host's value.
  // A blob (a string) or Null; does not change Modified.
  void SetEditValue(const Variant& Value) override;
  // The graphic's reference as an integer (0 for none), after OnAssignPicture.
  Variant GetEditValue() override;
  // The picture as a blob (a string), after OnAssignPicture: what a host stores.
  Variant GetBlobValue();
  // The picture at the restore point comes back with Escape, as a text editor's text
  // does: a picture pasted, cut or loaded since is no longer the value.
  void SaveRestorePoint() override;
  void RevertToSaved() override;

  TdxEditViewData* CreateViewData(bool PaintCopy) override;
  void StyleChanged() override;
  void Dispatch(TMessage& Message) override;

  TdxGraphicEditAssignPictureEvent OnAssignPicture;
  TNotifyEvent OnCustomClick;
  TdxGraphicEditGetGraphicClassEvent OnGetGraphicClass;

 protected:
  virtual void DoCustomClick();
  virtual void DoAssignPicture(TPicture*& APicture);
  // OnGetGraphicClass's answer, starting from none.
  virtual TClass GetGraphicClass();

  void Notification(TComponent* AComponent, TOperation Operation) override;
  void FocusLost(TMessage& Message) override;
  bool EditFocused() override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void PictureChanged(TObject* Sender);
  void ToolBarCommand(TObject* Sender, TdxPopupToolBarButton Kind);
  bool ToolBarFocused();
  // The toolbar's enabling inputs from the editor's state.
  void UpdateToolBarState();
  void WMContextMenu(TMessage& Message);

  bool FCenter = true;
  UINT FClipboardFormat;
  // Raised while the editor loads its own picture: the change is not reported.
  bool FInternalChange = false;
  AnsiString FCustomFilter;
  bool FCustomGraphic = false;
  bool FDblClickActivate = true;
  TdxGraphicEditTransparency FGraphicTransparency = gtDefault;
  TPicture* FPicture = nullptr;
  TPicture* FSavedPicture = nullptr;
  TdxPopupToolBar* FToolBar = nullptr;
  bool FQuickDraw = false;
  TPoint FLastToolbarPos = dxNoToolbarPos;
  bool FStretch = false;
  TBitmap* FBuffer = nullptr;
  TdxPopupToolBarWindow* FPopupToolBarSettings = nullptr;
  TPoint FPopupToolbarPos = dxNoToolbarPos;
  bool FPopupToolbarPosStored = true;
};

// The unit's start publishes the editor's settings.
void InitdxGraphicEdit();
void DonedxGraphicEdit();
