// One DBMS instance found on the machine.
#pragma once

#include "platform/QelUnicodeString.h"

class ZEP2DBInstance {
 public:
  ZEP2DBInstance() = default;
  ZEP2DBInstance(QelUnicodeString name, QelUnicodeString kind, QelUnicodeString version)
      : name(std::move(name)), kind(std::move(kind)), version(std::move(version)) {}

  QelUnicodeString name;
  QelUnicodeString kind;
  QelUnicodeString version = "UNKNOWN";
  QelUnicodeString sourceLine;
  QelUnicodeString homeDirectory;
  QelUnicodeString sid;
};
