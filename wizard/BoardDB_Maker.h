// The board maker: turns a filled wizard record into a new PCB document in the host's
// PCB editor. The build sequence and the document's opening are in BoardDB_Maker.cpp,
// the outline and keep-out in BoardDB_Outline.cpp (their plane geometry in
// BoardDB_Geometry.h), the legend texts and dimension lines in BoardDB_Legend.cpp, the
// layer stack in BoardDB_LayerStack.cpp, the design rules in Rules.cpp.
#pragma once

#include "classlib/Exceptions.h"
#include "classlib/Lists.h"
#include "classlib/Objects.h"
#include "framework/RT_ClientServerInterface.h"
#include "pcb/PcbApiAbi.h"
#include "pcb/Pcbtypes.h"
#include "wizard/BoardDB.h"

class TPcbBoard;
class TPcbBoardOutline;

// A build the PCB editor did not let finish. The message names the step and what the
// editor refused ("The board's layer stack could not be built: the PCB editor refused
// to insert a layer."); the document stays open as far as it was built.
TCLASS_EXCEPTION(EBoardBuildError, Exception)

// Raises EBoardBuildError "<Step>: the PCB editor refused to <Refused>.".
[[noreturn]] void RaiseEditorRefusal(const char* Step, const char* Refused);
// The same for a status other than 0.
void CheckEditorStatus(Integer Status, const char* Step, const char* Refused);
// Exchanges the whole board; raises as above when the editor refused any block of it
// ("read the board" or "write the board").
void ExchangeBoard(TPcbBoard* Board, TExchangeMode Mode, const char* Step);

// An editor object that a step of the build made. Made without a handle (the editor
// refused), it raises at once. Unless it is on the board when the scope ends, it is
// destroyed then, so that a step that fails halfway leaves no object behind that
// belongs nowhere.
class TNewEditorObject {
 public:
  TNewEditorObject(Integer AHandle, const char* Step, const char* Refused);
  TNewEditorObject(const TNewEditorObject&) = delete;
  TNewEditorObject& operator=(const TNewEditorObject&) = delete;
  ~TNewEditorObject();

  Integer Handle() const { return FHandle; }
  // Puts it on the board; raises when the editor refuses.
  void AddTo(TPcbBoard* Board, const char* Step, const char* Refused);
  // Takes it off the board again; raises when the editor refuses (it then stays on).
  void TakeOff(TPcbBoard* Board, const char* Step, const char* Refused);

 private:
  Integer FHandle;
  bool FOnBoard = false;
};

class TTarvik : public TObject {
  TCLASS_DECL(TTarvik, TObject)
 public:
  // Keeps the record (not owned) and a counted reference to the context view.
  TTarvik(TBoardInfoFromUser* ABoardInfo, IServerDocumentView* AContext);
  TTarvik(const TTarvik&) = delete;
  TTarvik& operator=(const TTarvik&) = delete;
  ~TTarvik() override;

  // The record the board is built from; OpenBoardDocument may set its TemplateFileName.
  TBoardInfoFromUser* BoardInfo;
  // The new document's board, while BuildBoard runs; nullptr otherwise.
  TPcbBoard* Board = nullptr;
  // The lower-left corner of a custom board's outline on the sheet.
  Integer OriginX = 0;
  Integer OriginY = 0;
  // Handles (Integer values in the pointer slots) of the keep-out tracks along X (and
  // the circular keep-out arc) and along Y, in the order made. The handles are the
  // document's objects; the lists never free them.
  TList* HorzKeepOuts;
  TList* VertKeepOuts;
  // The new document (a counted reference), nullptr until it is opened.
  IServerDocument* Document = nullptr;
  // The view the command was launched from (a counted reference, or nullptr).
  IServerDocumentView* Context = nullptr;

  // Builds the whole board into a new document. A record that makes no board (see
  // CheckBoard) raises EBoardBuildError with the rule's message before any document
  // is opened, and so does a template that cannot make one (BoardDB_Template.h).
  // Errors pass out as exceptions after the board wrapper is freed. When the editor
  // has no board for the new document, the document is closed again (Document is
  // nullptr) and EBoardBuildError is raised, naming the template when there is one. So
  // it is for a template board (not custom) whose board, as the editor read it, has no
  // usable outline (see TemplateOutlineFault), before anything is written to it. A
  // step the editor refuses raises EBoardBuildError naming it, and the document stays
  // open, unsaved, as far as it was built.
  void BuildBoard();
  // Opens the new document from the template, or blank, under a free document name.
  // The template is held unchanged while the host opens it; one the host opens no
  // document from raises EBoardBuildError naming it.
  bool OpenBoardDocument();
  // Takes every object class out of the board and destroys it.
  void RemoveObjectClasses();
  // Puts the title-block and scale objects on the dimension layer, when one is chosen.
  void MoveTitleBlockObjects();

  // The custom board's outline and keep-out.
  void MakeBoardOutline();
  void MakeRectangularOutline();
  void MakeCircularOutline();
  void MakeCustomOutline();
  // A keep-out track or arc, made, written and added to the board; its handle.
  Integer AddTrack(Integer X1, Integer Y1, Integer X2, Integer Y2, TLayer Layer);
  Integer AddArc(Integer XCenter, Integer YCenter, Integer Radius, double StartAngle,
                 double EndAngle);
  // Vertices of the outline being made.
  void SetLineVertex(int Index, Integer X, Integer Y);
  void SetOffsetLineVertex(int Index, Integer X, Integer Y);
  void SetArcVertex(int Index, Integer X, Integer Y, Integer CX, Integer CY, Integer Radius,
                    double StartAngle, double EndAngle);

  // The legend texts and the dimension lines.
  void AddLegendStrings();
  void AddDimensionLines();

  // The layer stack from the used layers.
  void MakeLayerStack();

  // The design rules.
  void AddDesignRules();

 private:
  // Fits the sheet around every object of the board.
  void FitSheet();
  // Zooms the document's editor view to the sheet.
  void ZoomToSheet();
  // Closes the new document again and forgets it.
  void CloseBoardDocument();
  // Closes the new document at the end of its scope unless Keep was called first.
  class TUnbuiltDocumentScope {
   public:
    explicit TUnbuiltDocumentScope(TTarvik& AMaker) : FMaker(AMaker) {}
    TUnbuiltDocumentScope(const TUnbuiltDocumentScope&) = delete;
    TUnbuiltDocumentScope& operator=(const TUnbuiltDocumentScope&) = delete;
    ~TUnbuiltDocumentScope() {
      if (!FKept) FMaker.CloseBoardDocument();
    }
    void Keep() { FKept = true; }

   private:
    TTarvik& FMaker;
    bool FKept = false;
  };
  // Why the board, as last read, has no usable outline: none, one without segments, or
  // one that encloses less than a square mil. nullptr when its outline is usable. Raises
  // EBoardBuildError when the editor refuses to read the outline.
  const char* TemplateOutlineFault();

  // The outline wrapper while MakeBoardOutline runs.
  TPcbBoardOutline* FOutline = nullptr;
};

// The document's first view of the PCB editor's kind ("PCBEditor", any letter case),
// as a counted reference; nullptr when the document has none.
IServerDocumentView* FindPcbEditorView(IServerDocument* Document);
// Runs the host's "PCB:Zoom" process with "Action=Sheet" on the document's editor view
// (or on no view when the document has none).
void ZoomDocumentToSheet(IServerDocument* Document);
