// The mask editor: the text editor with an edit mask that fixes, position by position,
// which characters may be typed, the literals between them and the letter case.
//
// EditMask holds up to three fields separated by ";": the mask, the save flag ("0":
// the value leaves the literals out) and the blank character shown in empty positions
// ("_" by default). The two last fields are read only from a mask of 4 characters or
// more whose last separator sits in its last three places. Mask characters: required
// "0" digit, "L" letter, "A" letter or digit, "C" any character; optional "9" digit,
// "l" letter, "a" letter or digit, "c" any character, "#" digit or sign; the
// directives "!" (optional characters are left out at the start instead of the end),
// ">" upper case, "<" lower case, "<>" no conversion; "\" makes the next character a
// literal; ":" and "/" stand for the locale's time and date separators. A control
// character (Tab, CR, LF, ...), in the mask or as the blank, is shown as a space: the
// one-line window holds none.
//
// With a mask in force the window always shows one character a mask position: typing,
// pasting and deleting replace characters in place, so the literals never move. After
// a field's last character the caret moves over the literals that follow by itself; a
// separator typed or pasted next is taken as the one passed, in place.
#pragma once

#include <windows.h>

#include <vector>

#include "classlib/FormatSettings.h"
#include "editors/dxEditor.h"

inline constexpr const char* SdxMaskEditInvalid =
    "Invalid input value.  Use escape key to abandon changes";

enum TdxMaskCharKind : Byte {
  mkLiteral,
  mkDigit,
  mkLetter,
  mkAlphaNumeric,
  mkAny,
  mkDigitOrSign
};

// One character of the shown text: a literal, or a position with its class.
struct TdxMaskChar {
  TdxMaskCharKind Kind = mkLiteral;
  bool Required = false;
  TEditCharCase CharCase = ecNormal;
  char Literal = '\0';

  bool IsPosition() const { return Kind != mkLiteral; }
};

// A parsed edit mask and the routines that fit texts to it.
class TdxEditMask {
 public:
  TdxEditMask() = default;
  explicit TdxEditMask(const AnsiString& EditMask,
                       const TFormatSettings& Settings = FormatSettings);

  bool Empty() const { return FChars.empty(); }
  // The characters of the shown text: positions and literals.
  int Length() const { return static_cast<int>(FChars.size()); }
  const TdxMaskChar& Char(int Index) const {
    return FChars[static_cast<std::size_t>(Index)];
  }
  bool SaveLiterals() const { return FSaveLiterals; }
  char BlankChar() const { return FBlankChar; }

  // The text of an empty value: blanks and literals.
  AnsiString EmptyText() const;
  // A value, with or without the literals, as shown text: one that LayFrom lays on the
  // whole mask stays as laid; otherwise the value's characters fill the positions in
  // order (from the end under "!"), a literal of the value is taken where the mask has
  // it. Positions left over stay blank, as do positions given a space or a control
  // character (CR, LF, Tab, ...).
  AnsiString Format(const AnsiString& Value) const;
  // The characters of the positions of a shown text, to lay on another mask: blanks as
  // spaces, but a blank that its position takes as a character of its own stays that
  // character (a mask of digits whose blank is 0 shows zeros, which another mask shows
  // as zeros too). A text that does not fit the mask is answered as it is.
  AnsiString Carried(const AnsiString& Text) const;
  // The value of a shown text: "" for the empty mask, else the blanks as spaces,
  // without the literals when they are not saved.
  AnsiString Value(const AnsiString& Text) const;
  // The value a host stores for a shown text: its Value without the spaces of the
  // optional positions left blank at its end (at its start under "!"), which the mask
  // fills with blanks again when the value comes back.
  AnsiString StoredValue(const AnsiString& Text) const;
  // The first required position of the text that is blank (not with RawText) or a
  // space where any character is not allowed; -1 when the text is complete.
  int FirstGap(const AnsiString& Text, bool RawText) const;
  // Whether position Index takes Ch; a letter is converted to the position's case.
  bool Accepts(int Index, char& Ch) const;
  // Whether positions Index and Index + 1 together take a double-byte character: both
  // take letters.
  bool AcceptsDoubleByte(int Index) const;
  // Whether Ch stands for an empty position: the blank character or a space.
  bool IsBlank(char Ch) const { return Ch == FBlankChar || Ch == ' '; }
  // Text laid one character on each shown character from From to the end, as Laid
  // (true), so that none of its characters moves out of its place: Text itself when it
  // has as many characters, each literal holding itself or a blank where the literal
  // is one, and a double-byte character on two positions; when the literals are not
  // saved, also Text with them put between its characters when it has one for each
  // position, each taken by its position or a blank. False when it fits neither way.
  // A value is the editor's own text, so any position of it may be blank. A paste
  // without the literals is often typed fields ("4 7" over "00 0"), whose blanks are
  // the separators: it is laid only where each blank falls on a position that may
  // stay blank (Pasted).
  bool LayFrom(const AnsiString& Text, int From, AnsiString& Laid,
               bool Pasted = false) const;
  // The characters of the positions in order (from the end under "!"), one a position,
  // as shown text; positions left over, or given a space or a control character, stay
  // blank.
  AnsiString FormatPositions(const AnsiString& Chars) const;

