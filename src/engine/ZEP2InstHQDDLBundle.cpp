// File mode's statements on their way into the DDL file, each with its undo
// for the DBA's bundle, and the bundle written once the file is complete.
#include "app/ZEP2InstHQ.h"
#include "platform/QelLog.h"
#include "platform/QelRunNotes.h"

int ZEP2InstHQ::WriteDDLStatement(int type, const QelUnicodeString& text, int length,
                                  const QelUnicodeString& undo) {
  const int result =
      ExeSQLStatement(nullptr, _nvIBMDB2UDB ? QelDbDB2 : QelDbOracle, 1, &_GeneratedDDLFile, type,
                      text, length, _nvDBErrorCode, _svDBErrorMsg);
  ZEP2DDLBundle* bundle = _ZEP2InstHQHandler ? _ZEP2InstHQHandler->_DDLBundle.get() : nullptr;
  if (result == 0 && bundle) bundle->Written(undo.str());
  return result;
}

void ZEP2InstHQ::WriteDDLBundle() {
  if (!_DDLBundle) return;
  if (_GeneratedDDLFile.is_open()) _GeneratedDDLFile.flush();
  std::string error;
  if (!_GeneratedDDLFile || _DDLBundle->Write(error) != 0) {
    if (error.empty()) error = "the DDL file was not written completely";
    const QelUnicodeString text = "\nThe DBA bundle was not written: " + QelUnicodeString(error);
    WriteErrLogFile(text + "\n");
    WriteTraceLogFile(text, 2);
    QelWarn("the DBA bundle beside the DDL file was not written: " + error);
  } else {
    const QelUnicodeString text =
        "\nDBA bundle written: " + QelUnicodeString(_DDLBundle->Directory());
    WriteLogFile(text + "\n");
    WriteTraceLogFile(text, 1);
  }
  _DDLBundle.reset();
}
