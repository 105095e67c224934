// Covers numeric/MtxBaseComp.cpp with a small filter component: its
// published parameters, a data vector and matrix stored only outside
// template mode, a descendant and an unrelated class. Full and template
// saves and loads, copies, the class-name check, the reset before a load,
// failures that leave the component as it was, and files.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "numeric/MtxBaseComp.h"
#include "numeric/Numora.h"
#include "numeric/tests/VecTestUtil.h"
#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/Streams.h"
#include "testing/TestSupport.h"

namespace numeric {
namespace {

using orvel::testing::FileBytes;
using orvel::testing::RaisedMessage;
using orvel::testing::Raises;
using orvel::testing::TTempDir;
using testutil::DoublesOf;
using testutil::Set;

enum TTestKind : std::uint8_t { tkLow, tkHigh, tkBand };

// Parameters: Order (default 4), Ripple (float, no default), Gain (float,
// default 1), Kind (default tkLow), Active (default True), Label (string),
// Count (64-bit, default 7). Data: SamplingFrequency, Data (TVec), Weights
// (TMtx), stored only when DataStored.
class TTestFilter : public TMtxComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TTestFilter(classlib::TComponent* AOwner = nullptr) : TMtxComponent(AOwner) {}

  std::int32_t Order() const { return FOrder; }
  void SetOrder(std::int32_t v) { FOrder = v; }
  double Ripple() const { return FRipple; }
  void SetRipple(double v) { FRipple = v; }
  double Gain() const { return FGain; }
  void SetGain(double v) { FGain = v; }
  TTestKind Kind() const { return FKind; }
  void SetKind(TTestKind v) { FKind = v; }
  bool Active() const { return FActive; }
  void SetActive(bool v) { FActive = v; }
  const std::string& Label() const { return FLabel; }
  void SetLabel(const std::string& v) { FLabel = v; }
  std::int64_t Count() const { return FCount; }
  void SetCount(std::int64_t v) { FCount = v; }
  double SamplingFrequency() const { return FSamplingFrequency; }
  void SetSamplingFrequency(double v) { FSamplingFrequency = v; }
  TVec* Data() const { return FData.get(); }
  TMtx* Weights() const { return FWeights.get(); }
  std::string EditorClassName() const override { return "TTestFilterForm"; }

 private:
  std::int32_t FOrder = 4;
  double FRipple = 0.0;
  double FGain = 1.0;
  TTestKind FKind = tkLow;
  bool FActive = true;
  std::string FLabel;
  std::int64_t FCount = 7;
  double FSamplingFrequency = 1.0;
  std::unique_ptr<TVec> FData = std::make_unique<TVec>();
  std::unique_ptr<TMtx> FWeights = std::make_unique<TMtx>();
};

const classlib::TClassInfo& TTestFilter::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TTestFilter>("TTestFilter", TMtxComponent::StaticClassInfo())
          .Property("Order", &TTestFilter::Order, &TTestFilter::SetOrder, 4)
          .Property("Ripple", &TTestFilter::Ripple, &TTestFilter::SetRipple)
          .Property("Gain", &TTestFilter::Gain, &TTestFilter::SetGain, 1.0)
          .Property("Kind", &TTestFilter::Kind, &TTestFilter::SetKind, tkLow)
          .Names({"tkLow", "tkHigh", "tkBand"})
          .Property("Active", &TTestFilter::Active, &TTestFilter::SetActive, true)
          .Property("Label", &TTestFilter::Label, &TTestFilter::SetLabel)
          .Property("Count", &TTestFilter::Count, &TTestFilter::SetCount, std::int64_t{7})
          .Property("SamplingFrequency", &TTestFilter::SamplingFrequency, &TTestFilter::SetSamplingFrequency)
          .Stored(&TTestFilter::DataStored)
          .SubObject("Data", &TTestFilter::Data)
          .Stored(&TTestFilter::DataStored)
          .SubObject("Weights", &TTestFilter::Weights)
          .Stored(&TTestFilter::DataStored)
          .Creatable()
          .Build();
  return info;
}

class TTestFilterEx : public TTestFilter {
  ORVEL_CLASS_INFO
 public:
  explicit TTestFilterEx(classlib::TComponent* AOwner = nullptr) : TTestFilter(AOwner) {}
  std::int32_t Taps() const { return FTaps; }
  void SetTaps(std::int32_t v) { FTaps = v; }

 private:
  std::int32_t FTaps = 0;
};

