// The process's one ODBC environment, asking for ODBC 3 behaviour.
#pragma once

#include "QelOdbcHandle.h"

const QelOdbcHandle& QelOdbcEnvironment();
