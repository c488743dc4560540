// The board maker: turns a filled wizard record into a new PCB document in the host's
// PCB editor. The build sequence and the document's opening are in BoardDB_Maker.cpp,
// the outline and keep-out in BoardDB_Outline.cpp, the legend texts and dimension lines
// in BoardDB_Legend.cpp, the layer stack in BoardDB_LayerStack.cpp, the design rules in
// Rules.cpp.
#pragma once

#include "classlib/Lists.h"
#include "classlib/Objects.h"
#include "framework/RT_ClientServerInterface.h"
#include "pcb/Pcbtypes.h"
#include "wizard/BoardDB.h"

class TPcbBoard;
class TPcbBoardOutline;

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

  // Builds the whole board into a new document. Errors pass out as exceptions after
  // the board wrapper is freed.
  void BuildBoard();
  // Opens the new document from the template, or blank, under a free document name.
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

  // The outline wrapper while MakeBoardOutline runs.
  TPcbBoardOutline* FOutline = nullptr;
};

// The document's first view of the PCB editor's kind ("PCBEditor", any letter case),
// as a counted reference; nullptr when the document has none.
IServerDocumentView* FindPcbEditorView(IServerDocument* Document);
// Runs the host's "PCB:Zoom" process with "Action=Sheet" on the document's editor view
// (or on no view when the document has none).
void ZoomDocumentToSheet(IServerDocument* Document);