const classlib::TClassInfo& TTestFilterEx::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TTestFilterEx>("TTestFilterEx", TTestFilter::StaticClassInfo())
          .Property("Taps", &TTestFilterEx::Taps, &TTestFilterEx::SetTaps, 0)
          .Creatable()
          .Build();
  return info;
}

class TTestOther : public TMtxComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TTestOther(classlib::TComponent* AOwner = nullptr) : TMtxComponent(AOwner) {}
};

const classlib::TClassInfo& TTestOther::StaticClassInfo() {
  static const classlib::TClassInfo info =
      classlib::TClassBuilder<TTestOther>("TTestOther", TMtxComponent::StaticClassInfo()).Creatable().Build();
  return info;
}

class MtxBaseComp : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    classlib::RegisterClasses(
        {&TTestFilter::StaticClassInfo(), &TTestFilterEx::StaticClassInfo(), &TTestOther::StaticClassInfo()});
  }
};

// Every parameter and every piece of data away from its default.
void Fill(TTestFilter& f) {
  f.SetOrder(12);
  f.SetRipple(0.125);
  f.SetGain(0.0);
  f.SetKind(tkBand);
  f.SetActive(false);
  f.SetLabel("band 1");
  f.SetCount(-5000000000);
  f.SetSamplingFrequency(44100.0);
  Set(*f.Data(), {1.5, -2, 3});
  f.Data()->SetCaption("samples");
  f.Weights()->SetIt(2, 2, false, std::vector<double>{1, 2, 3, 4});
}

void ExpectParameters(const TTestFilter& f) {
  EXPECT_EQ(f.Order(), 12);
  EXPECT_EQ(f.Ripple(), 0.125);
  EXPECT_EQ(f.Gain(), 0.0);
  EXPECT_EQ(f.Kind(), tkBand);
  EXPECT_FALSE(f.Active());
  EXPECT_EQ(f.Label(), "band 1");
  EXPECT_EQ(f.Count(), -5000000000);
}

void ExpectData(const TTestFilter& f) {
  EXPECT_EQ(f.SamplingFrequency(), 44100.0);
  EXPECT_EQ(DoublesOf(*f.Data()), (std::vector<double>{1.5, -2, 3}));
  EXPECT_EQ(f.Data()->Caption(), "samples");
  ASSERT_EQ(f.Weights()->Rows(), 2);
  EXPECT_EQ(std::vector<double>(f.Weights()->Values(), f.Weights()->Values() + 4), (std::vector<double>{1, 2, 3, 4}));
}

std::string SavedBytes(TMtxComponent& c) {
  classlib::TStringStream s;
  c.SaveToStream(s);
  return s.DataString();
}

TEST_F(MtxBaseComp, SaveAndLoadReturnEveryValue) {
  classlib::TComponent owner;
  TTestFilter source(&owner), target(&owner);
  source.SetName("Source");
  target.SetName("Target");
  Fill(source);
  classlib::TStringStream s;
  source.SaveToStream(s);
  EXPECT_EQ(source.Name(), "Source");
  s.SetPosition(0);
  target.LoadFromStream(s);
  EXPECT_EQ(s.Position(), s.Size());
  EXPECT_EQ(target.Name(), "Target");
  ExpectParameters(target);
  ExpectData(target);
}

TEST_F(MtxBaseComp, StreamStartsWithTheClassNameAndLeavesTheNameOut) {
  TTestFilter f;
  f.SetName("Named");
  const std::string bytes = SavedBytes(f);
  std::int32_t length = 0;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(length, 11);
  EXPECT_EQ(bytes.substr(4, 11), "TTestFilter");
  classlib::TStringStream rest(bytes.substr(15));
  const classlib::TStreamObject object = classlib::ReadObjectBinary(rest);
  EXPECT_EQ(object.ClassName, "TTestFilter");
  EXPECT_EQ(object.Name, "");
}

// What the stream does not mention ends at its declared default (floats at
// 0), not at the value the component had.
TEST_F(MtxBaseComp, UnmentionedPropertiesEndAtTheirDefaults) {
  TTestFilter plain, target;
  const std::string bytes = SavedBytes(plain);
  Fill(target);
  target.SetGain(2.5);
  classlib::TStringStream s(bytes);
  target.LoadFromStream(s);
  EXPECT_EQ(target.Order(), 4);
  EXPECT_EQ(target.Ripple(), 0.0);
  EXPECT_EQ(target.Gain(), 1.0);
  EXPECT_EQ(target.Kind(), tkLow);
  EXPECT_TRUE(target.Active());
  EXPECT_EQ(target.Count(), 7);
  EXPECT_EQ(target.SamplingFrequency(), 1.0);
  EXPECT_EQ(target.Data()->Length(), 0);
  // A string without a default is always written: the source's empty one.
  EXPECT_EQ(target.Label(), "");
}

