// What the vector and the matrix share: their forward declarations, the
// signatures of their size-change events and the power-of-two test on sizes.
// A header that only names TVec or TMtx includes this one instead of the
// class headers.
#pragma once

#include <cstdint>
#include <functional>

namespace numeric {

class TVec;
class TMtx;

namespace detail {
// The object cache's access to what a returned object must have restored.
struct TCacheAccess;
}  // namespace detail

// True when N is 2 or a larger power of two.
bool IsExp2(std::int32_t N);

using TVecNotifyEvent = std::function<void(TVec& Sender)>;
using TMtxNotifyEvent = std::function<void(TMtx& Sender)>;

}  // namespace numeric
