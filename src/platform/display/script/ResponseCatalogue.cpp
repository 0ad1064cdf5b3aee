// The response-file catalogue read from the widget model.
#include "ResponseCatalogue.h"

#include "../../QelDialog.h"
#include "../../QelDlgNotify.h"

namespace {

// Depth first, parents before children: the first of two widgets with one
// name is the one a page's look-up finds, and so the one an answer sets.
void AddWidgets(const QelDlgObject& object, ResponseCatalogue::Widgets& widgets) {
  for (const auto& child : object.GetChildren()) {
    widgets.emplace(child->GetCommandName().str(), child->GetKind());
    AddWidgets(*child, widgets);
  }
}

}  // namespace

ResponseCatalogue ResponseCatalogue::FromModel() {
  ResponseCatalogue catalogue;
  for (const QelDialog* dialog : QelDialog::AllDialogs()) {
    if (!dynamic_cast<const QelDlgDialog*>(dialog)) continue;
    AddWidgets(*dialog, catalogue.pages[dialog->GetCommandName().str()]);
  }
  catalogue.boxClasses = QelDlgNotify::DeclaredClasses();
  return catalogue;
}
