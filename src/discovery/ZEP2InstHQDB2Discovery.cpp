// DB2 discovery: the instances of the machine (from the listing script) and
// the databases catalogued in an instance's directory (through LK0DB2).
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "app/ZEP2InstHQ.h"
#include "discovery/LK0DB2.h"
#include "pages/ZEP2Pages.h"
#include "platform/QelAccounts.h"
#include "platform/QelLibrary.h"
#include "platform/QelLog.h"
#include "platform/QelSecureFile.h"
#include "platform/QelSystem.h"
#include "platform/QelTempFiles.h"

namespace {

constexpr const char* ResultFile = "/tmp/ZEP2_db2ilist_result.txt";
constexpr const char* SortedFile = "/tmp/ZEP2_db2ilist_result_sorted.txt";

template <std::size_t Size>
QelUnicodeString Field(const char (&field)[Size]) {
  return QelUnicodeString(std::string(field, Size)).Strip(QelUnicodeString::Both, ' ');
}

bool PrepareSortedFile() {
  std::string error;
  const int descriptor = QelOpenOwnedFile(SortedFile, O_TRUNC, 0600, error);
  if (descriptor < 0) {
    WriteTraceLogFile("\nSorted list refused: " + QelUnicodeString(error), 2);
    return false;
  }
  close(descriptor);
  return true;
}

int CompareQelUnicodeString(const QelUnicodeString& left, const QelUnicodeString& right) {
  const int order = left.Compare(right);
  return order == 2 ? 0 : order == 1 ? -1 : 1;
}

}  // namespace

int ZEP2InstHQ::SetDB2INSTANCECOMBO() {
  WriteTraceLogFile("\n\nSetDB2INSTANCECOMBO Begin ...\n", 0);
  QelDlgCombo* combo = _DlgDB2Param->Frame->ComboDB2Instance;
  const QelUnicodeString chosen = ZEP2DlgDB2Param::ChosenName(*combo);
  std::vector<QelUnicodeString> instances;
  for (int i = 0; i < combo->GetNbrOfLines(); ++i) {
    if (combo->GetLine(i).Compare(ZEP2DlgDB2Param::OthersLine) != 2) {
      instances.push_back(combo->GetLine(i));
    }
  }
  GetDB2ilist();
  for (int i = 1; i <= _PtrDBInstanceColl.Size(); ++i) {
    const QelUnicodeString& name = _PtrDBInstanceColl(i)->name;
    if (std::find(instances.begin(), instances.end(), name) == instances.end()) {
      instances.push_back(name);
    }
  }
  // "Others ..." stays the last line, for an instance the listing missed.
  combo->ClearLines();
  for (const QelUnicodeString& instance : instances) combo->AddLine(instance);
  if (!instances.empty()) combo->AddLine(ZEP2DlgDB2Param::OthersLine);
  const int count = combo->GetNbrOfLines();
  WriteTraceLogFile("\nNbrOfComboLine : " + QelUnicodeString::FromInt(count), 1);
  // An instance chosen or typed on an earlier visit stays chosen, with the
  // home shown for it; otherwise the first line is chosen and its home shown
  // at once, as if picked from the list.
  const auto kept = std::find(instances.begin(), instances.end(), chosen);
  if (!chosen.str().empty() && kept != instances.end()) {
    combo->SetSelectedPosition(static_cast<int>(kept - instances.begin()), false);
    if (_DlgDB2Param->Frame->EditorDB2InstanceHD->GetText().str().empty()) {
      _DlgDB2Param->ShowInstanceHome();
    }
  } else if (!chosen.str().empty()) {
    combo->SetField(chosen);
  } else if (count > 0) {
    combo->SetSelectedPosition(0, false);
    _DlgDB2Param->ShowInstanceHome();
  }
  WriteTraceLogFile("\nSetDB2INSTANCECOMBO End.\n\n", 0);
  return count > 0 ? 0 : -2;
}

void ZEP2InstHQ::GetDB2ilist() {
  WriteTraceLogFile("\n\nGetDB2ilist Begin ...", 0);
  _PtrDBInstanceColl.Clear();
  QelListValQelUnicodeString arguments;
  arguments.Append("GetDB2IList.sh");
  int pid = 0;
  int code = 0;
  QelStartProcess("GetDB2IList.sh", arguments, 1, pid, code);
  WriteTraceLogFile("\n<GetDB2IList.sh> <GetDB2IList.sh>", 2);
  WriteTraceLogFile("\n GetDB2ilist Return Code : " + QelUnicodeString::FromInt(code), 1);
  // An exit code of -1 reaches a parent as 255: DB2 is not installed.
  if (code == -1 || code == 255) {
    WriteTraceLogFile("\nZEP2 Installation wizard detects no DB2 database on your system !!!", 2);
  } else if (code > 0) {
    WriteTraceLogFile("\nGetDB2ilist error !\n", 2);
  }
  // What the listing wrote stays until the run ends, then goes.
  QelRemoveAtEnd(ResultFile);
  if (code == 0) {
    QelRemoveAtEnd(SortedFile);
    const std::string command = std::string("sort ") + ResultFile + ">" + SortedFile;
    // The shell's redirection follows links: the sorted copy is made ours
    // first, and anything else at its path leaves the list unsorted.
    const char* input =
        PrepareSortedFile() && QelRunShellCommand(command) == 0 ? SortedFile : ResultFile;
    WriteTraceLogFile(QelUnicodeString("\ninputfileName : ") + input, 1);
    std::ifstream file(input);
    std::string previous;
    std::string word;
    // A word equal to the one before it ends the list, as the end of the
    // file does (the last word read stays in place there).
    while (true) {
      word.clear();
      file >> word;
      if (word.empty() || word == previous) break;
      if (word.size() > 51) word.resize(51);
      _PtrDBInstanceColl.Append(std::make_unique<ZEP2DBInstance>(
          QelUnicodeString(word).Strip(QelUnicodeString::Both, ' '), "IBMUDB", "UNKNOWN"));
      previous = word;
    }
  }
  WriteTraceLogFile("\nGetDB2ilist End ...\n\n", 0);
}

