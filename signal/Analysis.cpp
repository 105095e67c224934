// TAnalysis: input links, the pull pipeline and its events.
// Tested by: signal/tests/AnalysisTest.cpp.
#include "signal/Analysis.h"

#include <string>

#include "numeric/MathCore.h"
#include "signal/Signal.h"
#include "signal/SignalCollections.h"

namespace sig {

namespace {

// Sets a flag for the life of a scope, and restores it also when an
// exception leaves the scope.
class TFlagScope {
 public:
  TFlagScope(bool& Flag, bool Value) : FFlag(Flag), FSaved(Flag) { FFlag = Value; }
  ~TFlagScope() { FFlag = FSaved; }
  TFlagScope(const TFlagScope&) = delete;
  TFlagScope& operator=(const TFlagScope&) = delete;

 private:
  bool& FFlag;
  bool FSaved;
};

// An input of a multi-channel component is read as a signal.
TSignal* AsSignal(TAnalysis* Value) {
  if (Value == nullptr) return nullptr;
  auto* signal = dynamic_cast<TSignal*>(Value);
  if (signal == nullptr) numeric::RaiseError("Inputs[0] must be a TSignal: " + Value->ClassName());
  return signal;
}

}  // namespace

const classlib::TClassInfo& TAnalysis::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TAnalysis>("TAnalysis", TMtxComponent::StaticClassInfo())
          .Property("Active", &TAnalysis::Active, &TAnalysis::SetActive, true)
          .Property("Continuous", &TAnalysis::Continuous, &TAnalysis::SetContinuous, true)
          .Creatable()
          .Build();
  return info;
}

TAnalysis::TAnalysis(classlib::TComponent* AOwner) : TMtxComponent(AOwner) {}

TAnalysis::~TAnalysis() {
  SetInput(nullptr);
  FInputs.reset();
}

void TAnalysis::SetMultiChannel(bool Value) {
  if (Value == FMultiChannel) return;
  FMultiChannel = Value;
  if (Value)
    FInputs = std::make_unique<TSignalCollection>(this);
  else
    FInputs.reset();
}

void TAnalysis::SetInputs(const TSignalCollection& Value) {
  if (!FInputs || &Value == FInputs.get()) return;
  FInputs->Assign(Value);
  if (FInputs->Count() > 0) SetInput(FInputs->Items(0)->Input());
}

void TAnalysis::SetInput(TAnalysis* Value) {
  if (Value == GetInput()) return;
  // Checked before anything changes: the collection holds signals.
  TSignal* signal = FInputs ? AsSignal(Value) : nullptr;
  FInput = Value;
  if (Value != nullptr) Value->FreeNotification(*this);
  if (FInputs) {
    if (FInputs->Count() == 0) FInputs->Add();
    FInputs->Items(0)->SetInput(signal);
  }
}

TAnalysis* TAnalysis::GetInput() const {
  if (FInputs) return FInputs->Count() > 0 ? FInputs->Items(0)->Input() : nullptr;
  return FInput;
}

bool TAnalysis::InputStored() const { return HasState(classlib::csDesigning); }

void TAnalysis::Assign(const classlib::TPersistent& Source) {
  if (const auto* source = dynamic_cast<const TAnalysis*>(&Source))
    if (source->FMultiChannel != FMultiChannel)
      numeric::RaiseError("MultiChannel <> TAnalysis(Source).MultiChannel!");
  TMtxComponent::Assign(Source);
}

void TAnalysis::SetTemplateMode(bool Value) { TMtxComponent::SetTemplateMode(Value); }

void TAnalysis::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  // The freed component's own parts are gone by now: its links are dropped
  // without a call to it.
  if (Operation == classlib::opRemove && AComponent != this) {
    if (FInputs)
      for (int i = 0; i < FInputs->Count(); ++i)
        if (FInputs->Items(i)->Input() == AComponent) FInputs->Items(i)->ClearInput();
    if (FInput == AComponent) FInput = nullptr;
  }
  TMtxComponent::Notification(AComponent, Operation);
}