TEST_F(MtxBaseComp, DescendantsReadTheirAncestorsStreamsAndOthersAreRefused) {
  TTestFilter base;
  Fill(base);
  TTestFilterEx ex;
  ex.SetTaps(9);
  classlib::TStringStream s(SavedBytes(base));
  ex.LoadFromStream(s);
  ExpectParameters(ex);
  EXPECT_EQ(ex.Taps(), 0);

  TTestOther other;
  classlib::TStringStream o(SavedBytes(other));
  TTestFilter f;
  Fill(f);
  EXPECT_TRUE(Raises([&] { f.LoadFromStream(o); }, "Data format type missmatch: TTestOther <> TTestFilter"));
  EXPECT_EQ(o.Position(), 0);
  ExpectParameters(f);
  // A base cannot read its descendant's stream.
  classlib::TStringStream e(SavedBytes(ex));
  EXPECT_TRUE(Raises([&] { f.LoadFromStream(e); }, "Data format type missmatch: TTestFilterEx <> TTestFilter"));
}

TEST_F(MtxBaseComp, AStreamOfAnotherKindNamesNoBytesInItsMessage) {
  // A text or picture file read as a settings file: its first bytes are
  // taken as the class name's length and characters.
  const std::string bytes("\x04\x00\x00\x00\x89PN\x1a", 8);
  classlib::TStringStream s(bytes);
  TTestFilter f;
  Fill(f);
  EXPECT_TRUE(Raises([&] { f.LoadFromStream(s); }, "Data format type missmatch: (unreadable) <> TTestFilter"));
  ExpectParameters(f);
}

TEST_F(MtxBaseComp, ClassNamesAreCutTo254OnReading) {
  classlib::TStringStream s;
  s.WriteInt32(300);
  s.WriteString(std::string(300, 'T'));
  s.SetPosition(0);
  TTestFilter f;
  EXPECT_TRUE(Raises([&] { f.LoadFromStream(s); },
                     "Data format type missmatch: " + std::string(254, 'T') + " <> TTestFilter"));
  std::string name;
  s.SetPosition(0);
  ReadStreamString(s, name);
  EXPECT_EQ(name, std::string(254, 'T'));
  EXPECT_EQ(s.Position(), 304);
}

TEST_F(MtxBaseComp, AssignCopiesEverythingAndKeepsEachName) {
  classlib::TComponent owner;
  TTestFilter a(&owner), b(&owner);
  a.SetName("A");
  b.SetName("B");
  Fill(a);
  b.Assign(a);
  EXPECT_EQ(a.Name(), "A");
  EXPECT_EQ(b.Name(), "B");
  ExpectParameters(b);
  ExpectData(b);
  // A descendant takes from its base; unrelated classes are the class
  // library's conversion error.
  TTestFilterEx ex;
  ex.Assign(a);
  ExpectParameters(ex);
  TTestOther other;
  EXPECT_TRUE(Raises([&] { other.Assign(a); }, "Cannot assign a TTestFilter to a TTestOther."));
  EXPECT_TRUE(Raises([&] { a.Assign(ex); }, "Cannot assign a TTestFilterEx to a TTestFilter."));
}

// Templates carry the parameters; the data stays where it is, on both sides.
TEST_F(MtxBaseComp, TemplatesCarryParametersButNoData) {
  TTestFilter source, target;
  Fill(source);
  Set(*target.Data(), {7, 8});
  target.SetSamplingFrequency(8000.0);
  target.AssignTemplate(source);
  EXPECT_FALSE(source.TemplateMode());
  EXPECT_FALSE(target.TemplateMode());
  ExpectParameters(target);
  EXPECT_EQ(DoublesOf(*target.Data()), (std::vector<double>{7, 8}));
  EXPECT_EQ(target.SamplingFrequency(), 8000.0);
  ExpectData(source);

  classlib::TStringStream s;
  source.SaveTemplateToStream(s);
  EXPECT_FALSE(source.TemplateMode());
  EXPECT_EQ(s.DataString().find("DataValues"), std::string::npos);
  EXPECT_EQ(s.DataString().find("SamplingFrequency"), std::string::npos);
  EXPECT_NE(s.DataString().find("Order"), std::string::npos);
  TTestFilter fresh;
  Set(*fresh.Data(), {5});
  s.SetPosition(0);
  fresh.LoadTemplateFromStream(s);
  EXPECT_FALSE(fresh.TemplateMode());
  ExpectParameters(fresh);
  EXPECT_EQ(DoublesOf(*fresh.Data()), (std::vector<double>{5}));
}

