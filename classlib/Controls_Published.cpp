// The published properties of the control base classes and of the graphics objects
// they hold (fonts, size constraints), registered by the Controls unit's start.
#include "classlib/Controls.h"
#include "classlib/Menus.h"

namespace {

bool FontStored(TControl* Control) { return !Control->ParentFont(); }
bool ColorStored(TControl* Control) { return !Control->ParentColor(); }
bool ShowHintStored(TControl* Control) { return !Control->ParentShowHint(); }
bool BiDiModeStored(TControl* Control) { return !Control->ParentBiDiMode(); }
// Align, read before them, sets the anchors it implies: other anchors are written.
bool AnchorsStored(TControl* Control) { return !(Control->Anchors() == AnchorAlign(Control->Align())); }
// A windowed control inside a parent has a place in its tab order.
bool TabOrderStored(TWinControl* Control) { return Control->Parent() != nullptr; }
bool Ctl3DStored(TWinControl* Control) { return !Control->ParentCtl3D(); }

}  // namespace

void RegisterControlsPublished() {
  {
    // A font written is written whole: one read starts from whatever font its owner
    // gives it (a parent's, a grid's), not from a new font's values.
    TPublish<TFont> P;
    P.Prop("Charset", &TFont::Charset, &TFont::SetCharset).NoDefault();
    P.Prop("Color", &TFont::Color, &TFont::SetColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .NoDefault();
    // The height in pixels is what a form file keeps; the size follows from it.
    P.Prop("Height", &TFont::Height, &TFont::SetHeight).NoDefault();
    P.Prop("Name", &TFont::Name, &TFont::SetName).NoDefault();
    P.Prop("Pitch", &TFont::Pitch, &TFont::SetPitch).NoDefault();
    P.Prop("Size", &TFont::Size, &TFont::SetSize).Stored(false);
    P.Prop("Style", &TFont::Style, &TFont::SetStyle).NoDefault();
  }
  {
    TPublish<TSizeConstraints> P;
    P.Prop("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight);
    P.Prop("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth);
    P.Prop("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight);
    P.Prop("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth);
  }
  {
    TPublish<TControl> P;
    P.Prop("Left", &TControl::Left, &TControl::SetLeft).NoDefault();
    P.Prop("Top", &TControl::Top, &TControl::SetTop).NoDefault();
    P.Prop("Width", &TControl::Width, &TControl::SetWidth).NoDefault();
    P.Prop("Height", &TControl::Height, &TControl::SetHeight).NoDefault();
    P.Prop("Align", &TControl::Align, &TControl::SetAlign);
    P.Prop("Anchors", &TControl::Anchors, &TControl::SetAnchors)
        .Stored(AnchorsStored)
        .NoDefault();
    P.Prop("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Stored(BiDiModeStored);
    P.Prop("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode).Default(true);
    P.Prop("Color", &TControl::Color, &TControl::SetColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .Stored(ColorStored)
        .NoDefault();
    P.Prop("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
    P.Prop("Constraints", &TControl::Constraints);
    P.Prop("Cursor", &TControl::Cursor, &TControl::SetCursor).Idents(IdentToCursor, CursorToIdent);
    P.Prop("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor)
        .Idents(IdentToCursor, CursorToIdent)
        .Default(crDrag);
    P.Prop("DragMode", &TControl::DragMode, &TControl::SetDragMode);
    P.Prop("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    P.Prop("Font", &TControl::Font, &TControl::SetFont).Stored(FontStored);
    P.Prop("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
    P.Prop("HelpContext", &TControl::HelpContext, &TControl::SetHelpContext);
    P.Prop("Hint", &TControl::Hint, &TControl::SetHint);
    P.Prop("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(ShowHintStored);
    P.Prop("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    P.Prop("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    P.Prop("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    P.Prop("OnClick", &TControl::OnClick);
    P.Prop("OnDblClick", &TControl::OnDblClick);
    P.Prop("OnMouseDown", &TControl::OnMouseDown);
    P.Prop("OnMouseMove", &TControl::OnMouseMove);
    P.Prop("OnMouseUp", &TControl::OnMouseUp);
    P.Prop("OnMouseEnter", &TControl::OnMouseEnter);
    P.Prop("OnMouseLeave", &TControl::OnMouseLeave);
    P.Prop("OnResize", &TControl::OnResize);
  }
  {
    TPublish<TWinControl> P;
    P.Prop("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder)
        .Stored(TabOrderStored)
        .NoDefault();
    P.Prop("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop);
    P.Prop("Ctl3D", &TWinControl::Ctl3D, &TWinControl::SetCtl3D).Stored(Ctl3DStored).NoDefault();
    P.Prop("ParentCtl3D", &TWinControl::ParentCtl3D, &TWinControl::SetParentCtl3D).Default(true);
    P.Prop("OnEnter", &TWinControl::OnEnter);
    P.Prop("OnExit", &TWinControl::OnExit);
    P.Prop("OnKeyDown", &TWinControl::OnKeyDown);
    P.Prop("OnKeyPress", &TWinControl::OnKeyPress);
    P.Prop("OnKeyUp", &TWinControl::OnKeyUp);
  }
}

void UnregisterControlsPublished() {
  UnRegisterPublished(&TWinControl::StaticClass());
  UnRegisterPublished(&TControl::StaticClass());
  UnRegisterPublished(&TSizeConstraints::StaticClass());
  UnRegisterPublished(&TFont::StaticClass());
}
