// The board: a copy of one PCB document's board record, layers, layer stack, option
// blocks and drill layer pairs, read from the editor and written back by Exchange,
// with the board-level operations of putting objects into the document, taking them
// out and walking them.
#pragma once

#include "classlib/Lists.h"
#include "pcb/Pcbclass_Object.h"

// An array indexed Low..High, laid out as the plain array it holds.
template <class T, int Low, int High>
struct TRangeArray {
  static_assert(Low <= High);
  T Items[High - Low + 1] = {};

  static constexpr bool InRange(int Index) { return Index >= Low && Index <= High; }
  T& operator[](int Index) { return Items[Index - Low]; }
  const T& operator[](int Index) const { return Items[Index - Low]; }
  friend bool operator==(const TRangeArray&, const TRangeArray&) = default;
};

// The signal layers (top, the 30 mid layers, bottom) and the 16 internal planes.
inline constexpr TLayerSet SignalLayers = LayerRange(1, 32);
inline constexpr TLayerSet InternalPlanes = LayerRange(39, 54);

// The defaults of a layer and of a dielectric before the editor is read.
inline constexpr TCoord DefaultCopperThickness = 14000;  // 1.4 mil
inline constexpr TCoord DefaultDielectricHeight = 126000;  // 12.6 mil
inline constexpr double DefaultDielectricConstant = 4.8;
inline constexpr Byte DefaultDielectricType = 1;
inline constexpr const char* DefaultDielectricMaterial = "FR-4";
inline constexpr const char* NoNetName = "(No Net)";

// One layer of the board.
class TLayerObject : public TObject {
  TCLASS_DECL(TLayerObject, TObject)
 public:
  TLayerObject(Integer ABoardHandle, TLayer ALayer);

  Integer BoardHandle;
  TLayer Layer;
  PcbString Name;  // the editor's name; the layer's identifier until read
  TCoord CopperThickness = DefaultCopperThickness;
  PcbString DielectricMaterial = DefaultDielectricMaterial;
  Byte DielectricType = DefaultDielectricType;
  double DielectricConstant = DefaultDielectricConstant;
  TCoord DielectricHeight = DefaultDielectricHeight;
  Byte LayerState1 = 0;  // 0: the board maker takes the layer out of the stack
  Byte LayerState2 = 0;  // set by TPcbBoard::SetLayerFlag
  TLayer PreviousLayer = 0;  // the layer above in the stack; 0 for the first
  TLayer NextLayer = 0;      // the layer below in the stack; 0 for the last
  Byte LayerState3 = 0;

  // The layer record, then its dielectric; the layer record's status, or the
  // dielectric's when the record went through.
  virtual Integer Exchange(TExchangeMode Mode);
};

// An internal plane layer (39..54): in place of LayerState3 it carries the net that is
// connected to the plane.
class TInternalPlane : public TLayerObject {
  TCLASS_DECL(TInternalPlane, TLayerObject)
 public:
  TInternalPlane(Integer ABoardHandle, TLayer ALayer);

  PcbString NetName = NoNetName;

  Integer Exchange(TExchangeMode Mode) override;
};

// One drill layer pair.
class TPcblayerPair : public TObject {
  TCLASS_DECL(TPcblayerPair, TObject)
 public:
  TPcblayerPair() = default;

  PcbString Name;  // "upper - lower", named on every read
  TLayer Layer1 = 0;
  TLayer Layer2 = 0;
  Byte PairByte1 = 0;
  Byte PairByte2 = 0;
};

// The material, type, constant and height of a dielectric.
struct TDielectric {
  PcbString Material = DefaultDielectricMaterial;
  Byte Type = DefaultDielectricType;
  double Constant = DefaultDielectricConstant;
  TCoord Height = DefaultDielectricHeight;

  friend bool operator==(const TDielectric&, const TDielectric&) = default;
};

struct TPlotterPen {
  Integer PenValue1 = 0;
  Integer PenValue2 = 0;

  friend bool operator==(const TPlotterPen&, const TPlotterPen&) = default;
};

// Calls for each object the board walk visits; the callee may take the object out of
// the board.
using TObjectCallback = void (*)(Integer ObjectHandle);

class TPcbBoard : public TObject {
  TCLASS_DECL(TPcbBoard, TObject)
 public:
  explicit TPcbBoard(Integer ABoardHandle);
  TPcbBoard(const TPcbBoard&) = delete;
  TPcbBoard& operator=(const TPcbBoard&) = delete;
  ~TPcbBoard() override;

  Integer BoardHandle;  // never owned

  // The board record.
  Integer BoardValue1 = 0;
  PcbString BoardText;
  Byte BoardByte1 = 0;
  Integer BoardValue2 = 0;
  Integer BoardValue3 = 0;
  Integer BoardValue4 = 0;
  Integer BoardValue5 = 0;
  Byte BoardByte2 = 0;

  TDielectric TopDielectric;
  TDielectric BottomDielectric;
  Byte BoardByte3 = 0;  // 1 after a custom outline was drawn

  // The 82 layers, owned, by layer number; 39..54 are TInternalPlanes.
  TRangeArray<TLayerObject*, 1, MaxLayer> Layers;
  TObjectList* LayerPairs;  // owned TPcblayerPairs, replaced on every read
  TRangeArray<Integer, 1, MaxLayer> LayerInfo;

  // Grids. GridCopy1 and GridCopy2 follow GridValue3 and GridValue6 after every
  // exchange.
  Byte GridByte1 = 0;
  Byte GridByte2 = 0;
  Byte GridByte3 = 0;
  double GridValue1 = 0;
  double GridValue2 = 0;
  double GridCopy1 = 0;
  double GridValue3 = 0;
  double GridValue4 = 0;
  double GridSize = 0;
  double GridValue5 = 0;
  double GridCopy2 = 0;
  double GridValue6 = 0;
  double GridValue7 = 0;
  Byte GridByte4 = 0;

