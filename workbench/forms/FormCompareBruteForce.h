// The brute-force search dialog: ranges of filter parameters searched on a
// worker thread for the combinations whose output follows a reference row of
// a comparison table, the best listed first; a double click hands one back to
// the comparison as a new row. Created once at start, shown modally by the
// comparison window.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>
#include <QElapsedTimer>

#include "platform/classlib/Threads.h"
#include "workbench/logic/BruteForceSearch.h"
#include "workbench/logic/CompareTable.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QTabWidget;
class QTableView;
class QTimer;

namespace ui {
class TUserDialogs;
}  // namespace ui

namespace workbench {

class TRadioGroup;
class TSpinEdit;
using TUserDialogs = ui::TUserDialogs;

class TfrmCmpBruteForce;

namespace FormCompareBruteForce {

// How a search thread reaches its dialog: cleared by the dialog as it goes;
// read and written on the GUI thread only.
struct TSearchLink {
  TfrmCmpBruteForce* Dialog = nullptr;
};

// The search thread: counts the combinations, then searches them on every
// core, reporting to the dialog through two synchronised calls. Created
// suspended; it frees itself when it ends.
class TRemezThread : public classlib::TThread {
 public:
  TRemezThread(std::shared_ptr<TBruteForceSearch> search, std::shared_ptr<TSearchLink> link, int run, int workers);
  ~TRemezThread() override;

 protected:
  // overrides
  void Execute() override;

 private:
  std::shared_ptr<TBruteForceSearch> FSearch;
  std::shared_ptr<TSearchLink> FLink;
  int FRun;
  int FWorkers;
};

}  // namespace FormCompareBruteForce

// The search threads that have not ended yet.
int RunningSearchThreads();
// Waits until every search thread has ended, answering their synchronised
// calls meanwhile; the program calls it once its windows are gone.
void WaitForSearchThreads();

class TfrmCmpBruteForce : public QDialog {
 public:
  explicit TfrmCmpBruteForce(TUserDialogs& dialogs, QWidget* parent = nullptr);
  ~TfrmCmpBruteForce() override;

  // controls
  QTabWidget* pcMain = nullptr;
  QWidget* tsParameters = nullptr;
  QWidget* tsResults = nullptr;
  TRadioGroup* FilterType = nullptr;
  TSpinEdit* inP1from = nullptr;
  TSpinEdit* inP1to = nullptr;
  TSpinEdit* inP1step = nullptr;
  TSpinEdit* inP2from = nullptr;
  TSpinEdit* inP2to = nullptr;
  TSpinEdit* inP2step = nullptr;
  TSpinEdit* inD1from = nullptr;
  TSpinEdit* inD1to = nullptr;
  TSpinEdit* inD1step = nullptr;
  TSpinEdit* inD2from = nullptr;
  TSpinEdit* inD2to = nullptr;
  TSpinEdit* inD2step = nullptr;
  TSpinEdit* inA1from = nullptr;
  TSpinEdit* inA1to = nullptr;
  TSpinEdit* inA1step = nullptr;
  TSpinEdit* inA2from = nullptr;
  TSpinEdit* inA2to = nullptr;
  TSpinEdit* inA2step = nullptr;
  QLineEdit* inRfrom = nullptr;
  QLineEdit* inRto = nullptr;
  QLineEdit* inRstep = nullptr;
  TSpinEdit* inDfrom = nullptr;
  TSpinEdit* inDto = nullptr;
  TSpinEdit* inDstep = nullptr;
  QComboBox* cbxInitial = nullptr;
  QSlider* tbCorrelation = nullptr;
  QLabel* lblCorrelation = nullptr;
  QProgressBar* pbProcess = nullptr;
  QLabel* lblProcessInfo = nullptr;
  QLabel* lblProcess = nullptr;
  QTableView* sgrResult = nullptr;
  QPushButton* btnStart = nullptr;
  QPushButton* btnCancel = nullptr;
  QPushButton* btnClose = nullptr;
  QTimer* Timer1 = nullptr;

  // properties
  bool SearchRunning() const { return FSearch != nullptr; }
  bool SearchFinished() const { return FSearchFinished; }
  const std::vector<TBruteForceResult>& Results() const { return FResults; }
  int SelectedResult() const { return FSelectedResult; }

  // operations
  // What the comparison's search command gives the dialog before it shows it:
  // the table searched (its reference rows, candles and grid density, read
  // while it lives) and where a result taken goes.
  void Prepare(const std::shared_ptr<const TCompareTable>& table,
               std::function<void(TCompareFilterRecord)> takeResult);
  void EnableSearchControls(bool enabled);
  void ShowBruteForceResults();

  // events
  void FormCreate();
  void FormShow();
  void FormClose();
  void tbCorrelationChange();
  void btnStartClick();
  void btnCancelClick();
  void btnCloseClick();
  void Timer1Timer();
  void sgrResultSelectCell(int row);
  void sgrResultDblClick();
  // The synchronised calls of the thread of search `run`; calls of an
  // earlier search change nothing.
  void SyncCountingDone(int run);
  void SyncShowResults(int run, const std::string& failure);

 protected:
  // overrides
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void reject() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class TResultModel;
  void CreateControls();
  // The inputs into their settings fields; raises for a ripple that is no
  // number, after the fields before it.
  void StoreInputs(TWorkbenchSettings& settings) const;
  TSearchRanges ReadRanges() const;
  void FitResultColumns();
  void ShowProgress(const TBruteForceSearch& search);

  TUserDialogs& FDialogs;
  // The inputs of SearchIntegerInputs and SearchRippleInputs, in their order.
  std::array<TSpinEdit*, std::size(SearchIntegerInputs)> FIntegerInputs{};
  std::array<QLineEdit*, std::size(SearchRippleInputs)> FRippleInputs{};
  std::weak_ptr<const TCompareTable> FTable;
  std::function<void(TCompareFilterRecord)> FTakeResult;
  std::vector<int> FReferenceRows;
  std::shared_ptr<FormCompareBruteForce::TSearchLink> FLink;
  std::shared_ptr<TBruteForceSearch> FSearch;
  int FRun = 0;
  QElapsedTimer FStartTicks;
  bool FSearchFinished = false;
  bool FLoading = false;
  std::vector<TBruteForceResult> FResults;
  TResultModel* FModel = nullptr;
  int FSelectedResult = 0;
};

}  // namespace workbench
