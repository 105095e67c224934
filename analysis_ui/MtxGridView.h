// The template list of the analysis windows: a report-style list that edits
// one template of a template collection line by line, with a combo box
// beside it that lists the template names and chooses the current one. Each
// line is one record of the current template; the list does not know the
// record's fields: the owning form fills a line from a record and a record
// from its edit controls through two events.
//
// How a form hosts one:
//   view->SetComboBox(combo);                // activating a name calls Refresh
//   view->SetTemplates(&analyser->Bands()->Templates());
//   view->SetOnMtxUpdateEdits(...);         // record LineIndex -> edits, SetLine
//   view->SetOnMtxLineDefinition(...);      // edits -> record LineIndex, SetLine
//   "Add" button:  view->CheckTemplateDefined(); append a record; view->AddLine(true);
//   "Delete":      view->DeleteLine();
// Selecting a line first defines the line that lost the selection from the
// edits, then loads the edits from the newly selected line. The events run
// with the ready flag lowered (no further events while they change lines).
//
// The combo box's items and the collection's templates stay in the same
// order; the list shows the records of the template at the combo box's
// current index. Failures raise the view's texts and leave the state before
// the operation.
//
// Tested by: analysis_ui/tests/MtxGridViewTest.cpp
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QComboBox>
#include <QPointer>
#include <QTreeWidget>

namespace sig {
class TStreamTemplates;
}

namespace analysis_ui {

class TMtxGridView : public QTreeWidget {
 public:
  // (Sender, LineIndex, Item): the line's index and its item.
  using TOnLineDefinition = std::function<void(QObject* Sender, std::int32_t LineIndex, QTreeWidgetItem* Item)>;
  using TOnUpdateEdits = TOnLineDefinition;
  using TNotifyEvent = std::function<void(QObject* Sender)>;

  explicit TMtxGridView(QWidget* parent = nullptr);
  ~TMtxGridView() override;

  // properties
  QComboBox* ComboBox() const { return FComboBox.data(); }
  // Activating an item of the combo box (by the user) calls Refresh.
  void SetComboBox(QComboBox* Value);
  // The template collection whose current template the lines show; not owned.
  sig::TStreamTemplates* Templates() const { return FTemplates; }
  void SetTemplates(sig::TStreamTemplates* Value) { FTemplates = Value; }
  // While false, selection changes raise no events.
  bool Ready() const { return FReady; }
  std::int32_t LineCount() const { return topLevelItemCount(); }
  QTreeWidgetItem* Line(std::int32_t Index) const { return topLevelItem(Index); }
  // The selected line's index, -1 for none.
  std::int32_t SelectedLine() const;

  // events
  void SetOnMtxLineDefinition(TOnLineDefinition Value) { FOnMtxLineDefinition = std::move(Value); }
  void SetOnMtxUpdateEdits(TOnUpdateEdits Value) { FOnMtxUpdateEdits = std::move(Value); }
  // The current template's records were loaded into the list again.
  void SetOnMtxDataIsDirty(TNotifyEvent Value) { FOnMtxDataIsDirty = std::move(Value); }

  // operations
  // Whether a template is there to take lines: the combo box has a name.
  bool TemplateDefined() const;
  // Raises "Define template name first." when no template is there. An
  // "Add" handler calls it before it appends a record, so that a refused
  // line never leaves a record behind.
  void CheckTemplateDefined() const;
  // Loads the template at the combo box's index and shows a line per record,
  // the first selected; nothing with an empty combo box.
  void Refresh();
  // Adds a line for the record of the same index (appended by the caller);
  // with Define the form first stores its edits into that record. The new
  // line is selected and focused.
  void AddLine(bool Define);
  // Deletes the selected line (the last when none is selected) with its
  // record; raises "Nothing to Delete" for an empty list.
  void DeleteLine();
  // Asks for a name and starts an empty template under it.
  void NewTemplate();
  // Asks for a name and saves a copy of the current template under it.
  void SaveTemplateAs();
  // Deletes the current template; the first remaining one becomes current.
  void DeleteTemplate();
  // Lets the form write every line's texts again, the selected line last.
  void UpdateAllLines();
  // Sets a line's check box, its caption (its 1-based number) and its texts
  // (the columns after the caption).
  void SetLine(QTreeWidgetItem* Item, bool Checked, const std::vector<std::string>& Texts);
  // What dropping the selected line on line Target does: its record moves
  // to Target's place and the list is shown again with Target selected.
  void DropLine(std::int32_t Target);

 protected:
  // overrides
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Sets the ready flag for a scope and puts the old value back.
  class TReadyScope {
   public:
    TReadyScope(TMtxGridView& View, bool Value) : FView(View), FOld(View.FReady) { View.FReady = Value; }
    ~TReadyScope() { FView.FReady = FOld; }
    TReadyScope(const TReadyScope&) = delete;
    TReadyScope& operator=(const TReadyScope&) = delete;

   private:
    TMtxGridView& FView;
    bool FOld;
  };

  void SelectionChanged(const QItemSelection& Selected, const QItemSelection& Deselected);
  void RaiseEvent(const TOnLineDefinition& Event, std::int32_t Index);
  // Selects and focuses a line; events as the ready flag allows.
  void SelectLine(std::int32_t Index);
  // Removes every line without events (deleted lines are not deselected).
  void ClearLines();
  void Renumber();
  // The combo box's index of Name, compared as the collection compares
  // names (without case); -1 when it is not there.
  int FindName(const std::string& Name) const;
  void CheckNewName(const std::string& Name) const;

  QPointer<QComboBox> FComboBox;
  QMetaObject::Connection FComboConnection;
  sig::TStreamTemplates* FTemplates = nullptr;
  bool FReady = false;
  bool FDestroying = false;
  TOnLineDefinition FOnMtxLineDefinition;
  TOnUpdateEdits FOnMtxUpdateEdits;
  TNotifyEvent FOnMtxDataIsDirty;
};

}  // namespace analysis_ui