  // The first position at or after From, or -1.
  int NextPosition(int From) const;
  // The last position before Before, or -1.
  int PriorPosition(int Before) const;

 private:
  void Parse(const AnsiString& Mask, const TFormatSettings& Settings);

  std::vector<TdxMaskChar> FChars;
  bool FSaveLiterals = true;
  char FBlankChar = '_';
  bool FTrimLeading = false;
};

enum TdxMaskState : Byte { msMasked, msReEnter };
using TdxMaskStates = TSet<TdxMaskState>;

// While it lives, the beeps asked of MessageBeepProc are counted instead of heard.
class TdxBeepsCounted {
 public:
  TdxBeepsCounted() : FSaved(MessageBeepProc), FOuter(FCurrent) {
    FCurrent = this;
    MessageBeepProc = Count;
  }
  TdxBeepsCounted(const TdxBeepsCounted&) = delete;
  TdxBeepsCounted& operator=(const TdxBeepsCounted&) = delete;
  ~TdxBeepsCounted() {
    MessageBeepProc = FSaved;
    FCurrent = FOuter;
  }
  int Heard() const { return FHeard; }

 private:
  static BOOL Count(UINT /*Type*/) {
    ++FCurrent->FHeard;
    return TRUE;
  }
  inline static TdxBeepsCounted* FCurrent = nullptr;
  TMessageBeepProc FSaved;
  TdxBeepsCounted* FOuter;
  int FHeard = 0;
};

class TdxInplaceMaskEdit : public TdxInplaceTextEdit {
  TCLASS_DECL(TdxInplaceMaskEdit, TdxInplaceTextEdit)
 public:
  explicit TdxInplaceMaskEdit(TComponent* AOwner);

  const AnsiString& EditMask() const { return FEditMask; }
  // Kept explicitly (stored value).
  void SetEditMask(const AnsiString& Value);
  bool IsMasked() const { return FMaskState.Contains(msMasked); }
  TdxMaskStates MaskState() const { return FMaskState; }
  const TdxEditMask& Mask() const { return FMask; }
  int MaxChars() const { return FMaxChars; }
  // The length limit asked for, which holds while no mask is in force.
  int UnmaskedMaxLength() const { return FUnmaskedMaxLength; }
  char BlankChar() const { return FMask.BlankChar(); }
  bool SaveLiterals() const { return FMask.SaveLiterals(); }
  bool ValidationFailed() const { return FValidationFailed; }
  // Set by a grid column that accepts an all-blank masked value; the editor keeps it
  // for its host.
  bool IgnoreMaskBlank() const { return FIgnoreMaskBlank; }
  void SetIgnoreMaskBlank(bool Value) { FIgnoreMaskBlank = Value; }

  virtual void GetSel(int& SelStart, int& SelStop);

  void SetEditValue(const Variant& Value) override;
  Variant GetEditValue() override;
  // The text a host stores for the editor: with RawText the window's text, with a mask
  // the mask's stored value of it, else the editor's text.
  AnsiString StoredText();
  void Validate() override;
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void SetEditMaskValue(const AnsiString& Value);
  virtual void GetDefaultEditMask(AnsiString& Value) { Value.clear(); }
  // Lays the mask in force out again in the format settings now in force (":" and "/"
  // stand for their separators): the characters of its positions stay where they are.
  void RelayMask();

