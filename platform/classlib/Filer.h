// The filer hands a persistent's DefineProperties the means to add data that
// its property table cannot describe (sample blocks, series values, obsolete
// property names of older streams).
#pragma once

#include <functional>
#include <string>

namespace classlib {

class TStream;
class TReader;
class TWriter;

class TFiler {
 public:
  virtual ~TFiler() = default;

  // A property whose value is one typed value written and read by the
  // callbacks; a reader calls readData when the stream holds the name, a writer
  // calls writeData when hasData is set.
  virtual void DefineProperty(const std::string& name, std::function<void(TReader&)> readData,
                              std::function<void(TWriter&)> writeData, bool hasData) = 0;
  // A property whose value is an untyped block of bytes.
  virtual void DefineBinaryProperty(const std::string& name, std::function<void(TStream&)> readData,
                                    std::function<void(TStream&)> writeData, bool hasData) = 0;
};

}  // namespace classlib
