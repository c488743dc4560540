// Image lists over the system's image-list control: equal-sized images kept in one
// handle, drawn normally, blended, masked or greyed, with change links that tell
// their users when the images change.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "classlib/Classes.h"
#include "classlib/Graphics.h"

class TCustomImageList;

// How Draw blends an image: dsFocus 25 % and dsSelected 50 % of BlendColor over it,
// dsNormal with BkColor behind it, dsTransparent with its mask whatever BkColor is.
enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
TENUM_INFO(TDrawingStyle, "dsFocus", "dsSelected", "dsNormal", "dsTransparent")
// itMask draws the mask in place of the image.
enum TImageType { itImage, itMask };
TENUM_INFO(TImageType, "itImage", "itMask")
enum TColorDepth { cdDeviceDependent, cd4Bit, cd8Bit, cd16Bit, cd24Bit, cd32Bit };
TENUM_INFO(TColorDepth, "cdDeviceDependent", "cd4Bit", "cd8Bit", "cd16Bit", "cd24Bit", "cd32Bit")

// The number of an overlay image, 0 .. 14.
using TOverlay = int;

inline constexpr const char* SImageIndexError = "Invalid ImageList Index";
inline constexpr const char* SInsertImage = "Unable to insert an image";
inline constexpr const char* SInvalidImageSize = "Invalid image size";

// A user's link to an image list: OnChange runs whenever the list's images change.
// Freeing the link unregisters it; freeing the list clears Sender.
class TChangeLink : public TObject {
  TCLASS_DECL(TChangeLink, TObject)
 public:
  TChangeLink() = default;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  ~TChangeLink() override;

  TCustomImageList* Sender() const { return FSender; }
  void SetSender(TCustomImageList* Value) { FSender = Value; }
  virtual void Change();

  TNotifyEvent OnChange;

 private:
  TCustomImageList* FSender = nullptr;
};

// A component: a form file keeps its settings and, as the binary property "Bitmap",
// its images (the count, then a strip of the images and, when masked, a strip of the
// masks, each as a bitmap file).
class TCustomImageList : public TComponent {
  TCLASS_DECL(TCustomImageList, TComponent)
 public:
  // 16 x 16 images.
  explicit TCustomImageList(TComponent* AOwner = nullptr);
  // Images of the given size, without an owner.
  TCustomImageList(int AWidth, int AHeight);
  ~TCustomImageList() override;

  // The system image list, made on first request with the current settings.
  HIMAGELIST Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }

  // Changing the size, Masked or ColorDepth empties the list.
  int Width() const { return FWidth; }
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  // Sizes below 1 raise EInvalidOperation "Invalid image size".
  void SetSize(int AWidth, int AHeight);
  bool Masked() const { return FMasked; }
  void SetMasked(bool Value);
  TColorDepth ColorDepth() const { return FColorDepth; }
  void SetColorDepth(TColorDepth Value);

  // clNone: the masked parts show what is below; another colour fills them.
  TColor BkColor() const { return FBkColor; }
  void SetBkColor(TColor Value);
  // The colour of dsFocus and dsSelected; clNone blends with what is below,
  // clDefault with the system highlight.
  TColor BlendColor() const { return FBlendColor; }
  void SetBlendColor(TColor Value);
  TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
  void SetDrawingStyle(TDrawingStyle Value);
  TImageType ImageType() const { return FImageType; }
  void SetImageType(TImageType Value);

  int Count();
  // Adds the image (a wider one gives several images); the index of the first.
  // Mask may be null. Raise EInvalidOperation "Unable to insert an image".
  int Add(TBitmap* Image, TBitmap* Mask);
  // The pixels of MaskColor become the mask; clDefault takes the image's transparent
  // colour (its bottom-left pixel unless fixed).
  int AddMasked(TBitmap* Image, TColor MaskColor);
  // Index out of range raises EInvalidOperation "Invalid ImageList Index".
  void Delete(int Index);
  void Clear();

  // Draws an image with the list's style and type; a disabled image is drawn as an
  // embossed silhouette in the system highlight and shadow colours (everything but
  // the masked parts and pure white pixels). Indexes out of range draw nothing.
  void Draw(TCanvas* Canvas, int X, int Y, int Index, bool Enabled = true);
  void Draw(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
            TImageType AImageType, bool Enabled = true);

  // Overlays: up to 15 of the images can be named overlay 0 .. 14 and drawn over any
  // other image. Overlay makes image ImageIndex overlay number AOverlay; false when the
  // system refuses (an index out of range).
  bool Overlay(int ImageIndex, TOverlay AOverlay);
  // Draws image Index as Draw does, with overlay AOverlay over it (a disabled image
  // without it).
  void DrawOverlay(TCanvas* Canvas, int X, int Y, int Index, TOverlay AOverlay,
                   bool Enabled = true);

  void RegisterChanges(TChangeLink* Value);
  void UnRegisterChanges(TChangeLink* Value);

  // Runs, after the links, when the images change.
  TNotifyEvent OnChange;

  void DefineProperties(TFiler* Filer) override;

 protected:
  // Tells the links and OnChange.
  virtual void Change();

 private:
  void CreateList();
  void FreeHandle();
  void CheckIndex(int Index);
  void DrawDisabled(HDC DC, int X, int Y, int Index);
  // Draw with further ILD_ flags (an overlay's mask).
  void DrawWithFlags(TCanvas* Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
                     TImageType AImageType, bool Enabled, UINT Flags);
  void ReadData(TStream* Stream);
  void WriteData(TStream* Stream);

  HIMAGELIST FHandle = nullptr;
  int FWidth = 16;
  int FHeight = 16;
  bool FMasked = true;
  TColorDepth FColorDepth = cdDeviceDependent;
  TColor FBkColor = clNone;
  TColor FBlendColor = clNone;
  TDrawingStyle FDrawingStyle = dsNormal;
  TImageType FImageType = itImage;
  std::vector<TChangeLink*> FLinks;
};

class TImageList : public TCustomImageList {
  TCLASS_DECL(TImageList, TCustomImageList)
 public:
  using TCustomImageList::TCustomImageList;
};

// Points Field, an image list that Holder follows through Link, at Value: the old list
// loses the link and, unless KeepOldNotification (the holder still uses it in another
// role), the holder's free notification; the new list gets both. False when Field
// already was Value.
bool ReplaceImageList(TComponent* Holder, TCustomImageList*& Field, TChangeLink* Link,
                      TCustomImageList* Value, bool KeepOldNotification = false);

// The ImgList unit's start and end (in the module's unit table).
void InitImgList();
void DoneImgList();
