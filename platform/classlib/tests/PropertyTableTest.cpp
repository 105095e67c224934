#include <gtest/gtest.h>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/Component.h"
#include "platform/classlib/Persistent.h"

namespace {

using namespace classlib;

enum TLineStyle : std::uint8_t { lsSolid, lsDash, lsDot };

// A persistent with one property of each kind, as a pen or an axis would have.
class TSamplePen : public TPersistent {
  ORVEL_CLASS_INFO
 public:
  bool Visible() const { return FVisible; }
  void SetVisible(bool v) { FVisible = v; }
  int Width() const { return FWidth; }
  void SetWidth(int v) { FWidth = v; }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; }
  TLineStyle Style() const { return FStyle; }
  void SetStyle(TLineStyle v) { FStyle = v; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  std::uint32_t Options() const { return FOptions; }
  void SetOptions(std::uint32_t v) { FOptions = v; }

  void Assign(const TPersistent& source) override {
    if (auto* p = dynamic_cast<const TSamplePen*>(&source)) {
      FVisible = p->FVisible;
      FWidth = p->FWidth;
      FRatio = p->FRatio;
      FStyle = p->FStyle;
      FCaption = p->FCaption;
      FOptions = p->FOptions;
      return;
    }
    TPersistent::Assign(source);
  }

 private:
  bool FVisible = true;
  int FWidth = 1;
  double FRatio = 0.5;
  TLineStyle FStyle = lsSolid;
  std::string FCaption;
  std::uint32_t FOptions = 0;
};

const TClassInfo& TSamplePen::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TSamplePen>("TSamplePen", TPersistent::StaticClassInfo())
          .Property("Visible", &TSamplePen::Visible, &TSamplePen::SetVisible, true)
          .Property("Width", &TSamplePen::Width, &TSamplePen::SetWidth, 1)
          .Property("Ratio", &TSamplePen::Ratio, &TSamplePen::SetRatio)
          .Property("Style", &TSamplePen::Style, &TSamplePen::SetStyle, lsSolid)
          .TypeName("TLineStyle")
          .Names({"lsSolid", "lsDash", "lsDot"})
          .Property("Caption", &TSamplePen::Caption, &TSamplePen::SetCaption)
          .Stored([](const TSamplePen& p) { return !p.Caption().empty(); })
          .Property("Options", &TSamplePen::Options, &TSamplePen::SetOptions, 0u)
          .AsSet({"opFirst", "opSecond"})
          .Creatable()
          .Build();
  return info;
}

// A component that owns a pen and refers to another component.
class TSampleSeries : public TComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TSampleSeries(TComponent* owner) : TComponent(owner) {}
  ~TSampleSeries() override { SetSource(nullptr); }

  TSamplePen* Pen() const { return FPen.get(); }
  TSampleSeries* Source() const { return FSource; }
  void SetSource(TSampleSeries* s) {
    if (FSource != nullptr) FSource->RemoveFreeNotification(*this);
    FSource = s;
    if (FSource != nullptr) FSource->FreeNotification(*this);
  }
  int Count() const { return FCount; }
  void SetCount(int c) { FCount = c; }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FSource) FSource = nullptr;
  }

 private:
  std::unique_ptr<TSamplePen> FPen = std::make_unique<TSamplePen>();
  TSampleSeries* FSource = nullptr;
  int FCount = 10;
};

const TClassInfo& TSampleSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TSampleSeries>("TSampleSeries", TComponent::StaticClassInfo())
          .SubObject("Pen", &TSampleSeries::Pen)
          .Property("Source", &TSampleSeries::Source, &TSampleSeries::SetSource)
          .Property("Count", &TSampleSeries::Count, &TSampleSeries::SetCount, 10)
          .Creatable()
          .Build();
  return info;
}

std::vector<std::string> Names(const TClassInfo& info) {
  std::vector<std::string> names;
  for (const TPropInfo* p : info.Properties()) names.push_back(p->Name);
  return names;
}

