// One walk over every database of the object store, reading each one's
// information at most once.
#pragma once

#include <windows.h>

#include "browser/ObjectStore.h"
#include "framework/CeString.h"

class DbEnumerator {
 public:
  DbEnumerator();
  DbEnumerator(const DbEnumerator&) = delete;
  DbEnumerator& operator=(const DbEnumerator&) = delete;
  virtual ~DbEnumerator();

  // Steps to the next database, reading its information when asked; false
  // when the walk is over.
  bool Next(bool fetchInfo);
  // True when info holds the current database's information.
  bool FetchInfo();
  // The current database's name; its identifier as "0x%08X" when its
  // information cannot be read.
  CeString Name();

  HANDLE handle;
  CEOID oid = 0;
  bool infoValid = false;
  DbInfo info;
};
