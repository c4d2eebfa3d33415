#include "framework/CeModelessMap.h"

#include <cstdlib>

// Nodes are carved from blocks of kBlockSize; a block is only given back when
// the whole map is released.
struct CeModelessMap::Block {
  Block* next;
  Node nodes[kBlockSize];
};

CeModelessMap::~CeModelessMap() { ReleaseAll(); }

bool CeModelessMap::Add(HWND key, CeWnd* value) {
  if (buckets == nullptr) {
    buckets = static_cast<Node**>(std::calloc(kBucketCount, sizeof(Node*)));
    if (buckets == nullptr) return false;
  }
  const UINT bucket = BucketOf(key);
  for (Node* node = buckets[bucket]; node != nullptr; node = node->next) {
    if (node->key == key) {
      node->value = value;
      return true;
    }
  }
  Node* node = NewNode();
  if (node == nullptr) return false;
  node->bucket = bucket;
  node->key = key;
  node->value = value;
  node->next = buckets[bucket];
  buckets[bucket] = node;
  ++count;
  return true;
}

bool CeModelessMap::Remove(HWND key) {
  if (buckets == nullptr) return false;
  for (Node** link = &buckets[BucketOf(key)]; *link != nullptr; link = &(*link)->next) {
    Node* node = *link;
    if (node->key != key) continue;
    *link = node->next;
    node->next = freeList;
    freeList = node;
    if (--count == 0) ReleaseAll();
    return true;
  }
  return false;
}

CeWnd* CeModelessMap::Lookup(HWND key) const {
  if (buckets == nullptr) return nullptr;
  for (const Node* node = buckets[BucketOf(key)]; node != nullptr; node = node->next)
    if (node->key == key) return node->value;
  return nullptr;
}

CeModelessMap::Node* CeModelessMap::NewNode() {
  if (freeList == nullptr) {
    auto* block = static_cast<Block*>(std::malloc(sizeof(Block)));
    if (block == nullptr) return nullptr;
    block->next = blocks;
    blocks = block;
    for (Node& node : block->nodes) {
      node.next = freeList;
      freeList = &node;
    }
  }
  Node* node = freeList;
  freeList = node->next;
  return node;
}

void CeModelessMap::ReleaseAll() {
  while (blocks != nullptr) {
    Block* next = blocks->next;
    std::free(blocks);
    blocks = next;
  }
  std::free(buckets);
  buckets = nullptr;
  freeList = nullptr;
  count = 0;
}

const CeModelessMap::Node* CeModelessMap::FirstFrom(UINT bucket) const {
  if (buckets == nullptr) return nullptr;
  for (; bucket < kBucketCount; ++bucket)
    if (buckets[bucket] != nullptr) return buckets[bucket];
  return nullptr;
}

CeModelessMap::Iterator::Iterator(const CeModelessMap& owner) : map(owner), node(owner.FirstFrom(0)) {}

bool CeModelessMap::Iterator::Next(HWND* key) {
  if (node == nullptr) return false;
  *key = node->key;
  node = node->next != nullptr ? node->next : map.FirstFrom(node->bucket + 1);
  return true;
}
