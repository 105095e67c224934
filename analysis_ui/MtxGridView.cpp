// The template list view.
//
// Tested by: analysis_ui/tests/MtxGridViewTest.cpp
#include "analysis_ui/MtxGridView.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <algorithm>

#include "platform/classlib/Exception.h"
#include "platform/ui/Guarded.h"
#include "platform/ui/UserDialogs.h"
#include "signal/StreamTemplates.h"

namespace analysis_ui {

namespace {

void Raise(const char* text) { throw classlib::Exception(text); }

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

TMtxGridView::TMtxGridView(QWidget* parent) : QTreeWidget(parent) {
  // A report: one row a record, no tree.
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Lines are reordered by dragging them onto another line.
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::CopyAction);
  setHeaderLabels({"#"});
  connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
          ui::Guarded([this](const QItemSelection& selected, const QItemSelection& deselected) {
            SelectionChanged(selected, deselected);
          }));
  FReady = true;
}

TMtxGridView::~TMtxGridView() {
  // Lines that go with the view are not deselected by the user.
  FDestroying = true;
  disconnect(FComboConnection);
}

void TMtxGridView::SetComboBox(QComboBox* Value) {
  if (FComboBox == Value) return;
  disconnect(FComboConnection);
  FComboBox = Value;
  if (Value != nullptr)
    FComboConnection = connect(Value, &QComboBox::activated, this, ui::Guarded([this] { Refresh(); }));
}

std::int32_t TMtxGridView::SelectedLine() const {
  const QList<QTreeWidgetItem*> selected = selectedItems();
  return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
}

bool TMtxGridView::TemplateDefined() const { return FComboBox != nullptr && FComboBox->count() > 0; }

void TMtxGridView::CheckTemplateDefined() const {
  if (!TemplateDefined()) Raise("Define template name first.");
}

void TMtxGridView::SelectionChanged(const QItemSelection& Selected, const QItemSelection& Deselected) {
  if (!FReady || FDestroying) return;
  // The old line takes the edits before the new line shows its record.
  for (const QModelIndex& index : Deselected.indexes())
    if (index.column() == 0) RaiseEvent(FOnMtxLineDefinition, index.row());
  for (const QModelIndex& index : Selected.indexes())
    if (index.column() == 0) RaiseEvent(FOnMtxUpdateEdits, index.row());
}

void TMtxGridView::RaiseEvent(const TOnLineDefinition& Event, std::int32_t Index) {
  if (!Event) return;
  QTreeWidgetItem* item = topLevelItem(Index);
  if (item == nullptr) return;
  TReadyScope ready(*this, false);
  Event(this, Index, item);
}

