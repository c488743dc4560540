// Actions: commands that several controls or menu items share. An action holds a
// caption, a check state, an enabled state, a hint, an image, a shortcut and a visible
// state together with its OnExecute; every client that is linked to it follows a change
// of any of them, as long as the client still shows the action's value for it.
//
// A TActionLink joins one client to one action. The action tells its links of every
// change (they pass it on to the client's ActionChange through OnChange) and, before a
// value changes, hands each link the new value; a link sets it in its client only for
// a property the client still shares with the action (IsCaptionLinked, ...). A
// descendant of TActionLink knows its client's class and overrides those operations.
//
// An action list groups actions and gives them the image list their ImageIndex
// refers to.
//
// Targets: an action without its own handler (OnExecute, OnUpdate) looks for a target
// that it handles (HandlesTarget), as an edit command looks for the focused edit. It
// asks the application, which asks the active form and then the main form; a form asks
// its active control, then itself, then its visible controls, each through the
// component's ExecuteAction or UpdateAction. The first that handles the action ends the
// search.
#pragma once

#include <vector>

#include "classlib/Classes.h"
#include "classlib/ImgList.h"
#include "classlib/Menus.h"

class TActionLink;
class TCustomActionList;

// An action with its execute and update events.
class TBasicAction : public TComponent {
  TCLASS_DECL(TBasicAction, TComponent)
 public:
  explicit TBasicAction(TComponent* AOwner);
  // Unlinks every link that is still registered.
  void BeforeDestruction() override;

  // Runs OnExecute when it is assigned; true when it ran.
  virtual bool Execute();
  // Runs OnUpdate when it is assigned; true when it ran.
  virtual bool Update();

  // Whether the action works on Target; none here. A descendant that acts on a kind of
  // target says which.
  virtual bool HandlesTarget(TObject* /*Target*/) { return false; }
  // Does the action's work on Target, or brings its state up to date with Target's;
  // nothing here.
  virtual void ExecuteTarget(TObject* /*Target*/) {}
  virtual void UpdateTarget(TObject* /*Target*/) {}

  // The client that executes the action now (set around Execute by a link).
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value) { FActionComponent = Value; }

  void RegisterChanges(TActionLink* Link);
  void UnRegisterChanges(TActionLink* Link);
  int LinkCount() const { return static_cast<int>(FClients.size()); }
  TActionLink* Links(int Index) const { return FClients[static_cast<std::size_t>(Index)]; }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  // Tells every link that the action changed.
  virtual void Change();

 private:
  std::vector<TActionLink*> FClients;
  TComponent* FActionComponent = nullptr;
};

// An action with the properties its clients show.
class TCustomAction : public TBasicAction {
  TCLASS_DECL(TCustomAction, TBasicAction)
 public:
  explicit TCustomAction(TComponent* AOwner);
  // Leaves its action list.
  void BeforeDestruction() override;

  // Its own handler, else the search for a target through the application (see the
  // unit's comment); true when either handled the action.
  bool Execute() override;
  bool Update() override;

  const AnsiString& Caption() const { return FCaption; }
  void SetCaption(const AnsiString& Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value);
  const AnsiString& Hint() const { return FHint; }
  void SetHint(const AnsiString& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  // The list the action belongs to (nullptr for none).
  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  // The list's images, or nullptr.
  TCustomImageList* Images() const;

  // Streaming: the parent of an action is its action list.
  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  friend class TCustomActionList;
  AnsiString FCaption;
  bool FChecked = false;
  bool FEnabled = true;
  int FHelpContext = 0;
  AnsiString FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = scNone;
  bool FVisible = true;
  TCustomActionList* FActionList = nullptr;
};

class TAction : public TCustomAction {
  TCLASS_DECL(TAction, TCustomAction)
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

// The link of one client to one action. The client's own descendant of this class
// answers which properties are linked and sets them in the client.
class TActionLink : public TObject {
  TCLASS_DECL(TActionLink, TObject)
 public:
  explicit TActionLink(TObject* AClient) : FClient(AClient) {}
  // Unregisters from its action.
  ~TActionLink() override;

  TObject* Client() const { return FClient; }
  TBasicAction* Action() const { return FAction; }
  // Unregisters from the old action and registers with the new one.
  void SetAction(TBasicAction* Value);

  // Executes the action for Component; false without an action or OnExecute.
  virtual bool Execute(TComponent* Component);
  // Asks the action to update itself.
  virtual bool Update();

  // Whether the client shows the action's value of a property (none here).
  virtual bool IsCaptionLinked() { return FAction && FAction->InheritsFrom(&TCustomAction::StaticClass()); }
  virtual bool IsCheckedLinked() { return IsCaptionLinked(); }
  virtual bool IsEnabledLinked() { return IsCaptionLinked(); }
  virtual bool IsHelpContextLinked() { return IsCaptionLinked(); }
  virtual bool IsHintLinked() { return IsCaptionLinked(); }
  virtual bool IsImageIndexLinked() { return IsCaptionLinked(); }
  virtual bool IsShortCutLinked() { return IsCaptionLinked(); }
  virtual bool IsVisibleLinked() { return IsCaptionLinked(); }
  virtual bool IsOnExecuteLinked() { return FAction != nullptr; }

  // A value of the action about to change: a client override sets it in the client
  // when that property is linked. Nothing here.
  virtual void SetCaption(const AnsiString& /*Value*/) {}
  virtual void SetChecked(bool /*Value*/) {}
  virtual void SetEnabled(bool /*Value*/) {}
  virtual void SetHelpContext(int /*Value*/) {}
  virtual void SetHint(const AnsiString& /*Value*/) {}
  virtual void SetImageIndex(int /*Value*/) {}
  virtual void SetShortCut(TShortCut /*Value*/) {}
  virtual void SetVisible(bool /*Value*/) {}
  virtual void SetOnExecute(const TNotifyEvent& /*Value*/) {}

  // The action changed (runs OnChange with the action as sender).
  virtual void Change();

  TNotifyEvent OnChange;

 private:
  friend class TBasicAction;
  TObject* FClient;
  TBasicAction* FAction = nullptr;
};

// A list of actions and the images they show.
class TCustomActionList : public TComponent {
  TCLASS_DECL(TCustomActionList, TComponent)
 public:
  explicit TCustomActionList(TComponent* AOwner);
  // The actions leave the list (their owners free them).
  void BeforeDestruction() override;

  int ActionCount() const { return static_cast<int>(FActions.size()); }
  TCustomAction* Actions(int Index) const { return FActions[static_cast<std::size_t>(Index)]; }
  void AddAction(TCustomAction* Action);
  void RemoveAction(TCustomAction* Action);

  // Free-notified; a change of the images runs OnChange.
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);

  // The actions owned by Root.
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

  TNotifyEvent OnChange;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ImageListChange(TObject* Sender);

  std::vector<TCustomAction*> FActions;
  TCustomImageList* FImages = nullptr;
  TChangeLink* FImageChangeLink;
};

class TActionList : public TCustomActionList {
  TCLASS_DECL(TActionList, TCustomActionList)
 public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// The unit's start (classes and published properties) and end.
void InitActnList();
void DoneActnList();
