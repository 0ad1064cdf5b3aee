// The check-only report: problems collected once each, the verdict on the
// first and last line, the exact JSON document automation reads, and the
// document written for its owner alone.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "TempDirectory.h"
#include "engine/ZEP2ValidationMode.h"
#include "engine/ZEP2ValidationReport.h"

namespace {

ZEP2ValidationReport TwoProblems() {
  ZEP2ValidationReport report;
  report.Add("DBA connection", "cannot connect to PDMDB as SYSTEM: ORA-01017: denied",
             "check the DBA password");
  report.Add("script directory", "/tmp is mounted noexec", "remount /tmp without noexec");
  // The page refusal and the final check finding the same fault again.
  report.Add("DBA connection", "cannot connect to PDMDB as SYSTEM: ORA-01017: denied",
             "check the DBA password");
  report.NotChecked("tablespaces", "no DBA connection");
  report.NotChecked("tablespaces", "no DBA connection");
  report.Checked("environment file");
  return report;
}

TEST(ValidationReport, ReadyWithoutProblemsWhateverWasLeftUnchecked) {
  ZEP2ValidationReport report;
  report.Checked("script directory");
  EXPECT_TRUE(report.Ready());
  EXPECT_EQ(0, report.ExitStatus());
  EXPECT_EQ("tessardbsetup: ready\n", report.Lines());
  report.NotChecked("DBA privileges", "the catalogue query failed");
  EXPECT_EQ(0, report.ExitStatus());
  EXPECT_EQ(
      "tessardbsetup: ready\n"
      "tessardbsetup: not checked: DBA privileges: the catalogue query failed\n"
      "tessardbsetup: ready\n",
      report.Lines());
}

TEST(ValidationReport, CollectsEachProblemOnceAndSaysWhatToDo) {
  const ZEP2ValidationReport report = TwoProblems();
  EXPECT_FALSE(report.Ready());
  EXPECT_EQ(ZEP2ValidationReport::NotReadyStatus, report.ExitStatus());
  ASSERT_EQ(2u, report.Problems().size());
  ASSERT_EQ(1u, report.Skipped().size());
  EXPECT_EQ(
      "tessardbsetup: not ready: 2 problems\n"
      "tessardbsetup: not ready: DBA connection: cannot connect to PDMDB as SYSTEM: ORA-01017: "
      "denied; check the DBA password\n"
      "tessardbsetup: not ready: script directory: /tmp is mounted noexec; remount /tmp without "
      "noexec\n"
      "tessardbsetup: not checked: tablespaces: no DBA connection\n"
      "tessardbsetup: not ready: 2 problems\n",
      report.Lines());
  ZEP2ValidationReport one;
  one.Add("tablespace directory", "/data/tbs does not exist", "create it");
  EXPECT_EQ("not ready: 1 problem", one.Verdict());
  EXPECT_NE(std::string::npos, one.Text().find("What to do: create it"));
  EXPECT_NE(std::string::npos, one.Text().find("Nothing was created or changed."));
}

TEST(ValidationReport, JsonDocumentListsProblemsSkipsAndChecksEscaped) {
  ZEP2ValidationReport report = TwoProblems();
  report.Add("environment file", "\"env.txt\" is on a file system\nmounted read-only",
             "remount it");
  EXPECT_EQ(
      "{\"ready\":false,\"exit_status\":6,\"problems\":["
      "{\"check\":\"DBA connection\",\"problem\":\"cannot connect to PDMDB as SYSTEM: ORA-01017: "
      "denied\",\"remedy\":\"check the DBA password\"},"
      "{\"check\":\"script directory\",\"problem\":\"/tmp is mounted noexec\",\"remedy\":"
      "\"remount /tmp without noexec\"},"
      "{\"check\":\"environment file\",\"problem\":\"\\\"env.txt\\\" is on a file "
      "system\\nmounted read-only\",\"remedy\":\"remount it\"}],"
      "\"not_checked\":[{\"check\":\"tablespaces\",\"reason\":\"no DBA connection\"}],"
      "\"checked\":[\"DBA connection\",\"script directory\",\"environment file\"]}\n",
      report.Json());
  EXPECT_EQ(
      "{\"ready\":true,\"exit_status\":0,\"problems\":[],\"not_checked\":[],\"checked\":[]}\n",
      ZEP2ValidationReport().Json());
}

TEST(ValidationReport, JsonFileIsOwnerOnlyAndNeverWrittenThroughALink) {
  const TempDirectory directory;
  const std::string path = directory.File("report.json");
  const ZEP2ValidationReport report = TwoProblems();
  std::string error;
  ASSERT_EQ(0, ZEP2WriteValidationJson(report, path, error)) << error;
  EXPECT_EQ(report.Json(), ReadWholeFile(path));
  struct stat info {};
  ASSERT_EQ(0, stat(path.c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 07777);

  // A file left readable by all from before is made owner-only, and its
  // old, longer content does not survive.
  const std::string old = directory.File("old.json");
  {
    FILE* file = fopen(old.c_str(), "w");
    ASSERT_NE(nullptr, file);
    fputs(std::string(4096, 'x').c_str(), file);
    fclose(file);
  }
  ASSERT_EQ(0, chmod(old.c_str(), 0644));
  ASSERT_EQ(0, ZEP2WriteValidationJson(ZEP2ValidationReport(), old, error)) << error;
  ASSERT_EQ(0, stat(old.c_str(), &info));
  EXPECT_EQ(0600u, info.st_mode & 07777);
  EXPECT_EQ(ZEP2ValidationReport().Json(), ReadWholeFile(old));

  const std::string target = directory.File("target");
  const std::string link = directory.File("link.json");
  ASSERT_EQ(0, symlink(target.c_str(), link.c_str()));
  EXPECT_EQ(-1, ZEP2WriteValidationJson(report, link, error));
  EXPECT_FALSE(error.empty());
  EXPECT_NE(0, access(target.c_str(), F_OK));
}

TEST(ValidationReport, RefusalsReachTheSecondProcessInOrderThroughTheEnvironment) {
  unsetenv("TESSARDBSETUP_RESPONSE_FILE");
  zep2validation::Request("report.json");
  EXPECT_TRUE(zep2validation::Requested());
  EXPECT_FALSE(zep2validation::Silent());
  EXPECT_EQ('/', zep2validation::JsonPath().front());
  EXPECT_EQ("/report.json",
            zep2validation::JsonPath().substr(zep2validation::JsonPath().rfind('/')));
  EXPECT_TRUE(zep2validation::HandedOn().empty());
  zep2validation::HandOn({"answer on Administrator", "Invalid password", "correct it"});
  // Text holding the separators themselves cannot split a record.
  zep2validation::HandOn({"answer on DBA", "bad\x1e\x1fname; line\ntwo", ""});
  // What a child process inherits.
  const std::vector<ZEP2ValidationProblem> handed = zep2validation::HandedOn();
  ASSERT_EQ(2u, handed.size());
  EXPECT_EQ("answer on Administrator", handed[0].check);
  EXPECT_EQ("Invalid password", handed[0].problem);
  EXPECT_EQ("correct it", handed[0].remedy);
  EXPECT_EQ("bad  name; line\ntwo", handed[1].problem);
  EXPECT_EQ("", handed[1].remedy);
  // A new request starts without the refusals of an earlier one.
  zep2validation::Request("");
  EXPECT_TRUE(zep2validation::HandedOn().empty());
  EXPECT_EQ("", zep2validation::JsonPath());
  unsetenv("TESSARDBSETUP_VALIDATE");
  EXPECT_FALSE(zep2validation::Requested());
}

}  // namespace
