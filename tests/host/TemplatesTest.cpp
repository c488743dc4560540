// The sample board templates in the install folder's Templates\: each loads into the
// editor stand-in with the parts the board maker works on, and the .EMF previews play.
#include "tests/host/MerovanTestSupport.h"

#include <cmath>
#include <map>
#include <regex>
#include <set>

#include "tests/host/PictureTestSupport.h"

namespace {

std::string TemplatesFolder() { return TestHostRoot() + "Templates\\"; }

std::string BaseName(const std::string& FileName) {
  return FileName.substr(0, FileName.find_last_of('.'));
}

bool SameText(const std::string& A, const std::string& B) {
  return lstrcmpiA(A.c_str(), B.c_str()) == 0;
}

// The size a template's name gives ("... 160x100mm"), in host units.
bool SizeInName(const std::string& Name, double& Width, double& Height) {
  std::smatch Match;
  if (!std::regex_search(Name, Match, std::regex("(\\d+)x(\\d+)mm"))) return false;
  Width = std::stoi(Match[1]) * 10000000.0 / 25.4;
  Height = std::stoi(Match[2]) * 10000000.0 / 25.4;
  return true;
}

TEST(TemplatesFolderTest, HoldsTemplatesWithAndWithoutPreviewsAndOneNamedTemplate) {
  const std::vector<std::string> Boards = FilesIn(TemplatesFolder(), "*.PcbDoc");
  std::vector<std::string> Named;
  int WithPreview = 0, WithoutPreview = 0;
  std::string SkippedText;
  for (const std::string& Name : Boards) {
    if (SameText(Name, "TEMPLATE.PCBDOC")) {
      SkippedText = FileText(TemplatesFolder() + Name);
      continue;
    }
    Named.push_back(Name);
    bool Preview = GetFileAttributesA((TemplatesFolder() + BaseName(Name) + ".EMF").c_str()) !=
                   INVALID_FILE_ATTRIBUTES;
    (Preview ? WithPreview : WithoutPreview) += 1;
  }
  EXPECT_GE(Named.size(), 2u);
  EXPECT_GE(WithPreview, 1);
  EXPECT_GE(WithoutPreview, 1);
  // TEMPLATE.PCBDOC is one of the named templates under a second name.
  ASSERT_FALSE(SkippedText.empty());
  int Twins = 0;
  for (const std::string& Name : Named) Twins += FileText(TemplatesFolder() + Name) == SkippedText;
  EXPECT_EQ(Twins, 1);
  // Every preview belongs to a template.
  for (const std::string& Preview : FilesIn(TemplatesFolder(), "*.EMF"))
    EXPECT_NE(GetFileAttributesA((TemplatesFolder() + BaseName(Preview) + ".PcbDoc").c_str()),
              INVALID_FILE_ATTRIBUTES)
        << Preview;
}

class TemplatesTest : public MerovanTest {
 protected:
  TBounds Union(const std::vector<Integer>& Objects) {
    TBounds All = Bounds(Objects.at(0));
    for (Integer Handle : Objects) {
      TBounds B = Bounds(Handle);
      All.Left = std::min(All.Left, B.Left);
      All.Bottom = std::min(All.Bottom, B.Bottom);
      All.Right = std::max(All.Right, B.Right);
      All.Top = std::max(All.Top, B.Top);
    }
    return All;
  }

