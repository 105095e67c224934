// Linked into every test program: tests neither read the user's FFTW wisdom
// file nor write one, however they are started. A test that wants a wisdom
// file names one of its own; a child run that is given one keeps it.
#include <cstdlib>

namespace {

const bool kNoWisdomFile = ::setenv("ORVEL_FFTW_WISDOM", "", 0) == 0;

}  // namespace