  void GetEditText(AnsiString& Text) override;
  bool HasDataLink() override { return inherited::HasDataLink() || IsMasked(); }
  bool GetOptionByte() override { return GetModified() && inherited::GetOptionByte(); }
  void RefreshDefaults() override;
  void SetMaxLengthValue(int Value) override;
  void KeyDown(Word& Key, TShiftState Shift) override;
  void KeyUp(Word& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void CreateWnd() override;

  // Puts Text in at the selection, the selection's positions blanked first, and answers
  // how many of its characters no position took (without a beep: the caller tells the
  // user). A text the mask lays from the selection's start to the end (LayFrom), as it
  // does the editor's own text, lands there character for character, so that none
  // moves out of its place. Any other goes through the input step: a field of required
  // digits the paste fills from its start but stops short of, at the field's separator
  // or at the end of the selection replaced, takes its digits at its right with zeros
  // before them: "1:" over "00:" is 01.
  int PasteChars(const AnsiString& Text);
  // The window text a character typed now would leave, so that a descendant can judge
  // it where it lands: without a mask, the text with the character over the selection;
  // with one, the selection's positions blank and the character on the first position
  // from the caret on. False when the character lands nowhere (the mask refuses it, or
  // takes it as a separator).
  bool TypedText(char Ch, AnsiString& Text);

  // Makes a paste (Paste) and judges the text it leaves (Takes, given the text before
  // and after it): a paste refused is undone whole, where the user sees and hears it:
  // the text it replaced, the part of the value that text hides (HiddenValue) and the
  // modified state come back, the whole text is selected, one beep. A paste taken that
  // leaves the text as it was is no edit: the value and the modified state stay as they
  // were. True when the paste stays. One paste is one judgement: characters the mask
  // refused on the way and the paste undone whole are heard once.
  template <class TPaste, class TTakes>
  bool JudgedPaste(TPaste&& Paste, TTakes&& Takes) {
    const AnsiString Before = GetText();
    const TdxHiddenValueRef Hidden = HiddenValue();
    TdxKeptModified Kept(*this);
    int Heard = 0;
    {
      TdxBeepsCounted Counted;
      Paste();
      Heard = Counted.Heard();
    }
    const AnsiString After = GetText();
    if (Takes(Before, After)) {
      if (After == Before)
        RestoreHiddenValue(Before, Hidden);
      else
        Kept.Dismiss();
      if (Heard > 0) MessageBeepProc(0);
      return true;
    }
    if (After != Before) SetText(Before);
    RestoreHiddenValue(Before, Hidden);
    AfterActivate();
    MessageBeepProc(0);
    return false;
  }

  // Descendants that read and validate the window text as shown set it.
  bool RawText = false;

 private:
  AnsiString WindowText();
  // Makes Value the mask, laid out in the settings in force, and puts the characters of
  // the old mask's positions on the new one's.
  void LayMask(const AnsiString& Value);
  void Select(int Start, int Stop);
  // Puts Text over the window's characters from Start on, as one undoable step; does
  // nothing where they are those characters already.
  void ReplaceChars(int Start, const AnsiString& Text);
  // Blanks the positions of [Start, Stop), a double-byte character whole.
  void ClearPositions(int Start, int Stop);
  // The mask input step: one typed or pasted character at the caret, over the
  // selection; false when no position takes it (the caller beeps), and then nothing,
  // the selection included, changes. A character a position refuses that is a
  // literal ahead moves the caret past that literal; a pasted blank (the blank
  // character or a space) does so only for the next literal, and otherwise leaves its
  // position empty and moves on, so that a text the editor showed pastes back as it was.
  bool InputChar(char Ch, bool Pasted = false);
  // Puts Laid, a text the mask laid from Start, on the window's characters from there:
  // a position takes its character when its class accepts it, and a blank empties it;
  // a character it refuses leaves it as it is and is counted. Answers the count.
  int PasteInPlace(const AnsiString& Laid, int Start);
  // A program's EM_REPLACESEL: its text goes in as a paste's does, and one that the
  // mask cannot take whole is refused, the text and the selection left as they were.
  void ReplaceSelection(const char* Text);
  // The field of required digits that ends at End, filled by the paste from its start
  // up to Caret only: its digits move to its right, zeros before them (true when they
  // did).
  bool AlignPastedField(int End, int Caret);
  // Puts the caret on the first position after Index, the character just filled or
  // passed (or past the last), and notes the literals it passes over.
  void CaretAfter(int Index);
  // The caret was put somewhere else, or the text changed from outside.
  void ForgetSkipped() { FSkipFrom = FSkipTo = 0; }
  void Paste();
  void MoveCaret(Word Key, TShiftState Shift);
  void DeleteChars(bool Backward);
  // Puts an empty selection that rests on a literal on the next position.
  void CheckCaret();

  AnsiString FEditMask;
  TdxEditMask FMask;
  TdxMaskStates FMaskState;
  int FMaxChars = 0;
  int FUnmaskedMaxLength = 0;
  int FSelectionAnchor = 0;
  bool FValidationFailed = false;
  bool FIgnoreMaskBlank = false;
  bool FFormatting = false;
  // The lead byte of a double-byte character whose second byte is still to come.
  char FLeadByte = '\0';
  // The literals [FSkipFrom, FSkipTo) the input step has just moved the caret over by
  // itself, the caret resting at FSkipTo: a character equal to the first of them is
  // the separator the user typed or pasted, taken in place. Empty when equal.
  int FSkipFrom = 0;
  int FSkipTo = 0;
  // Where the paste under way began; -1 outside a paste.
  int FPasteFrom = -1;
};

// Publishes the mask editor's EditMask on P's class: written while its stored-values
// bit is set; reading it keeps it again. A class whose mask follows a property of its
// own publishes it again after that one, Moved, so that a kept mask is read after the
// mask the property makes.
template <class TEdit>
TPropRef<TEdit> dxPublishEditMask(TPublish<TEdit>& P) {
  return P.Prop("EditMask", &TdxInplaceMaskEdit::EditMask, &TdxInplaceMaskEdit::SetEditMask)
      .Stored(dxValueKept<esvEditMask>)
      .NoDefault();
}
