#include "treenode/dcntree.h"

#include "classlib/Exceptions.h"
#include "classlib/GdiScopes.h"
#include "treenode/FontMan.h"
#include "treenode/dcntree_Node.h"

TCLASS_IMPL(TFontHeightCache)

TFontHeightCache* FontHeights = nullptr;

// ---------------------------------------------------------------------------------
// Font heights

bool SameFont(TFont* A, TFont* B) {
  return A && B && A->Handle() == B->Handle() && A->Color() == B->Color();
}

TFontHeightCache::~TFontHeightCache() {
  for (int I = 0; I < FCount; ++I) FreeAndNil(FEntries[I].Font);
}

int TFontHeightCache::FindCachedFontHeight(TFont* Font) {
  for (int I = 0; I < FCount; ++I)
    if (SameFont(FEntries[I].Font, Font)) {
      ++FEntries[I].UseCount;
      return FEntries[I].Height;
    }
  return -1;
}

int TFontHeightCache::LeastUsedFontEntry() const {
  int Best = -1;
  for (int I = 0; I < FCount; ++I)
    if (Best < 0 || FEntries[I].UseCount < FEntries[Best].UseCount) Best = I;
  return Best;
}

int TFontHeightCache::GetFontHeight(TFont* Font) {
  int Height = FindCachedFontHeight(Font);
  if (Height >= 0) return Height;
  TEXTMETRICA TM{};
  BOOL Ok;
  {
    TScreenDC Screen;
    TSelection Selected(Screen.DC(), Font->Handle());
    Ok = GetTextMetricsA(Screen.DC(), &TM);
  }
  if (!Ok) RaiseLastFontError();
  Height = TM.tmHeight + (TM.tmHeight & 1);
  int Index = FCount < FontHeightCacheSize ? FCount++ : LeastUsedFontEntry();
  TEntry& Entry = FEntries[Index];
  if (!Entry.Font) Entry.Font = NewObject<TFont>();
  Entry.Font->Assign(Font);
  Entry.UseCount = 1;
  Entry.Height = Height;
  return Height;
}

int GetFontHeight(TFont* Font) { return FontHeights->GetFontHeight(Font); }

// ---------------------------------------------------------------------------------
// Text

namespace {

TEXTMETRICA CanvasMetrics(TCanvas* Canvas) {
  const HDC DC = Canvas->Handle();
  TSelection Font(DC, Canvas->Font()->Handle());
  TEXTMETRICA TM{};
  GetTextMetricsA(DC, &TM);
  return TM;
}

}  // namespace

const char* FindWrapPos(TCanvas* Canvas, const char* Text, const char*& EndPos, int Overhang,
                        int Width) {
  const char* Start = Text;
  if (*Start == ' ') ++Start;
  EndPos = Start;
  HFONT Font = Canvas->Font()->Handle();
  int Remaining = Width;
  bool Overflow = false;
  int Widths[256];
  while (!Overflow) {
    int Count = 0;
    while (Count < 256 && EndPos[Count] != '\0') ++Count;
    FontTextExtent(Font, EndPos, Count, Widths);
    int I = 0;
    for (; I < Count; ++I) {
      char C = *EndPos;
      if (C == '\n' || C == '\r') return Start;
      Remaining -= Widths[I];
      if (Remaining < Overhang) {
        Overflow = true;
        break;
      }
      ++EndPos;
    }
    if (!Overflow && (Count < 256 || *EndPos == '\0')) return Start;
  }
  if (EndPos == Start) {
    ++EndPos;  // at least one character per line
  } else if (*EndPos != ' ') {
    // Back to just after the last blank of the line; none: the word is cut here.
    for (const char* P = EndPos - 1; P > Start + 1; --P)
      if (*P == ' ') {
        EndPos = P + 1;
        break;
      }
  }
  return Start;
}

int WrappedTextHeight(TCanvas* Canvas, const char* Text, int Width) {
  TEXTMETRICA TM = CanvasMetrics(Canvas);
  int Height = 0;
  const char* P = Text;
  while (*P != '\0') {
    const char* End;
    FindWrapPos(Canvas, P, End, TM.tmOverhang, Width);
    Height += TM.tmHeight;
    // LF, CR LF and a lone CR each end the line and are stepped over.
    if (*End == '\r') ++End;
    if (*End == '\n') ++End;
    P = End;
  }
  return Height;
}

int NodeTextHeight(TCanvas* Canvas, const AnsiString& Text, int Width, bool WordWrap) {
  if (Text.empty()) return CanvasMetrics(Canvas).tmHeight;
  if (WordWrap) return WrappedTextHeight(Canvas, Text.c_str(), Width);
  const HDC DC = Canvas->Handle();
  TSelection Font(DC, Canvas->Font()->Handle());
  RECT R{0, 0, Width, 0};
  return DrawTextA(DC, Text.c_str(), static_cast<int>(Text.size()), &R,
                   DT_CALCRECT | DT_NOPREFIX);
}

// ---------------------------------------------------------------------------------
// Check-box glyphs

