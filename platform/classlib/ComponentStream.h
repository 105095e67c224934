// The component stream: components saved and loaded through their property
// tables, in the binary or the text form of ObjectStream.h.
//
//   classlib::WriteComponent(stream, chart);
//   classlib::ReadComponent(stream, chart);           // all of it, or nothing
//   std::string text = classlib::ComponentToText(chart);
//
// Writing: per component its class name and Name, then every property of its
// table (ancestors' first) that IsStored says to write: the stored-condition
// holds and the value differs from the declared default; a floating-point
// value unless it is +0 with a default of 0 or none; never Name (it is in the
// header) nor a read-only plain property. A property holding a persistent
// object writes the object's own properties nested under its name (nothing
// when none is stored); one holding a collection writes its items (nothing
// when empty); one holding a component writes a reference to it by name.
// Then what DefineProperties adds (binary data, extra and obsolete names),
// then the children that GetChildren lists, each the same way.
//
// Reading: ReadComponent first takes the whole stream apart, so a stream that
// is truncated, corrupted or oversized is refused before anything changes. It
// then reads it into a fresh instance of the target's class (made through its
// class information, beside an owner of its own) with warnings held back; only
// when that succeeds does it read the stream into the target itself, so a
// failure leaves the target as it was. A class without a factory is read into
// directly. For this to hold, readers (setters, DefineProperties callbacks,
// Loaded) must not depend on anything outside the stream to succeed: they may
// use a parent chart when there is one, but must not fail without it.
// The reader sets the properties that the stream holds and leaves the others
// alone: it resets nothing (a component that wants its defaults back resets
// itself first). A property the class does not know, by its table or its
// DefineProperties, is reported to the warning sink with the property's and
// the class's names and skipped. Children are found among the child owner's
// components by Name and class, or made through the class registry; reading a
// collection replaces its items. References are set once every object is
// read; one that names no component found from the root is reported and left
// as it was. Finally Loaded runs on every component read, the root first.
// Errors raise EReadError "Error reading <path> at byte N: <reason>" (or "at
// line N" for text), and the form's own messages of ObjectStream.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Component.h"
#include "platform/classlib/Filer.h"
#include "platform/classlib/ObjectStream.h"

namespace classlib {

// Reads the one value of a property that DefineProperties declared. A read
// that finds another type of value than it asks for raises EReadError and
// leaves that value next.
class TReader {
 public:
  explicit TReader(const TStreamValue& value);

  // The type of the next value; vaNull at the end of a list or of the value.
  TValueType NextValue() const;
  bool ReadBoolean();
  // An integer of 32 bits; a larger one is refused.
  std::int32_t ReadInteger();
  std::int64_t ReadInt64();
  // A floating-point number, or an integer taken as one.
  double ReadFloat();
  std::string ReadString();
  // An identifier (True, False and nil read as their names).
  std::string ReadIdent();
  void ReadListBegin();
  bool EndOfList() const;
  // Raises when the list holds more values.
  void ReadListEnd();
  void SkipValue();

 private:
  struct TLevel {
    const TStreamValue* First;
    std::size_t Count;
    std::size_t Index;
  };
  const TStreamValue& Take(const char* expected, bool (*accepts)(TValueType));
  std::vector<TLevel> FLevels;
};

// Writes the one value of a property that DefineProperties declared.
class TWriter {
 public:
  void WriteBoolean(bool value);
  void WriteInteger(std::int64_t value);
  void WriteFloat(double value);
  void WriteString(std::string_view value);
  void WriteIdent(std::string_view value);
  void WriteListBegin();
  void WriteListEnd();

  // The value written; raises EWriteError naming the property unless exactly
  // one complete value was written.
  TStreamValue TakeValue(const std::string& propertyName);

 private:
  void Add(TStreamValue value);
  std::vector<TStreamValue> FDone;
  std::vector<TStreamValue> FOpen;
};

// The tree of a component and its children, and reading one into a component.
TStreamObject ComponentToObject(const TComponent& instance);
void ReadComponentObject(const TStreamObject& object, TComponent& instance);

// The binary form. A failed read leaves the stream's position where it was.
void WriteComponent(TStream& stream, const TComponent& instance);
void ReadComponent(TStream& stream, TComponent& instance);

// The text form.
std::string ComponentToText(const TComponent& instance);
void ReadComponentText(std::string_view text, TComponent& instance);

// A persistent's properties as one property list (vaObject) in the binary
// form, for binary properties that hold several objects. A reference to a
// component inside is resolved at once from the component being read.
void WritePropertyList(TStream& stream, const TPersistent& instance);
void ReadPropertyList(TStream& stream, TPersistent& instance);

}  // namespace classlib
