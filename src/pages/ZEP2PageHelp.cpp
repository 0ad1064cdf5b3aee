// Read when asked, not when the pages are built: help is rarely wanted, and
// a page's own catalogue keeps only the texts the controller reads.
#include "pages/ZEP2PageHelp.h"

#include "platform/QelDialog.h"
#include "platform/QelMsgCatalog.h"

std::string ZEP2PageHelpText(const QelDialog* page) {
  if (!page) return {};
  return QelMsgCatalog::BuildMessage("ZEP2PageHelp", page->GetCommandName() + ".Title",
                                     QelListValQelUnicodeString(), "")
      .str();
}
