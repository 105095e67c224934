// The filter-parameter dialog's estimate, refusals and result record.
// Covers: FormMethodEditParameters.cpp.
#include <gtest/gtest.h>

#include "platform/classlib/SysUtils.h"
#include "testing/TestSupport.h"
#include "workbench/logic/FormMethodEditParameters.h"

namespace workbench {
namespace {

using orvel::testing::Raises;

TEST(MethodEdit, RefusalsOfOK) {
  struct TCase {
    const char* Name;
    std::int32_t Order;
    std::string Refusal;
  } cases[] = {
      {"", 10, msgEnterFilterName},
      {"f", 1500, msgFilterTooLong},
      {"", 1500, msgFilterTooLong},  // the order's refusal wins
      {"f", 1499, ""},
      {"filter1", 3, ""},
  };
  for (const TCase& c : cases) EXPECT_EQ(MethodEditRefusal(c.Name, c.Order), c.Refusal) << c.Name << " " << c.Order;
}

TEST(MethodEdit, AManualOrderIsTheOrderTheRecordDesigns) {
  TGeneratorInputs in;
  in.AutoOrder = false;
  in.InputOrder = 1600;
  // A small estimate does not let a manual order of 1600 through.
  EXPECT_EQ(MethodEditRefusal("f", MethodEditEffectiveOrder(in, 51)), msgFilterTooLong);
  in.AutoOrder = true;
  EXPECT_EQ(MethodEditEffectiveOrder(in, 51), 51);
}

TEST(MethodEdit, TheEstimateIsTheGeneratorsWithTheDialogsGrid) {
  for (std::uint8_t method : {dmOwnExchange, dmLibrary}) {
    TGeneratorInputs in;
    in.Method = method;
    TDesignWorkspace generator, dialog;
    const TFilterRecord current = ComputeDesignParameters(generator, in);
    EXPECT_EQ(MethodEditOrderEstimate(dialog, in), current.Order);
    EXPECT_EQ(dialog.GridDensity, DefaultGridDensity);
    EXPECT_EQ(dialog.BandEdges, generator.BandEdges);
    if (method == dmLibrary) {
      EXPECT_GE(dialog.ImpulseLength, MinLibraryOrder);
    }
  }
}

TEST(MethodEdit, TheResultKeepsWhatTheDialogDoesNotShow) {
  TFilterRecord base;
  base.CoefCount = 77;
  TMethodEditInputs in;
  in.Name = "rbci";
  in.Design.FilterType = ftBandPass;
  in.Design.P1 = 10, in.Design.D1 = 5, in.Design.A1 = 50, in.Design.P2 = 40, in.Design.D2 = 60, in.Design.A2 = 45;
  in.Design.Ripple = "0,5";
  in.Design.Delay = 2;
  in.Design.Method = 3;  // anything but 1 is the library design
  in.Design.AutoOrder = true;
  in.Design.InputOrder = 300;
  in.Price = piMidPrice;
  const TFilterRecord f = MethodEditResult(in, 88, base);
  EXPECT_EQ(f.Name.Str(), "rbci");
  EXPECT_EQ(f.CoefCount, 77);
  EXPECT_EQ(f.Ripple, 0.5);
  EXPECT_EQ(f.Order, 88);
  EXPECT_EQ(f.AutoOrder, 1);
  EXPECT_EQ(f.Method, dmLibrary);
  EXPECT_EQ(f.Price, piMidPrice);
  EXPECT_EQ(f.A2, 45);
  // Shown again, the record comes back unchanged.
  const TMethodEditInputs again = MethodEditInputsOf(f);
  EXPECT_EQ(MethodEditResult(again, 88, f), f);

  in.Design.Ripple = "x1";
  EXPECT_TRUE(Raises<classlib::EConvertError>([&] { MethodEditResult(in, 88, base); },
                                               "'x1' is not a valid floating point value"));
}

TEST(MethodEdit, NameKeys) {
  for (int key : {int{'a'}, int{'z'}, int{'A'}, int{'Z'}, int{'0'}, int{'9'}, 8, 13}) EXPECT_TRUE(FilterNameKey(key)) << key;
  for (int key : {int{' '}, int{'_'}, int{'-'}, int{'.'}, 0x0416, 0xE0}) EXPECT_FALSE(FilterNameKey(key)) << key;
}

}  // namespace
}  // namespace workbench
