// Numora, the numeric core's public header: the vector TVec, the matrix TMtx
// and the object cache of temporary vectors and matrices. Include this one;
// a header that needs less takes the part it needs.
//
//   NumoraBase.h   forward declarations, size-change events, IsExp2
//   SampleStreams.h  sample precisions and the codec of the vector and matrix streams
//   VecStorage.h   TVecs: the vector's fields, properties and sizing primitives
//   Vec.h          TVec: the vector's operations, one section per source
//   MtxStorage.h   the matrix property enums and TMtx1: fields, properties, sizing
//   Mtx.h          TMtx: the matrix's operations, one section per source
//   ObjectCache.h  CreateIt/FreeIt, TCached, InitNumora/DoneNumora, cache sizes
//   VecList.h      TVecList, the owned list of vectors
//   NumoraReport.h TNumoraReport, text reports of vectors, matrices and values
//
// Errors raise classlib::Exception through RaiseError with literal texts.
// Checks that keep memory in range are made always; ConditionCheck governs
// only the argument checks documented as gated.
//
// Threads: any thread may call CreateIt/FreeIt; the cache takes one lock. A
// vector or matrix belongs to the thread that uses it and is not locked.
#pragma once

#include "numeric/MathCore.h"
#include "numeric/NumoraBase.h"
#include "numeric/SampleStreams.h"
#include "numeric/VecStorage.h"
#include "numeric/Vec.h"
#include "numeric/MtxStorage.h"
#include "numeric/Mtx.h"
#include "numeric/NumoraReport.h"
#include "numeric/ObjectCache.h"
#include "numeric/VecList.h"
