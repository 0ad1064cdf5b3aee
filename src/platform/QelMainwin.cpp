// Front-end selection. The terminal front end is chosen only when both
// standard input and output are terminals: a half-redirected run would
// otherwise wait for keys nobody can see.
#include "QelMainwin.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "QelApplication.h"
#include "QelDisplay.h"
#include "display/script/ScriptDisplay.h"
#include "record/ResponseRecorder.h"

namespace {

int Refuse(const std::string& reason) {
  std::fprintf(stderr, "tessardbsetup: %s\n", reason.c_str());
  if (QelApplication* application = QelApplication::MainApplication())
    application->Abort(2, "no front end");
  return -1;
}

const char* ResponseFilePath() {
  if (auto* application =
          dynamic_cast<QelInteractiveApplication*>(QelApplication::MainApplication())) {
    int count = 0;
    char** vector = nullptr;
    application->GetArgs(count, vector);
    if (const char* path = QelFindOptionValue(count, vector, "-responsefile")) return path;
  }
  const char* inherited = std::getenv("TESSARDBSETUP_RESPONSE_FILE");
  return inherited && *inherited ? inherited : nullptr;
}

}  // namespace

int QelMainwin::Initialize() {
  // Record mode listens to the model, not to a front end: set up before one
  // is chosen, it hears whichever runs.
  if (QelStartRecording() != 0) return -1;
  // A display set up beforehand (tests, embedding programs) is kept.
  if (QelGetDisplay()) return 0;
  if (const char* path = ResponseFilePath()) {
    std::string error;
    std::unique_ptr<ResponseFile> answers = ResponseFile::Load(path, error);
    if (!answers) return Refuse(error);
    // The son runs in another directory's script: it needs the full path.
    char absolute[PATH_MAX];
    setenv("TESSARDBSETUP_RESPONSE_FILE", realpath(path, absolute) ? absolute : path, 1);
    QelSetDisplay(std::make_unique<QelScriptDisplay>(std::move(answers)));
    return 0;
  }
  if (!isatty(STDIN_FILENO) || !isatty(STDOUT_FILENO)) {
    return Refuse(
        "no terminal to run the wizard in: start it from a terminal, or give the answers "
        "with -responsefile FILE for a silent run (see README.md)");
  }
  return Refuse(
      "the terminal front end is not part of this build yet: give the answers with "
      "-responsefile FILE for a silent run (see README.md)");
}
