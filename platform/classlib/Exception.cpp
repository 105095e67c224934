#include "platform/classlib/Exception.h"

namespace classlib {
// Anchors the vtable of Exception in one translation unit.
}  // namespace classlib