TEST(PropertyTable, PersistentEnumeratesPropertiesWithKindsAndDefaults) {
  const TClassInfo& info = TSamplePen::StaticClassInfo();
  EXPECT_EQ(Names(info),
            (std::vector<std::string>{"Visible", "Width", "Ratio", "Style", "Caption", "Options"}));

  struct Row {
    const char* name;
    TPropKind kind;
    const char* type;
    std::optional<TPropValue> def;
  };
  const Row rows[] = {
      {"Visible", pkBoolean, "Boolean", TPropValue(true)},
      {"Width", pkInteger, "Integer", TPropValue(std::int64_t{1})},
      {"Ratio", pkFloat, "Double", std::nullopt},
      {"Style", pkEnum, "TLineStyle", TPropValue(std::int64_t{0})},
      {"Caption", pkString, "String", std::nullopt},
      {"Options", pkSet, "Integer", TPropValue(std::int64_t{0})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const TPropInfo* p = info.FindProperty(row.name);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Kind, row.kind);
    EXPECT_EQ(p->TypeName, row.type);
    EXPECT_EQ(p->Default, row.def);
    EXPECT_TRUE(p->Writable());
  }
  EXPECT_EQ(info.FindProperty("style"), info.FindProperty("Style"));
  EXPECT_EQ(info.FindProperty("Missing"), nullptr);
  EXPECT_EQ(info.FindProperty("Style")->ValueName(2), "lsDot");
  EXPECT_EQ(info.FindProperty("Style")->ValueOrdinal("LSDASH"), 1);
  EXPECT_EQ(info.FindProperty("Style")->ValueOrdinal("lsNone"), -1);
}

TEST(PropertyTable, ComponentListsInheritedPropertiesFirst) {
  const TClassInfo& info = TSampleSeries::StaticClassInfo();
  EXPECT_EQ(Names(info), (std::vector<std::string>{"Name", "Tag", "Pen", "Source", "Count"}));
  EXPECT_EQ(info.FindProperty("Pen")->Kind, pkClass);
  EXPECT_FALSE(info.FindProperty("Pen")->Writable());
  EXPECT_FALSE(info.FindProperty("Name")->Default.has_value());
  EXPECT_EQ(info.FindProperty("Tag")->Default, TPropValue(std::int64_t{0}));
  EXPECT_TRUE(info.InheritsFrom(TComponent::StaticClassInfo()));
  EXPECT_TRUE(info.InheritsFrom("tpersistent"));
  EXPECT_FALSE(TSamplePen::StaticClassInfo().InheritsFrom(TComponent::StaticClassInfo()));
}

TEST(PropertyTable, StoredFollowsDefaultAndCondition) {
  TSamplePen pen;
  const TClassInfo& info = pen.ClassInfo();
  EXPECT_FALSE(info.FindProperty("Width")->IsStored(pen));
  pen.SetWidth(3);
  EXPECT_TRUE(info.FindProperty("Width")->IsStored(pen));
  EXPECT_TRUE(info.FindProperty("Ratio")->IsStored(pen)) << "no default, not 0: stored";
  pen.SetRatio(0);
  EXPECT_FALSE(info.FindProperty("Ratio")->IsStored(pen)) << "a float of 0 without a default is not";
  pen.SetRatio(-0.0);
  EXPECT_TRUE(info.FindProperty("Ratio")->IsStored(pen)) << "-0 is not +0";
  EXPECT_FALSE(info.FindProperty("Caption")->IsStored(pen)) << "stored-condition is false";
  pen.SetCaption("x");
  EXPECT_TRUE(info.FindProperty("Caption")->IsStored(pen));
}

TEST(PropertyTable, GetAndSetByName) {
  TSamplePen pen;
  SetPropValue(pen, "Width", std::int64_t{7});
  SetPropValue(pen, "style", std::int64_t{lsDash});
  SetPropValue(pen, "Caption", std::string("Close"));
  SetPropValue(pen, "Ratio", 2.25);
  EXPECT_EQ(pen.Width(), 7);
  EXPECT_EQ(pen.Style(), lsDash);
  EXPECT_EQ(std::get<std::string>(GetPropValue(pen, "Caption")), "Close");
  EXPECT_EQ(std::get<double>(GetPropValue(pen, "Ratio")), 2.25);
  EXPECT_THROW(SetPropValue(pen, "Nope", std::int64_t{1}), EPropertyError);
  EXPECT_THROW(SetPropValue(pen, "Width", std::string("wide")), EPropertyError);

  TSampleSeries series(nullptr);
  EXPECT_THROW(SetPropValue(series, "Pen", static_cast<TPersistent*>(nullptr)), EPropertyError);
}

