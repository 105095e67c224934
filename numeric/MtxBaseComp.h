// MtxBaseComp: TMtxComponent, the base of the processing components of the
// signal library and of the progress dialog. It gives them one persistence
// scheme for their published properties: streams and files with a check of
// the class name, copies through a stream, and a template mode in which
// only parameters travel, not data.
//
// Stream layout written by SaveToStream:
//   offset 0      32-bit signed length L of the class name
//   offset 4      the class name, L single-byte characters
//   offset 4 + L  the component in the class library's component stream
//                 (platform/classlib/ComponentStream.h), its Name empty
//
// Tested by: numeric/tests/MtxBaseCompTest.cpp.
#pragma once

#include <string>

#include "platform/classlib/Component.h"

namespace classlib {
class TStream;
}

namespace numeric {

// Sets the published properties of Instance back as a load expects them:
// integers, characters, enumerations, sets, booleans and strings to their
// declared default (unchanged without one), floating-point values to 0,
// 64-bit integers to their declared default or 0; a persistent sub-object
// that is not a component is reset in turn; components, read-only plain
// properties and others are left alone. A property whose stored-condition
// says it is not written (Name; data in template mode) keeps its value, as
// nothing in a stream could give it back. Floats go to 0 because the
// component stream writes every float that is not 0, so a save and a load
// return every value.
void ResetPublishedProps(classlib::TPersistent& Instance);

// The class name before the component: a 32-bit length, then its characters.
// The reader clamps the length into 0 .. 254 and skips what lies beyond.
void WriteStreamString(classlib::TStream& Stream, const std::string& S);
void ReadStreamString(classlib::TStream& Stream, std::string& S);
// Raises "Data format type missmatch: <stored> <> <own>". A stored name with
// bytes no class name holds (a file of another kind read as a stream) is
// shown as "(unreadable)" rather than as those bytes.
[[noreturn]] void RaiseDataFormatMismatch(const std::string& Stored, const std::string& Own);

class TMtxComponent : public classlib::TComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TMtxComponent(classlib::TComponent* AOwner = nullptr);

  // When this component is of Source's class or descends from it, copies
  // Source's published properties through a memory stream (SaveToStream of
  // Source, LoadFromStream here); each keeps its own Name. Otherwise the
  // inherited assignment, which raises for classes it does not know.
  void Assign(const classlib::TPersistent& Source) override;

  // Set while a template load, save or assign runs; the analysis classes
  // pass it on to their inputs.
  virtual void SetTemplateMode(bool Value);
  virtual bool TemplateMode() const;
  // The class name of the component's editor form; empty here.
  virtual std::string EditorClassName() const;
  // The stored-condition of the descendants' data properties: False in
  // template mode and while the component is being designed.
  virtual bool DataStored() const;

  // The class name, then the component with its published properties, its
  // Name left out. Descendants add their own data around it.
  virtual void SaveToStream(classlib::TStream& Stream);
  // Reads the class name: one that is neither this component's nor that of
  // an ancestor registered under it raises "Data format type missmatch: " +
  // stored name + " <> " + own class name. Then the properties are reset
  // (ResetPublishedProps) and the component read. Any failure leaves the
  // component as it was (its Name too) and the stream's position where it was.
  virtual void LoadFromStream(classlib::TStream& Stream);
  // The file is replaced whole, or left as it was when writing fails.
  virtual void SaveToFile(const std::string& FileName);
  // A file that does not exist leaves the component unchanged, without an
  // error; a malformed one raises the stream's error with the file's name.
  virtual void LoadFromFile(const std::string& FileName);
  // Assign with this component and Source in template mode: parameters only.
  virtual void AssignTemplate(TMtxComponent& Source);
  // The plain operations in template mode, which ends also when they raise.
  virtual void LoadTemplateFromStream(classlib::TStream& Stream);
  virtual void LoadTemplateFromFile(const std::string& FileName);
  virtual void SaveTemplateToStream(classlib::TStream& Stream);
  virtual void SaveTemplateToFile(const std::string& FileName);

  // Set while the component's editor form is open.
  void SetEditorOpen(bool Value) { FEditorOpen = Value; }
  bool EditorOpen() const { return FEditorOpen; }

 private:
  bool FEditorOpen = false;
  bool FTemplateMode = false;
};

}  // namespace numeric
