// Form files: a tree of components with their properties as text, read into a root
// component (a form, a frame) and written back from one.
//
// The format, one item a line (leading blanks do not matter; a line that starts with
// "#" is a comment):
//
//   form fraDetails: TfraDetails          the root: its name and class, first line
//     Tag = 40                            a property: Name = value
//     Font.Name = "MS Sans Serif"         a property of a sub-object
//     OnShow = FrameShow                  an event: a published method of the root
//     component Panel1: TPanel            a new component, owned by the root, whose
//       Align = alClient                  parent is the block around it
//       component lblTitle: TLabel
//         Caption = "&Width"
//         FocusControl = edtWidth         a reference: a component of the root, any
//       end                               where in the file (fraOther.edtX reaches
//     end                                 a component of a component)
//     existing Label1                     a component made already (by the form file
//       Caption = "Welcome"               of an ancestor class, or by the class of the
//     end                                 block around it, such as a frame)
//   end
//
// Values: integers (-12, 0x80000005), floating-point numbers (1.5, 2E-3), strings in
// double quotes (escapes \" \\ \n \r \t \xHH), identifiers (True, alClient, clWindow,
// crHandPoint, and "null" for no component or no event), sets ([akLeft, akTop]), and
// three kinds of block that end with "end":
//
//     Items = lines                       the strings of a TStrings
//       "None"
//     end
//     Columns = items                     the items of a collection, each with its
//       item                              own properties
//         Width = 80
//       end
//     end
//     Picture.Data = hex                  binary data of a property that a class
//       424D3600...                       defines in DefineProperties; short data
//     end                                 may follow on the line: ThemeClass = hex 04000000
//
// Properties are read in the order of the file, each component's before its children;
// references are resolved after the whole file is read, and Loaded runs after the
// outermost file being read is done (so a frame made while its form is read is loaded
// with the form), once per component, the root first. While reading, components have
// csLoading and csReading.
//
// Components and collection items nest at most 1000 levels below the root.
//
// A bad file raises EFormFileError naming the form, the component and the line; the
// components that the failed read made are freed, the others are left as they were.
//
// Form files are compiled into the module as RCDATA resources named after the class
// (upper case): tarvik_add_form_files(<target> <files>) in CMake, each file named
// after its form's class (TfraDetails.form). A form or frame reads the resources of
// its class and of its ancestors (base first) when it is made; see Forms.h.
#pragma once

#include "classlib/Classes.h"
#include "classlib/Streams.h"
#include "classlib/TypInfo.h"

class TReader;
class TWriter;

// A bad form file: "Form <form>, component <name>, line <n>: <detail>".
class EFormFileError : public EReadError {
  TCLASS_DECL(EFormFileError, EReadError)
 public:
  EFormFileError(const AnsiString& AFormName, const AnsiString& AComponentName, int ALine,
                 const AnsiString& ADetail);

  const AnsiString& FormName() const { return FFormName; }
  const AnsiString& ComponentName() const { return FComponentName; }
  int Line() const { return FLine; }
  const AnsiString& Detail() const { return FDetail; }

 private:
  AnsiString FFormName;
  AnsiString FComponentName;
  int FLine;
  AnsiString FDetail;
};

// Reading and writing a property defined in DefineProperties: the text of a value, or
// the bytes of a binary one.
using TReaderProc = TEvent<void(TReader* Reader)>;
using TWriterProc = TEvent<void(TWriter* Writer)>;
using TStreamProc = TEvent<void(TStream* Stream)>;

// What DefineProperties talks to: the reader or the writer.
class TFiler : public TObject {
  TCLASS_DECL(TFiler, TObject)
 public:
  explicit TFiler(TComponent* ARoot) : FRoot(ARoot) {}

  TComponent* Root() const { return FRoot; }

  // A property kept as one value. The reader calls ReadData when the file has a
  // property of that name; the writer writes one when HasData, calling WriteData.
  virtual void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                              bool HasData) = 0;
  // A property kept as bytes (the "hex" value).
  virtual void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData,
                                    TStreamProc WriteData, bool HasData) = 0;

 private:
  TComponent* FRoot;
};

namespace classlib_detail {
struct TFormBlock;
struct TFormProperty;
struct TFormValue;
struct TLoadSession;
}  // namespace classlib_detail

class TReader : public TFiler {
  TCLASS_DECL(TReader, TFiler)
 public:
  TReader(TComponent* ARoot, const AnsiString& AFormName);
  ~TReader() override;

  // The component that owns what is read (the root) and the parent of the component
  // being read (nullptr for the root).
  TComponent* Owner() const { return Root(); }
  TComponent* Parent() const { return FParent; }
  const AnsiString& FormName() const { return FFormName; }