void TMtxGridView::SelectLine(std::int32_t Index) {
  QTreeWidgetItem* item = topLevelItem(Index);
  if (item == nullptr) return;
  selectionModel()->setCurrentIndex(indexFromItem(item),
                                    QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  scrollToItem(item);
  setFocus();
}

void TMtxGridView::ClearLines() {
  TReadyScope ready(*this, false);
  clear();
}

void TMtxGridView::Renumber() {
  for (int i = 0; i < topLevelItemCount(); ++i) topLevelItem(i)->setText(0, QString::number(i + 1));
}

void TMtxGridView::Refresh() {
  if (FComboBox == nullptr || FComboBox->count() == 0) return;
  ClearLines();
  TReadyScope ready(*this, true);
  if (FTemplates != nullptr) FTemplates->SetTemplateIndex(FComboBox->currentIndex());
  const std::int32_t records =
      FTemplates != nullptr && FTemplates->Template() != nullptr ? FTemplates->Template()->Count() : 0;
  // Each line gets its texts from the form as it is selected in turn.
  for (std::int32_t i = 0; i < records; ++i) AddLine(false);
  if (topLevelItemCount() > 0) SelectLine(0);
  if (FOnMtxDataIsDirty) {
    TReadyScope quiet(*this, false);
    FOnMtxDataIsDirty(this);
  }
}

void TMtxGridView::AddLine(bool Define) {
  CheckTemplateDefined();
  auto* item = new QTreeWidgetItem();
  item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
  item->setCheckState(0, Qt::Checked);
  {
    TReadyScope quiet(*this, false);
    addTopLevelItem(item);
    item->setText(0, QString::number(topLevelItemCount()));
  }
  if (Define) RaiseEvent(FOnMtxLineDefinition, indexOfTopLevelItem(item));
  SelectLine(indexOfTopLevelItem(item));
}

void TMtxGridView::DeleteLine() {
  if (SelectedLine() < 0) SelectLine(topLevelItemCount() - 1);
  if (topLevelItemCount() == 0) Raise("Nothing to Delete");
  const std::int32_t i = SelectedLine();
  {
    TReadyScope quiet(*this, false);
    if (FTemplates != nullptr && FTemplates->Template() != nullptr) FTemplates->Template()->Delete(i);
    delete takeTopLevelItem(i);
    // The line to select next is selected below, with its events.
    clearSelection();
    Renumber();
  }
  const std::int32_t n = topLevelItemCount();
  if (n > 0) SelectLine(std::min(i, n - 1));
}

int TMtxGridView::FindName(const std::string& Name) const {
  return FComboBox->findText(ToQ(Name), Qt::MatchFixedString);
}

void TMtxGridView::CheckNewName(const std::string& Name) const {
  // An empty name cannot be chosen from the combo box again.
  if (Name.empty()) Raise("Define template name first.");
  if (FindName(Name) >= 0) Raise("Name already exists!");
}

void TMtxGridView::NewTemplate() {
  if (FComboBox == nullptr || FTemplates == nullptr) return;
  const std::optional<std::string> name =
      ui::Dialogs().InputQuery("New template:", "Save this template as:", "Template 1");
  if (!name) return;
  CheckNewName(*name);
  // The collection first: a name it refuses leaves the combo box alone.
  FTemplates->AddEmptyTemplate(*name);
  FComboBox->addItem(ToQ(*name));
  FComboBox->setCurrentIndex(FComboBox->count() - 1);
  ClearLines();
}

void TMtxGridView::SaveTemplateAs() {
  if (FComboBox == nullptr || FTemplates == nullptr) return;
  const std::string current = FComboBox->currentText().toStdString();
  const std::string name = ui::Dialogs().InputBox("New template:", "Name:", current);
  if (name == current) return;
  CheckNewName(name);
  FTemplates->AddTemplate(name);
  FComboBox->addItem(ToQ(name));
  FComboBox->setCurrentIndex(FComboBox->count() - 1);
  Refresh();
}

void TMtxGridView::DeleteTemplate() {
  if (FComboBox == nullptr || FTemplates == nullptr) return;
  TReadyScope quiet(*this, false);
  if (FComboBox->count() < 2) {
    if (FComboBox->count() == 1) {
      FTemplates->DeleteTemplate(0);
      FComboBox->clear();
      ClearLines();
    }
  } else {
    const int i = FComboBox->currentIndex();
    FComboBox->setCurrentIndex(FTemplates->TemplateIndex() == 0 ? 1 : 0);
    FTemplates->DeleteTemplate(i);
    FComboBox->removeItem(i);
    FTemplates->SetTemplateIndex(FComboBox->currentIndex());
  }
  Refresh();
}

void TMtxGridView::UpdateAllLines() {
  if (!FOnMtxUpdateEdits) return;
  const std::int32_t s = SelectedLine();
  const std::int32_t n = topLevelItemCount();
  // The edits end showing the selected line.
  for (std::int32_t i = 0; i < n; ++i)
    if (i != s) RaiseEvent(FOnMtxUpdateEdits, i);
  if (s >= 0) RaiseEvent(FOnMtxUpdateEdits, s);
}

void TMtxGridView::SetLine(QTreeWidgetItem* Item, bool Checked, const std::vector<std::string>& Texts) {
  if (Item == nullptr) return;
  TReadyScope quiet(*this, false);
  const int columns = static_cast<int>(Texts.size()) + 1;
  if (columnCount() < columns) setColumnCount(columns);
  Item->setCheckState(0, Checked ? Qt::Checked : Qt::Unchecked);
  Item->setText(0, QString::number(indexOfTopLevelItem(Item) + 1));
  for (std::size_t k = 0; k < Texts.size(); ++k) Item->setText(static_cast<int>(k) + 1, ToQ(Texts[k]));
}

void TMtxGridView::DropLine(std::int32_t Target) {
  const std::int32_t source = SelectedLine();
  if (source < 0 || Target < 0 || Target >= topLevelItemCount()) return;
  if (FTemplates != nullptr && FTemplates->Template() != nullptr) FTemplates->Template()->Move(source, Target);
  ClearLines();
  Refresh();
  SelectLine(Target);
}

void TMtxGridView::dragEnterEvent(QDragEnterEvent* event) { event->acceptProposedAction(); }

void TMtxGridView::dragMoveEvent(QDragMoveEvent* event) { event->acceptProposedAction(); }

void TMtxGridView::dropEvent(QDropEvent* event) {
  // The lines are rebuilt from the records; the drag itself moves nothing.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  ui::RunGuarded([&] {
    QTreeWidgetItem* target = itemAt(event->position().toPoint());
    if (target != nullptr) DropLine(indexOfTopLevelItem(target));
  });
}

}  // namespace analysis_ui
