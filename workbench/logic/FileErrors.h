// The error of a workbench file that cannot be read or written, and the texts
// that say what is wrong with it. Every message names the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/classlib/Exception.h"

namespace workbench {

// A file refused by a reader or a writer; nothing in memory or on disk was changed.
class EWorkbenchFile : public classlib::Exception {
 public:
  EWorkbenchFile(std::string fileName, const std::string& message)
      : classlib::Exception(message), file_name_(std::move(fileName)) {}

  const std::string& FileName() const noexcept { return file_name_; }

 private:
  std::string file_name_;
};

// Caption of the message box in which a reader reports a refused file.
inline constexpr const char* capFileRefused = "Ошибка чтения файла";

inline constexpr const char* msgFileTooLarge = "файл слишком большой";
inline constexpr const char* msgFileTooShort = "файл обрывается";
inline constexpr const char* msgOutOfMemory = "недостаточно памяти, чтобы прочитать файл";

// "Файл "name": what".
std::string FileErrorText(std::string_view fileName, std::string_view what);
// "Файл "name", строка N: what".
std::string FileLineErrorText(std::string_view fileName, std::int64_t line, std::string_view what);

}  // namespace workbench