  // Output options.
  Integer OutputValue1 = 0;
  Integer OutputValue2 = 0;
  TRangeArray<Byte, 1, 22> OutputBytes;
  TRangeArray<Byte, 1, 109> PlotLayers;
  TRangeArray<Byte, 1, 109> FlipLayers;

  // Gerber options.
  Byte GerberByte1 = 0;
  Byte GerberByte2 = 0;
  Byte GerberByte3 = 0;
  Byte GerberByte4 = 0;
  Byte GerberByte5 = 0;
  Byte GerberByte6 = 0;
  Integer GerberValue1 = 0;
  Integer GerberValue2 = 0;
  Integer GerberValue3 = 0;
  Integer GerberValue4 = 0;
  Integer GerberValue5 = 0;
  PcbString GerberText;
  Byte GerberByte7 = 0;
  Integer GerberValue6 = 0;
  Byte GerberByte8 = 0;
  Byte GerberByte9 = 0;
  Integer GerberValue7 = 0;
  Integer GerberValue8 = 0;

  // Printer options.
  PcbString PrinterText1;
  PcbString PrinterText2;
  PcbString PrinterText3;
  Byte PrinterByte1 = 0;
  Byte PrinterByte2 = 0;
  Byte PrinterByte3 = 0;
  Byte PrinterByte4 = 0;
  Byte PrinterByte5 = 0;
  Byte PrinterByte6 = 0;
  Integer PrinterValue1 = 0;
  TPcbWide PrinterWide1 = 0;
  TPcbWide PrinterWide2 = 0;
  TPcbWide PrinterWide3 = 0;
  TPrinterBlock PrinterBlock = {};
  Byte PrinterByte7 = 0;
  Byte PrinterByte8 = 0;
  TPcbWide PrinterWide4 = 0;
  TPcbWide PrinterWide5 = 0;
  TPcbWide PrinterWide6 = 0;
  Integer PrinterValue2 = 0;
  Integer PrinterValue3 = 0;
  Byte PrinterByte9 = 0;
  Byte PrinterByte10 = 0;
  Byte PrinterByte11 = 0;
  Byte PrinterByte12 = 0;
  Byte PrinterByte13 = 0;
  TRangeArray<TPlotterPen, 1, 8> Pens;
  TRangeArray<Integer, 1, MaxLayer> CompositeValue1;
  TRangeArray<Integer, 1, MaxLayer> CompositeValue2;
  TRangeArray<Byte, 1, MaxLayer> CompositeByte;
  TRangeArray<Integer, 1, MaxLayer> CompositeValue3;

  // Placer options.
  PcbString PlacerText1;
  PcbString PlacerText2;
  Byte PlacerByte1 = 0;
  Byte PlacerByte2 = 0;
  Byte PlacerByte3 = 0;
  Byte PlacerByte4 = 0;

  // Engineering-change options.
  Byte EcoByte = 0;
  PcbString EcoText;

  // The two grid fields exchanged with the grids.
  Integer GridValue8 = 0;
  Byte GridByte5 = 0;

  Integer OutlineHandle = 0;  // the board outline object; 0 when there is none

  // The first status other than 0 that the last Exchange got for any of its blocks
  // (the board record, a layer value, a layer or its dielectric, the grids, an option
  // block, a layer pair, the external dielectrics); 0 when the editor took or gave
  // every block. A layer-pair count the editor does not give is no failure: the board
  // then has no pairs.
  Integer ExchangeFailure = 0;

  // Reads (Mode 1) or writes (Mode 0) every block: the board record, the layer
  // values, the layers, the grids, the output, Gerber, printer, placer and
  // engineering-change options, the layer pairs and the external dielectrics. Returns
  // the board record's status.
  virtual Integer Exchange(TExchangeMode Mode);

  // The layer object of a layer number; nullptr outside 1..82.
  TLayerObject* LayerObject(int L) const { return Layers.InRange(L) ? Layers[L] : nullptr; }
  TPcblayerPair* LayerPair(int Index) const {
    return static_cast<TPcblayerPair*>(LayerPairs->Get(Index));
  }

  // LayerState2 of the layer; nothing for a layer without a layer object.
  void SetLayerFlag(int L, Byte Value);
  // Puts the object into the document; handle 0 gives 1 without asking the editor.
  Integer AddObject(Integer ObjectHandle);
  // Takes the object out of the document without destroying it; handle 0 gives 1.
  Integer RemoveObject(Integer ObjectHandle);
  // Calls Callback for every object whose id (0..20) is in ObjectSet, on every layer
  // in LayerSet (0 means any layer), one editor iterator per id and layer; Method goes
  // to the iterator unchanged. False when the editor gave no iterator for one of the
  // walks (that walk visits nothing; the others still run).
  bool IterateObjects(TObjectCallback Callback, const TObjectSet& ObjectSet,
                      const TLayerSet& LayerSet, Byte Method);

  // The stack walk. The first layer, in layer order, with no layer above it.
  TLayerObject* FirstLayerInStack() const;
  // The layer below; nullptr at the end of the stack.
  TLayerObject* NextLayerInStack(const TLayerObject* LayerObject) const;
  // The 1-based position of the layer among the stack's layers in LayerSet, counted
  // from the top; 0 for a layer outside LayerSet or without a layer object.
  int StackPosition(const TLayerSet& LayerSet, const TLayerObject* LayerObject) const;

 private:
  // The first failing status of the pairs' exchanges, or 0.
  Integer ExchangeLayerPairs(TExchangeMode Mode);
  PcbString PairLayerName(TLayer L) const;
};
