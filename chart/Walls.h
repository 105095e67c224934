// The back, bottom, left and right faces of the chart's 3D box.
//
// Tested by: chart/tests/WallsTitlesTest.cpp
#pragma once

#include <cstdint>
#include <memory>

#include "chart/KivPanel.h"

namespace chart {

class TCustomAxisPanel;

class TCustomChartWall : public TKivCustomShape {
  ORVEL_CLASS_INFO
 public:
  explicit TCustomChartWall(TCustomKivPanel* parent = nullptr);

  bool Dark3D() const { return FDark3D; }
  void SetDark3D(bool v);
  std::int32_t Size() const { return FSize; }
  void SetSize(std::int32_t v);
  TColor DefaultColor() const { return FDefaultColor; }
  // Sets the colour and its default, as an owner's constructor does.
  void InitColor(TColor c) {
    FDefaultColor = c;
    SetColor(c);
  }
  // The sides of a thick wall are drawn darker.
  bool DarkSides() const;
  void Assign(const classlib::TPersistent& source) override;

 private:
  bool FDark3D = true;
  std::int32_t FSize = 0;
  TColor FDefaultColor = clDefault;
};

class TChartWall : public TCustomChartWall {
  ORVEL_CLASS_INFO
 public:
  using TCustomChartWall::TCustomChartWall;
};

class TChartBackWall : public TChartWall {
  ORVEL_CLASS_INFO
 public:
  explicit TChartBackWall(TCustomKivPanel* parent = nullptr);
};

class TChartRightWall : public TChartWall {
  ORVEL_CLASS_INFO
 public:
  explicit TChartRightWall(TCustomKivPanel* parent = nullptr);
};

class TChartWalls : public classlib::TPersistent {
  ORVEL_CLASS_INFO
 public:
  explicit TChartWalls(TCustomAxisPanel& chart);
  ~TChartWalls() override;
  TChartBackWall* Back() const { return FBack.get(); }
  TChartWall* Bottom() const { return FBottom.get(); }
  TChartWall* Left() const { return FLeft.get(); }
  TChartRightWall* Right() const { return FRight.get(); }
  void Assign(const classlib::TPersistent& source) override;

  // Drawing of each face (the chart decides which and when).
  void DrawBack();
  void DrawBottom();
  void DrawLeft();
  void DrawRight();

 private:
  void Prepare(TCustomChartWall& wall);
  TCustomAxisPanel& FChart;
  std::unique_ptr<TChartBackWall> FBack;
  std::unique_ptr<TChartWall> FBottom, FLeft;
  std::unique_ptr<TChartRightWall> FRight;
};

}  // namespace chart
