// Storage and defaults of the installation parameters.
#include <cstring>

#include "ZEP2InstHQ.h"
#include "platform/QelUtf8Cut.h"

#define QEL_TEXT(name, initial) QelUnicodeString ZEP2InstHQ::name = initial;
#define QEL_INT(name, initial) int ZEP2InstHQ::name = initial;
#include "ZEP2InstHQParameters.def"
#undef QEL_TEXT
#undef QEL_INT

char ZEP2InstHQ::_svDBErrorMsg[ZEP2InstHQ::DBErrorMsgSize] = {};
std::unique_ptr<QelDbConnection> ZEP2InstHQ::_nvDBAConnection;
std::unique_ptr<QelDbCursor> ZEP2InstHQ::_nvDBACursor;
std::unique_ptr<QelDbConnection> ZEP2InstHQ::_nvTESADMConnection;
std::unique_ptr<QelDbCursor> ZEP2InstHQ::_nvTESADMCursor;
std::ofstream ZEP2InstHQ::_GeneratedDDLFile;
ZEP2InstHQ* ZEP2InstHQ::_ZEP2InstHQHandler = nullptr;
QelListPtr<ZEP2DBInstance> ZEP2InstHQ::_PtrDBInstanceColl;
QelListPtr<ZEP2sqldeinfo> ZEP2InstHQ::_PtrSqldeinfoColl;

void ZEP2InstHQ::ResetInstallationParameters() {
#define QEL_TEXT(name, initial) name = initial;
#define QEL_INT(name, initial) name = initial;
#include "ZEP2InstHQParameters.def"
#undef QEL_TEXT
#undef QEL_INT
  std::memset(_svDBErrorMsg, 0, sizeof _svDBErrorMsg);
  _nvDBACursor.reset();
  _nvDBAConnection.reset();
  _nvTESADMCursor.reset();
  _nvTESADMConnection.reset();
  if (_GeneratedDDLFile.is_open()) _GeneratedDDLFile.close();
  _GeneratedDDLFile.clear();
  _ZEP2InstHQHandler = nullptr;
  _PtrDBInstanceColl.Clear();
  _PtrSqldeinfoColl.Clear();
}

void ZEP2InstHQ::SetDBErrorMsg(const QelUnicodeString& text) {
  // Room is left for the terminating NUL.
  const std::size_t length = QelUtf8CutLength(text.str(), sizeof _svDBErrorMsg - 1);
  std::memcpy(_svDBErrorMsg, text.c_str(), length);
  _svDBErrorMsg[length] = '\0';
}