void TAnalysis::ParameterUpdate(classlib::TPersistent* Sender) {
  ParameterChanged(Sender);
  if (FOnParameterUpdate) FOnParameterUpdate(Sender);
}

void TAnalysis::ParameterChanged(classlib::TPersistent*) {}

void TAnalysis::SetNotifyMethod(TNotifyEvent Method, const void* Binder) {
  FNotifyMethod = std::move(Method);
  FNotifyBinder = FNotifyMethod ? Binder : nullptr;
}

void TAnalysis::ClearNotifyMethod(const void* Binder) {
  if (FNotifyBinder == Binder) SetNotifyMethod(nullptr);
}

void TAnalysis::NotifyUpdate() {
  if (FNotifyMethod) FNotifyMethod(this);
}

void TAnalysis::PrepareUpdate() {}

std::uint8_t TAnalysis::InternalUpdate() { return 0; }

void TAnalysis::MarkDirty() {
  if (FDirty) return;
  FDirty = true;
  if (!FContinuous) return;
  if (FMultiChannel) {
    if (!FInputs) return;
    for (int i = 0; i < FInputs->Count(); ++i)
      if (TSignal* input = FInputs->Items(i)->Input()) input->MarkDirty();
  } else if (TAnalysis* input = GetInput()) {
    input->MarkDirty();
  }
}

std::uint8_t TAnalysis::Pull() {
  FDirty = false;
  MarkDirty();
  return UpdateChain();
}

std::uint8_t TAnalysis::UpdateChain() {
  if (FUpdating) return 0;
  if (!FDirty || !FActive) return 0;
  TFlagScope updating(FUpdating, true);
  if (!FContinuous) return Update();
  const auto settle = [](TAnalysis& input) {
    std::uint8_t r = input.UpdateChain();
    while (r == 1) r = input.UpdateChain();
    return r;
  };
  if (!FMultiChannel) {
    TAnalysis* input = GetInput();
    if (input == nullptr) return Update();
    return settle(*input) == 2 ? 2 : Update();
  }
  bool ended = false;
  if (FInputs)
    for (int i = 0; i < FInputs->Count(); ++i)
      if (TSignal* input = FInputs->Items(i)->Input())
        if (settle(*input) == 2) ended = true;
  return ended ? 2 : Update();
}

std::uint8_t TAnalysis::Update() {
  try {
    if (FUsesInputs && !FOnGetInput) {
      if (FMultiChannel) {
        // An empty collection has no item 0: it is missing like a nil one.
        const int count = FInputs ? FInputs->Count() : 0;
        if (count == 0) numeric::RaiseError("Inputs[0] = nil!");
        for (int i = 0; i < count; ++i)
          if (FInputs->Items(i)->Input() == nullptr)
            numeric::RaiseError("Inputs[" + std::to_string(i) + "] = nil!");
      } else if (GetInput() == nullptr) {
        numeric::RaiseError("Input = nil!");
      }
    }
    if (FOnGetInput) FOnGetInput(this);
    if (FOnBeforeUpdate) FOnBeforeUpdate(this);
    PrepareUpdate();
    const std::uint8_t result = InternalUpdate();
    if (FOnAfterUpdate) FOnAfterUpdate(this);
    if (FOnDisplayUpdate && EditorOpen()) FOnDisplayUpdate(this);
    if (!FSuspendNotify) NotifyUpdate();
    if (result == 0) FDirty = false;
    return result;
  } catch (const classlib::Exception& e) {
    throw classlib::Exception(Name() + ": " + e.Message());
  }
}

std::uint8_t TAnalysis::ProcessAll() {
  TFlagScope silent(FSuspendNotify, true);
  std::uint8_t r = Pull();
  while (r != 2) r = Pull();
  return r;
}

}  // namespace sig
