// What a response file may name: the pages with their widgets and the box
// classes. Taken from the program as built, never written down by hand, so
// that it cannot disagree with the pages a run shows.
#pragma once

#include <map>
#include <string>
#include <vector>

struct ResponseCatalogue {
  // A page's widgets: name to kind ("editor", "combo", "checkbutton",
  // "radiobutton", "label", "progress", ...).
  using Widgets = std::map<std::string, std::string>;

  std::map<std::string, Widgets> pages;
  std::vector<std::string> boxClasses;

  // Every wizard page alive now with the widgets it holds, and the notice
  // classes declared to the framework. Called once the program has built
  // its pages (they all exist before the first one is shown).
  static ResponseCatalogue FromModel();
};
