// The shared fonts, pens and brushes of the Graphics unit: one GDI object per logical
// description, reference counted. This is the one place of the class library and the
// kit that makes fonts, pens and brushes.
#include <algorithm>
#include <cstring>
#include <map>
#include <string>

#include "classlib/Graphics.h"
#include "classlib/ScopeExit.h"

namespace {

struct TSharedEntry {
  HGDIOBJ Object;
  int References;
};

// The key of a description: its kind, then its bytes (the descriptions have no
// padding, and the font's face name is cleared past its end before it is used).
std::map<std::string, TSharedEntry> SharedEntries;
std::map<HGDIOBJ, std::string> SharedKeys;

template <class TLog>
std::string KeyOf(char Kind, const TLog& Log) {
  std::string Key(1, Kind);
  Key.append(reinterpret_cast<const char*>(&Log), sizeof(Log));
  return Key;
}

template <class TLog, class TMake>
HGDIOBJ Acquire(char Kind, const TLog& Log, TMake Make) {
  std::string Key = KeyOf(Kind, Log);
  auto It = SharedEntries.find(Key);
  if (It != SharedEntries.end()) {
    ++It->second.References;
    return It->second.Object;
  }
  HGDIOBJ Object = CountHandle(GdiCheck(Make(Log)));
  auto Undo = ScopeExit([&] {
    SharedKeys.erase(Object);
    DeleteCountedObject(Object);
  });
  SharedKeys.emplace(Object, Key);
  SharedEntries.emplace(std::move(Key), TSharedEntry{Object, 1});
  Undo.Dismiss();
  return Object;
}

}  // namespace

HFONT AcquireSharedFont(const LOGFONTA& Font) {
  LOGFONTA Log;
  std::memset(&Log, 0, sizeof(Log));
  Log = Font;
  // Equal names must give equal keys whatever follows the terminator.
  std::memset(Log.lfFaceName, 0, sizeof(Log.lfFaceName));
  lstrcpynA(Log.lfFaceName, Font.lfFaceName, LF_FACESIZE);
  Log.lfHeight = std::clamp(Log.lfHeight, -MaxFontPixels, MaxFontPixels);
  Log.lfWidth = std::clamp(Log.lfWidth, -MaxFontPixels, MaxFontPixels);
  return static_cast<HFONT>(
      Acquire('F', Log, [](const LOGFONTA& L) -> HGDIOBJ { return CreateFontIndirectA(&L); }));
}

HPEN AcquireSharedPen(const LOGPEN& Pen) {
  LOGPEN Log = Pen;
  Log.lopnWidth.y = 0;  // not used by GDI
  return static_cast<HPEN>(
      Acquire('P', Log, [](const LOGPEN& L) -> HGDIOBJ { return CreatePenIndirect(&L); }));
}

HBRUSH AcquireSharedBrush(const LOGBRUSH& Brush) {
  LOGBRUSH Log = Brush;
  if (Log.lbStyle != BS_HATCHED) Log.lbHatch = 0;  // read for hatched brushes only
  return static_cast<HBRUSH>(
      Acquire('B', Log, [](const LOGBRUSH& L) -> HGDIOBJ { return CreateBrushIndirect(&L); }));
}

void ReleaseSharedObject(HGDIOBJ Object) {
  if (!Object) return;
  auto Key = SharedKeys.find(Object);
  if (Key == SharedKeys.end()) return;
  auto It = SharedEntries.find(Key->second);
  if (--It->second.References > 0) return;
  SharedEntries.erase(It);
  SharedKeys.erase(Key);
  DeleteCountedObject(Object);
}

int SharedObjectCount() { return static_cast<int>(SharedEntries.size()); }
