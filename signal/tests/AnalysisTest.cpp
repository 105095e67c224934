// The pull pipeline, input links and collections, and the component lists.
// Covers signal/Analysis.cpp, signal/AnalysisList.cpp, signal/SignalCollections.cpp.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/Streams.h"
#include "signal/SignalTools.h"
#include "testing/TestSupport.h"

namespace {

using orvel::testing::Raises;
using sig::TAnalysis;
using sig::TSignal;

// A component whose InternalUpdate answers from a script (0 when it runs
// out) and writes what happens into a shared log.
class TProbe : public TAnalysis {
 public:
  TProbe(classlib::TComponent* Owner, const std::string& Name, std::vector<std::string>& Log)
      : TAnalysis(Owner), FLog(Log) {
    SetName(Name);
    SetNotifyMethod([this](classlib::TPersistent*) { FLog.push_back(this->Name() + ".notify"); });
  }

  std::deque<std::uint8_t> Codes;
  int Updates = 0;
  std::string Failure;

  void PrepareUpdate() override { FLog.push_back(Name() + ".prepare"); }
  std::uint8_t InternalUpdate() override {
    ++Updates;
    FLog.push_back(Name() + ".update");
    if (!Failure.empty()) throw classlib::Exception(Failure);
    if (Codes.empty()) return 0;
    const std::uint8_t code = Codes.front();
    Codes.pop_front();
    return code;
  }

