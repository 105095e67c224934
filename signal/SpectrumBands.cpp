// TSpectrumBandsAnalyzer: the band templates of a spectrum analyser.
// Tested by: signal/tests/SpectrumAnalyzerTest.cpp.
#include "signal/SpectrumBands.h"

#include <string>

#include "platform/classlib/Exception.h"

namespace sig {

void TSpectrumBands::Delete(std::int32_t Index) {
  throw classlib::Exception("List index out of bounds (" + std::to_string(Index) + ")");
}

const classlib::TClassInfo& TSpectrumBandsAnalyzer::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TSpectrumBandsAnalyzer>("TSpectrumBandsAnalyzer", TStreamTemplates::StaticClassInfo())
          .Build();
  return info;
}

TSpectrumBandsAnalyzer::TSpectrumBandsAnalyzer(TSpectrumAnalyzer& Owner)
    : FOwner(Owner), FBands(std::make_unique<TSpectrumBands>(this)) {
  SetTemplate(FBands.get());
}

TSpectrumBandsAnalyzer::~TSpectrumBandsAnalyzer() { SetTemplate(nullptr); }

}  // namespace sig
