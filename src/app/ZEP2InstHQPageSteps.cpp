// The sequence of pages a run visits, from the answers given so far. It only
// labels the pages for a person; the navigation itself is the handlers'.
#include <string>
#include <vector>

#include "ZEP2InstHQ.h"
#include "ZEP2PageSteps.h"
#include "pages/ZEP2Pages.h"

namespace {

using H = ZEP2InstHQ;

std::vector<std::string> VisitedPages() {
  std::vector<std::string> pages{"PanelTESADM", "PanelTOEXE"};
  if (H::_nvEXEDBObj && !H::_nvEXEStartupData) pages.emplace_back("PanelEXECParam");
  pages.insert(pages.end(), {"PanelDBMSType", "PanelTESDICO"});
  if (H::_nvOracle) {
    pages.insert(pages.end(), {"PanelORALoc", "PanelORAParam", "PanelORAParam2"});
  } else {
    pages.insert(pages.end(), {"PanelDB2Param", "PanelDB2Param2"});
  }
  pages.insert(pages.end(), {"PanelDBAUSER", "PanelTBSTypicalSel"});
  // The new tablespace's page counts once a person has been sent to it.
  const ZEP2InstHQ* controller = H::_ZEP2InstHQHandler;
  if (controller && controller->_DlgTBSTypical && controller->_DlgTBSTypical->GetVisitCount() > 0)
    pages.emplace_back("PanelTBSTypical");
  if (H::_nvEXEVault) pages.emplace_back("PanelVAULTADM");
  if (H::_nvEXEClashInst)
    pages.emplace_back(H::_nvEXEClashServer ? "PanelCLASHADM" : "PanelCLASHSRV");
  pages.insert(pages.end(), {"PanelSUM", "PanelSTATUS", "PanelREPORT"});
  return pages;
}

}  // namespace

std::string ZEP2WhereTheRunStands(const QelDialog* page) {
  if (!page) return {};
  const std::vector<std::string> pages = VisitedPages();
  const std::string& name = page->GetCommandName().str();
  for (std::size_t index = 0; index < pages.size(); ++index) {
    if (pages[index] != name) continue;
    const std::string step =
        "step " + std::to_string(index + 1) + " of " + std::to_string(pages.size());
    if (H::_nvIBMDB2UDB) return "DB2 - " + step;
    if (H::_nvOracle) return "Oracle - " + step;
    return step;
  }
  return {};
}