 private:
  std::vector<std::string>& FLog;
};

struct Pipeline : ::testing::Test {
  classlib::TComponent Owner;
  std::vector<std::string> Log;
  TProbe* A = new TProbe(&Owner, "A", Log);
  TProbe* B = new TProbe(&Owner, "B", Log);
  TProbe* C = new TProbe(&Owner, "C", Log);
  Pipeline() {
    C->SetInput(B);
    B->SetInput(A);
  }
};

TEST_F(Pipeline, APullUpdatesTheSourcesFirstEachOnceAndNotifiesEachOnce) {
  EXPECT_EQ(C->Pull(), 0);
  const std::vector<std::string> expected = {"A.prepare", "A.update", "A.notify", "B.prepare", "B.update",
                                             "B.notify",  "C.prepare", "C.update", "C.notify"};
  EXPECT_EQ(Log, expected);
  EXPECT_FALSE(A->Dirty());
  EXPECT_FALSE(C->Dirty());
  // Up to date: a second walk without a pull changes nothing.
  Log.clear();
  EXPECT_EQ(C->UpdateChain(), 0);
  EXPECT_TRUE(Log.empty());
}

TEST_F(Pipeline, WithoutContinuousOnlyTheComponentItselfUpdates) {
  C->SetContinuous(false);
  EXPECT_EQ(C->Pull(), 0);
  EXPECT_EQ(A->Updates + B->Updates, 0);
  EXPECT_EQ(C->Updates, 1);
}

TEST_F(Pipeline, AnInputThatIsNotReadyIsAskedAgainUntilItIs) {
  B->Codes = {1, 1, 0};
  EXPECT_EQ(C->Pull(), 0);
  EXPECT_EQ(B->Updates, 3);
  EXPECT_EQ(C->Updates, 1);
  // The input's own input was brought up to date once, by the first ask.
  EXPECT_EQ(A->Updates, 1);
}

TEST_F(Pipeline, EndOfDataStopsEveryContinuousComponentDownstream) {
  A->Codes = {2};
  EXPECT_EQ(C->Pull(), 2);
  EXPECT_EQ(A->Updates, 1);
  EXPECT_EQ(B->Updates + C->Updates, 0);
  EXPECT_TRUE(B->Dirty());
  EXPECT_TRUE(C->Dirty());
}

TEST_F(Pipeline, ProcessAllPullsUntilTheSourceEndsWithTheListenerSilent) {
  A->Codes = {0, 0, 2};
  EXPECT_EQ(C->ProcessAll(), 2);
  EXPECT_EQ(A->Updates, 3);
  EXPECT_EQ(C->Updates, 2);
  EXPECT_EQ(std::count(Log.begin(), Log.end(), "C.notify"), 0);
  EXPECT_FALSE(C->SuspendNotify());
}

TEST_F(Pipeline, ProcessAllRestoresSuspendNotifyWhenAnUpdateRaises) {
  B->Failure = "broken";
  EXPECT_TRUE(Raises([&] { C->ProcessAll(); }, "B: broken"));
  EXPECT_FALSE(C->SuspendNotify());
  C->SetSuspendNotify(true);
  EXPECT_TRUE(Raises([&] { C->ProcessAll(); }, "B: broken"));
  EXPECT_TRUE(C->SuspendNotify());
}

TEST_F(Pipeline, AnInactiveComponentReturnsZeroAndKeepsItsMark) {
  C->SetActive(false);
  EXPECT_EQ(C->Pull(), 0);
  EXPECT_EQ(A->Updates + B->Updates + C->Updates, 0);
  EXPECT_TRUE(C->Dirty());
  // An inactive source in the middle: the chain goes on without it.
  C->SetActive(true);
  B->SetActive(false);
  EXPECT_EQ(C->Pull(), 0);
  EXPECT_EQ(B->Updates, 0);
  EXPECT_EQ(C->Updates, 1);
}

TEST_F(Pipeline, AnUpdateThatRaisesNamesTheComponentAndKeepsItsMark) {
  C->Failure = "no data";
  EXPECT_TRUE(Raises([&] { C->Pull(); }, "C: no data"));
  EXPECT_TRUE(C->Dirty());
  EXPECT_FALSE(B->Dirty());
}

TEST_F(Pipeline, TwoComponentsThatAreEachOthersInputReturn) {
  A->SetInput(C);  // C -> B -> A -> C
  EXPECT_EQ(C->Pull(), 0);
  EXPECT_EQ(A->Updates, 1);
  EXPECT_EQ(B->Updates, 1);
  EXPECT_EQ(C->Updates, 1);

  classlib::TComponent owner;
  std::vector<std::string> log;
  auto* x = new TProbe(&owner, "X", log);
  auto* y = new TProbe(&owner, "Y", log);
  x->SetInput(y);
  y->SetInput(x);
  EXPECT_EQ(x->Pull(), 0);
  EXPECT_EQ(x->Updates, 1);
  EXPECT_EQ(y->Updates, 1);
  EXPECT_TRUE(x->Dirty() == false && y->Dirty() == false);
  x->MarkDirty();  // already clean: marks both, and ends
  EXPECT_TRUE(x->Dirty());
  EXPECT_TRUE(y->Dirty());
}

TEST_F(Pipeline, EventsRunAroundThePreparationAndTheUpdate) {
  A->SetOnGetInput([&](classlib::TPersistent*) { Log.push_back("A.getinput"); });
  A->SetOnBeforeUpdate([&](classlib::TPersistent*) { Log.push_back("A.before"); });
  A->SetOnAfterUpdate([&](classlib::TPersistent*) { Log.push_back("A.after"); });
  A->SetOnDisplayUpdate([&](classlib::TPersistent*) { Log.push_back("A.display"); });
  A->Update();
  std::vector<std::string> expected = {"A.getinput", "A.before", "A.prepare", "A.update", "A.after", "A.notify"};
  EXPECT_EQ(Log, expected);
  // The display event only while the editor is open; the listener not while suspended.
  Log.clear();
  A->SetEditorOpen(true);
  A->SetSuspendNotify(true);
  A->Update();
  expected = {"A.getinput", "A.before", "A.prepare", "A.update", "A.after", "A.display"};
  EXPECT_EQ(Log, expected);
}

TEST_F(Pipeline, ParameterUpdateTellsTheComponentThenTheHost) {
  classlib::TPersistent* seen = nullptr;
  A->SetOnParameterUpdate([&](classlib::TPersistent* Sender) { seen = Sender; });
  A->ParameterUpdate(B);
  EXPECT_EQ(seen, B);
}

TEST(Analysis, AMissingInputIsReportedUnlessTheHostSuppliesIt) {
  classlib::TComponent owner;
  std::vector<std::string> log;
  auto* p = new TProbe(&owner, "Probe", log);
  p->SetUsesInputs(true);
  EXPECT_TRUE(Raises([&] { p->Update(); }, "Probe: Input = nil!"));
  EXPECT_EQ(p->Updates, 0);
  p->SetOnGetInput([](classlib::TPersistent*) {});
  EXPECT_EQ(p->Update(), 0);
  EXPECT_EQ(p->Updates, 1);

  auto* m = new TProbe(&owner, "Multi", log);
  m->SetUsesInputs(true);
  m->SetMultiChannel(true);
  // An empty collection has no item 0: it is as missing as a nil one.
  EXPECT_TRUE(Raises([&] { m->Update(); }, "Multi: Inputs[0] = nil!"));
  auto* s = new TSignal(&owner);
  m->SetInput(s);
  m->Inputs()->Add();
  EXPECT_TRUE(Raises([&] { m->Update(); }, "Multi: Inputs[1] = nil!"));
  m->Inputs()->Items(1)->SetInput(s);
  EXPECT_EQ(m->Update(), 0);
}

TEST(Analysis, FreeingAComponentClearsEveryLinkToIt) {
  classlib::TComponent owner;
  std::vector<std::string> log;
  auto* s = new TSignal(&owner);
  auto* single = new TProbe(&owner, "Single", log);
  auto* multi = new TProbe(&owner, "Multi", log);
  single->SetInput(s);
  multi->SetMultiChannel(true);
  multi->SetInput(s);
  multi->Inputs()->Add()->SetInput(s);

  delete s;
  EXPECT_EQ(single->Input(), nullptr);
  EXPECT_EQ(multi->Input(), nullptr);
  EXPECT_EQ(multi->Inputs()->Items(0)->Input(), nullptr);
  EXPECT_EQ(multi->Inputs()->Items(1)->Input(), nullptr);
  // The links stay usable: the pipeline runs without the freed input.
  EXPECT_EQ(single->Pull(), 0);
  multi->SetUsesInputs(true);
  EXPECT_TRUE(Raises([&] { multi->Update(); }, "Multi: Inputs[0] = nil!"));
}

TEST(Analysis, AMultiChannelComponentTakesSignalsOnly) {
  classlib::TComponent owner;
  std::vector<std::string> log;
  auto* m = new TProbe(&owner, "M", log);
  auto* other = new TProbe(&owner, "Other", log);
  m->SetMultiChannel(true);
  EXPECT_TRUE(Raises([&] { m->SetInput(other); }, "Inputs[0] must be a TSignal: TAnalysis"));
  EXPECT_EQ(m->Input(), nullptr);
  m->SetMultiChannel(false);
  m->SetInput(other);
  EXPECT_EQ(m->Input(), other);
}

TEST(Analysis, AssignBetweenSingleAndMultiChannelIsRefused) {
  TAnalysis single;
  TAnalysis multi;
  multi.SetMultiChannel(true);
  EXPECT_TRUE(Raises([&] { single.Assign(multi); }, "MultiChannel <> TAnalysis(Source).MultiChannel!"));
  TAnalysis other;
  other.SetActive(false);
  other.SetContinuous(false);
  single.Assign(other);
  EXPECT_FALSE(single.Active());
  EXPECT_FALSE(single.Continuous());
}

TEST(SignalCollection, ItemsBindTheirInputsToTheCollectionsListener) {
  classlib::TComponent owner;
  auto* s = new TSignal(&owner);
  auto* t = new TSignal(&owner);
  int calls = 0;
  {
    sig::TSignalCollection inputs(&owner);
    // Without a listener the item leaves the input's own binding alone.
    s->SetNotifyMethod([](classlib::TPersistent*) {}, &owner);
    inputs.Add()->SetInput(s);
    EXPECT_TRUE(s->HasNotifyMethod());

    inputs.SetNotify([&](classlib::TPersistent*) { ++calls; });
    inputs.Items(0)->SetInput(t);
    t->Update();
    EXPECT_EQ(calls, 1);
    // A locked collection keeps its inputs.
    inputs.SetLocked(true);
    inputs.Items(0)->SetInput(s);
    EXPECT_EQ(inputs.Items(0)->Input(), t);
    inputs.SetLocked(false);
    // Another collection binds t later: it is the one t tells from now on.
    int otherCalls = 0;
    {
      sig::TSignalCollection second(&owner);
      second.SetNotify([&](classlib::TPersistent*) { ++otherCalls; });
      second.Add()->SetInput(t);
      // Freeing the first collection's item must not take the second's binding.
      inputs.Delete(0);
      t->Update();
      EXPECT_EQ(otherCalls, 1);
      EXPECT_EQ(calls, 1);
    }
    // The second collection is gone: t has no listener left to call.
    EXPECT_FALSE(t->HasNotifyMethod());
  }
  t->Update();
  EXPECT_EQ(calls, 1);
}

TEST(SignalCollection, ItemsAreMadeOnlyInsideTheirCollection) {
  classlib::TComponent owner;
  sig::TSignalCollection signals(&owner);
  sig::TSpectrumCollection spectra(&owner);
  EXPECT_TRUE(Raises([&] { sig::TSignalItem item(nullptr); }, "Collection = nil!"));
  EXPECT_TRUE(Raises([&] { sig::TSignalItem item(&spectra); }, "Collection = nil!"));
  EXPECT_TRUE(Raises([&] { sig::TSpectrumItem item(&signals); }, "Collection = nil!"));
  EXPECT_EQ(signals.Add()->Collection(), &signals);
  EXPECT_EQ(spectra.Add()->Collection(), &spectra);
}

TEST(SignalCollection, AssigningInputsCopiesTheLinksAndTakesItemZeroAsInput) {
  classlib::TComponent owner;
  auto* s = new TSignal(&owner);
  auto* t = new TSignal(&owner);
  TAnalysis a(&owner);
  a.SetMultiChannel(true);
  sig::TSignalCollection source(&owner);
  source.Add()->SetInput(t);
  source.Add()->SetInput(s);
  a.SetInputs(source);
  ASSERT_EQ(a.Inputs()->Count(), 2);
  EXPECT_EQ(a.Input(), t);
  EXPECT_EQ(a.Inputs()->Items(1)->Input(), s);
}

TEST(AnalysisList, CountMakesAndFreesSignals) {
  classlib::TComponent owner;
  auto* list = new sig::TSignalList(&owner);
  list->SetCount(3);
  ASSERT_EQ(list->Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(list->Items(i)->Owner(), list);
  sig::TSignal* first = list->Items(0);
  list->SetCount(1);
  EXPECT_EQ(list->Count(), 1);
  EXPECT_EQ(list->Items(0), first);
  EXPECT_EQ(list->ComponentCount(), 1);
  EXPECT_TRUE(Raises([&] { list->Delete(1); }, "Index >= AList.Count"));
  // An item freed elsewhere leaves the list.
  delete list->Items(0);
  EXPECT_EQ(list->Count(), 0);
  // The base list makes no items.
  sig::TAnalysisList plain;
  plain.SetCount(2);
  EXPECT_EQ(plain.Count(), 0);
}

TEST(AnalysisList, PipelineOperationsReachEveryItem) {
  sig::TSignalList list;
  list.SetCount(2);
  EXPECT_EQ(list.UpdateAll(), 0);
  EXPECT_FALSE(list.Items(0)->Dirty());
  list.MarkAllDirty();
  EXPECT_TRUE(list.Items(1)->Dirty());
  EXPECT_EQ(list.PullAll(), 0);
  EXPECT_FALSE(list.Items(1)->Dirty());
  list.SetTemplateMode(true);
  EXPECT_TRUE(list.Items(1)->TemplateMode());
  list.SetTemplateMode(false);
}

TEST(AnalysisList, TheFirstItemsSettingsGoToTheOthers) {
  sig::TSignalList list;
  list.SetCount(3);
  list.Items(0)->SetSamplingFrequency(1000.0);
  list.Items(0)->SetLength(16);
  list.Items(0)->SetActive(false);
  // Parameters only: the samples and their rate stay.
  list.AssignFirstToOthers();
  EXPECT_FALSE(list.Items(2)->Active());
  EXPECT_EQ(list.Items(2)->Length(), 128);
  EXPECT_EQ(list.Items(2)->SamplingFrequency(), 1.0);
  // Everything.
  list.SetPropagateInputs(true);
  list.AssignFirstToOthers();
  EXPECT_EQ(list.Items(1)->Length(), 16);
  EXPECT_EQ(list.Items(1)->SamplingFrequency(), 1000.0);
}

TEST(AnalysisList, ASavedListLoadsBackWithItsItems) {
  sig::TSignalList list;
  list.SetCount(2);
  list.SetPropagateInputs(true);
  list.Items(1)->SetSamplingFrequency(250.0);
  list.Items(1)->Data().SetVal(3.5);
  classlib::TMemoryStream stream;
  list.SaveToStream(stream);

  sig::TSignalList copy;
  copy.SetCount(5);
  stream.SetPosition(0);
  copy.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size());
  ASSERT_EQ(copy.Count(), 2);
  EXPECT_TRUE(copy.PropagateInputs());
  EXPECT_EQ(copy.Items(1)->SamplingFrequency(), 250.0);
  EXPECT_EQ(copy.Items(1)->Data().GetValue(127), 3.5);
  // The items are in the stream once, after the list, not also as its children.
  EXPECT_EQ(copy.ComponentCount(), 2);

  // A stream cut inside the second item leaves the list as it was.
  classlib::TMemoryStream cut;
  cut.WriteBuffer(stream.Memory(), stream.Size() - 20);
  cut.SetPosition(0);
  copy.Items(0)->SetSamplingFrequency(77.0);
  EXPECT_THROW(copy.LoadFromStream(cut), classlib::Exception);
  EXPECT_EQ(cut.Position(), 0);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.Items(0)->SamplingFrequency(), 77.0);
}

}  // namespace