void ZEP2InstHQ::GetDB2Info(const char* instance) {
  WriteTraceLogFile("\n\nGetDB2Info Begin ...", 0);
  if (const auto account = QelLookupAccount(instance)) {
    WriteTraceLogFile("\nDB2 instance home directory: " + QelUnicodeString(account->home), 1);
  } else {
    WriteTraceLogFile("\ngetpwnam error !!!", 2);
  }
  _PtrSqldeinfoColl.Clear();
  const auto open =
      reinterpret_cast<QelDb2sqledosdFunction>(QelGetFunctionAddress("LK0DB2", "QelDb2sqledosd"));
  if (!open) {
    WriteTraceLogFile("\nGetDB2Info End ...\n\n", 0);
    return;
  }
  sqlca ca{};
  unsigned short handle = 0;
  unsigned short count = 0;
  const int opened = open("", &handle, &count, &ca);
  WriteTraceLogFile("\nRetour de sqledosd   : " + QelUnicodeString::FromInt(opened), 1);
  if (ca.sqlcode == SQLE_RC_NODIR) {
    WriteTraceLogFile("\n--- Database directory is empty ---\n", 1);
  } else {
    ReadDatabaseDirectory(handle, count);
  }
  if (opened == 0) {
    if (const auto close = reinterpret_cast<QelDb2sqledclsFunction>(
            QelGetFunctionAddress("LK0DB2", "QelDb2sqledcls"))) {
      WriteTraceLogFile("\nRetour de sqledcls : " + QelUnicodeString::FromInt(close(handle, &ca)),
                        1);
    }
  }
  WriteTraceLogFile("\nGetDB2Info End ...\n\n", 0);
}

void ZEP2InstHQ::ReadDatabaseDirectory(unsigned short handle, unsigned short count) {
  WriteTraceLogFile("\nopening the database directory scan API\n", 1);
  WriteTraceLogFile("\nValeur de NumEntries : " + QelUnicodeString::FromInt(count), 1);
  const auto next =
      reinterpret_cast<QelDb2sqledgneFunction>(QelGetFunctionAddress("LK0DB2", "QelDb2sqledgne"));
  if (!next) return;
  struct Entry {
    QelUnicodeString alias, dbname, drive, nodename, type, authentication;
  };
  std::vector<Entry> entries;
  for (unsigned short i = 0; i < count; ++i) {
    sqlca ca{};
    sqledinfo* record = nullptr;
    const int result = next(handle, &record, &ca);
    WriteTraceLogFile("\nRetour de sqledgne   : " + QelUnicodeString::FromInt(result), 1);
    // What a failed call leaves in its record is undefined: skip it.
    if (result != 0 || !record) continue;
    entries.push_back({Field(record->alias), Field(record->dbname), Field(record->drive),
                       Field(record->nodename), QelUnicodeString(std::string(1, record->type)),
                       QelUnicodeString::FromInt(record->authentication)});
  }
  // Sorted by alias; each alias keeps its own drive, type and node.
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& left, const Entry& right) {
    return CompareQelUnicodeString(left.alias, right.alias) < 0;
  });
  for (const Entry& entry : entries) {
    char line[512];
    std::snprintf(line, sizeof line,
                  "\nDB2 Alias name: %-10s; Drive: %-16s; Type: %-2s; Nodename: %-10s; Auth: %s.",
                  entry.alias.c_str(), entry.drive.c_str(), entry.type.c_str(),
                  entry.nodename.c_str(), entry.authentication.c_str());
    WriteTraceLogFile(line, 1);
  }
  char total[64];
  std::snprintf(total, sizeof total, "\n%d DB2 databases found.", static_cast<int>(entries.size()));
  WriteTraceLogFile(total, 1);
  QelDlgCombo* combo = _DlgDB2Param2->Frame->ComboDB2AliasName;
  for (const Entry& entry : entries) {
    _PtrSqldeinfoColl.Append(std::make_unique<ZEP2sqldeinfo>(
        entry.alias, entry.dbname, entry.drive, entry.nodename, entry.type.str()[0],
        static_cast<std::uint16_t>(std::atoi(entry.authentication.c_str()))));
    combo->AddLine(entry.alias);
  }
  if (!entries.empty()) combo->AddLine(ZEP2DlgDB2Param::OthersLine);
}