namespace {

// The system's check-box bitmap (OBM_CHECKBOXES): four columns, three rows of glyphs.
constexpr WORD CheckBoxesBitmap = 32759;

SIZE CheckBoxSize() {
  static SIZE Size{-1, -1};
  if (Size.cx < 0) {
    BITMAP Info{};
    HBITMAP Bitmap = LoadBitmapA(nullptr, MAKEINTRESOURCEA(CheckBoxesBitmap));
    if (Bitmap) {
      GetObjectA(Bitmap, sizeof(Info), &Info);
      DeleteObject(Bitmap);
    }
    Size = SIZE{Info.bmWidth / 4, Info.bmHeight / 3};
  }
  return Size;
}

}  // namespace

int CheckBoxWidth() { return CheckBoxSize().cx; }
int CheckBoxHeight() { return CheckBoxSize().cy; }

// ---------------------------------------------------------------------------------
// Geometry

int MidValue(int A, int B) { return (A + B) / 2; }

void CenterRectHorizontally(TRect& R, const TRect& Outer) {
  int W = R.right - R.left;
  R.left = MidValue(Outer.right, Outer.left - W);
  R.right = R.left + W;
}

void CenterRectVertically(TRect& R, const TRect& Outer) {
  int H = R.bottom - R.top;
  R.top = MidValue(Outer.bottom, Outer.top - H);
  R.bottom = R.top + H;
}

void CenterRect(TRect& R, const TRect& Outer) {
  CenterRectHorizontally(R, Outer);
  CenterRectVertically(R, Outer);
}

bool RectTopInside(const TRect& A, const TRect& B) { return A.top >= B.top && A.top < B.bottom; }

bool RectsOverlapVertically(const TRect& A, const TRect& B) {
  return RectTopInside(A, B) || RectTopInside(B, A);
}

bool RectInsideVertically(const TRect& A, const TRect& B) {
  return RectTopInside(A, B) && A.bottom <= B.bottom;
}

// ---------------------------------------------------------------------------------
// Sibling chains

void AppendNode(TDCTreeNode* Holder, TDCTreeNode* Node) {
  Node->FHolder = Holder;
  Node->FNext = nullptr;
  Node->FPrev = Holder->FLastChild;
  if (Holder->FLastChild)
    Holder->FLastChild->FNext = Node;
  else
    Holder->FFirstChild = Node;
  Holder->FLastChild = Node;
}

void PrependNode(TDCTreeNode* Holder, TDCTreeNode* Node) {
  Node->FHolder = Holder;
  Node->FPrev = nullptr;
  Node->FNext = Holder->FFirstChild;
  if (Holder->FFirstChild)
    Holder->FFirstChild->FPrev = Node;
  else
    Holder->FLastChild = Node;
  Holder->FFirstChild = Node;
}

void InsertNodeBefore(TDCTreeNode* Target, TDCTreeNode* Node) {
  TDCTreeNode* Holder = Target->FHolder;
  Node->FHolder = Holder;
  Node->FNext = Target;
  Node->FPrev = Target->FPrev;
  if (Target->FPrev)
    Target->FPrev->FNext = Node;
  else if (Holder)
    Holder->FFirstChild = Node;
  Target->FPrev = Node;
}

void UnlinkNode(TDCTreeNode* Node) {
  TDCTreeNode* Holder = Node->FHolder;
  if (Node->FPrev)
    Node->FPrev->FNext = Node->FNext;
  else if (Holder && Holder->FFirstChild == Node)
    Holder->FFirstChild = Node->FNext;
  if (Node->FNext)
    Node->FNext->FPrev = Node->FPrev;
  else if (Holder && Holder->FLastChild == Node)
    Holder->FLastChild = Node->FPrev;
  Node->FNext = Node->FPrev = nullptr;
  Node->FHolder = nullptr;
}

int CompareNodePositions(TDCTreeNode* A, TDCTreeNode* B) {
  if (A == B) return 0;
  TDCTreeNode *AFwd = A, *ABack = A, *BFwd = B, *BBack = B;
  for (;;) {
    AFwd = AFwd ? AFwd->FNext : nullptr;
    BBack = BBack ? BBack->FPrev : nullptr;
    ABack = ABack ? ABack->FPrev : nullptr;
    BFwd = BFwd ? BFwd->FNext : nullptr;
    if (AFwd == B || BBack == A || !ABack || !BFwd) return -1;
    if (ABack == B || BFwd == A || !AFwd || !BBack) return 1;
  }
}

void RaiseInvalidOperation(const AnsiString& Message) { throw EInvalidOperation(Message); }

bool RegisterClassOnce(TClass AClass) {
  if (GetClass(AClass->ClassName())) return false;
  RegisterClass(AClass);
  return true;
}

namespace {

// The classes this unit registered, withdrawn when it ends.
bool RegisteredFont = false;
bool RegisteredNode = false;

}  // namespace

void InitDcntree() {
  FontHeights = NewObject<TFontHeightCache>();
  RegisteredFont = RegisterClassOnce(&TFont::StaticClass());
  RegisteredNode = RegisterClassOnce(&TDCTreeNode::StaticClass());
  RegisterDCTreeNodeProperties();
}

void DoneDcntree() {
  UnRegisterDCTreeNodeProperties();
  if (RegisteredNode) UnRegisterClass(&TDCTreeNode::StaticClass());
  if (RegisteredFont) UnRegisterClass(&TFont::StaticClass());
  RegisteredFont = RegisteredNode = false;
  FreeAndNil(FontHeights);
}
