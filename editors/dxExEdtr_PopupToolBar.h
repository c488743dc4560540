// The popup toolbar of the picture editors: a small floating tool window of flat
// buttons (cut, copy, paste, delete, load, save and a custom command) placed beside
// its editor, or the same commands as a context menu; and the persistent settings
// object that chooses between the two and configures them.
//
// The toolbar never takes the activation: it shows without activating, answers
// MA_NOACTIVATE to clicks, and keeps the caption of the editor's form active. It
// watches the clipboard (it joins the viewer chain while its window exists) to keep
// its Paste button current. It is hidden when the focus leaves for anything but its
// editor, and a toolbar the user closed stays hidden until the editor shows it again.
#pragma once

#include <windows.h>

#include "classlib/Buttons.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"

enum TdxPopupToolBarButton { ptbCut, ptbCopy, ptbPaste, ptbDelete, ptbLoad, ptbSave, ptbCustom };
TENUM_INFO(TdxPopupToolBarButton, "ptbCut", "ptbCopy", "ptbPaste", "ptbDelete", "ptbLoad", "ptbSave",
           "ptbCustom")
using TdxPopupToolBarButtons = TSet<TdxPopupToolBarButton>;
inline constexpr int dxPopupToolBarButtonCount = 7;
inline constexpr TdxPopupToolBarButtons dxDefaultPopupToolBarButtons = {ptbCut,    ptbCopy, ptbPaste,
                                                                        ptbDelete, ptbLoad, ptbSave};

// The side of the editor the toolbar is placed on.
enum TdxPopupToolBarAlignment { ptaLeft, ptaRight, ptaTop, ptaBottom };
TENUM_INFO(TdxPopupToolBarAlignment, "ptaLeft", "ptaRight", "ptaTop", "ptaBottom")

// The command table: the caption (of the button and the menu item) and the hint of a
// kind, loaded when the unit starts; the custom command has neither.
const AnsiString& dxPopupToolBarCaption(TdxPopupToolBarButton Kind);
const AnsiString& dxPopupToolBarHint(TdxPopupToolBarButton Kind);
// The bitmap resource of a kind's glyph; nullptr for the custom command.
const char* dxPopupToolBarGlyphName(TdxPopupToolBarButton Kind);

using TdxPopupToolBarCommandEvent = TEvent<void(TObject* Sender, TdxPopupToolBarButton Kind)>;

class TdxPopupToolBar;

// The toolbar's settings as a graphic editor or column keeps them. The toolbar given
// at construction is the one whose menu-enabling follows IsPopupMenu.
class TdxPopupToolBarWindow : public TPersistent {
  TCLASS_DECL(TdxPopupToolBarWindow, TPersistent)
 public:
  explicit TdxPopupToolBarWindow(TdxPopupToolBar* AToolBar = nullptr) : FToolBar(AToolBar) {}
  ~TdxPopupToolBarWindow() override;
  TdxPopupToolBarWindow(const TdxPopupToolBarWindow&) = delete;
  TdxPopupToolBarWindow& operator=(const TdxPopupToolBarWindow&) = delete;

  // The toolbar told of IsPopupMenu, or nullptr.
  void SetToolBar(TdxPopupToolBar* Value) { FToolBar = Value; }

  // Copies every published value, the glyph and IsPopupMenu through their setters.
  void Assign(TPersistent* Source) override;

  TdxPopupToolBarAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TdxPopupToolBarAlignment Value) { FAlignment = Value; }
  TdxPopupToolBarButtons Buttons() const { return FButtons; }
  void SetButtons(TdxPopupToolBarButtons Value) { FButtons = Value; }
  const AnsiString& CustomButtonCaption() const { return FCustomButtonCaption; }
  void SetCustomButtonCaption(const AnsiString& Value) { FCustomButtonCaption = Value; }
  // Made empty on first read.
  TBitmap* CustomButtonGlyph() const;
  // Null frees the own bitmap; anything else is copied into it.
  void SetCustomButtonGlyph(TBitmap* Value);
  bool HasCustomButtonGlyph() const { return FCustomButtonGlyph && !FCustomButtonGlyph->Empty(); }
  // The commands are a context menu instead of the tool window.
  bool IsPopupMenu() const { return FIsPopupMenu; }
  void SetIsPopupMenu(bool Value);
  // A vertical toolbar shows captions beside its glyphs.
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value) { FShowCaptions = Value; }
  // The tool window may be shown.
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }

 private:
  TdxPopupToolBarAlignment FAlignment = ptaBottom;
  TdxPopupToolBarButtons FButtons = dxDefaultPopupToolBarButtons;
  AnsiString FCustomButtonCaption;
  mutable TBitmap* FCustomButtonGlyph = nullptr;
  TdxPopupToolBar* FToolBar;
  bool FIsPopupMenu = true;
  bool FShowCaptions = true;
  bool FVisible = true;
};

