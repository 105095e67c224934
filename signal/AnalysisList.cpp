// TAnalysisList: a list of owned components with the pipeline operations
// applied to each, streamed as the list followed by its items.
// Tested by: signal/tests/AnalysisTest.cpp.
#include <algorithm>

#include "numeric/MathCore.h"
#include "platform/classlib/Streams.h"
#include "signal/Analysis.h"

namespace sig {

const classlib::TClassInfo& TAnalysisList::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TAnalysisList>("TAnalysisList", TMtxComponent::StaticClassInfo())
          .Property("Count", &TAnalysisList::Count, &TAnalysisList::SetCount)
          .Property("PropagateInputs", &TAnalysisList::PropagateInputs, &TAnalysisList::SetPropagateInputs, false)
          .Creatable()
          .Build();
  return info;
}

TAnalysisList::TAnalysisList(classlib::TComponent* AOwner) : TMtxComponent(AOwner) { FList.reserve(10); }

TAnalysisList::~TAnalysisList() { Clear(); }

void TAnalysisList::SetCount(std::int32_t Value) {
  while (Count() < Value) {
    TAnalysis* item = CreateItem();
    // A list that makes no items (the base class) cannot grow.
    if (item == nullptr) return;
    FList.push_back(item);
  }
  while (Count() > std::max(Value, 0)) Delete(std::max(Value, 0));
}

TAnalysis* TAnalysisList::Items(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) numeric::RaiseError("Index >= AList.Count");
  return FList[static_cast<std::size_t>(Index)];
}

TAnalysis* TAnalysisList::CreateItem() { return nullptr; }

void TAnalysisList::Delete(std::int32_t Index) {
  TAnalysis* item = Items(Index);
  FList.erase(FList.begin() + Index);
  delete item;
}

void TAnalysisList::Clear() {
  for (std::int32_t i = Count(); i > 0; --i) Delete(0);
}

std::uint8_t TAnalysisList::UpdateAll() {
  std::uint8_t result = 0;
  for (TAnalysis* item : std::vector<TAnalysis*>(FList)) result = item->Update();
  return result;
}

std::uint8_t TAnalysisList::PullAll() {
  std::uint8_t result = 0;
  for (TAnalysis* item : std::vector<TAnalysis*>(FList)) result = item->Pull();
  return result;
}

void TAnalysisList::MarkAllDirty() {
  for (TAnalysis* item : FList) item->MarkDirty();
}

void TAnalysisList::AssignFirstToOthers() {
  for (std::int32_t i = 1; i < Count(); ++i) {
    if (FPropagateInputs)
      Items(i)->Assign(*Items(0));
    else
      Items(i)->AssignTemplate(*Items(0));
  }
}

void TAnalysisList::SetTemplateMode(bool Value) {
  TMtxComponent::SetTemplateMode(Value);
  for (TAnalysis* item : FList) item->SetTemplateMode(Value);
}

void TAnalysisList::SaveToStream(classlib::TStream& Stream) {
  // Built whole before it goes out, so that a refused item writes nothing.
  classlib::TMemoryStream bytes;
  TMtxComponent::SaveToStream(bytes);
  for (TAnalysis* item : FList) item->SaveToStream(bytes);
  Stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

void TAnalysisList::LoadFromStream(classlib::TStream& Stream) {
  const std::int64_t start = Stream.Position();
  classlib::TMemoryStream backup;
  SaveToStream(backup);
  try {
    TMtxComponent::LoadFromStream(Stream);
    for (TAnalysis* item : FList) item->LoadFromStream(Stream);
  } catch (...) {
    backup.SetPosition(0);
    try {
      TMtxComponent::LoadFromStream(backup);
      for (TAnalysis* item : FList) item->LoadFromStream(backup);
    } catch (...) {
      // The load's own error is the one to report.
    }
    Stream.SetPosition(start);
    throw;
  }
}

void TAnalysisList::GetChildren(const std::function<void(classlib::TComponent&)>&) const {}

void TAnalysisList::Notification(classlib::TComponent* AComponent, classlib::TOperation Operation) {
  // An item freed by someone else leaves the list.
  if (Operation == classlib::opRemove)
    FList.erase(std::remove(FList.begin(), FList.end(), AComponent), FList.end());
  TMtxComponent::Notification(AComponent, Operation);
}

}  // namespace sig
