// The one road of the chart objects' property setters: a changed value is
// stored and the owner's picture marked stale (its Invalidate), so the next
// pass draws it; an equal value changes nothing and costs no pass. No setter
// draws: drawing belongs to the pass.
#pragma once

#include <type_traits>
#include <utility>

namespace chart {

template <class TOwner, class V>
void StoreAndInvalidate(TOwner& owner, V& field, const std::type_identity_t<V>& value) {
  if (field == value) return;
  field = value;
  owner.Invalidate();
}

}  // namespace chart
