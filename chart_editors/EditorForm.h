// The base of every editor form of the chart editors, and the registry that
// creates editor forms by class name.
//
// A form edits the object in its Tag (a series, a pointer, a gradient ...),
// fills its controls from it when first shown (FormShow) and writes each
// control's change straight into it. While a fill runs, the form is Filling
// and its change handlers keep quiet, so loading never writes a rounded or
// clamped value back.
//
// A series editor embeds the editor of a series kind, or a function its
// options form, knowing only the name the object gives (EditorClassName);
// units register their forms under those names from InitChartEditors.
//
// Tested by: chart_editors/tests/EditorFormTest.cpp
#pragma once

#include <QDialog>
#include <QPointer>
#include <QSpinBox>

#include <functional>
#include <string>
#include <string_view>

#include "platform/classlib/Persistent.h"

namespace chart_editors {

class TEditorForm : public QDialog {
 public:
  explicit TEditorForm(QWidget* owner = nullptr);

  // properties
  // The widget the form was made for: its parent when created. Embedding
  // moves the form into a page of its owner, and the owner stays.
  QWidget* Owner() const { return FOwner; }
  // The object the form edits; nullptr while none is given.
  classlib::TPersistent* Tag() const { return FTag; }
  void SetTag(classlib::TPersistent* tag) { FTag = tag; }
  // True once FormShow has run: from then on the controls speak for the object.
  bool Shown() const { return FShown; }
  bool Filling() const { return FFilling; }
  // Whether an embedding fills its page with the form, rather than placing it
  // at its own size near the page's top left corner.
  bool AlignClient() const { return FAlignClient; }
  void SetAlignClient(bool v) { FAlignClient = v; }

  // operations
  // Runs FormShow now unless it ran: an embedded form fills itself when it is
  // placed, whether or not its window is on the screen yet.
  void EnsureShown();

  // introduced virtual
  // Fills the controls from the object; runs once, at the first show.
  virtual void FormShow() {}
  // Whether the form may go now: asked before a form that is a window closes
  // (its buttons, Escape, the window's close button), and by the form that
  // embeds it before it goes or applies it. A failure counts as no.
  virtual bool CloseQuery() { return true; }

  // overrides
  void done(int result) override;

 protected:
  // Holds the form Filling for its scope (nested scopes keep it until the outermost ends).
  class TFillingScope {
   public:
    explicit TFillingScope(TEditorForm& form) : FForm(form), FWas(form.FFilling) { form.FFilling = true; }
    ~TFillingScope() { FForm.FFilling = FWas; }
    TFillingScope(const TFillingScope&) = delete;
    TFillingScope& operator=(const TFillingScope&) = delete;

   private:
    TEditorForm& FForm;
    bool FWas;
  };

  void SetFilling(bool v) { FFilling = v; }
  void showEvent(QShowEvent* event) override;
  // Escape and Enter close a form that is a window; in a page they belong to the window around it.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QPointer<QWidget> FOwner;
  classlib::TPersistent* FTag = nullptr;
  bool FShown = false;
  bool FFilling = false;
  bool FAlignClient = false;
};

// A new control of kind T on parent, named as the form names it, showing
// caption (its text, or a group box's title) when given.
template <class T>
T* CreateControl(QWidget* parent, const char* name, const QString& caption = QString()) {
  auto* control = new T(parent);
  control->setObjectName(name);
  if (caption.isEmpty()) return control;
  if constexpr (requires { control->setTitle(caption); })
    control->setTitle(caption);
  else if constexpr (requires { control->setText(caption); })
    control->setText(caption);
  return control;
}

// An edit with up and down buttons for whole numbers from min to max: a
// spin box named upDownName whose edit is named editName, as the forms pair
// an edit with its up-down control.
QSpinBox* CreateUpDownEdit(QWidget* parent, const char* editName, const char* upDownName, int min, int max);

// Makes an editor form of a registered class, a child of owner's window
// (nullptr: no owner).
using TEditorFormFactory = std::function<TEditorForm*(QWidget* owner)>;

// Registers a form class under its name (compared in any letter case); a name
// registered already keeps its first factory.
void RegisterEditorForm(const std::string& className, TEditorFormFactory factory);
// The factory of a form class whose constructor takes the owner.
template <class TForm>
TEditorFormFactory EditorFormFactory() {
  return [](QWidget* owner) -> TEditorForm* { return new TForm(owner); };
}
void UnRegisterEditorForm(std::string_view className);
// Whether a form class of that name is registered.
bool EditorFormRegistered(std::string_view className);
// A new form of the class registered under className, owned by owner (which
// deletes it with itself); raises classlib::EClassNotFound "Class <name> not
// found" when none is.
TEditorForm* CreateEditorForm(std::string_view className, QWidget* owner);

}  // namespace chart_editors