// The tool window. Made with CreateNew, owned by its editor (a windowed control): the
// focus may go to the editor without hiding the toolbar, and the editor's form keeps
// its active caption.
class TdxPopupToolBar : public TForm {
  TCLASS_DECL(TdxPopupToolBar, TForm)
 public:
  TdxPopupToolBar(TComponent* AOwner, TCreateNew);
  void BeforeDestruction() override;

  TdxPopupToolBarAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TdxPopupToolBarAlignment Value);
  TdxPopupToolBarButtons Buttons() const { return FButtons; }
  void SetButtons(TdxPopupToolBarButtons Value);
  bool ShowCaptions() const { return FShowCaptions; }
  void SetShowCaptions(bool Value);
  // The custom command's caption and glyph (null: a plain button-face square of the
  // other glyphs' size).
  void SetCustomCaption(const AnsiString& Value);
  void SetCustomGlyph(TBitmap* Value);
  // The format whose presence on the clipboard enables Paste (CF_PICTURE at first).
  UINT ClipboardFormat() const { return FClipboardFormat; }
  void SetClipboardFormat(UINT Value) { FClipboardFormat = Value; }
  // What the commands act on, for the enabling.
  bool PictureEmpty() const { return FPictureEmpty; }
  void SetPictureEmpty(bool Value) { FPictureEmpty = Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  // The menu's items take the buttons' enabled states.
  bool MenuEnabling() const { return FMenuEnabling; }
  void SetMenuEnabling(bool Value) { FMenuEnabling = Value; }
  // The tool window may be shown at all.
  bool ToolBarVisible() const { return FToolBarVisible; }
  void SetToolBarVisible(bool Value) { FToolBarVisible = Value; }
  // Set when the user closed the window, cleared by the editor before showing it.
  bool ClosedByUser() const { return FClosedByUser; }
  void SetClosedByUser(bool Value) { FClosedByUser = Value; }

  TSpeedButton* Button(TdxPopupToolBarButton Kind) const { return FSpeedButtons[Kind]; }
  // Sizes the window to the buttons of Buttons and places them; then EnableButtons.
  void Arrange();
  // Every button (and, with MenuEnabling, every menu item) enabled as the picture,
  // the read-only state and the clipboard allow.
  void EnableButtons();

  // The context menu, made on first use: one item per kind over PopupToolImages, the
  // custom one with its own glyph, a separator after Delete and after Save.
  TPopupMenu* Menu();
  // Before each showing: the items of Buttons only, the separators only between
  // visible items, the custom item's caption and glyph, the enabled states.
  void UpdateMenu(const AnsiString& CustomCaption, TBitmap* CustomGlyph);
  // The menu item of a kind, or nullptr before the menu exists.
  TMenuItem* MenuItem(TdxPopupToolBarButton Kind) const { return FMenuItems[Kind]; }

  // Moves the window beside the editor's screen rectangle R (Alignment's side), inside
  // the work area of R's monitor.
  void PlaceBeside(const TRect& R);
  // Shows the window without activating it, on top, unless it may not be shown or the
  // user closed it.
  void ShowToolBar();
  void HideToolBar();
  bool ToolBarShowing() const;
  // The window is in the clipboard viewer chain.
  bool InViewerChain() const { return FInViewerChain; }

  TdxPopupToolBarCommandEvent OnCommand;

  void Dispatch(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  void ButtonClick(TObject* Sender);
  void MenuItemClick(TObject* Sender);
  void Command(int Tag);
  void LeaveViewerChain();
  TWinControl* Editor() const;
  bool Vertical() const { return FAlignment == ptaLeft || FAlignment == ptaRight; }

  TSpeedButton* FSpeedButtons[dxPopupToolBarButtonCount] = {};
  TMenuItem* FMenuItems[dxPopupToolBarButtonCount] = {};
  TPopupMenu* FMenu = nullptr;
  AnsiString FCustomCaption;
  HWND FNextViewer = nullptr;
  bool FInViewerChain = false;
  UINT FClipboardFormat;
  bool FToolBarVisible = true;
  bool FClosedByUser = false;
  bool FPictureEmpty = true;
  bool FMenuEnabling = false;
  bool FReadOnly = false;
  bool FShowCaptions = true;
  TdxPopupToolBarAlignment FAlignment = ptaRight;
  TdxPopupToolBarButtons FButtons = dxDefaultPopupToolBarButtons;
};

// The unit's start loads the command table's texts and publishes the settings.
void InitdxPopupToolBar();
void DonedxPopupToolBar();
