// The check-only report: collection and its three forms.
#include "ZEP2ValidationReport.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "platform/QelJson.h"
#include "platform/QelSecureFile.h"

namespace {

constexpr const char* Prefix = "tessardbsetup: ";

std::string Counted(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " problem" : " problems");
}

}  // namespace

void ZEP2ValidationReport::Add(const std::string& check, const std::string& problem,
                               const std::string& remedy) {
  const bool known = std::any_of(problems_.begin(), problems_.end(), [&](const auto& known) {
    return known.check == check && known.problem == problem;
  });
  if (!known) problems_.push_back({check, problem, remedy});
  Checked(check);
}

void ZEP2ValidationReport::NotChecked(const std::string& check, const std::string& reason) {
  const bool known = std::any_of(skipped_.begin(), skipped_.end(),
                                 [&](const auto& skip) { return skip.check == check; });
  if (!known) skipped_.push_back({check, reason});
}

void ZEP2ValidationReport::Checked(const std::string& check) {
  if (std::find(made_.begin(), made_.end(), check) == made_.end()) made_.push_back(check);
}

std::string ZEP2ValidationReport::Verdict() const {
  return Ready() ? "ready" : "not ready: " + Counted(problems_.size());
}

std::string ZEP2ValidationReport::Lines() const {
  std::string lines = Prefix + Verdict() + "\n";
  for (const ZEP2ValidationProblem& p : problems_) {
    lines +=
        Prefix + std::string("not ready: ") + p.check + ": " + p.problem + "; " + p.remedy + "\n";
  }
  for (const ZEP2ValidationSkip& skip : skipped_) {
    lines += Prefix + std::string("not checked: ") + skip.check + ": " + skip.reason + "\n";
  }
  // Automation reading the last line finds the verdict there too.
  if (!problems_.empty() || !skipped_.empty()) lines += Prefix + Verdict() + "\n";
  return lines;
}

std::string ZEP2ValidationReport::Text() const {
  std::string text =
      Ready() ? "Check only: the installation is ready to run.\n"
              : "Check only: the installation is not ready (" + Counted(problems_.size()) + ").\n";
  for (const ZEP2ValidationProblem& p : problems_) {
    text += "\n- " + p.check + ": " + p.problem + "\n  What to do: " + p.remedy + "\n";
  }
  for (const ZEP2ValidationSkip& skip : skipped_) {
    text += "\n- Not checked: " + skip.check + ": " + skip.reason + "\n";
  }
  text += "\nNothing was created or changed.\n";
  return text;
}

std::string ZEP2ValidationReport::Json() const {
  std::string json = "{\"ready\":" + std::string(Ready() ? "true" : "false") +
                     ",\"exit_status\":" + std::to_string(ExitStatus()) + ",\"problems\":[";
  for (std::size_t i = 0; i < problems_.size(); ++i) {
    const ZEP2ValidationProblem& p = problems_[i];
    json += std::string(i ? "," : "") + "{\"check\":" + QelJsonString(p.check) +
            ",\"problem\":" + QelJsonString(p.problem) + ",\"remedy\":" + QelJsonString(p.remedy) +
            "}";
  }
  json += "],\"not_checked\":[";
  for (std::size_t i = 0; i < skipped_.size(); ++i) {
    json += std::string(i ? "," : "") + "{\"check\":" + QelJsonString(skipped_[i].check) +
            ",\"reason\":" + QelJsonString(skipped_[i].reason) + "}";
  }
  json += "],\"checked\":[";
  for (std::size_t i = 0; i < made_.size(); ++i) {
    json += std::string(i ? "," : "") + QelJsonString(made_[i]);
  }
  return json + "]}\n";
}

int ZEP2WriteValidationJson(const ZEP2ValidationReport& report, const std::string& path,
                            std::string& error) {
  const int descriptor = QelOpenOwnedFile(path, O_TRUNC, 0600, error);
  if (descriptor < 0) return -1;
  // An existing file of ours keeps its mode through the open: the document
  // may name accounts and paths, so it is made owner-only whatever it was.
  const bool written = fchmod(descriptor, 0600) == 0 && QelWriteAll(descriptor, report.Json());
  if (!written) error = path + ": cannot be written";
  close(descriptor);
  return written ? 0 : -1;
}
