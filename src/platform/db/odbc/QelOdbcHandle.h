// An ODBC handle that frees itself: every handle the layer allocates is
// released on every path, errors and early returns included.
#pragma once

#include <sql.h>

class QelOdbcHandle {
 public:
  QelOdbcHandle() = default;
  // Allocates a handle of type under parent (SQL_NULL_HANDLE for an
  // environment); IsValid() tells whether the driver manager gave one.
  QelOdbcHandle(SQLSMALLINT type, SQLHANDLE parent) : type_(type) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(type, parent, &handle_))) handle_ = SQL_NULL_HANDLE;
  }
  QelOdbcHandle(const QelOdbcHandle&) = delete;
  QelOdbcHandle& operator=(const QelOdbcHandle&) = delete;
  QelOdbcHandle(QelOdbcHandle&& other) noexcept : type_(other.type_), handle_(other.handle_) {
    other.handle_ = SQL_NULL_HANDLE;
  }
  QelOdbcHandle& operator=(QelOdbcHandle&& other) noexcept {
    if (this != &other) {
      Free();
      type_ = other.type_;
      handle_ = other.handle_;
      other.handle_ = SQL_NULL_HANDLE;
    }
    return *this;
  }
  ~QelOdbcHandle() { Free(); }

  bool IsValid() const { return handle_ != SQL_NULL_HANDLE; }
  SQLHANDLE Get() const { return handle_; }
  SQLSMALLINT Type() const { return type_; }

  void Free() {
    if (handle_ != SQL_NULL_HANDLE) SQLFreeHandle(type_, handle_);
    handle_ = SQL_NULL_HANDLE;
  }

 private:
  SQLSMALLINT type_ = 0;
  SQLHANDLE handle_ = SQL_NULL_HANDLE;
};
