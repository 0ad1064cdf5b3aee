// The DBA's bundle beside the DDL file of file mode: the forward script (the
// DDL file itself), the reverse script that undoes it as the rollback would,
// a manifest that sha256sum checks, and a README with the commands to run.
// Its directory is owner-only; only the forward script holds passwords, as
// the DDL file does.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// One file of a bundle and what the manifest says of it.
struct ZEP2BundleFile {
  std::string name;
  std::string content;
  // Statements it holds; -1 for a file that is not a script.
  int statements = -1;
};

// Lowercase hexadecimal SHA-256 of content.
std::string ZEP2Sha256Hex(std::string_view content);

// The manifest of files: "#" lines (ignored by sha256sum) with the DBMS,
// database, date and each script's statement count, then one
// "<sha256>  <name>" line per file, as `sha256sum -c` reads them.
std::string ZEP2BundleManifest(const std::string& dbms, const std::string& database,
                               const std::string& date, const std::vector<ZEP2BundleFile>& files);

class ZEP2DDLBundle {
 public:
  // descriptor: the DDL file opened for reading (owned by the bundle), so the
  // forward script is the very file written, whatever its name leads to.
  ZEP2DDLBundle(int dbms, std::string database, std::string dbaUser, std::string ddlPath,
                int descriptor);
  ~ZEP2DDLBundle();
  ZEP2DDLBundle(const ZEP2DDLBundle&) = delete;
  ZEP2DDLBundle& operator=(const ZEP2DDLBundle&) = delete;

  // A statement went into the DDL file; undo takes it back (empty: nothing).
  void Written(const std::string& undo);

  // "<DDL file>.bundle"
  std::string Directory() const { return ddlPath_ + ".bundle"; }

  // The reverse script: every undo, last first, each in the form the DDL
  // file gives a statement.
  std::string ReverseScript(const std::string& date) const;
  std::string Readme(const std::string& date) const;

  // Writes the directory anew (an earlier bundle of the same DDL file is
  // replaced). 0, or -1 with the reason in error.
  int Write(std::string& error) const;

 private:
  bool ReadForward(std::string& content, std::string& error) const;

  int dbms_;
  std::string database_;
  std::string dbaUser_;
  std::string ddlPath_;
  int descriptor_;
  int forwardStatements_ = 0;
  std::vector<std::string> undos_;
};
