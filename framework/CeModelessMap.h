// The registry of modeless dialogs: a hash map from a dialog's window handle
// to its object, so the message loop can offer messages to each dialog.
#pragma once

#include <windows.h>

class CeWnd;

class CeModelessMap {
 public:
  static constexpr UINT kBucketCount = 17;
  static constexpr int kBlockSize = 10;

  struct Node {
    Node* next;  // in the bucket's chain
    UINT bucket;
    HWND key;
    CeWnd* value;
  };

  // Visits the keys in ascending bucket order, each chain from its head.
  class Iterator {
   public:
    explicit Iterator(const CeModelessMap& owner);
    // False when every key has been visited.
    bool Next(HWND* key);

   private:
    const CeModelessMap& map;
    const Node* node;
  };

  CeModelessMap() = default;
  CeModelessMap(const CeModelessMap&) = delete;
  CeModelessMap& operator=(const CeModelessMap&) = delete;
  ~CeModelessMap();

  static UINT BucketOf(HWND key) { return UINT((reinterpret_cast<UINT_PTR>(key) >> 4) % kBucketCount); }

  // Adds the key, or gives an existing key the new value. False when the
  // heap could not supply room.
  bool Add(HWND key, CeWnd* value);
  // Removes the key; the last removal releases all storage.
  bool Remove(HWND key);
  CeWnd* Lookup(HWND key) const;
  int Count() const { return count; }

 private:
  struct Block;
  const Node* FirstFrom(UINT bucket) const;
  Node* NewNode();
  void ReleaseAll();

  Node** buckets = nullptr;
  int count = 0;
  Node* freeList = nullptr;
  Block* blocks = nullptr;
};

// The registry the message loop consults.
extern CeModelessMap g_modelessMap;
