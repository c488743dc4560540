// The column kinds' registration: classes, published properties with their defaults
// and store rules, and the check kind's default texts.
#include "treelist/dxTLClms.h"

#include "classlib/Graphics.h"
#include "classlib/TypInfo.h"

const TComponentMetaClass* const dxTLColumnKinds[15] = {
    &TdxTreeListMemoColumn::StaticClass(),     &TdxTreeListDateColumn::StaticClass(),
    &TdxTreeListButtonColumn::StaticClass(),   &TdxTreeListCheckColumn::StaticClass(),
    &TdxTreeListImageColumn::StaticClass(),    &TdxTreeListSpinColumn::StaticClass(),
    &TdxTreeListPickColumn::StaticClass(),     &TdxTreeListCalcColumn::StaticClass(),
    &TdxTreeListHyperLinkColumn::StaticClass(), &TdxTreeListTimeColumn::StaticClass(),
    &TdxTreeListCurrencyColumn::StaticClass(), &TdxTreeListGraphicColumn::StaticClass(),
    &TdxTreeListBlobColumn::StaticClass(),     &TdxTreeListMRUColumn::StaticClass(),
    &TdxTreeListWrapperColumn::StaticClass(),
};

namespace {

int StartCount = 0;

// Where a drop-down kind's popup opens and how it is framed.
template <class C>
void PublishPopupPlacement(TPublish<C>& P) {
  P.Prop("PopupAlignment", &C::PopupAlignment, &C::SetPopupAlignment).Default(taLeftJustify);
  P.Prop("PopupBorder", &C::PopupBorder, &C::SetPopupBorder).Default(pbDefault);
}

// The popup settings that the drop-down kinds publish (the base publishes only the
// button style and its event).
template <class C>
void PublishPopup(TPublish<C>& P) {
  P.Prop("ButtonGlyph", &C::ButtonGlyph, &C::SetButtonGlyph).Stored(&C::HasButtonGlyph);
  PublishPopupPlacement(P);
}

template <class C>
void PublishDropDownRows(TPublish<C>& P) {
  P.Prop("DropDownRows", &C::DropDownRows, &C::SetDropDownRows).Default(7);
  P.Prop("DropDownWidth", &C::DropDownWidth, &C::SetDropDownWidth).Default(0);
}

void PublishDropDownKinds() {
  {
    using C = TdxTreeListDropDownColumn;
    TPublish<C> P;
    P.Prop("ShowButtonStyle", &C::ShowButtonStyle, &C::SetShowButtonStyle)
        .Default(TdxShowButtonStyle::sbDefault);
    P.Prop("OnEditButtonClick", &C::OnEditButtonClick);
  }
  {
    using C = TdxTreeListDateColumn;
    TPublish<C> P;
    P.Prop("DateButtons", &C::DateButtons, &C::SetDateButtons)
        .Default(TDateButtons{btnToday, btnClear});
    P.Prop("DateOnError", &C::DateOnError, &C::SetDateOnError).Default(deToday);
    P.Prop("DateValidation", &C::DateValidation, &C::SetDateValidation).Default(false);
    P.Prop("SaveTime", &C::SaveTime, &C::SetSaveTime).Default(true);
    P.Prop("UseEditMask", &C::UseEditMask, &C::SetUseEditMask).Default(false);
    P.Prop("OnDateValidateInput", &C::OnDateValidateInput);
    PublishPopup(P);
  }
  {
    using C = TdxTreeListButtonColumn;
    TPublish<C> P;
    P.Prop("ButtonOnly", &C::ButtonOnly, &C::SetButtonOnly).Default(false);
    P.Prop("Buttons", &C::Buttons, &C::SetButtons);
    P.Prop("EditButtonStyle", &C::EditButtonStyle, &C::SetEditButtonStyle).Default(ebsEllipsis);
    P.Prop("ClickKey", &C::ClickKey, &C::SetClickKey).Default(dxCtrlEnter);
    P.Prop("Glyph", &C::Glyph, &C::SetGlyph).Stored(&C::HasGlyph);
    P.Prop("HideEditCursor", &C::HideEditCursor, &C::SetHideEditCursor).Default(false);
    P.Prop("OnButtonClick", &C::OnButtonClick);
  }
  {
    using C = TdxTreeListImageColumn;
    TPublish<C> P;
    P.Prop("Alignment", &C::Alignment, &C::SetAlignment).NoDefault().Stored([](C* Column) {
      return Column->AssignedValues().Contains(cvAlignment);
    });
    P.Prop("MinWidth", &C::MinWidth, &C::SetMinWidth).Default(16);
    P.Prop("ButtonGlyph", &C::ButtonGlyph, &C::SetButtonGlyph).Stored(&C::HasButtonGlyph);
    P.Prop("DefaultImages", &C::DefaultImages, &C::SetDefaultImages).Default(true);
    P.Prop("Descriptions", &C::Descriptions, &C::SetDescriptions);
    PublishDropDownRows(P);
    // The list's width under its other name.
    P.Prop("ListWidth", &C::DropDownWidth, &C::SetDropDownWidth).Stored(false);
    P.Prop("Images", &C::Images, &C::SetImages);
    P.Prop("ImageIndexes", &C::ImageIndexes, &C::SetImageIndexes);
    P.Prop("Incremental", &C::Incremental, &C::SetIncremental).Default(false);
    P.Prop("LargeImages", &C::LargeImages, &C::SetLargeImages);
    P.Prop("MultiLineText", &C::MultiLineText, &C::SetMultiLineText).Default(false);
    PublishPopupPlacement(P);
    P.Prop("ShowDescription", &C::ShowDescription, &C::SetShowDescription).Default(false);
    P.Prop("Values", &C::Values, &C::SetValues);
    P.Prop("OnCloseUp", &C::OnCloseUp);
  }
  {
    using C = TdxTreeListPickColumn;
    TPublish<C> P;
    P.Prop("ButtonGlyph", &C::ButtonGlyph, &C::SetButtonGlyph).Stored(&C::HasButtonGlyph);
    P.Prop("DropDownListStyle", &C::DropDownListStyle, &C::SetDropDownListStyle).Default(false);
    P.Prop("Items", &C::Items, &C::SetItems);
    P.Prop("ItemsSorted", &C::ItemsSorted, &C::SetItemsSorted).Default(false);
    PublishDropDownRows(P);
    P.Prop("ImmediateDropDown", &C::ImmediateDropDown, &C::SetImmediateDropDown).Default(true);
    P.Prop("CanDeleteText", &C::CanDeleteText, &C::SetCanDeleteText).Default(false);
    PublishPopupPlacement(P);
    P.Prop("Revertable", &C::Revertable, &C::SetRevertable).Default(false);
    P.Prop("OnCloseUp", &C::OnCloseUp);
  }
  {
    using C = TdxTreeListCalcColumn;
    TPublish<C> P;
    P.Prop("BeepOnError", &C::BeepOnError, &C::SetBeepOnError).Default(true);
    P.Prop("ButtonStyle", &C::ButtonStyle, &C::SetButtonStyle).Default(bsStandard);
    PublishPopup(P);
    P.Prop("Precision", &C::Precision, &C::SetPrecision).Default(13);
    P.Prop("QuickClose", &C::QuickClose, &C::SetQuickClose).Default(false);
    P.Prop("ShowButtonFrame", &C::ShowButtonFrame, &C::SetShowButtonFrame).Default(false);
  }
  {
    using C = TdxTreeListMRUColumn;
    TPublish<C> P;
    P.Prop("ImmediateDropDown", &C::ImmediateDropDown, &C::SetImmediateDropDown).Default(false);
    P.Prop("MaxItemCount", &C::MaxItemCount, &C::SetMaxItemCount).Default(7);
    P.Prop("ShowEllipsis", &C::ShowEllipsis, &C::SetShowEllipsis).Default(true);
    P.Prop("OnButtonClick", &C::OnButtonClick);
  }
}

void PublishTextKinds() {
  {
    using C = TdxTreeListMemoColumn;
    TPublish<C> P;
    P.Prop("HeaderMaxLineCount", &C::HeaderMaxLineCount, &C::SetHeaderMaxLineCount).Default(0);
    P.Prop("HideScrollBars", &C::HideScrollBars, &C::SetHideScrollBars).Default(true);
    P.Prop("ScrollBars", &C::ScrollBars, &C::SetScrollBars).Default(ssNone);
    P.Prop("SelectionBar", &C::SelectionBar, &C::SetSelectionBar).Default(false);
    P.Prop("WantReturns", &C::WantReturns, &C::SetWantReturns).Default(true);
    P.Prop("WantTabs", &C::WantTabs, &C::SetWantTabs).Default(false);
    P.Prop("WordWrap", &C::WordWrap, &C::SetWordWrap).Default(true);
  }
  {
    using C = TdxTreeListCheckColumn;
    TPublish<C> P;
    P.Prop("MinWidth", &C::MinWidth, &C::SetMinWidth).Default(16);
    P.Prop("AllowGrayed", &C::AllowGrayed, &C::SetAllowGrayed).Default(false);
    P.Prop("Border3D", &C::Border3D, &C::SetBorder3D).Default(false);
    P.Prop("Glyph", &C::Glyph, &C::SetGlyph).Stored(&C::HasGlyph);
    P.Prop("GlyphCount", &C::GlyphCount, &C::SetGlyphCount).Default(6);
    P.Prop("ShowNullFieldStyle", &C::ShowNullFieldStyle, &C::SetShowNullFieldStyle)
        .Default(nsUnchecked);
    // Written where they differ from the column's own start, the empty text too.
    P.Prop("ValueChecked", &C::ValueChecked, &C::SetValueChecked)
        .Stored([](C* Column) { return Column->ValueChecked() != dxTLCheckTrueText(); })
        .NoDefault();
    P.Prop("ValueGrayed", &C::ValueGrayed, &C::SetValueGrayed);
    P.Prop("ValueUnchecked", &C::ValueUnchecked, &C::SetValueUnchecked)
        .Stored([](C* Column) { return Column->ValueUnchecked() != dxTLCheckFalseText(); })
        .NoDefault();
    P.Prop("OnToggleClick", &C::OnToggleClick);
  }
  {
    using C = TdxTreeListSpinColumn;
    TPublish<C> P;
    P.Prop("EditorEnabled", &C::EditorEnabled, &C::SetEditorEnabled).Default(true);
    P.Prop("Increment", &C::Increment, &C::SetIncrement).Default(1.0);
    P.Prop("MinValue", &C::MinValue, &C::SetMinValue).Default(0.0);
    P.Prop("MaxValue", &C::MaxValue, &C::SetMaxValue).Default(0.0);
    P.Prop("ShowButtonStyle", &C::ShowButtonStyle, &C::SetShowButtonStyle)
        .Default(TdxShowButtonStyle::sbDefault);
    P.Prop("UseCtrlIncrement", &C::UseCtrlIncrement, &C::SetUseCtrlIncrement).Default(false);
    P.Prop("ValueType", &C::ValueType, &C::SetValueType).Default(vtInt);
  }
  {
    using C = TdxTreeListHyperLinkColumn;
    TPublish<C> P;
    P.Prop("EditBackgroundColor", &C::EditBackgroundColor, &C::SetEditBackgroundColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .Default(0xFFFFFF);
    P.Prop("EditFontColor", &C::EditFontColor, &C::SetEditFontColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .Default(0xFF0000);
    P.Prop("SingleClick", &C::SingleClick, &C::SetSingleClick).Default(false);
    P.Prop("StartKey", &C::StartKey, &C::SetStartKey).Default(dxCtrlEnter);
    P.Prop("OnStartClick", &C::OnStartClick);
  }
  {
    using C = TdxTreeListTimeColumn;
    TPublish<C> P;
    P.Prop("TimeEditFormat", &C::TimeEditFormat, &C::SetTimeEditFormat).Default(tfHourMinSec);
    P.Prop("UseCtrlIncrement", &C::UseCtrlIncrement, &C::SetUseCtrlIncrement).Default(false);
  }
  {
    using C = TdxTreeListCurrencyColumn;
    TPublish<C> P;
    P.Prop("DecimalPlaces", &C::DecimalPlaces, &C::SetDecimalPlaces).Default(2);
    P.Prop("DisplayFormat", &C::DisplayFormat, &C::SetDisplayFormat)
        .Stored(&C::DisplayFormatAssigned)
        .NoDefault();
    P.Prop("MinValue", &C::MinValue, &C::SetMinValue).Default(0.0);
    P.Prop("MaxValue", &C::MaxValue, &C::SetMaxValue).Default(0.0);
    P.Prop("UseThousandSeparator", &C::UseThousandSeparator, &C::SetUseThousandSeparator)
        .Default(false);
  }
}

void PublishPictureKinds() {
  {
    using C = TdxTreeListGraphicColumn;
    TPublish<C> P;
    P.Prop("Center", &C::Center, &C::SetCenter).Default(true);
    P.Prop("CustomFilter", &C::CustomFilter, &C::SetCustomFilter);
    P.Prop("CustomGraphic", &C::CustomGraphic, &C::SetCustomGraphic).Default(false);
    P.Prop("DblClickActivate", &C::DblClickActivate, &C::SetDblClickActivate).Default(true);
    P.Prop("GraphicTransparency", &C::GraphicTransparency, &C::SetGraphicTransparency)
        .Default(gtDefault);
    P.Prop("HeaderMaxLineCount", &C::HeaderMaxLineCount, &C::SetHeaderMaxLineCount).Default(0);
    P.Prop("PopupToolBar", &C::PopupToolBar, &C::SetPopupToolBar);
    P.Prop("PopupToolbarPosStored", &C::PopupToolbarPosStored, &C::SetPopupToolbarPosStored)
        .Default(true);
    P.Prop("QuickDraw", &C::QuickDraw, &C::SetQuickDraw).Default(false);
    P.Prop("ShadowSelection", &C::ShadowSelection, &C::SetShadowSelection).Default(true);
    P.Prop("Stretch", &C::Stretch, &C::SetStretch).Default(true);
    P.Prop("OnAssignPicture", &C::OnAssignPicture);
    P.Prop("OnCustomClick", &C::OnCustomClick);
    P.Prop("OnGetGraphicClass", &C::OnGetGraphicClass);
  }
  {
    using C = TdxTreeListBlobColumn;
    TPublish<C> P;
    P.Prop("AlwaysSaveText", &C::AlwaysSaveText, &C::SetAlwaysSaveText).Default(false);
    P.Prop("BlobEditKind", &C::BlobEditKind, &C::SetBlobEditKind).Default(bekMemo);
    P.Prop("BlobPaintStyle", &C::BlobPaintStyle, &C::SetBlobPaintStyle).Default(bpsIcon);
    P.Prop("ImmediatePopup", &C::ImmediatePopup, &C::SetImmediatePopup).Default(false);
    P.Prop("MaxDisplayLength", &C::MaxDisplayLength, &C::SetMaxDisplayLength).Default(255);
    P.Prop("MemoCharCase", &C::MemoCharCase, &C::SetMemoCharCase).Default(ecNormal);
    P.Prop("MemoHideScrollBars", &C::MemoHideScrollBars, &C::SetMemoHideScrollBars)
        .Default(true);
    P.Prop("MemoMaxLength", &C::MemoMaxLength, &C::SetMemoMaxLength).Default(0);
    P.Prop("MemoOEMConvert", &C::MemoOEMConvert, &C::SetMemoOEMConvert).Default(false);
    P.Prop("MemoScrollBars", &C::MemoScrollBars, &C::SetMemoScrollBars).Default(ssBoth);
    P.Prop("MemoSelectionBar", &C::MemoSelectionBar, &C::SetMemoSelectionBar).Default(false);
    P.Prop("MemoWantReturns", &C::MemoWantReturns, &C::SetMemoWantReturns).Default(true);
    P.Prop("MemoWantTabs", &C::MemoWantTabs, &C::SetMemoWantTabs).Default(true);
    P.Prop("MemoWordWrap", &C::MemoWordWrap, &C::SetMemoWordWrap).Default(true);
    P.Prop("PictureAutoSize", &C::PictureAutoSize, &C::SetPictureAutoSize).Default(true);
    P.Prop("PictureFilter", &C::PictureFilter, &C::SetPictureFilter);
    P.Prop("PictureTransparency", &C::PictureTransparency, &C::SetPictureTransparency)
        .Default(gtDefault);
    PublishPopupPlacement(P);
    P.Prop("PopupHeight", &C::PopupHeight, &C::SetPopupHeight).Default(140);
    P.Prop("PopupWidth", &C::PopupWidth, &C::SetPopupWidth).Default(200);
    P.Prop("ShowExPopupItems", &C::ShowExPopupItems, &C::SetShowExPopupItems).Default(false);
    P.Prop("ShowPicturePopup", &C::ShowPicturePopup, &C::SetShowPicturePopup).Default(false);
    P.Prop("SizeablePopup", &C::SizeablePopup, &C::SetSizeablePopup).Default(true);
    P.Prop("OnAssignPicture", &C::OnAssignPicture);
    P.Prop("OnGetGraphicClass", &C::OnGetGraphicClass);
  }
  {
    using C = TdxTreeListWrapperColumn;
    TPublish<C> P;
    P.Prop("OnGetReferenceColumn", &C::OnGetReferenceColumn);
  }
}

}  // namespace

void InitdxTLClms() {
  if (StartCount++ > 0) return;
  LoaddxTLCheckTexts();
  PublishDropDownKinds();
  PublishTextKinds();
  PublishPictureKinds();
  for (const TComponentMetaClass* Kind : dxTLColumnKinds) RegisterClass(Kind);
}

void DonedxTLClms() {
  if (--StartCount > 0) return;
  for (const TComponentMetaClass* Kind : dxTLColumnKinds) {
    UnRegisterClass(Kind);
    UnRegisterPublished(Kind);
  }
  UnRegisterPublished(&TdxTreeListDropDownColumn::StaticClass());
  FreedxTLCheckTexts();
}
