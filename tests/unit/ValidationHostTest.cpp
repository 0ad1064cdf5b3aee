// The machine-side checks of a check-only run, on real files in a scratch
// directory: each fault is found and named with its path, a sound site
// adds no problem, and nothing is created or changed by looking.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "TempDirectory.h"
#include "engine/ZEP2ValidationHost.h"

namespace {

void Touch(const std::string& path, mode_t mode) {
  FILE* file = fopen(path.c_str(), "w");
  ASSERT_NE(nullptr, file);
  fclose(file);
  ASSERT_EQ(0, chmod(path.c_str(), mode));
}

std::string Problems(const ZEP2ValidationReport& report) {
  std::string all;
  for (const ZEP2ValidationProblem& p : report.Problems()) all += p.problem + "|";
  return all;
}

TEST(ValidationHost, DirectoryMissingForeignOrTooClosedIsReported) {
  const TempDirectory site;
  ZEP2ValidationReport report;
  ZEP2CheckDirectory(report, "tablespace directory", site.Path(), -1, 0);
  ZEP2CheckDirectory(report, "vault directory", site.Path(), static_cast<int>(getuid()), 0700);
  EXPECT_TRUE(report.Ready()) << Problems(report);

  ZEP2CheckDirectory(report, "tablespace directory", site.File("missing"), -1, 0);
  ASSERT_EQ(1u, report.Problems().size());
  EXPECT_EQ(site.File("missing") + " does not exist", report.Problems()[0].problem);
  EXPECT_EQ("tablespace directory", report.Problems()[0].check);
  EXPECT_NE(0, access(site.File("missing").c_str(), F_OK));

  Touch(site.File("plain"), 0644);
  ZEP2CheckDirectory(report, "clash directory", site.File("plain"), -1, 0);
  EXPECT_EQ(site.File("plain") + " is no directory", report.Problems().back().problem);

  ASSERT_EQ(0, mkdir(site.File("closed").c_str(), 0700));
  ZEP2ValidationReport owner;
  ZEP2CheckDirectory(owner, "vault directory", site.File("closed"), static_cast<int>(getuid()) + 1,
                     0777);
  ASSERT_EQ(2u, owner.Problems().size()) << Problems(owner);
  EXPECT_NE(std::string::npos, owner.Problems()[0].problem.find("belongs to uid"));
  EXPECT_EQ(site.File("closed") + " has mode 0700, which lacks 0777", owner.Problems()[1].problem);
  EXPECT_EQ("chmod it to at least 0777", owner.Problems()[1].remedy);
}

TEST(ValidationHost, MissingDirectoryPassesWhenItsParentLetsItBeCreated) {
  const TempDirectory site;
  ZEP2ValidationReport report;
  ZEP2CheckCreatableDirectory(report, "vault directory", site.File("vault/secured0"), -1, 0755);
  EXPECT_TRUE(report.Ready()) << Problems(report);
  // Looking created nothing.
  EXPECT_NE(0, access(site.File("vault").c_str(), F_OK));

  Touch(site.File("plain"), 0644);
  ZEP2CheckCreatableDirectory(report, "vault directory", site.File("plain/vault"), -1, 0);
  ASSERT_EQ(1u, report.Problems().size());
  EXPECT_EQ(
      site.File("plain/vault") + " cannot be created: " + site.File("plain") + " is no directory",
      report.Problems()[0].problem);

  // An existing one is checked as any directory is: owner and mode.
  ASSERT_EQ(0, mkdir(site.File("vault").c_str(), 0700));
  ZEP2ValidationReport existing;
  ZEP2CheckCreatableDirectory(existing, "vault directory", site.File("vault"),
                              static_cast<int>(getuid()), 0777);
  ASSERT_EQ(1u, existing.Problems().size());
  EXPECT_EQ(site.File("vault") + " has mode 0700, which lacks 0777",
            existing.Problems()[0].problem);
}

TEST(ValidationHost, EditableFileMustBeARealFileNeverALink) {
  const TempDirectory site;
  const std::string file = site.File("env.txt");
  Touch(file, 0644);
  ZEP2ValidationReport report;
  ZEP2CheckEditableFile(report, "environment file", file);
  EXPECT_TRUE(report.Ready()) << Problems(report);

  const std::string link = site.File("link.txt");
  ASSERT_EQ(0, symlink(file.c_str(), link.c_str()));
  ZEP2CheckEditableFile(report, "environment file", link);
  ZEP2CheckEditableFile(report, "environment file", site.File("absent.txt"));
  ZEP2CheckEditableFile(report, "environment file", site.Path());
  ASSERT_EQ(3u, report.Problems().size());
  EXPECT_EQ(link + " is a symbolic link, which is never written through",
            report.Problems()[0].problem);
  EXPECT_EQ(site.File("absent.txt") + " does not exist", report.Problems()[1].problem);
  EXPECT_EQ(site.Path() + " is no regular file", report.Problems()[2].problem);
  // Looking changed nothing.
  struct stat info {};
  ASSERT_EQ(0, lstat(link.c_str(), &info));
  EXPECT_TRUE(S_ISLNK(info.st_mode));
}

TEST(ValidationHost, EditableFileNotWritableIsReportedForOrdinaryUsers) {
  if (geteuid() == 0)
    GTEST_SKIP() << "root writes whatever the mode; the e2e test mounts read-only";
  const TempDirectory site;
  const std::string file = site.File("env.txt");
  Touch(file, 0444);
  ZEP2ValidationReport report;
  ZEP2CheckEditableFile(report, "environment file", file);
  ASSERT_EQ(1u, report.Problems().size());
  EXPECT_EQ(file + " or its directory is not writable by this user", report.Problems()[0].problem);
}

TEST(ValidationHost, CommandsPortsAndHostNames) {
  const TempDirectory site;
  Touch(site.File("SetEnv"), 0755);
  Touch(site.File("Register"), 0644);
  ZEP2ValidationReport report;
  ZEP2CheckCommand(report, "clash commands", site.File("SetEnv"));
  ZEP2CheckPort(report, "vault daemon port", "1570");
  ZEP2CheckPort(report, "vault daemon port", "65535");
  ZEP2CheckHostName(report, "clash server host", "localhost");
  EXPECT_TRUE(report.Ready()) << Problems(report);

  ZEP2CheckCommand(report, "clash commands", site.File("Missing"));
  if (geteuid() != 0) ZEP2CheckCommand(report, "clash commands", site.File("Register"));
  for (const char* port : {"0", "65536", "", "12a", "-1", "999999"}) {
    ZEP2CheckPort(report, "clash server port", port);
  }
  ZEP2CheckHostName(report, "clash server host", "no-such-host.invalid");
  const std::size_t expected = geteuid() != 0 ? 9u : 8u;
  ASSERT_EQ(expected, report.Problems().size()) << Problems(report);
  EXPECT_EQ(site.File("Missing") + " does not exist", report.Problems()[0].problem);
  EXPECT_EQ("port '65536' is no number from 1 to 65535", report.Problems()[expected - 6].problem);
  EXPECT_EQ(0u,
            report.Problems().back().problem.find("host no-such-host.invalid does not resolve"));
}

TEST(ValidationHost, ScriptDirectoryAndFreeSpace) {
  const TempDirectory site;
  ZEP2ValidationReport report;
  // The unit tests run with a private /tmp of their own, mounted as usual.
  ZEP2CheckScriptDirectory(report, site.Path());
  ZEP2CheckFreeSpace(report, "free space", site.Path(), 1);
  EXPECT_TRUE(report.Ready()) << Problems(report);
  ZEP2CheckFreeSpace(report, "free space", site.Path(), 1LL << 50);
  ASSERT_EQ(1u, report.Problems().size());
  EXPECT_NE(std::string::npos, report.Problems()[0].problem.find(
                                   "the repository needs " + std::to_string(1LL << 50) + " KB"));
  ZEP2CheckFreeSpace(report, "tablespace free space", site.File("missing"), 1);
  ASSERT_EQ(1u, report.Skipped().size());
  EXPECT_EQ("tablespace free space", report.Skipped()[0].check);
}

}  // namespace
