// The owned list of vectors and its stream.
// Tested by: numeric/tests/VecListReportTest.cpp.
#include "numeric/VecList.h"

#include <string>

#include "platform/classlib/Streams.h"

namespace numeric {

namespace {

// The fewest bytes a vector stream takes: its header and the caption's count.
constexpr std::int64_t kSmallestVecStream = 44 + 4;

}  // namespace

TVecList::~TVecList() {
  // Not the virtual Clear: a descendant is gone by now.
  while (!FItems.empty()) FItems.pop_back();
}

TVec& TVecList::Items(std::int32_t Index) const {
  if (Index < 0 || Index >= Count()) RaiseError("List index out of bounds (" + std::to_string(Index) + ")");
  return *FItems[static_cast<std::size_t>(Index)];
}

void TVecList::SetCount(std::int32_t N) {
  while (Count() < N) Add();
  while (Count() > N && Count() > 0) Delete(Count() - 1);
}

std::int32_t TVecList::Add() {
  FItems.push_back(std::make_unique<TVec>());
  return Count() - 1;
}

void TVecList::Delete(std::int32_t Index) {
  Items(Index);  // the bounds check
  FItems.erase(FItems.begin() + Index);
}

void TVecList::Clear() {
  for (std::int32_t i = Count() - 1; i >= 0; --i) Delete(i);
}

void TVecList::Assign(const TVecList& Src) {
  if (&Src == this) return;
  SetCount(Src.Count());
  for (std::int32_t i = 0; i < Count(); ++i) Items(i).Assign(Src.Items(i));
}

void TVecList::SaveToStream(classlib::TStream& Stream) const {
  classlib::TMemoryStream bytes;
  bytes.WriteInt32(Count());
  for (const auto& v : FItems) v->SaveToStream(bytes, prDouble, rnTrunc);
  Stream.WriteBuffer(bytes.Memory(), bytes.Size());
}

void TVecList::LoadFromStream(classlib::TStream& Stream) {
  const std::int64_t start = Stream.Position();
  std::vector<std::unique_ptr<TVec>> loaded;
  try {
    const std::int32_t count = Stream.ReadInt32();
    const std::int64_t left = Stream.Size() - Stream.Position();
    if (count < 0 || count > left / kSmallestVecStream)
      RaiseError("TVecList: Error reading stream! The count " + std::to_string(count) + " does not fit the " +
                 std::to_string(left) + " bytes that follow");
    // Read into copies first, so that a stream refused half-way changes
    // nothing; each copy starts from the vector it replaces, which an old
    // stream without caption or tag leaves as they were.
    for (std::int32_t i = 0; i < count; ++i) {
      auto v = std::make_unique<TVec>();
      if (i < Count()) v->Assign(Items(i));
      v->LoadFromStream(Stream);
      loaded.push_back(std::move(v));
    }
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
  SetCount(static_cast<std::int32_t>(loaded.size()));
  for (std::size_t i = 0; i < loaded.size(); ++i) Items(static_cast<std::int32_t>(i)).Assign(*loaded[i]);
}

}  // namespace numeric
