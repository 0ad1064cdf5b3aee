// One entry of a DB2 instance's system database directory, as the
// directory scan reports it.
#pragma once

#include <cstdint>

#include "platform/QelUnicodeString.h"

class ZEP2sqldeinfo {
 public:
  // Directory entry types, the DBMS's own codes.
  static constexpr char Indirect = '0';
  static constexpr char Remote = '1';
  static constexpr char Home = '2';
  static constexpr char Dce = '3';

  ZEP2sqldeinfo() = default;
  ZEP2sqldeinfo(QelUnicodeString alias, QelUnicodeString dbname, QelUnicodeString drive,
                QelUnicodeString nodename, char type, std::uint16_t authentication)
      : alias(std::move(alias)),
        dbname(std::move(dbname)),
        drive(std::move(drive)),
        nodename(std::move(nodename)),
        type(type),
        authentication(authentication) {}

  QelUnicodeString alias;
  QelUnicodeString dbname;
  QelUnicodeString drive;
  QelUnicodeString nodename;
  char type = Home;
  std::uint16_t authentication = 255;
};
