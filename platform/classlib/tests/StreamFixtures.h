// Components for the stream tests: a chart that owns series, a series with a
// property of every kind, a pen, a collection of lines, binary and extra
// properties, an obsolete name, and a function that is owned by the chart but
// written inside its series.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/Collections.h"
#include "platform/classlib/Component.h"
#include "platform/classlib/Filer.h"

namespace streamtest {

using classlib::TClassInfo;
using classlib::TComponent;
using classlib::TPersistent;

enum TStreamStyle : std::uint8_t { ssSolid, ssDash, ssDot };

// A pen whose colour default its owner chooses; "Thickness" is its old name for Width.
class TStreamPen : public TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TStreamPen(std::uint32_t defaultColor = 0) : FDefaultColor(defaultColor), FColor(defaultColor) {}
  std::int32_t Width() const { return FWidth; }
  void SetWidth(std::int32_t v) { FWidth = v; }
  TStreamStyle Style() const { return FStyle; }
  void SetStyle(TStreamStyle v) { FStyle = v; }
  std::uint32_t Color() const { return FColor; }
  void SetColor(std::uint32_t v) { FColor = v; }
  std::uint32_t DefaultColor() const { return FDefaultColor; }
  void DefineProperties(classlib::TFiler& filer) override;

 private:
  std::uint32_t FDefaultColor;
  std::uint32_t FColor;
  std::int32_t FWidth = 1;
  TStreamStyle FStyle = ssSolid;
};

class TStreamLine : public classlib::TCollectionItem {
  ORVEL_CLASS_INFO
 public:
  double X() const { return FX; }
  void SetX(double v) { FX = v; }
  double Y() const { return FY; }
  void SetY(double v) { FY = v; }
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& v) { FCaption = v; }
  TStreamPen* Pen() const { return FPen.get(); }
  void Assign(const TPersistent& source) override;

 private:
  double FX = 0;
  double FY = 1.5;
  std::string FCaption;
  std::unique_ptr<TStreamPen> FPen = std::make_unique<TStreamPen>(0xFF);
};

class TStreamFunction;

class TStreamSeries : public TComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TStreamSeries(TComponent* owner);
  ~TStreamSeries() override;

  bool Active() const { return FActive; }
  void SetActive(bool v) { FActive = v; }
  std::int32_t Count() const { return FCount; }
  void SetCount(std::int32_t v) { FCount = v; }
  std::int8_t Small() const { return FSmall; }
  void SetSmall(std::int8_t v) { FSmall = v; }
  std::int64_t Big() const { return FBig; }
  void SetBig(std::int64_t v) { FBig = v; }
  double Ratio() const { return FRatio; }
  void SetRatio(double v) { FRatio = v; }
  double Scale() const { return FScale; }
  void SetScale(double v) { FScale = v; }
  double Offset() const { return FOffset; }
  void SetOffset(double v) { FOffset = v; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  TStreamStyle Style() const { return FStyle; }
  void SetStyle(TStreamStyle v) { FStyle = v; }
  std::uint8_t Options() const { return FOptions; }
  void SetOptions(std::uint8_t v) { FOptions = v; }
  TStreamPen* Pen() const { return FPen.get(); }
  classlib::TCollection* Lines() const { return FLines.get(); }
  TStreamSeries* Source() const { return FSource; }
  void SetSource(TStreamSeries* s);
  TStreamFunction* Function() const { return FFunction; }
  void SetFunction(TStreamFunction* f);

  // Not in the table: "Data" (binary) and "DataSources" (a list of names).
  std::vector<double> Points;
  std::vector<std::string> SourceNames;
  int LoadedCount = 0;

  void DefineProperties(classlib::TFiler& filer) override;
  void Loaded() override;
  void GetChildren(const std::function<void(TComponent&)>& proc) const override;
  TComponent* GetChildOwner() override { return Owner(); }

 protected:
  void Notification(TComponent* component, classlib::TOperation operation) override;

 private:
  bool FActive = true;
  std::int32_t FCount = 10;
  std::int8_t FSmall = 0;
  std::int64_t FBig = 0;
  double FRatio = 0.5;
  double FScale = 0;
  double FOffset = 0;
  std::string FTitle;
  TStreamStyle FStyle = ssSolid;
  std::uint8_t FOptions = 0;
  std::unique_ptr<TStreamPen> FPen = std::make_unique<TStreamPen>(0x00FF00);
  std::unique_ptr<classlib::TCollection> FLines;
  TStreamSeries* FSource = nullptr;
  TStreamFunction* FFunction = nullptr;
};

// Owned by the chart, written inside its series.
class TStreamFunction : public TComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TStreamFunction(TComponent* owner) : TComponent(owner) {}
  double Period() const { return FPeriod; }
  void SetPeriod(double v) { FPeriod = v; }
  TStreamSeries* Series() const { return FSeries; }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 protected:
  void Notification(TComponent* component, classlib::TOperation operation) override;

 private:
  friend class TStreamSeries;
  double FPeriod = 0;
  TStreamSeries* FSeries = nullptr;
};

class TStreamChart : public TComponent {
  ORVEL_CLASS_INFO
 public:
  explicit TStreamChart(TComponent* owner = nullptr) : TComponent(owner) {}
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& v) { FTitle = v; }
  bool View3D() const { return FView3D; }
  void SetView3D(bool v) { FView3D = v; }
  int LoadedCount = 0;
  void Loaded() override {
    TComponent::Loaded();
    ++LoadedCount;
  }

 private:
  std::string FTitle;
  bool FView3D = true;
};

// Registers the classes above; safe to call more than once.
void RegisterStreamClasses();

// A chart with two series, a function, points, lines and references: a value
// of every kind away from its default.
std::unique_ptr<TStreamChart> MakeStreamChart();

}  // namespace streamtest
