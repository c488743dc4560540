// The private exports of the PCB editor stand-in "Merovan.dll", all stdcall and
// undecorated. The host and the tests use them; the module never does (it reaches the
// editor through the PcbApi_ exports only).
//
// Documents
//   CreateDocument     for Kind "PCB" (any letter case): a new board named Name. When
//                      Name is an existing file, the board is loaded from it as a
//                      template (the file is only read). Returns the board handle, or 0
//                      for another kind or a file that is not a readable board text.
//   RenameDocument     gives the board a new name; FALSE for an unknown board.
//   CloseDocument      forgets the board and destroys every object in it.
//   FindDocument       the board whose name equals Name (ignoring letter case), or 0.
//   GetDocumentName    copies the board's name into Buffer, cut to BufferSize - 1
//                      characters and zero-terminated; returns its full length, or -1
//                      for an unknown board. Buffer may be nullptr (BufferSize 0).
//   SaveDocument       writes the board as text to FileName; FALSE when it cannot.
//   DrawDocument       draws the board to a PNG picture of Width x Height pixels
//                      (MinPictureSide..MaxPictureSide each) at FileName; FALSE for an
//                      unknown board, a size out of range, or a file it cannot write.
//                      host/README.md describes the drawing and the layer colours.
//
// The call log (one line per PcbApi_ call, recorded only while enabled, at most
// CallLogCapacity lines; see host/README.md for the format)
//   EnableCallLog      turns recording on or off; returns the previous state.
//   GetCallLogCount    the number of lines recorded.
//   GetCallLogEntry    line Index into Buffer, like GetDocumentName; -1 for a bad index.
//   ClearCallLog       forgets every line.
//
// Seeds for what the PcbApi_ functions cannot reach
//   AddLayerPair       appends a drill layer pair (layers 1..82) to the board; returns
//                      its index, or -1 for an unknown board or a bad layer.
//   SetLayerState      sets a layer's state bytes: InUse keeps LayerState1 at 1 even
//                      without objects on the layer (0 lets the objects decide), State2
//                      and State3 are stored as given. FALSE for an unknown board or a
//                      layer outside 1..82.
//   SetReportedIdBits  Bits are or-ed into the id PcbApi_GetObjectIdFromObjectHandle
//                      reports for the object (0 reports the plain id again). FALSE for
//                      an unknown object.
//   SetReportedCounts  makes PcbApi_References_Count and PcbApi_TextLocations_Count of a
//                      dimension report the given numbers; a negative number reports
//                      the real count again. The lists themselves do not change, so
//                      References_At / TextLocations_At past the real entries give 1.
//                      FALSE for a handle that is not a dimension.
//   FailNextCalls      the next Calls calls of the PcbApi_ export named ExportName give
//                      Status at once and change nothing. Calls 0 cancels the seed. A
//                      later seed for the same export replaces the earlier one. FALSE
//                      for an unknown name, an export whose result is not a status, or
//                      Calls < 0.
//   FailNthCall        the Nth call from now of the PcbApi_ export named ExportName
//                      gives Value at once and changes nothing; the calls before it run
//                      as usual. It serves the status exports and those that answer a
//                      handle, an id or a count (Value is then the answer, 0 for "no
//                      object"). N 0 cancels the seed; it replaces an earlier seed of
//                      either kind for the same export, and FailNextCalls replaces it.
//                      FALSE for an unknown name, an export that gives nothing, or N < 0.
//
// No seed is saved with a board; FailNextCalls and FailNthCall seeds last until used up
// or cancelled.
//
// Counting
//   GetObjectCount     the number of objects the editor holds, in a board or in none
//                      (destroyed objects and closed boards' objects are gone).
#pragma once

#include <windows.h>

#include "classlib/SysTypes.h"

inline constexpr int CallLogCapacity = 100000;
inline constexpr int MinPictureSide = 16;
inline constexpr int MaxPictureSide = 8192;

using TMerovanCreateDocument = Integer(WINAPI*)(const char* Kind, const char* Name);
using TMerovanRenameDocument = BOOL(WINAPI*)(Integer Board, const char* Name);
using TMerovanCloseDocument = BOOL(WINAPI*)(Integer Board);
using TMerovanFindDocument = Integer(WINAPI*)(const char* Name);
using TMerovanGetDocumentName = int(WINAPI*)(Integer Board, char* Buffer, int BufferSize);
using TMerovanSaveDocument = BOOL(WINAPI*)(Integer Board, const char* FileName);
using TMerovanDrawDocument = BOOL(WINAPI*)(Integer Board, const char* FileName, int Width,
                                           int Height);

using TMerovanEnableCallLog = BOOL(WINAPI*)(BOOL Enable);
using TMerovanGetCallLogCount = int(WINAPI*)();
using TMerovanGetCallLogEntry = int(WINAPI*)(int Index, char* Buffer, int BufferSize);
using TMerovanClearCallLog = void(WINAPI*)();

using TMerovanAddLayerPair = int(WINAPI*)(Integer Board, Byte Layer1, Byte Layer2);
using TMerovanSetLayerState = BOOL(WINAPI*)(Integer Board, Byte Layer, Byte InUse,
                                            Byte State2, Byte State3);
using TMerovanSetReportedIdBits = BOOL(WINAPI*)(Integer Object, Byte Bits);
using TMerovanSetReportedCounts = BOOL(WINAPI*)(Integer Dimension, Integer ReferenceCount,
                                                Integer TextLocationCount);
using TMerovanFailNextCalls = BOOL(WINAPI*)(const char* ExportName, int Calls,
                                            Integer Status);
using TMerovanFailNthCall = BOOL(WINAPI*)(const char* ExportName, int N, Integer Value);
using TMerovanGetObjectCount = int(WINAPI*)();
