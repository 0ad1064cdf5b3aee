// A new DDL file: what was at its path is kept as ".1" or refused with its
// reason, and nothing at the path is ever waited on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "TempDirectory.h"
#include "platform/QelFileRotation.h"

namespace {

class FileRotation : public testing::Test {
 protected:
  // The error of a refused creation, "" when the file was created.
  std::string Create(const std::string& path) {
    kept.clear();
    error.clear();
    const int descriptor = QelCreateKeepingEarlier(path, 0600, kept, error);
    if (descriptor < 0) return error;
    write(descriptor, "new\n", 4);
    close(descriptor);
    return "";
  }

  TempDirectory directory;
  std::string kept;
  std::string error;
};

TEST_F(FileRotation, AnEarlierFileIsKeptAsDotOneAndTheNewOneIsPrivate) {
  const std::string path = directory.File("pdm.sql");
  EXPECT_EQ(Create(path), "");
  EXPECT_EQ(kept, "") << "nothing was there";
  std::ofstream(directory.File("pdm.sql.1")) << "older\n";
  chmod(path.c_str(), 0644);

  EXPECT_EQ(Create(path), "");
  EXPECT_EQ(kept, path + ".1");
  EXPECT_EQ(ReadWholeFile(path + ".1"), "new\n") << "the earlier file replaces an older .1";
  EXPECT_EQ(ReadWholeFile(path), "new\n");
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0600u);
  ASSERT_EQ(stat((path + ".1").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0644u) << "the kept file keeps its mode";
}

TEST_F(FileRotation, WhatCannotBeReplacedIsRefusedWithItsReasonAndLeftAlone) {
  const std::string target = directory.File("target");
  std::ofstream(target) << "target\n";
  ASSERT_EQ(symlink(target.c_str(), directory.File("link.sql").c_str()), 0);
  ASSERT_EQ(mkdir(directory.File("directory.sql").c_str(), 0700), 0);
  // Nobody reads this pipe: opening it for writing would wait for good.
  ASSERT_EQ(mkfifo(directory.File("pipe.sql").c_str(), 0600), 0);
  ASSERT_EQ(link(target.c_str(), directory.File("hard.sql").c_str()), 0);
  ASSERT_EQ(mkdir(directory.File("occupied").c_str(), 0700), 0);
  std::ofstream(directory.File("occupied/pdm.sql")) << "earlier\n";
  ASSERT_EQ(mkdir(directory.File("occupied/pdm.sql.1").c_str(), 0700), 0);

  const struct {
    const char* name;
    const char* reason;
  } cases[] = {
      {"link.sql", "is a symbolic link (refused: it is never followed)"},
      {"directory.sql", "is a directory"},
      {"pipe.sql", "is a named pipe (FIFO), not a regular file"},
      {"hard.sql", "has 2 links (a hard link is refused)"},
      {"missing/pdm.sql", "its directory does not exist"},
  };
  for (const auto& refused : cases) {
    const std::string path = directory.File(refused.name);
    EXPECT_EQ(Create(path), path + ": " + refused.reason);
    EXPECT_EQ(kept, "") << refused.name;
  }
  EXPECT_EQ(ReadWholeFile(target), "target\n");

  const std::string occupied = directory.File("occupied/pdm.sql");
  EXPECT_EQ(Create(occupied),
            occupied + ": cannot keep the existing file as " + occupied + ".1: Is a directory");
  EXPECT_EQ(ReadWholeFile(occupied), "earlier\n");
}

}  // namespace
