// Writing of transcript lines: one JSON object a line, through the one
// descriptor per process kept open on the transcript file.
#include "Transcript.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "platform/QelJson.h"
#include "platform/QelSecureFile.h"

namespace {

class TranscriptFile {
 public:
  TranscriptFile() = default;
  TranscriptFile(const TranscriptFile&) = delete;
  TranscriptFile& operator=(const TranscriptFile&) = delete;
  ~TranscriptFile() { Close(); }

  // The descriptor for path, opened on first use and again whenever the
  // variable names another file; -1 when it cannot be opened (a symbolic
  // link, a file of another user), in which case the event is lost.
  int DescriptorFor(const std::string& path) {
    if (path != path_ || descriptor_ < 0) {
      Close();
      path_ = path;
      std::string ignored;
      descriptor_ = QelOpenOwnedFile(path, O_APPEND, 0600, ignored);
    }
    return descriptor_;
  }

  void Close() {
    if (descriptor_ >= 0) close(descriptor_);
    descriptor_ = -1;
    path_.clear();
  }

 private:
  std::string path_;
  int descriptor_ = -1;
};

TranscriptFile transcriptFile;

}  // namespace

QelTranscriptValue::QelTranscriptValue(const char* text)
    : json_(QelJsonString(text ? std::string_view(text) : std::string_view())) {}

QelTranscriptValue::QelTranscriptValue(std::string_view text) : json_(QelJsonString(text)) {}

void QelTranscript::Record(
    const std::string& event,
    std::initializer_list<std::pair<const char*, QelTranscriptValue>> fields) {
  const char* path = std::getenv("TESSARDBSETUP_TRANSCRIPT");
  if (!path || !*path) {
    transcriptFile.Close();
    return;
  }
  const int descriptor = transcriptFile.DescriptorFor(path);
  if (descriptor < 0) return;

  // The pid is asked every time: a forked child must not write its father's.
  std::string line = "{\"pid\":" + std::to_string(getpid()) + ",\"event\":" + QelJsonString(event);
  for (const auto& [name, value] : fields) {
    line += ',';
    line += QelJsonString(name ? std::string_view(name) : std::string_view());
    line += ':';
    line += value.Json();
  }
  line += "}\n";
  // One write: with O_APPEND the line lands whole after the other process's.
  while (write(descriptor, line.data(), line.size()) < 0 && errno == EINTR) {
  }
}
