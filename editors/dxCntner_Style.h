// Edit styles and style controllers: the seven visual values of an in-place editor
// (border colour and style, button style and transparence, edges, hot tracking,
// shadow), each either set on the editor's own style or taken from a style controller
// that holds them once for many editors and tells its editors when they change.
//
// One default controller exists for the whole module (made by the container unit's
// start, freed by its end); an editor may name another. When a controller goes, it
// lets go of its editors first, so that no editor is left pointing at it; a style
// without any controller answers the constant defaults.
#pragma once

#include <windows.h>

#include <type_traits>
#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"
#include "classlib/TypInfo.h"

class TdxInplaceEdit;

enum TdxEditBorderStyle : Byte { xbsNone, xbsSingle, xbsThick, xbsFlat, xbs3D };
TENUM_INFO(TdxEditBorderStyle, "xbsNone", "xbsSingle", "xbsThick", "xbsFlat", "xbs3D")
enum TdxEditButtonViewStyle : Byte { btsDefault, bts3D, btsFlat, btsSimple, btsHotFlat };
TENUM_INFO(TdxEditButtonViewStyle, "btsDefault", "bts3D", "btsFlat", "btsSimple", "btsHotFlat")
enum TdxEditButtonTransparence : Byte { ebtNone, ebtInactive, ebtAlways, ebtHideInactive };
TENUM_INFO(TdxEditButtonTransparence, "ebtNone", "ebtInactive", "ebtAlways", "ebtHideInactive")
enum TdxEditEdge : Byte { edgLeft, edgTop, edgRight, edgBottom };
TENUM_INFO(TdxEditEdge, "edgLeft", "edgTop", "edgRight", "edgBottom")
using TdxEditEdges = TSet<TdxEditEdge>;
inline constexpr TdxEditEdges dxAllEdges = {edgLeft, edgTop, edgRight, edgBottom};
// One bit per value of a style: set when the style keeps a value of its own.
enum TdxEditStyleValue : Byte {
  svBorderColor,
  svBorderStyle,
  svButtonStyle,
  svButtonTransparence,
  svEdges,
  svHotTrack,
  svShadow
};
TENUM_INFO(TdxEditStyleValue, "svBorderColor", "svBorderStyle", "svButtonStyle",
           "svButtonTransparence", "svEdges", "svHotTrack", "svShadow")
using TdxEditStyleValues = TSet<TdxEditStyleValue>;

// The constant defaults, answered when neither the style nor a controller has a value.
inline constexpr TColor dxDefaultBorderColor = clWindowFrame;
inline constexpr TdxEditBorderStyle dxDefaultBorderStyle = xbs3D;
inline constexpr TdxEditButtonViewStyle dxDefaultButtonStyle = btsDefault;
inline constexpr TdxEditButtonTransparence dxDefaultButtonTransparence = ebtNone;

class TdxStyleController;
class TdxEditStyleController;

// Sender is the controller, Edit the editor concerned.
using TdxStyleChangedEvent = TEvent<void(TObject* Sender, TdxInplaceEdit* Edit)>;

// A component that a set of editors follows: it keeps the list of its editors (not
// owned) and tells each of them of a change, once per change or once per update
// bracket.
class TdxStyleController : public TComponent {
  TCLASS_DECL(TdxStyleController, TComponent)
 public:
  explicit TdxStyleController(TComponent* AOwner) : TComponent(AOwner) {}
  // Lets go of its editors: each one that names this controller is told to name
  // none, and the list is emptied, before the component goes.
  void BeforeDestruction() override;

  virtual void AddEdit(TdxInplaceEdit* Edit);
  virtual void RemoveEdit(TdxInplaceEdit* Edit);
  int EditCount() const { return static_cast<int>(FEdits.size()); }
  TdxInplaceEdit* Edits(int Index) const;

  // Changes between BeginUpdate and the outermost EndUpdate notify once, at the end.
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  TdxStyleChangedEvent OnStyleChanged;

  // Tells one editor of a change: fires OnStyleChanged for Edit.
  virtual void EditStyleChanged(TdxInplaceEdit* Edit);

 protected:
  // Tells every editor of the list, in order (EditStyleChanged), unless an update
  // bracket is open or the controller is being read.
  void Changed();
  void Loaded() override;

 private:
  std::vector<TdxInplaceEdit*> FEdits;
  int FUpdateCount = 0;
};

// The controller of the seven style values.
class TdxEditStyleController : public TdxStyleController {
  TCLASS_DECL(TdxEditStyleController, TdxStyleController)
 public:
  explicit TdxEditStyleController(TComponent* AOwner) : TdxStyleController(AOwner) {}

  // From another edit-style controller: its seven values, with one notification.
  void Assign(TPersistent* Source) override;
  // The constant defaults again, with one notification.
  virtual void RestoreDefaults();

  TColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TColor Value);
  TdxEditBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TdxEditBorderStyle Value);
  TdxEditButtonViewStyle ButtonStyle() const { return FButtonStyle; }
  void SetButtonStyle(TdxEditButtonViewStyle Value);
  TdxEditButtonTransparence ButtonTransparence() const { return FButtonTransparence; }
  void SetButtonTransparence(TdxEditButtonTransparence Value);
  TdxEditEdges Edges() const { return FEdges; }
  void SetEdges(TdxEditEdges Value);
  bool HotTrack() const { return FHotTrack; }
  void SetHotTrack(bool Value);
  bool Shadow() const { return FShadow; }
  void SetShadow(bool Value);

  // An editor that names another controller is left alone; otherwise it re-lays
  // itself out and repaints, and OnStyleChanged fires.
  void EditStyleChanged(TdxInplaceEdit* Edit) override;

 private:
  template <class T>
  void SetValue(T& Field, T Value);

  TColor FBorderColor = dxDefaultBorderColor;
  TdxEditBorderStyle FBorderStyle = dxDefaultBorderStyle;
  TdxEditButtonViewStyle FButtonStyle = dxDefaultButtonStyle;
  TdxEditButtonTransparence FButtonTransparence = dxDefaultButtonTransparence;
  TdxEditEdges FEdges = dxAllEdges;
  bool FHotTrack = false;
  bool FShadow = false;
};

// The check editor's controller: no border and three-dimensional buttons by default.
inline constexpr TdxEditBorderStyle dxCheckDefaultBorderStyle = xbsNone;
inline constexpr TdxEditButtonViewStyle dxCheckDefaultButtonStyle = bts3D;

class TdxCheckEditStyleController : public TdxEditStyleController {
  TCLASS_DECL(TdxCheckEditStyleController, TdxEditStyleController)
 public:
  explicit TdxCheckEditStyleController(TComponent* AOwner);
  void RestoreDefaults() override;
};

class TdxEditStyle;

// The metaclass of edit styles: the virtual constructor with the owning editor.
class TdxEditStyleMetaClass : public TMetaClass {
 public:
  using TMetaClass::TMetaClass;
  // A new style of this class for Edit (NewObject, so AfterConstruction runs).
  virtual TdxEditStyle* Create(TdxInplaceEdit* Edit) const;

  template <class T, class Base>
  struct Impl : TMetaClass::Impl<T, Base> {
    using TMetaClass::Impl<T, Base>::Impl;
    TdxEditStyle* Create(TdxInplaceEdit* Edit) const override {
      if constexpr (std::is_constructible_v<T, TdxInplaceEdit*> && !std::is_abstract_v<T>)
        return NewObject<T>(Edit);
      else
        return Base::Create(Edit);
    }
  };
};
using TdxEditStyleClass = const TdxEditStyleMetaClass*;

// The style an editor owns. A value whose bit is in AssignedValues is the style's own;
// any other is the default getter's answer (the editor's controller, else the default
// controller, else the constant). Only assigned values are written to form files.
class TdxEditStyle : public TPersistent {
 public:
  using MetaType = TdxEditStyleMetaClass;
  TCLASS_DECL(TdxEditStyle, TPersistent)
 public:
  explicit TdxEditStyle(TdxInplaceEdit* AEdit) : FEdit(AEdit) {}
  // Registers the editor with the default controller.
  void AfterConstruction() override;
  // Takes the editor off the default controller's list.
  void BeforeDestruction() override;

  TdxInplaceEdit* Edit() const { return FEdit; }

  // From another style: its seven effective values, all of them then assigned.
  void Assign(TPersistent* Source) override;
  // Every value follows the controller again.
  virtual void RestoreDefaults();

  TdxEditStyleValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TdxEditStyleValues Value);

  TColor BorderColor();
  void SetBorderColor(TColor Value);
  TdxEditBorderStyle BorderStyle();
  void SetBorderStyle(TdxEditBorderStyle Value);
  TdxEditButtonViewStyle ButtonStyle();
  void SetButtonStyle(TdxEditButtonViewStyle Value);
  TdxEditButtonTransparence ButtonTransparence();
  void SetButtonTransparence(TdxEditButtonTransparence Value);
  TdxEditEdges Edges();
  void SetEdges(TdxEditEdges Value);
  bool HotTrack();
  void SetHotTrack(bool Value);
  bool Shadow();
  void SetShadow(bool Value);

  // The process-wide default controller (nullptr once it is gone).
  virtual TdxEditStyleController* GetDefaultStyleController();

 protected:
  // Tells the owning editor to re-lay itself out and repaint.
  virtual void Changed();
  virtual TColor GetDefaultBorderColor();
  virtual TdxEditBorderStyle GetDefaultBorderStyle();
  virtual TdxEditButtonViewStyle GetDefaultButtonStyle();
  virtual TdxEditButtonTransparence GetDefaultButtonTransparence();
  virtual TdxEditEdges GetDefaultEdges();
  virtual bool GetDefaultHotTrack();
  virtual bool GetDefaultShadow();
  // The controller that answers for the unassigned values: the editor's own, else
  // the default one, else nullptr.
  TdxEditStyleController* ActiveController();
  TPersistent* GetOwner() override;

 private:
  template <class T>
  void SetValue(TdxEditStyleValue Bit, T& Field, T Value);

  TdxEditStyleValues FAssignedValues;
  TColor FBorderColor = dxDefaultBorderColor;
  TdxEditBorderStyle FBorderStyle = dxDefaultBorderStyle;
  TdxEditButtonViewStyle FButtonStyle = dxDefaultButtonStyle;
  TdxEditButtonTransparence FButtonTransparence = dxDefaultButtonTransparence;
  TdxEditEdges FEdges = dxAllEdges;
  TdxInplaceEdit* FEdit;
  bool FHotTrack = false;
  bool FShadow = false;
};

// The process-wide default controller, made by the container unit's start; nullptr
// before and after.
TdxEditStyleController* DefaultEditStyleController();

// The container unit's start and end for the styles: the default controller and the
// classes and published properties of the styles and controllers.
void InitEditStyles();
void DoneEditStyles();
