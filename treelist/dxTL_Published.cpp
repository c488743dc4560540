// The published surface of TdxTreeList: what a form file holds of it, with the
// defaults that are not written.
#include "treelist/dxTL.h"
#include "treelist/dxTL_Bands.h"
#include "treelist/dxTL_MaskColumn.h"

namespace {

using T = TdxTreeList;

bool FontStored(TControl* Control) { return !Control->ParentFont(); }
bool ColorStored(TControl* Control) { return !Control->ParentColor(); }
bool RowHeightStored(TCustomdxTreeList* Control) { return Control->DefaultRowHeightAssigned(); }
bool HeaderRowsStored(T* Control) { return Control->HeaderPanelRowCountStored(); }

void RegisterTreeListPublished() {
  TPublish<T> P;
  P.Prop("BorderStyle", &T::BorderStyle, &T::SetBorderStyle).Default(bsSingle);
  P.Prop("Color", &T::Color, &T::SetColor)
      .Idents(IdentToColor, ColorToIdent, true)
      .Stored(ColorStored)
      .Default(clWindow);
  P.Prop("ParentColor", &T::ParentColor, &T::SetParentColor).Default(false);
  P.Prop("TabStop", &T::TabStop, &T::SetTabStop).Default(true);

  P.Prop("BandMaxRowCount", &T::BandMaxRowCount, &T::SetBandMaxRowCount).Default(5);
  P.Prop("BandRowCount", &T::BandRowCount, &T::SetBandRowCount).Default(1);
  P.Prop("Bands", &T::Bands, &T::SetBands);
  P.Prop("DefaultLayout", &T::DefaultLayout, &T::SetDefaultLayout).Default(true);
  P.Prop("HeaderMinRowCount", &T::HeaderMinRowCount, &T::SetHeaderMinRowCount).Default(1);
  P.Prop("HeaderPanelMaxRowCount", &T::HeaderPanelMaxRowCount, &T::SetHeaderPanelMaxRowCount)
      .Default(5);
  P.Prop("HeaderPanelRowCount", &T::HeaderPanelRowCount, &T::SetHeaderPanelRowCount)
      .Default(1)
      .Stored(HeaderRowsStored);

  auto Color = [&P](const char* Name, TColor (TCustomdxTreeList::*Get)() const,
                    void (TCustomdxTreeList::*Set)(TColor), TColor Default) {
    P.Prop(Name, Get, Set).Idents(IdentToColor, ColorToIdent, true).Default(Default);
  };
  Color("ArrowsColor", &T::ArrowsColor, &T::SetArrowsColor, clLime);
  P.Prop("AutoExpandOnSearch", &T::AutoExpandOnSearch, &T::SetAutoExpandOnSearch).Default(true);
  Color("AutoSearchColor", &T::AutoSearchColor, &T::SetAutoSearchColor, clNone);
  Color("AutoSearchTextColor", &T::AutoSearchTextColor, &T::SetAutoSearchTextColor, clNone);
  P.Prop("DblClkExpanding", &T::DblClkExpanding, &T::SetDblClkExpanding).Default(true);
  Color("GroupNodeColor", &T::GroupNodeColor, &T::SetGroupNodeColor, clBtnFace);
  Color("GroupNodeTextColor", &T::GroupNodeTextColor, &T::SetGroupNodeTextColor, clNone);
  Color("RowFooterColor", &T::RowFooterColor, &T::SetRowFooterColor, cl3DLight);
  Color("RowFooterTextColor", &T::RowFooterTextColor, &T::SetRowFooterTextColor, clWindowText);
  Color("HeaderColor", &T::HeaderColor, &T::SetHeaderColor, clBtnFace);
  Color("BandColor", &T::BandColor, &T::SetBandColor, clBtnFace);
  P.Prop("BandFont", &T::BandFont, &T::SetBandFont).Stored(FontStored);
  P.Prop("HeaderFont", &T::HeaderFont, &T::SetHeaderFont).Stored(FontStored);
  P.Prop("HideFocusRect", &T::HideFocusRectFlag, &T::SetHideFocusRectFlag).Default(true);
  P.Prop("HideSelection", &T::HideSelection, &T::SetHideSelection).Default(true);
  P.Prop("Images", &T::Images, &T::SetImages);
  P.Prop("IndentDesc", &T::IndentDesc, &T::SetIndentDesc).Default(20);
  P.Prop("IniFileName", &T::IniFileName, &T::SetIniFileName);
  P.Prop("IniSectionName", &T::IniSectionName, &T::SetIniSectionName);
  P.Prop("RegistryPath", &T::RegistryPath, &T::SetRegistryPath);
  Color("FixedBandLineColor", &T::FixedBandLineColor, &T::SetFixedBandLineColor, clWindowFrame);
  P.Prop("FixedBandLineWidth", &T::FixedBandLineWidth, &T::SetFixedBandLineWidth).Default(2);
  P.Prop("LookAndFeel", &T::LookAndFeel, &T::SetLookAndFeel).Default(lfStandard);
  P.Prop("MaxRowLineCount", &T::MaxRowLineCount, &T::SetMaxRowLineCount).Default(-1);
  P.Prop("Options", &T::Options, &T::SetOptions).Default(DefaultTreeListOptions);
  P.Prop("OptionsEx", &T::OptionsEx, &T::SetOptionsEx).Default(DefaultTreeListOptionsEx);
  P.Prop("PaintStyle", &T::PaintStyle, &T::SetPaintStyle).Default(psStandard);
  P.Prop("StateImages", &T::StateImages, &T::SetStateImages);
  P.Prop("DefaultRowHeight", &T::DefaultRowHeight, &T::SetDefaultRowHeight)
      .Stored(RowHeightStored)
      .NoDefault();
  P.Prop("RowSeparatorLineWidth", &T::RowSeparatorLineWidth, &T::SetRowSeparatorLineWidth)
      .Default(1);
  P.Prop("PreviewLines", &T::PreviewLines, &T::SetPreviewLines).Default(2);
  P.Prop("PreviewFont", &T::PreviewFont, &T::SetPreviewFont).Stored(FontStored);
  Color("HighlightColor", &T::HighlightColor, &T::SetHighlightColor, clHighlight);
  Color("HighlightTextColor", &T::HighlightTextColor, &T::SetHighlightTextColor, clHighlightText);
  Color("TreeLineColor", &T::TreeLineColor, &T::SetTreeLineColor, clBtnShadow);
  P.Prop("TreeLineStyle", &T::TreeLineStyle, &T::SetTreeLineStyle).Default(tlDot);
  Color("HideSelectionColor", &T::HideSelectionColor, &T::SetHideSelectionColor, clBtnFace);
  Color("HideSelectionTextColor", &T::HideSelectionTextColor, &T::SetHideSelectionTextColor,
        clBtnText);
  P.Prop("WaitForExpandNodeTime", &T::WaitForExpandNodeTime, &T::SetWaitForExpandNodeTime)
      .Default(500);
  P.Prop("ScrollBars", &T::ScrollBars, &T::SetScrollBars).Default(ssBoth);
  P.Prop("CustomizingRowCount", &T::CustomizingRowCount, &T::SetCustomizingRowCount).Default(11);
  P.Prop("ShowBands", &T::ShowBands, &T::SetShowBands).Default(false);
  P.Prop("ShowButtons", &T::ShowButtons, &T::SetShowButtons).Default(true);
  P.Prop("ShowGrid", &T::ShowGrid, &T::SetShowGrid).Default(false);
  P.Prop("ShowPreviewGrid", &T::ShowPreviewGrid, &T::SetShowPreviewGrid).Default(true);
  P.Prop("ShowHeader", &T::ShowHeader, &T::SetShowHeader).Default(true);
  P.Prop("ShowLines", &T::ShowLines, &T::SetShowLines).Default(true);
  P.Prop("ShowRoot", &T::ShowRoot, &T::SetShowRoot).Default(true);
  P.Prop("ShowRowFooter", &T::ShowRowFooter, &T::SetShowRowFooter).Default(false);
  P.Prop("SimpleCustomizeBox", &T::SimpleCustomizeBox, &T::SetSimpleCustomizeBox).Default(false);
  P.Prop("ShowHiddenInCustomizeBox", &T::ShowHiddenInCustomizeBox,
         &T::SetShowHiddenInCustomizeBox)
      .Default(false);
  P.Prop("ShowIndicator", &T::ShowIndicator, &T::SetShowIndicator).Default(false);
  P.Prop("ShowFooter", &T::ShowFooter, &T::SetShowFooter).Default(false);
  Color("GridLineColor", &T::GridLineColor, &T::SetGridLineColor, clNone);

  P.Prop("OnBeginDragNode", &T::OnBeginDragNode);
  P.Prop("OnCanNodeSelected", &T::OnCanNodeSelected);
  P.Prop("OnChangeColumn", &T::OnChangeColumn);
  P.Prop("OnChangeLeftCoord", &T::OnChangeLeftCoord);
  P.Prop("OnChangeNode", &T::OnChangeNode);
  P.Prop("OnChangeTopVisibleNode", &T::OnChangeTopVisibleNode);
  P.Prop("OnCollapsed", &T::OnCollapsed);
  P.Prop("OnCollapsing", &T::OnCollapsing);
  P.Prop("OnCompare", &T::OnCompare);
  P.Prop("OnDeletion", &T::OnDeletion);
  P.Prop("OnEditChange", &T::OnEditChange);
  P.Prop("OnEdited", &T::OnEdited);
  P.Prop("OnEditing", &T::OnEditing);
  P.Prop("OnEditValidate", &T::OnEditValidate);
  P.Prop("OnEndColumnsCustomizing", &T::OnEndColumnsCustomizing);
  P.Prop("OnExpanded", &T::OnExpanded);
  P.Prop("OnExpanding", &T::OnExpanding);
  P.Prop("OnGetEditColor", &T::OnGetEditColor);
  P.Prop("OnHotTrackNode", &T::OnHotTrackNode);
  P.Prop("OnSelectedCountChange", &T::OnSelectedCountChange);
  P.Prop("OnSelectionChanged", &T::OnSelectionChanged);
  P.Prop("OnGetImageIndex", &T::OnGetImageIndex);
  P.Prop("OnGetSelectedIndex", &T::OnGetSelectedIndex);
  P.Prop("OnGetStateIndex", &T::OnGetStateIndex);
  P.Prop("OnChangedColumnsWidth", &T::OnChangedColumnsWidth);
  P.Prop("OnGetFooterCellText", &T::OnGetFooterCellText);
  P.Prop("OnGetPreviewText", &T::OnGetPreviewText);
  P.Prop("OnIsExistRowFooterCell", &T::OnIsExistRowFooterCell);
  P.Prop("OnIsLevelFooter", &T::OnIsLevelFooter);
  P.Prop("OnGetRowLineCount", &T::OnGetRowLineCount);
  P.Prop("OnGetPreviewLineCount", &T::OnGetPreviewLineCount);
  P.Prop("OnCalcRowLineHeight", &T::OnCalcRowLineHeight);
  P.Prop("OnContextPopup", &T::OnContextPopup);
  P.Prop("OnDragDrop", &T::OnDragDrop);
  P.Prop("OnDragOver", &T::OnDragOver);
  P.Prop("OnEndDrag", &T::OnEndDrag);
  P.Prop("OnStartDrag", &T::OnStartDrag);

  P.Prop("OnCustomDrawBand", &T::OnCustomDrawBand);
  P.Prop("OnCustomDrawColumnHeader", &T::OnCustomDrawColumnHeader);
  P.Prop("OnCustomDrawCell", &T::OnCustomDrawCell);
  P.Prop("OnCustomDrawFooterNode", &T::OnCustomDrawFooterNode);
  P.Prop("OnCustomDrawFooter", &T::OnCustomDrawFooter);
  P.Prop("OnCustomDrawPreviewCell", &T::OnCustomDrawPreviewCell);
  P.Prop("OnGetLevelColor", &T::OnGetLevelColor);
  P.Prop("OnIsExistFooterCell", &T::OnIsExistFooterCell);
  P.Prop("OnCanBandDragging", &T::OnCanBandDragging);
  P.Prop("OnStartBandDragging", &T::OnStartBandDragging);
  P.Prop("OnDragOverBand", &T::OnDragOverBand);
  P.Prop("OnDragEndBand", &T::OnDragEndBand);
  P.Prop("OnShowBand", &T::OnShowBand);
  P.Prop("OnHideBand", &T::OnHideBand);
  P.Prop("OnBandClick", &T::OnBandClick);
  P.Prop("OnCanHeaderDragging", &T::OnCanHeaderDragging);
  P.Prop("OnStartHeaderDragging", &T::OnStartHeaderDragging);
  P.Prop("OnDragOverHeader", &T::OnDragOverHeader);
  P.Prop("OnDragEndHeader", &T::OnDragEndHeader);
  P.Prop("OnShowHeader", &T::OnShowHeader);
  P.Prop("OnHideHeader", &T::OnHideHeader);
  P.Prop("OnColumnClick", &T::OnColumnClick);
  P.Prop("OnBandButtonClick", &T::OnBandButtonClick);
  P.Prop("OnHeaderButtonClick", &T::OnHeaderButtonClick);
  P.Prop("OnColumnSorting", &T::OnColumnSorting);
  P.Prop("OnColumnSorted", &T::OnColumnSorted);
  P.Prop("OnHeaderMoved", &T::OnHeaderMoved);
  P.Prop("OnColumnMoved", &T::OnColumnMoved);
  P.Prop("OnCustomDraw", &T::OnCustomDraw);
  P.Prop("OnCustomDrawPreview", &T::OnCustomDrawPreview);
  P.Prop("OnEndDragColumn", &T::OnEndDragColumn);
  P.Prop("OnGetNodeDragText", &T::OnGetNodeDragText);
}

void RegisterBandPublished() {
  using B = TdxTreeListBand;
  TPublish<B> P;
  P.Prop("Alignment", &B::Alignment, &B::SetAlignment).NoDefault();
  P.Prop("Caption", &B::Caption, &B::SetCaption).NoDefault();
  P.Prop("DisableCustomizing", &B::DisableCustomizing, &B::SetDisableCustomizing).NoDefault();
  P.Prop("DisableDragging", &B::DisableDragging, &B::SetDisableDragging).NoDefault();
  P.Prop("Fixed", &B::Fixed, &B::SetFixed).NoDefault();
  P.Prop("MinWidth", &B::MinWidth, &B::SetMinWidth).NoDefault();
  P.Prop("OnlyOwnColumns", &B::OnlyOwnColumns, &B::SetOnlyOwnColumns).NoDefault();
  P.Prop("Sizing", &B::Sizing, &B::SetSizing).NoDefault();
  P.Prop("Visible", &B::Visible, &B::SetVisible).NoDefault();
  P.Prop("Width", &B::Width, &B::SetWidth).NoDefault();
}

}  // namespace

void DonedxTLScreenDC();

void InitdxTL() {
  RegisterClass(&TdxTreeList::StaticClass());
  RegisterTreeListPublished();
  RegisterBandPublished();
  RegisterTreeListColumnClasses();
}

void DonedxTL() {
  DonedxTLScreenDC();
  UnRegisterTreeListColumnClasses();
  UnRegisterPublished(&TdxTreeListBand::StaticClass());
  UnRegisterPublished(&TdxTreeList::StaticClass());
  UnRegisterClass(&TdxTreeList::StaticClass());
}
