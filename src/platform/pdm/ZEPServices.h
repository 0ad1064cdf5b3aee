// The PDM services the start-up data steps call: project administration
// file import, sessions, the data manager and the status-graph import.
// These stand-ins do the services' work for real, as the administrator,
// through the database layer on the tables the DDL repository defines
// (docs/pdm-services.md): they succeed, or fail with a code and a message.
#pragma once

#include <cstddef>
#include <string>

#include "platform/QelUnicodeString.h"

// The services' own failure codes. A failure the DBMS reports keeps the
// DBMS's code (a DB2 SQLCODE, or an ORA number negated) and message.
constexpr int ZEPErrorNoSession = -8;
constexpr int ZEPErrorNotConfigured = -9001;
constexpr int ZEPErrorFileUnreadable = -9002;
constexpr int ZEPErrorMalformedFile = -9003;
constexpr int ZEPErrorPlaceholderSite = -9004;
constexpr int ZEPErrorUnknownAction = -9005;
constexpr int ZEPErrorUnknownOption = -9006;
constexpr int ZEPErrorMissingReference = -9007;

// The site identifier a shipped project file holds until the installer
// gives the site its own.
constexpr const char* ZEPPlaceholderSite = "DEFAULT_LOCAL_SITE_V5R8";

// The database the services work in, and as whom: set by the installer
// before it calls them. schema is the owner of the PDM tables.
void ZEPServicesConfigure(int dbms, const QelUnicodeString& database,
                          const QelUnicodeString& schema);

// The full path of fileName in the first directory of the colon-separated
// variable that holds it, in buffer; 0, or -1 when not found.
int QelGetFilePathFromOfficialVariable(const char* fileName, const char* variable,
                                       char (&buffer)[1024]);

// A new random UUID.
void getuuid(unsigned char (&uuid)[16]);

// The message of the last service call that failed, empty after one that
// succeeded. The services without a message parameter (ZEPXmlAdm,
// ZEPSession::OpenSession, TAVOInstallCreateLoginSession) also write it to
// the error log and the trace.
const std::string& ZEPServicesLastMessage();

// Imports the project administration file as administrator: 0, or a code
// above or the DBMS's code.
int ZEPXmlAdm(const char* path, const char* administrator, const char* password);

class SdaiSession {
 public:
  static SdaiSession* CurrentSession();
  int CloseSession();
};

class ZEPSession {
 public:
  // Opens the PDM session, a connection to the configured database as
  // administrator (one already open is closed first): 1 when the session
  // is open, 0 when the login failed.
  static int OpenSession(const char* administrator, const char* password);
  static int CloseSession();
};

// Records the installation login of administrator in the open session;
// status 0 and handle on the session, or ZEPErrorNoSession without one.
int TAVOInstallCreateLoginSession(const char* administrator, const char* password,
                                  const char* domain, int& status, void*& loginSession);

// Writes the data manager's parameters in the open session (options 0).
// errorCode 0 on success, else ZEPErrorNoSession without a session, or the
// DBMS's code, with the message.
int ZEPDataManagerAPI(const char* administrator, const char* password, int options, int& errorCode,
                      char* message);

// Action "Import": imports a status-graph file as one unit of work.
// errorCode 0 on success, else the code with the message.
int ZEPRDBEIAPI(const char* administrator, const char* password, const char* action,
                const char* path, int& errorCode, char* message);
