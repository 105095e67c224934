// Internal to the signal-primitives layer's sources: the two builds of a hot
// loop and the four-double vector its explicit forms use.
//
// ORVEL_WIDE_LOOP builds a function twice, for AVX2 and for the baseline,
// and picks one at load time; ORVEL_FMA_LOOP the same with fused
// multiply-adds in hardware (x86-64-v3). A loop that gives every element the
// same operations in the same order gives the same bits in both builds; a
// fused multiply-add is rounded once by definition, so std::fma gives the
// same bits whether the instruction or the C library computes it.
#pragma once

#include <cstring>

#if defined(__GNUC__) && defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define ORVEL_WIDE_LOOP __attribute__((target_clones("avx2", "default")))
#define ORVEL_FMA_LOOP __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define ORVEL_WIDE_LOOP
#define ORVEL_FMA_LOOP
#endif

namespace spl::detail {

// Four doubles, one AVX register (two SSE registers in the baseline build).
typedef double TV4 __attribute__((vector_size(32)));

}  // namespace spl::detail

// Unaligned loads and stores of a TV4 through memcpy (one instruction each),
// written as macros: a function passing the vector by value would change its
// calling convention between the two builds of a loop.
#define ORVEL_LOAD4(v, p) std::memcpy(&(v), (p), sizeof(::spl::detail::TV4))
#define ORVEL_STORE4(p, v) std::memcpy((p), &(v), sizeof(::spl::detail::TV4))