// A stream that passes the class check but fails in the read leaves the
// component exactly as it was, Name included, and the stream where it was.
TEST_F(MtxBaseComp, AFailedLoadKeepsNameAndState) {
  TTestFilter good;
  classlib::TStreamObject object = classlib::ComponentToObject(good);
  object.Properties.push_back({"Order", classlib::MakeText(classlib::vaLString, "twelve"), 0});
  classlib::TStringStream bad;
  WriteStreamString(bad, "TTestFilter");
  classlib::WriteObjectBinary(bad, object);
  const std::string truncated = SavedBytes(good).substr(0, 30);

  for (const std::string& bytes : {bad.DataString(), truncated}) {
    classlib::TComponent owner;
    TTestFilter f(&owner);
    f.SetName("Kept");
    Fill(f);
    classlib::TStringStream s(bytes);
    EXPECT_NE(RaisedMessage([&] { f.LoadFromStream(s); }), "<none>");
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(f.Name(), "Kept");
    ExpectParameters(f);
    ExpectData(f);
    classlib::TStringStream t(bytes);
    EXPECT_NE(RaisedMessage([&] { f.LoadTemplateFromStream(t); }), "<none>");
    EXPECT_FALSE(f.TemplateMode());
    ExpectParameters(f);
  }
}

TEST_F(MtxBaseComp, FilesRoundTripAndAMissingFileChangesNothing) {
  TTempDir dir;
  TTestFilter a, b;
  Fill(a);
  a.SaveToFile(dir.File("f.cfg"));
  b.LoadFromFile(dir.File("f.cfg"));
  ExpectParameters(b);
  ExpectData(b);
  EXPECT_NO_THROW(b.LoadFromFile(dir.File("missing.cfg")));
  ExpectParameters(b);

  a.SaveTemplateToFile(dir.File("t.cfg"));
  TTestFilter c;
  c.LoadTemplateFromFile(dir.File("t.cfg"));
  ExpectParameters(c);
  EXPECT_EQ(c.Data()->Length(), 0);

  const std::string broken = dir.Write("broken.cfg", FileBytes(dir.File("f.cfg")).substr(0, 40));
  const std::string message = RaisedMessage<classlib::EReadError>([&] { c.LoadFromFile(broken); });
  EXPECT_NE(message.find("broken.cfg"), std::string::npos) << message;
  EXPECT_EQ(dir.Listing(), "broken.cfg;f.cfg;t.cfg;");
}

TEST_F(MtxBaseComp, ResetPublishedPropsByKind) {
  TTestFilter f;
  Fill(f);
  f.SetTag(3);
  ResetPublishedProps(f);
  EXPECT_EQ(f.Order(), 4);
  EXPECT_EQ(f.Ripple(), 0.0);
  EXPECT_EQ(f.Gain(), 0.0);  // floats go to 0, whatever their default
  EXPECT_EQ(f.Kind(), tkLow);
  EXPECT_TRUE(f.Active());
  EXPECT_EQ(f.Label(), "band 1");
  EXPECT_EQ(f.Count(), 7);
  EXPECT_EQ(f.Tag(), 0);
  EXPECT_EQ(f.SamplingFrequency(), 0.0);
  // The data vector's and matrix's own properties are reset in turn.
  EXPECT_EQ(f.Data()->Length(), 0);
  EXPECT_EQ(f.Weights()->Rows(), 0);

  // In template mode the data, which no template stream carries, is kept.
  Fill(f);
  f.SetTemplateMode(true);
  ResetPublishedProps(f);
  f.SetTemplateMode(false);
  EXPECT_EQ(f.Order(), 4);
  ExpectData(f);
}

TEST_F(MtxBaseComp, FlagsOfTheEditorAndTheDesigner) {
  TTestFilter f;
  TMtxComponent base;
  EXPECT_EQ(base.EditorClassName(), "");
  EXPECT_EQ(f.EditorClassName(), "TTestFilterForm");
  EXPECT_FALSE(f.EditorOpen());
  f.SetEditorOpen(true);
  EXPECT_TRUE(f.EditorOpen());
  EXPECT_TRUE(f.DataStored());
  f.IncludeState(classlib::csDesigning);
  EXPECT_FALSE(f.DataStored());
  f.ExcludeState(classlib::csDesigning);
  f.SetTemplateMode(true);
  EXPECT_FALSE(f.DataStored());
}

}  // namespace
}  // namespace numeric
