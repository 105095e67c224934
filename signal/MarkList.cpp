// TMarkList: the marks, their sorting and their stream form.
// Tested by: signal/tests/MarkListTest.cpp.
#include "signal/MarkList.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "numeric/MathCore.h"
#include "platform/classlib/Streams.h"
#include "platform/classlib/SysUtils.h"

namespace sig {

namespace {

double Field(const TMarkRecord& Rec, std::uint8_t Key) {
  switch (Key) {
    case 0:
      return Rec.First;
    case 1:
      return Rec.Second;
    case 2:
      return Rec.Third;
    default:
      return Rec.Fourth;
  }
}

// Ascending, NaN last: a strict order even where the values are not numbers.
bool Before(double A, double B) {
  if (std::isnan(A)) return false;
  if (std::isnan(B)) return true;
  return A < B;
}

}  // namespace

void TMarkList::AddMark(const TMarkRecord& Rec) { FMarks.push_back(Rec); }

void TMarkList::DeleteMark(std::int32_t Index) {
  if (Index >= 0 && Index < Count()) FMarks.erase(FMarks.begin() + Index);
}

TMarkRecord& TMarkList::GetMark(std::int32_t Index) {
  if (Index < 0 || Index >= Count()) numeric::RaiseError("List index out of bounds (" + std::to_string(Index) + ")");
  return FMarks[static_cast<std::size_t>(Index)];
}

const TMarkRecord& TMarkList::GetMark(std::int32_t Index) const {
  return const_cast<TMarkList*>(this)->GetMark(Index);
}

void TMarkList::SortByField(std::uint8_t Key) {
  std::stable_sort(FMarks.begin(), FMarks.end(),
                   [Key](const TMarkRecord& A, const TMarkRecord& B) { return Before(Field(A, Key), Field(B, Key)); });
}

void TMarkList::Sort() { SortByField(FSortKey); }
void TMarkList::SortByFirst() { SortByField(0); }
void TMarkList::SortBySecond() { SortByField(1); }
void TMarkList::SortByFourth() { SortByField(3); }

void TMarkList::WriteToStream(classlib::TStream& Stream) const {
  classlib::TMemoryStream block;
  for (int i = 0; i < 3; ++i) block.WriteDouble(0.0);
  block.WriteDouble(static_cast<double>(Count()));
  for (const TMarkRecord& mark : FMarks) {
    block.WriteDouble(mark.First);
    block.WriteDouble(mark.Second);
    block.WriteDouble(mark.Third);
    block.WriteDouble(mark.Fourth);
  }
  Stream.WriteBuffer(block.Memory(), block.Size());
}

void TMarkList::ReadFromStream(classlib::TStream& Stream) {
  const std::int64_t start = Stream.Position();
  try {
    double header[4];
    for (double& value : header) value = Stream.ReadDouble();
    const double count = std::nearbyint(header[3]);
    if (!std::isfinite(count) || count < 0.0)
      numeric::RaiseError("Mark list: invalid mark count " + classlib::FloatToStr(header[3]));
    const std::int64_t left = Stream.Size() - Stream.Position();
    if (count > static_cast<double>(left / MarkRecordSize))
      numeric::RaiseError("Mark list: " + classlib::FloatToStr(count) + " marks do not fit in the " +
                          std::to_string(left) + " bytes left in the stream");
    std::vector<TMarkRecord> marks(static_cast<std::size_t>(count));
    for (TMarkRecord& mark : marks) {
      mark.First = Stream.ReadDouble();
      mark.Second = Stream.ReadDouble();
      mark.Third = Stream.ReadDouble();
      mark.Fourth = Stream.ReadDouble();
    }
    FMarks = std::move(marks);
  } catch (...) {
    Stream.SetPosition(start);
    throw;
  }
}

}  // namespace sig
