// TAnalysis: the base of every signal-processing component, and the pull
// pipeline that chains them; TAnalysisList, a list of like components.
//
// A component reads the output of its Input (or of each item of its Inputs
// collection) and makes its own. Asking the last component of a chain for
// fresh output (Pull) marks the chain dirty back to its sources, then brings
// each component up to date, sources first. Update, InternalUpdate, Pull,
// UpdateChain and ProcessAll return one byte:
//   0  done: the output is up to date;
//   1  not ready: call again (the component keeps its dirty mark);
//   2  end of data: a source has nothing more to give.
//
// Links are weak: freeing a component clears every input link that pointed
// to it. A component notifies one listener (a chart's item collection, set
// through SetNotifyMethod) at the end of every Update.
//
// How a descendant plugs in:
// - PrepareUpdate takes the timing from the input (TSignal and TSpectrum do
//   it while UsesInputs is set); InternalUpdate computes and returns a code.
// - ParameterChanged hears the editor's parameter changes.
// - SetInput, GetInput, SetActive and InputStored may be overridden; the
//   descendant publishes Input or Inputs in its own property table when it
//   takes inputs (with InputStored as the stored-condition).
//
// Tested by: signal/tests/AnalysisTest.cpp.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "numeric/MtxBaseComp.h"

namespace sig {

class TSignalCollection;

// The events of the components: the sender is the component (or, for
// ParameterUpdate, whoever reports the change).
using TNotifyEvent = std::function<void(classlib::TPersistent* Sender)>;

class TAnalysis : public numeric::TMtxComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TAnalysis(classlib::TComponent* AOwner = nullptr);
  ~TAnalysis() override;

  // properties
  bool Active() const { return FActive; }
  bool Continuous() const { return FContinuous; }
  void SetContinuous(bool Value) { FContinuous = Value; }
  bool MultiChannel() const { return FMultiChannel; }
  // True creates the Inputs collection, owned by this component; false frees it.
  void SetMultiChannel(bool Value);
  bool UsesInputs() const { return FUsesInputs; }
  void SetUsesInputs(bool Value) { FUsesInputs = Value; }
  TAnalysis* Input() const { return GetInput(); }
  // nullptr unless MultiChannel.
  TSignalCollection* Inputs() const { return FInputs.get(); }
  // Copies the items of Value (each item's Input) into Inputs, when it exists,
  // and makes item 0's Input the Input.
  void SetInputs(const TSignalCollection& Value);
  bool SuspendNotify() const { return FSuspendNotify; }
  void SetSuspendNotify(bool Value) { FSuspendNotify = Value; }
  // Set when the component needs an update; a new component starts dirty.
  bool Dirty() const { return FDirty; }

  // events
  const TNotifyEvent& OnAfterUpdate() const { return FOnAfterUpdate; }
  void SetOnAfterUpdate(TNotifyEvent Value) { FOnAfterUpdate = std::move(Value); }
  const TNotifyEvent& OnBeforeUpdate() const { return FOnBeforeUpdate; }
  void SetOnBeforeUpdate(TNotifyEvent Value) { FOnBeforeUpdate = std::move(Value); }
  const TNotifyEvent& OnParameterUpdate() const { return FOnParameterUpdate; }
  void SetOnParameterUpdate(TNotifyEvent Value) { FOnParameterUpdate = std::move(Value); }
  // Fired at the end of Update only while the component's editor is open.
  const TNotifyEvent& OnDisplayUpdate() const { return FOnDisplayUpdate; }
  void SetOnDisplayUpdate(TNotifyEvent Value) { FOnDisplayUpdate = std::move(Value); }
  // Lets the host supply the input just before an update; while it is
  // assigned, a missing input is no error.
  const TNotifyEvent& OnGetInput() const { return FOnGetInput; }
  void SetOnGetInput(TNotifyEvent Value) { FOnGetInput = std::move(Value); }

  // operations
  // ParameterChanged, then OnParameterUpdate. Editor windows call it after
  // each change of a parameter.
  void ParameterUpdate(classlib::TPersistent* Sender);
  // The one listener told at the end of every Update (nullptr clears it).
  // Binder names whoever set it, so that it can later take back its own
  // binding only (ClearNotifyMethod) and never another listener's.
  void SetNotifyMethod(TNotifyEvent Method, const void* Binder = nullptr);
  // Clears the listener when Binder set it.
  void ClearNotifyMethod(const void* Binder);
  bool HasNotifyMethod() const { return static_cast<bool>(FNotifyMethod); }

