// The editor's Chart menu items of the values window: the data drawn as
// series in rows or in columns.
//
// Tested by: analysis_ui/tests/NumoraEditTest.cpp
#include <QAction>

#include "analysis_ui/NumoraEdit.h"
#include "analysis_ui/NumoraKiv.h"
#include "numeric/ObjectCache.h"

namespace analysis_ui {

namespace {

class TKivItemDrawRows : public TMtxEditKivItem {
 public:
  explicit TKivItemDrawRows(TNumoraEditForm& Form) : TMtxEditKivItem(Form) {
    Action()->setObjectName("KivItemDrawRows");
    Action()->setText("Series in rows");
  }
  void Update() override { Action()->setEnabled(Form().Data().Cols() >= 2); }
  void Execute() override {
    numeric::TCachedMtx values;
    // What the window shows now: an editable grid's changed cells count.
    Form().GridValues(*values);
    if (values->Rows() > 1) {
      DrawMatrix(*values, "");
    } else {
      numeric::TCachedVec row;
      row->CopyFromMtx(*values);
      DrawVector(*row, "", false);
    }
  }
};

class TKivItemDrawCols : public TMtxEditKivItem {
 public:
  explicit TKivItemDrawCols(TNumoraEditForm& Form) : TMtxEditKivItem(Form) {
    Action()->setObjectName("KivItemDrawCols");
    Action()->setText("Series in cols");
  }
  void Update() override { Action()->setEnabled(Form().Data().Rows() >= 2); }
  void Execute() override {
    numeric::TCachedMtx values;
    // What the window shows now: an editable grid's changed cells count.
    Form().GridValues(*values);
    if (values->Cols() > 1) {
      values->Transp();
      DrawMatrix(*values, "");
    } else {
      numeric::TCachedVec column;
      column->CopyFromMtx(*values);
      DrawVector(*column, "", false);
    }
  }
};

}  // namespace

std::unique_ptr<TMtxEditKivItem> CreateKivItemDrawRows(TNumoraEditForm& Form) {
  return std::make_unique<TKivItemDrawRows>(Form);
}

std::unique_ptr<TMtxEditKivItem> CreateKivItemDrawCols(TNumoraEditForm& Form) {
  return std::make_unique<TKivItemDrawCols>(Form);
}

}  // namespace analysis_ui
