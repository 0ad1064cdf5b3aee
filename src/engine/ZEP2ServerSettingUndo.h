// The undo of a server setting the installation writes: the setting found
// before put back, or the new one removed, as one line of the undo journal.
#pragma once

#include <string>

#include "platform/db/QelDb.h"

struct ZEP2ServerSettingUndo {
  std::string name;
  std::string database;  // the DB2 alias or Oracle service the setting lives in
  int vendor = 0;
  bool restore = false;  // false: remove the setting
  QelDbServerSetting previous;
};

// The journal line. The earlier password goes as hexadecimal after
// IDENTIFIED BY, so every trace masks it and no quote can break the line.
std::string ZEP2ServerSettingUndoText(const ZEP2ServerSettingUndo& undo);
// False when text is not a server setting's undo (an SQL statement).
bool ZEP2ParseServerSettingUndo(const std::string& text, ZEP2ServerSettingUndo& undo);
// Puts the setting back as it was: 0, or the DBMS's code with its message.
int ZEP2ApplyServerSettingUndo(const ZEP2ServerSettingUndo& undo, std::string& message);
