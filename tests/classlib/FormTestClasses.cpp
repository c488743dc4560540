#include "tests/classlib/FormTestClasses.h"

namespace formtest {

TCLASS_IMPL(TWidgetItem)
TCLASS_IMPL(TTestWidget)
TCLASS_IMPL(TTestFrame)
TCLASS_IMPL(TTestForm)
TCLASS_IMPL(TBadForm)

TTestWidget::TTestWidget(TComponent* AOwner) : TComponent(AOwner) {
  ++Live;
  FLines = NewObject<TStringList>();
  FItems = NewObject<TCollection>(&TWidgetItem::StaticClass());
}

TTestWidget::~TTestWidget() {
  --Live;
  FreeAndNil(FItems);
  FreeAndNil(FLines);
}

void TTestWidget::SetCount(int Value) {
  FCount = Value;
  if (ComponentState().Contains(csLoading)) LoadingWhileRead = true;
}

void TTestWidget::SetTarget(TControl* Value) {
  if (FTarget) FTarget->RemoveFreeNotification(this);
  FTarget = Value;
  if (Value) Value->FreeNotification(this);
}

void TTestWidget::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FTarget) FTarget = nullptr;
}

void TTestWidget::DefineProperties(TFiler* Filer) {
  TComponent::DefineProperties(Filer);
  Filer->DefineBinaryProperty("Blob", TStreamProc::Bind<&TTestWidget::ReadBlob>(this),
                              TStreamProc::Bind<&TTestWidget::WriteBlob>(this), !Blob.empty());
  Filer->DefineProperty("Note", TReaderProc::Bind<&TTestWidget::ReadNote>(this),
                        TWriterProc::Bind<&TTestWidget::WriteNote>(this), !Note.empty());
}

void TTestWidget::ReadBlob(TStream* Stream) {
  Blob.resize(static_cast<std::size_t>(Stream->Size()));
  if (!Blob.empty()) Stream->ReadBuffer(Blob.data(), static_cast<int>(Blob.size()));
}

void TTestWidget::WriteBlob(TStream* Stream) {
  Stream->WriteBuffer(Blob.data(), static_cast<int>(Blob.size()));
}


void TTestWidget::Loaded() {
  TComponent::Loaded();
  ++LoadedCalls;
  TargetAtLoaded = FTarget != nullptr;
  FormLog.push_back("loaded " + Name());
}

void TTestFrame::Loaded() {
  TFrame::Loaded();
  IsLoaded = true;
  FormLog.push_back("loaded " + Name());
}

void TTestFrame::DoCreate() {
  TFrame::DoCreate();
  ++SetUps;
  CaptionAtSetUp = lblFrame ? lblFrame->Caption() : AnsiString("(no label)");
  LoadedAtSetUp = IsLoaded;
}


void TTestForm::Loaded() {
  TForm::Loaded();
  FIsLoaded = true;
  FormLog.push_back("loaded " + Name());
}

void TTestForm::DoCreate() {
  NameAtSetUp = edtName ? edtName->Text() : AnsiString();
  LoadedAtSetUp = FIsLoaded;
  FrameSetUpFirst = fraInner && fraInner->SetUps == 1;
  TForm::DoCreate();
}


void RegisterFormTestClasses() {
  RegisterClass(&TTestWidget::StaticClass());
  RegisterClass(&TTestFrame::StaticClass());
  RegisterClass(&TTestForm::StaticClass());
  RegisterClass(&TBadForm::StaticClass());
  {
    TPublish<TWidgetItem> P;
    P.Prop("Caption", &TWidgetItem::Caption, &TWidgetItem::SetCaption);
    P.Prop("Width", &TWidgetItem::Width, &TWidgetItem::SetWidth).Default(50);
  }
  {
    TPublish<TTestWidget> P;
    P.Prop("Count", &TTestWidget::Count, &TTestWidget::SetCount);
    P.Prop("Ratio", &TTestWidget::Ratio, &TTestWidget::SetRatio);
    P.Prop("Title", &TTestWidget::Title, &TTestWidget::SetTitle);
    P.Prop("Options", &TTestWidget::Options, &TTestWidget::SetOptions);
    P.Prop("Mode", &TTestWidget::Mode, &TTestWidget::SetMode);
    P.Prop("Color", &TTestWidget::Color, &TTestWidget::SetColor)
        .Idents(IdentToColor, ColorToIdent, true)
        .Default(clWindow);
    P.Prop("Target", &TTestWidget::Target, &TTestWidget::SetTarget);
    P.Prop("Lines", &TTestWidget::Lines, &TTestWidget::SetLines);
    P.Prop("Items", &TTestWidget::Items, &TTestWidget::SetItems);
    P.Prop("OnPing", &TTestWidget::OnPing);
  }
  {
    TPublish<TTestFrame> P;
    P.Field("lblFrame", &TTestFrame::lblFrame);
    P.Field("edtFrame", &TTestFrame::edtFrame);
    P.Method<&TTestFrame::edtFrameChange>("edtFrameChange");
  }
  {
    TPublish<TTestForm> P;
    P.Field("pnlTop", &TTestForm::pnlTop);
    P.Field("lblName", &TTestForm::lblName);
    P.Field("edtName", &TTestForm::edtName);
    P.Field("pnlBody", &TTestForm::pnlBody);
    P.Field("rbnA", &TTestForm::rbnA);
    P.Field("rbnB", &TTestForm::rbnB);
    P.Field("chkX", &TTestForm::chkX);
    P.Field("chkY", &TTestForm::chkY);
    P.Field("cbxLayer", &TTestForm::cbxLayer);
    P.Field("sedCount", &TTestForm::sedCount);
    P.Field("imgPicture", &TTestForm::imgPicture);
    P.Field("fraInner", &TTestForm::fraInner);
    P.Field("wgtMain", &TTestForm::wgtMain);
    P.Method<&TTestForm::FormShow>("FormShow");
    P.Method<&TTestForm::edtNameChange>("edtNameChange");
    P.Method<&TTestForm::rbnClick>("rbnClick");
    P.Method<&TTestForm::cbxLayerChange>("cbxLayerChange");
    P.Method<&TTestForm::WidgetPing>("WidgetPing");
  }
}

void UnregisterFormTestClasses() {
  for (TClass Class : std::initializer_list<TClass>{&TWidgetItem::StaticClass(), &TTestWidget::StaticClass(),
                                                    &TTestFrame::StaticClass(), &TTestForm::StaticClass()})
    UnRegisterPublished(Class);
  for (TClass Class : {&TTestWidget::StaticClass(), &TTestFrame::StaticClass(), &TTestForm::StaticClass(),
                       &TBadForm::StaticClass()})
    UnRegisterClass(Class);
}

}  // namespace formtest
