// Components for the stream tests.
#include "platform/classlib/tests/StreamFixtures.h"

#include <cmath>
#include <cstring>

#include "platform/classlib/ClassRegistry.h"
#include "platform/classlib/ComponentStream.h"
#include "platform/classlib/WarningSink.h"

namespace streamtest {

using classlib::TClassBuilder;

namespace {
const std::vector<std::string> StyleNames = {"ssSolid", "ssDash", "ssDot"};
}

const TClassInfo& TStreamPen::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStreamPen>("TStreamPen", TPersistent::StaticClassInfo())
          .Property("Width", &TStreamPen::Width, &TStreamPen::SetWidth, 1)
          .Property("Style", &TStreamPen::Style, &TStreamPen::SetStyle, ssSolid)
          .TypeName("TStreamStyle")
          .Names(StyleNames)
          .Property("Color", &TStreamPen::Color, &TStreamPen::SetColor)
          .TypeName("TColor")
          .InstanceDefault(&TStreamPen::DefaultColor)
          .Creatable()
          .Build();
  return info;
}

void TStreamPen::DefineProperties(classlib::TFiler& filer) {
  TPersistent::DefineProperties(filer);
  // The old name of Width: read, never written.
  filer.DefineProperty("Thickness", [this](classlib::TReader& r) { SetWidth(r.ReadInteger()); }, nullptr, false);
}

const TClassInfo& TStreamLine::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStreamLine>("TStreamLine", TCollectionItem::StaticClassInfo())
          .Property("X", &TStreamLine::X, &TStreamLine::SetX)
          .Property("Y", &TStreamLine::Y, &TStreamLine::SetY, 1.5)
          .Property("Caption", &TStreamLine::Caption, &TStreamLine::SetCaption, std::string())
          .SubObject("Pen", &TStreamLine::Pen)
          .Creatable()
          .Build();
  return info;
}

void TStreamLine::Assign(const TPersistent& source) {
  if (auto* l = dynamic_cast<const TStreamLine*>(&source)) {
    FX = l->FX;
    FY = l->FY;
    FCaption = l->FCaption;
    FPen->SetWidth(l->FPen->Width());
    FPen->SetStyle(l->FPen->Style());
    FPen->SetColor(l->FPen->Color());
    return;
  }
  TCollectionItem::Assign(source);
}

const TClassInfo& TStreamSeries::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStreamSeries>("TStreamSeries", TComponent::StaticClassInfo())
          .Property("Active", &TStreamSeries::Active, &TStreamSeries::SetActive, true)
          .Property("Count", &TStreamSeries::Count, &TStreamSeries::SetCount, 10)
          .Property("Small", &TStreamSeries::Small, &TStreamSeries::SetSmall, 0)
          .Property("Big", &TStreamSeries::Big, &TStreamSeries::SetBig, 0)
          .Property("Ratio", &TStreamSeries::Ratio, &TStreamSeries::SetRatio, 0.5)
          .Property("Scale", &TStreamSeries::Scale, &TStreamSeries::SetScale)
          .Property("Offset", &TStreamSeries::Offset, &TStreamSeries::SetOffset, 0.0)
          .Property("Title", &TStreamSeries::Title, &TStreamSeries::SetTitle)
          .Stored([](const TStreamSeries& s) { return !s.Title().empty(); })
          .Property("Style", &TStreamSeries::Style, &TStreamSeries::SetStyle, ssSolid)
          .TypeName("TStreamStyle")
          .Names(StyleNames)
          .Property("Options", &TStreamSeries::Options, &TStreamSeries::SetOptions, 0)
          .AsSet({"soMarks", "soLegend", "soShadow"})
          .SubObject("Pen", &TStreamSeries::Pen)
          .TypeName("TStreamPen")
          .SubObject("Lines", &TStreamSeries::Lines)
          .TypeName("TCollection")
          .Property("Source", &TStreamSeries::Source, &TStreamSeries::SetSource)
          .TypeName("TStreamSeries")
          .Creatable()
          .Build();
  return info;
}

TStreamSeries::TStreamSeries(TComponent* owner)
    : TComponent(owner), FLines(std::make_unique<classlib::TCollection>(TStreamLine::StaticClassInfo(), this)) {}

TStreamSeries::~TStreamSeries() {
  if (FFunction != nullptr) FFunction->FSeries = nullptr;
}

void TStreamSeries::SetSource(TStreamSeries* s) {
  // The link stays when the source changes: two series may be each other's
  // source, and removing it would silence the other's notice too.
  FSource = s;
  if (FSource != nullptr) FSource->FreeNotification(*this);
}

void TStreamSeries::SetFunction(TStreamFunction* f) {
  if (FFunction != nullptr) FFunction->FSeries = nullptr;
  FFunction = f;
  if (f != nullptr) {
    f->FSeries = this;
    FreeNotification(*f);
  }
}

void TStreamSeries::Notification(TComponent* component, classlib::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != classlib::opRemove) return;
  if (component == FSource) FSource = nullptr;
  if (component == FFunction) FFunction = nullptr;
}

