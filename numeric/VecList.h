// TVecList: a list that owns its vectors and copies, saves and loads them as
// a whole; the signal components keep per-channel data in it.
//
// Stream layout: a 32-bit signed count N, then N vector streams one after
// another (numeric/SampleStreams.h), each in double precision.
//
// Tested by: numeric/tests/VecListReportTest.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "numeric/Vec.h"

namespace classlib {
class TStream;
}

namespace numeric {

class TVecList {
 public:
  TVecList() = default;
  virtual ~TVecList();
  TVecList(const TVecList&) = delete;
  TVecList& operator=(const TVecList&) = delete;

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // The vector at Index; outside the list raises "List index out of bounds (<Index>)".
  TVec& Items(std::int32_t Index) const;
  // Adds vectors at the end until there are N, or deletes from the end down to N.
  void SetCount(std::int32_t N);

  // Appends a new empty vector; returns its index.
  virtual std::int32_t Add();
  // Frees the vector at Index and removes its entry.
  virtual void Delete(std::int32_t Index);
  // Deletes every entry, the last first.
  virtual void Clear();
  // Afterwards the list holds Src.Count vectors (added or deleted at the
  // end), vector i a copy of Src's (caption, tag, checks and values).
  virtual void Assign(const TVecList& Src);
  // The count, then every vector in double precision; written whole or not
  // at all.
  virtual void SaveToStream(classlib::TStream& Stream) const;
  // Reads the count and every vector into the list's vectors in order
  // (added when the list is too short, surplus ones deleted). A negative
  // count, or one the bytes left cannot hold, raises "TVecList: Error
  // reading stream! ..."; any refused stream leaves the list and its
  // vectors as they were, and the stream's position where it was.
  virtual void LoadFromStream(classlib::TStream& Stream);

 private:
  std::vector<std::unique_ptr<TVec>> FItems;
};

}  // namespace numeric