  // From ReadState: the properties and then the child components of Instance.
  void ReadData(TComponent* Instance);

  // For the reading procedure of a defined property: its value. A value of another
  // kind raises EFormFileError.
  Int64 ReadInteger();
  bool ReadBoolean();
  double ReadFloat();
  AnsiString ReadString();
  AnsiString ReadIdent();

  void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

  // Reads a parsed file into the root (ReadComponentText does the whole job).
  void ReadRoot(const classlib_detail::TFormBlock& Block);
  // After a failure: frees the components this reader made and clears the loading
  // state of the others it touched.
  void Rollback();
  // The component and the line being read, for messages.
  AnsiString CurrentComponentName() const;
  int CurrentLine() const { return FLine; }

 private:
  struct TFixup;
  void ReadComponent(const classlib_detail::TFormBlock& Block, TComponent* AParent);
  void ReadProperty(TObject* Instance, const classlib_detail::TFormProperty& Property);
  void SetValue(TObject* Instance, const TPropInfo& Info, const classlib_detail::TFormValue& Value);
  void ReadItems(TCollection* Collection, const classlib_detail::TFormValue& Value);
  void ResolveFixups();
  TComponent* FindReference(const AnsiString& Path) const;
  void BeginLoading(TComponent* Instance);
  [[noreturn]] void Error(const AnsiString& Detail) const;
  const classlib_detail::TFormValue& DefinedValue() const;

  AnsiString FFormName;
  TComponent* FParent = nullptr;
  TComponent* FCurrent = nullptr;
  const classlib_detail::TFormBlock* FBlock = nullptr;
  int FLine = 0;
  std::vector<TComponent*> FCreated;
  std::vector<TComponent*> FTouched;
  std::vector<TFixup>* FFixups;
  // The defined property being looked for by DefineProperties.
  AnsiString FDefinedName;
  const classlib_detail::TFormValue* FDefinedValue = nullptr;
  bool FDefinedFound = false;
};

class TWriter : public TFiler {
  TCLASS_DECL(TWriter, TFiler)
 public:
  explicit TWriter(TComponent* ARoot) : TFiler(ARoot) {}

  // The whole file of the root.
  AnsiString WriteRoot();

  // For the writing procedure of a defined property: its one value.
  void WriteInteger(Int64 Value);
  void WriteBoolean(bool Value);
  void WriteFloat(double Value);
  void WriteString(const AnsiString& Value);
  void WriteIdent(const AnsiString& Value);

  void DefineProperty(const AnsiString& Name, TReaderProc ReadData, TWriterProc WriteData,
                      bool HasData) override;
  void DefineBinaryProperty(const AnsiString& Name, TStreamProc ReadData, TStreamProc WriteData,
                            bool HasData) override;

 private:
  // Existing: the owner of an existing component being written (nullptr for the
  // components of the root).
  void WriteComponent(TComponent* Instance, int Indent, TComponent* Existing);
  void WriteProperties(TObject* Instance, const AnsiString& Prefix, int Indent);
  void WriteProperty(TObject* Instance, const TPropInfo& Info, const AnsiString& Prefix,
                     int Indent);
  void WriteDefinedValue(const AnsiString& Text);
  void Line(int Indent, const AnsiString& Text);
  AnsiString ReferenceName(TComponent* Component) const;

  AnsiString FText;
  AnsiString FPrefix;
  int FIndent = 0;
  AnsiString FDefinedValue;
  int FDefinedCount = 0;
};

// The text of a value as the form file writes it.
AnsiString FormFileString(const AnsiString& Value);
AnsiString FormFileFloat(double Value);

// Reads the text of a form file into Root. FormName names the file in messages.
void ReadComponentText(TComponent* Root, const AnsiString& Text, const AnsiString& FormName);
// The form file of Root: its published properties that differ from their defaults
// and pass their store predicates, its defined properties, and the components it
// owns (GetChildren), nested by parent.
AnsiString WriteComponentText(TComponent* Root);
// Reads the form resource named ResName (RCDATA of HInstance) into Instance; false
// when the module has no such resource.
bool ReadComponentRes(const AnsiString& ResName, TComponent* Instance);
// True when the module has a form resource for the class.
bool FormResourceExists(TClass AClass);
// Reads the form resources of Instance's class and of its ancestors below
// RootAncestor, the base first; false when there was none.
bool InitInheritedComponent(TComponent* Instance, TClass RootAncestor);
// A new component of the registered class of that name (which, for a form or a
// frame, reads its form resources as it is made). Raises EClassNotFound.
TComponent* CreateComponentByClassName(const AnsiString& ClassName, TComponent* AOwner);
