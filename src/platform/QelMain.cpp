// The process entry of every program built on the framework: the program
// defines one static application object, which this runs.
#include <cstdio>

#include "QelApplication.h"

int main(int argc, char** argv) {
  QelApplication* application = QelApplication::MainApplication();
  if (!application) {
    std::fprintf(stderr, "%s: no application object\n", argc > 0 ? argv[0] : "program");
    return 1;
  }
  return application->Run(argc, argv);
}
