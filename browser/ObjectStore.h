// The browser's one way into the object store's database API: every call
// that enumerates, reads, seeks or deletes goes through here.
#pragma once

#include <windows.h>
#include <windbase.h>

// A database's information (the database variant of the object information).
typedef CEOIDINFO DbInfo;
typedef SORTORDERSPEC SortOrderSpec;
typedef CEPROPVAL PropValue;

// The item data of the tree's root node ("Databases"): the summary.
constexpr CEOID kRootOid = CEOID(-1);
// No open database or walk.
inline const HANDLE kNoHandle = INVALID_HANDLE_VALUE;

class ObjectStore {
 public:
  // A walk over the databases of every type; kNoHandle when it cannot start.
  static HANDLE FindFirstDatabase();
  // The next database of the walk. The walk is over when the error code
  // then says there are no more items, whatever the identifier is.
  static CEOID FindNextDatabase(HANDLE walk);
  static bool WalkEnded();
  // info is zeroed first, so a failed read leaves a zeroed record.
  static bool GetDbInfo(CEOID oid, DbInfo* info);
  // Opens in the order of sortProp (0: the database's own order); oid is
  // written back. kNoHandle on failure.
  static HANDLE OpenDatabase(CEOID* oid, CEPROPID sortProp);
  // The record with zero-based index, or the one after the current record;
  // its identifier, 0 when there is none.
  static CEOID SeekToIndex(HANDLE database, DWORD index);
  static CEOID SeekNext(HANDLE database);
  // Reads every property of the current record into *buffer, which the
  // store (re)allocates; it starts with *count property values whose texts
  // and blobs point into the same buffer. The record's identifier, 0 on
  // failure. The buffer is freed with FreeBuffer.
  static CEOID ReadRecord(HANDLE database, WORD* count, PropValue** buffer, DWORD* size);
  static void FreeBuffer(PropValue* buffer);
  static bool DeleteDatabase(CEOID oid);
  static bool DeleteRecord(HANDLE database, CEOID record);
  // Database and walk handles alike.
  static void Close(HANDLE handle);
};
