// The program's one application object; the framework's main runs it.
#include "ZEP2InstApp.h"

ZEP2InstApp ZEP2InstallationApplication;
