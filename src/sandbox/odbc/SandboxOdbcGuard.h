// Every entry point runs its body through Guarded: the handle's earlier
// diagnostics go, and no exception ever crosses into the driver manager.
#pragma once

#include <exception>
#include <string>

#include "SandboxOdbcHandles.h"

namespace sbodbc {

template <class Body>
SQLRETURN Guarded(HandleBase& handle, Body&& body) {
  handle.Begin();
  try {
    return handle.lastReturn = body();
  } catch (const std::exception& failure) {
    return handle.Fail("HY000", std::string("sandbox driver failure: ") + failure.what());
  } catch (...) {
    return handle.Fail("HY000", "sandbox driver failure");
  }
}

}  // namespace sbodbc