  // introduced virtual
  virtual void SetInput(TAnalysis* Value);
  virtual TAnalysis* GetInput() const;
  virtual void SetActive(bool Value) { FActive = Value; }
  // True only while the component is being designed: input links are
  // streamed at design time only.
  virtual bool InputStored() const;
  // Brings the inputs up to date first (while Continuous), then this one.
  // A component met again while its own UpdateChain runs (a cycle of links)
  // returns 0 there, so the walk ends.
  virtual std::uint8_t UpdateChain();
  // The component's own processing; 0 here.
  virtual std::uint8_t InternalUpdate();
  // Hears ParameterUpdate; nothing here.
  virtual void ParameterChanged(classlib::TPersistent* Sender);
  // Runs inside Update before InternalUpdate; nothing here.
  virtual void PrepareUpdate();
  // Calls the listener, when there is one.
  virtual void NotifyUpdate();
  // Checks the inputs, fires the events around PrepareUpdate and
  // InternalUpdate, notifies the listener, and clears the dirty mark when
  // InternalUpdate returned 0. A classlib::Exception raised on the way
  // reaches the caller as one whose message is Name + ": " + its message;
  // the dirty mark stays set.
  virtual std::uint8_t Update();
  // Clears the own mark, marks the chain dirty and runs UpdateChain.
  virtual std::uint8_t Pull();
  // Sets the mark and, while Continuous, marks the inputs; a component
  // already marked stops the walk (shared and cyclic links end).
  virtual void MarkDirty();
  // Pulls until a source reports end of data (2), with the listener
  // silenced meanwhile; SuspendNotify is restored on every path, an
  // exception included. It needs a source that ends.
  virtual std::uint8_t ProcessAll();

  // overrides
  // Raises "MultiChannel <> TAnalysis(Source).MultiChannel!" when Source is a
  // TAnalysis of the other kind; then the published properties are copied.
  void Assign(const classlib::TPersistent& Source) override;
  void SetTemplateMode(bool Value) override;

 protected:
  // Clears every link to a component being freed: the Inputs items that
  // held it, and Input.
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;

 private:
  bool FDirty = true;
  TNotifyEvent FOnAfterUpdate;
  TNotifyEvent FOnBeforeUpdate;
  TNotifyEvent FOnParameterUpdate;
  bool FMultiChannel = false;
  TAnalysis* FInput = nullptr;
  std::unique_ptr<TSignalCollection> FInputs;
  bool FUsesInputs = false;
  TNotifyEvent FNotifyMethod;
  const void* FNotifyBinder = nullptr;
  bool FContinuous = true;
  TNotifyEvent FOnDisplayUpdate;
  bool FSuspendNotify = false;
  TNotifyEvent FOnGetInput;
  bool FActive = true;
  // Set while UpdateChain runs, so that a cycle of links returns.
  bool FUpdating = false;
};

// A list of like components, owned by the list, with the pipeline operations
// applied to all of them. In streams the list writes itself (Count and
// PropagateInputs), then each item after it in the same stream.
class TAnalysisList : public numeric::TMtxComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TAnalysisList(classlib::TComponent* AOwner = nullptr);
  ~TAnalysisList() override;

  // properties
  std::int32_t Count() const { return static_cast<std::int32_t>(FList.size()); }
  // Appends CreateItem while the list is shorter, deletes from the end
  // while it is longer.
  void SetCount(std::int32_t Value);
  bool PropagateInputs() const { return FPropagateInputs; }
  void SetPropagateInputs(bool Value) { FPropagateInputs = Value; }
  // Raises "Index >= AList.Count" outside the list.
  TAnalysis* Items(std::int32_t Index) const;

  // introduced virtual
  // A new component for the list, owned by it; nullptr here.
  virtual TAnalysis* CreateItem();
  // Raises "Index >= AList.Count" when Index is not below Count; otherwise
  // frees the item and removes it.
  virtual void Delete(std::int32_t Index);
  virtual void Clear();
  // Update of every item in order; the last item's code (0 when empty).
  virtual std::uint8_t UpdateAll();
  // Items 1 .. Count-1 take item 0's settings: everything with
  // PropagateInputs, its parameters only (AssignTemplate) without.
  virtual void AssignFirstToOthers();
  virtual std::uint8_t PullAll();
  virtual void MarkAllDirty();

  // overrides
  void SetTemplateMode(bool Value) override;
  // The list, then every item in order, in the same stream. A load that
  // fails leaves the list and its items as they were.
  void SaveToStream(classlib::TStream& Stream) override;
  void LoadFromStream(classlib::TStream& Stream) override;
  // The items are written by SaveToStream, not as children of the list.
  void GetChildren(const std::function<void(classlib::TComponent&)>& Proc) const override;

 protected:
  void Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) override;

 private:
  std::vector<TAnalysis*> FList;
  bool FPropagateInputs = false;
};

}  // namespace sig