  // Checks the board loaded from the template file Name.
  void CheckTemplate(const std::string& Name, double Width, double Height) {
    SCOPED_TRACE(Name);
    const Integer Loaded = CreateDocument("PCB", (TemplatesFolder() + Name).c_str());
    ASSERT_NE(Loaded, 0);

    // The outline: a rectangle of the template's size.
    const std::vector<Integer> Outlines = Walk(eBoardOutlineObject, 0, Loaded);
    ASSERT_EQ(Outlines.size(), 1u);
    TPolygonFields Outline;
    ASSERT_EQ(QueryPolygon(ExchangeRead, Outlines[0], Outline), 0);
    ASSERT_EQ(Outline.SegmentCount, 4);
    const TBounds Board = Bounds(Outlines[0]);
    EXPECT_NEAR(Board.Right - Board.Left, Width, 1.0);
    EXPECT_NEAR(Board.Top - Board.Bottom, Height, 1.0);
    for (int I = 0; I <= 4; ++I) {
      const TPolySegment& S = Outline.Segments[I];
      EXPECT_EQ(S.Kind, 0);
      EXPECT_TRUE(S.X == Board.Left || S.X == Board.Right) << I;
      EXPECT_TRUE(S.Y == Board.Bottom || S.Y == Board.Top) << I;
    }
    EXPECT_EQ(Outline.Segments[4].X, Outline.Segments[0].X);
    EXPECT_EQ(Outline.Segments[4].Y, Outline.Segments[0].Y);

    // The title block: tracks, arcs and texts flagged 0x10, below the board on its
    // right.
    std::vector<Integer> TitleBlock;
    std::set<int> TitleKinds;
    for (Integer Handle : Walk(0, 0, Loaded)) {
      Word Flags = 0, HeaderWord = 0;
      Byte Layer = 0, HeaderByte = 0;
      Integer Value1 = 0, Value2 = 0;
      ASSERT_EQ(PcbApi_QueryPrimitive(ExchangeRead, Handle, Flags, HeaderWord, Layer, Value1,
                                      Value2, HeaderByte),
                0);
      if (!(Flags & 0x10)) continue;
      TitleBlock.push_back(Handle);
      TitleKinds.insert(PcbApi_GetObjectIdFromObjectHandle(Handle));
    }
    EXPECT_EQ(TitleKinds, (std::set<int>{eArcObject, eTrackObject, eTextObject}));
    ASSERT_FALSE(TitleBlock.empty());
    const TBounds Title = Union(TitleBlock);
    EXPECT_LT(Title.Top, Board.Bottom);
    EXPECT_GT((Title.Left + Title.Right) / 2, (Board.Left + Board.Right) / 2);
    EXPECT_LE(Title.Right, Board.Right + 100000);

    // Mechanical 16 and the object classes.
    EXPECT_FALSE(Walk(0, 72, Loaded).empty());
    const std::vector<Integer> Classes = Walk(eClassObject, 0, Loaded);
    ASSERT_FALSE(Classes.empty());
    for (Integer Class : Classes) {
      PcbString Member;
      EXPECT_EQ(PcbApi_GetMemberFromClassAt(Class, 0, Member), 0);
    }

    // One rule of each kind the board maker replaces, and one of another kind.
    std::map<int, int> Kinds;
    for (Integer Rule : Walk(eRuleObject, 0, Loaded)) {
      Byte Kind = 0, Ext1 = 0, Ext2 = 0;
      ASSERT_EQ(PcbApi_QueryRuleExt(ExchangeRead, Rule, Kind, Ext1, Ext2), 0);
      ++Kinds[Kind];
    }
    int Others = 0;
    for (int Kind : {0, 2, 6, 9, 10, 11, 18}) {
      EXPECT_EQ(Kinds[Kind], 1) << "rule kind " << Kind;
      Kinds.erase(Kind);
    }
    for (const auto& Entry : Kinds) Others += Entry.second;
    EXPECT_GE(Others, 1);
    CloseDocument(Loaded);
  }
};

TEST_F(TemplatesTest, EveryTemplateLoadsWithItsOutlineTitleBlockClassesAndRules) {
  const std::vector<std::string> Boards = FilesIn(TemplatesFolder(), "*.PcbDoc");
  ASSERT_FALSE(Boards.empty());
  std::map<std::string, std::pair<double, double>> SizeOfText;
  for (const std::string& Name : Boards) {
    double Width = 0, Height = 0;
    if (SizeInName(Name, Width, Height))
      SizeOfText[FileText(TemplatesFolder() + Name)] = {Width, Height};
  }
  for (const std::string& Name : Boards) {
    double Width = 0, Height = 0;
    if (!SizeInName(Name, Width, Height)) {
      // A name without a size is a second name for one of the sized templates.
      auto Twin = SizeOfText.find(FileText(TemplatesFolder() + Name));
      ASSERT_NE(Twin, SizeOfText.end()) << Name;
      std::tie(Width, Height) = Twin->second;
    }
    CheckTemplate(Name, Width, Height);
  }
}

TEST(TemplatePreviewTest, EveryPreviewPlaysIntoABitmap) {
  const std::vector<std::string> Previews = FilesIn(TemplatesFolder(), "*.EMF");
  ASSERT_FALSE(Previews.empty());
  constexpr int Width = 200, Height = 150;
  for (const std::string& Name : Previews) {
    SCOPED_TRACE(Name);
    HENHMETAFILE Metafile = GetEnhMetaFileA((TemplatesFolder() + Name).c_str());
    ASSERT_NE(Metafile, nullptr);
    HDC Screen = GetDC(nullptr);
    HDC Dc = CreateCompatibleDC(Screen);
    HBITMAP Bitmap = CreateCompatibleBitmap(Screen, Width, Height);
    ReleaseDC(nullptr, Screen);
    HGDIOBJ Old = SelectObject(Dc, Bitmap);
    RECT All{0, 0, Width, Height};
    FillRect(Dc, &All, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_TRUE(PlayEnhMetaFile(Dc, Metafile, &All));
    int Painted = 0;
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) Painted += GetPixel(Dc, X, Y) != RGB(0, 0, 0);
    // The sheet fills the picture; the board lies on it, around the middle.
    EXPECT_GT(Painted, Width * Height / 2);
    const COLORREF Middle = GetPixel(Dc, Width / 2, Height / 2);
    EXPECT_NE(Middle, RGB(0, 0, 0));
    EXPECT_NE(Middle, RGB(255, 255, 255));
    SelectObject(Dc, Old);
    DeleteObject(Bitmap);
    DeleteDC(Dc);
    DeleteEnhMetaFile(Metafile);
  }
}

}  // namespace