void TStreamSeries::DefineProperties(classlib::TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "DataSources",
      [this](classlib::TReader& r) {
        SourceNames.clear();
        r.ReadListBegin();
        while (!r.EndOfList()) SourceNames.push_back(r.ReadString());
        r.ReadListEnd();
      },
      [this](classlib::TWriter& w) {
        w.WriteListBegin();
        for (const std::string& n : SourceNames) w.WriteString(n);
        w.WriteListEnd();
      },
      !SourceNames.empty());
  filer.DefineBinaryProperty(
      "Data",
      [this](classlib::TStream& s) {
        const std::int32_t n = s.ReadInt32();
        if (n < 0 || static_cast<std::int64_t>(n) * 8 > s.Size() - s.Position())
          throw classlib::EReadError("Data holds fewer points than its count");
        std::vector<double> points(static_cast<std::size_t>(n));
        s.ReadBuffer(points.data(), static_cast<std::int64_t>(n) * 8);
        Points = std::move(points);
      },
      [this](classlib::TStream& s) {
        s.WriteInt32(static_cast<std::int32_t>(Points.size()));
        s.WriteBuffer(Points.data(), static_cast<std::int64_t>(Points.size()) * 8);
      },
      !Points.empty());
  filer.DefineProperty(
      "Multiplier",
      [](classlib::TReader& r) {
        if (r.ReadFloat() != 1.0) classlib::ReportWarning("Error: Multiplier property is obsolete.");
      },
      nullptr, false);
}

void TStreamSeries::Loaded() {
  TComponent::Loaded();
  ++LoadedCount;
}

void TStreamSeries::GetChildren(const std::function<void(TComponent&)>& proc) const {
  if (FFunction != nullptr) proc(*FFunction);
}

const TClassInfo& TStreamFunction::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStreamFunction>("TStreamFunction", TComponent::StaticClassInfo())
          .Property("Period", &TStreamFunction::Period, &TStreamFunction::SetPeriod, 0.0)
          .Creatable()
          .Build();
  return info;
}

TComponent* TStreamFunction::GetParentComponent() const { return FSeries; }

void TStreamFunction::SetParentComponent(TComponent* parent) {
  if (auto* series = dynamic_cast<TStreamSeries*>(parent)) series->SetFunction(this);
}

void TStreamFunction::Notification(TComponent* component, classlib::TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == classlib::opRemove && component == FSeries) FSeries = nullptr;
}

const TClassInfo& TStreamChart::StaticClassInfo() {
  static const TClassInfo info =
      TClassBuilder<TStreamChart>("TStreamChart", TComponent::StaticClassInfo())
          .Property("Title", &TStreamChart::Title, &TStreamChart::SetTitle, std::string())
          .Property("View3D", &TStreamChart::View3D, &TStreamChart::SetView3D, true)
          .Creatable()
          .Build();
  return info;
}

void RegisterStreamClasses() {
  classlib::RegisterClasses({&TStreamChart::StaticClassInfo(), &TStreamSeries::StaticClassInfo(),
                             &TStreamFunction::StaticClassInfo(), &TStreamPen::StaticClassInfo(),
                             &TStreamLine::StaticClassInfo()});
}

std::unique_ptr<TStreamChart> MakeStreamChart() {
  auto chart = std::make_unique<TStreamChart>();
  chart->SetName("Chart1");
  chart->SetTitle("Close prices");
  chart->SetView3D(false);

  auto* s1 = new TStreamSeries(chart.get());
  s1->SetName("Series1");
  s1->SetActive(false);
  s1->SetCount(-70000);
  s1->SetSmall(-100);
  s1->SetBig(std::int64_t{1} << 40);
  s1->SetRatio(0);
  s1->SetScale(0.1);
  s1->SetOffset(-0.0);
  s1->SetTitle(std::string("It's\r\nsma") + '\0' + "\xC0\xFF");
  s1->SetStyle(ssDot);
  s1->SetOptions(0b101);
  s1->Pen()->SetWidth(3);
  s1->Pen()->SetStyle(ssDash);
  s1->Pen()->SetColor(0x123456);
  auto* l1 = static_cast<TStreamLine*>(s1->Lines()->Add());
  l1->SetX(0.1);
  l1->SetY(std::nan(""));
  l1->SetCaption(std::string(300, 'w'));
  l1->Pen()->SetWidth(2);
  auto* l2 = static_cast<TStreamLine*>(s1->Lines()->Add());
  l2->SetX(-1e-310);
  s1->Points = {1.5, -2.25, HUGE_VAL, 5e-324, 1e308};
  s1->SourceNames = {"Series2", ""};

  auto* s2 = new TStreamSeries(chart.get());
  s2->SetName("Series2");
  s2->SetScale(2.5);
  s2->SetSource(s1);
  s1->SetSource(s2);

  auto* f = new TStreamFunction(chart.get());
  f->SetName("Function1");
  f->SetPeriod(14);
  s1->SetFunction(f);
  return chart;
}

}  // namespace streamtest
