// The DB2 database-directory scan, as the access library LK0DB2 offers it:
// open a scan of an instance's system database directory, read its entries
// one by one, close it. The records keep the DB2 API's fields and widths.
#pragma once

#include <cstdint>

extern "C" {

// Outcome of a call: sqlcode 0 on success, negative on an error.
struct sqlca {
  char sqlcaid[8];
  std::int32_t sqlcabc;
  std::int32_t sqlcode;
  std::int16_t sqlerrml;
  char sqlerrmc[70];
  char sqlerrp[8];
  std::int32_t sqlerrd[6];
  char sqlwarn[11];
  char sqlstate[5];
};

// Directory entry types.
constexpr char SQL_INDIRECT = '0';
constexpr char SQL_REMOTE = '1';
constexpr char SQL_HOME = '2';
constexpr char SQL_DCE = '3';
// The directory is missing or empty.
constexpr std::int32_t SQLE_RC_NODIR = -1031;

// One entry: blank-padded, not NUL-terminated character fields.
struct sqledinfo {
  char alias[8];
  char dbname[8];
  char drive[215];
  char intname[8];
  char nodename[8];
  char dbtype[20];
  char comment[30];
  std::int16_t com_codepage;
  char type;
  std::uint16_t authentication;
};

using QelDb2sqledosdFunction = int (*)(const char* path, unsigned short* handle,
                                       unsigned short* count, struct sqlca* ca);
using QelDb2sqledgneFunction = int (*)(unsigned short handle, struct sqledinfo** entry,
                                       struct sqlca* ca);
using QelDb2sqledclsFunction = int (*)(unsigned short handle, struct sqlca* ca);

int QelDb2sqledosd(const char* path, unsigned short* handle, unsigned short* count,
                   struct sqlca* ca);
int QelDb2sqledgne(unsigned short handle, struct sqledinfo** entry, struct sqlca* ca);
int QelDb2sqledcls(unsigned short handle, struct sqlca* ca);
}