TEST(PropertyTable, ResetToDefaultsRecursesIntoSubObjectsOnly) {
  TSampleSeries other(nullptr);
  TSampleSeries series(nullptr);
  series.SetCount(99);
  series.SetTag(5);
  series.SetSource(&other);
  series.Pen()->SetWidth(4);
  series.Pen()->SetStyle(lsDot);
  series.Pen()->SetRatio(9.0);
  other.SetCount(42);

  ResetToDefaults(series);
  EXPECT_EQ(series.Count(), 10);
  EXPECT_EQ(series.Tag(), 0);
  EXPECT_EQ(series.Pen()->Width(), 1);
  EXPECT_EQ(series.Pen()->Style(), lsSolid);
  EXPECT_EQ(series.Pen()->Ratio(), 9.0) << "no declared default: left alone";
  EXPECT_EQ(series.Source(), &other) << "a reference has no default";
  EXPECT_EQ(other.Count(), 42) << "referenced components are not reset";
}

TEST(PropertyTable, AssignBetweenUnrelatedClassesRaises) {
  TSamplePen a;
  a.SetWidth(3);
  TSamplePen b;
  b.Assign(a);
  EXPECT_EQ(b.Width(), 3);
  TComponent c;
  try {
    b.Assign(c);
    FAIL() << "expected EConvertError";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TSamplePen.");
  }
}

TEST(ClassRegistry, FindsByNameAndChecksDescent) {
  RegisterClasses({&TSamplePen::StaticClassInfo(), &TSampleSeries::StaticClassInfo(),
                   &TComponent::StaticClassInfo()});
  EXPECT_EQ(&FindClass("tsampleseries"), &TSampleSeries::StaticClassInfo());
  EXPECT_EQ(GetClass("TUnknown"), nullptr);
  try {
    FindClass("TUnknown");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TUnknown not found");
  }
  EXPECT_TRUE(InheritsFromRegistered(TSampleSeries::StaticClassInfo(), "TComponent"));
  EXPECT_FALSE(InheritsFromRegistered(TSamplePen::StaticClassInfo(), "TComponent"));
  EXPECT_FALSE(InheritsFromRegistered(TSampleSeries::StaticClassInfo(), "TUnknown"));

  TComponent owner;
  TPersistent* made = FindClass("TSampleSeries").Create(&owner);
  ASSERT_NE(dynamic_cast<TSampleSeries*>(made), nullptr);
  EXPECT_EQ(static_cast<TComponent*>(made)->Owner(), &owner);
  EXPECT_THROW(TPersistent::StaticClassInfo().Create(), EConvertError);
}

}  // namespace

namespace {

using namespace classlib;

// A pen whose default colour is chosen by its owner when it is made, as the
// chart's pens are: the default is a property of the instance, not the class.
class TOwnedPen : public TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TOwnedPen(int defaultColor = 0) : FDefaultColor(defaultColor), FColor(defaultColor) {}
  int Color() const { return FColor; }
  void SetColor(int c) { FColor = c; }
  int DefaultColor() const { return FDefaultColor; }

 private:
  int FDefaultColor;
  int FColor;
};

const TClassInfo& TOwnedPen::StaticClassInfo() {
  static const TClassInfo info = TClassBuilder<TOwnedPen>("TOwnedPen", TPersistent::StaticClassInfo())
                                     .Property("Color", &TOwnedPen::Color, &TOwnedPen::SetColor)
                                     .InstanceDefault(&TOwnedPen::DefaultColor)
                                     .Build();
  return info;
}

TEST(PropertyTable, InstanceDefaultDecidesStoringAndReset) {
  TOwnedPen red(0xFF), black(0);
  const TPropInfo* color = TOwnedPen::StaticClassInfo().FindProperty("Color");
  EXPECT_EQ(color->DefaultFor(red), TPropValue(std::int64_t{0xFF}));
  EXPECT_FALSE(color->IsStored(red));
  red.SetColor(0);
  black.SetColor(0);
  EXPECT_TRUE(color->IsStored(red)) << "black differs from this pen's own default";
  EXPECT_FALSE(color->IsStored(black));
  ResetToDefaults(red);
  EXPECT_EQ(red.Color(), 0xFF);
}

}  // namespace
