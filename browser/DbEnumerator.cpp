#include "browser/DbEnumerator.h"

DbEnumerator::DbEnumerator() : handle(ObjectStore::FindFirstDatabase()), info() {}

DbEnumerator::~DbEnumerator() { ObjectStore::Close(handle); }

bool DbEnumerator::Next(bool fetchInfo) {
  infoValid = false;
  // Without a walk there is nothing to step through, and no end to wait for.
  if (handle == kNoHandle) return false;
  oid = ObjectStore::FindNextDatabase(handle);
  if (ObjectStore::WalkEnded()) return false;
  if (fetchInfo) FetchInfo();
  return true;
}

bool DbEnumerator::FetchInfo() {
  if (infoValid) return true;
  if (!ObjectStore::GetDbInfo(oid, &info)) return false;
  infoValid = true;
  return true;
}

CeString DbEnumerator::Name() {
  CeString name;
  if (FetchInfo()) {
    name.AssignField(info.infDatabase.szDbaseName, CEDB_MAXDBASENAMELEN);
  } else {
    name.Format(u"0x%08X", oid);
  }
  return name;
}
