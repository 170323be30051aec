// The message module: short (key, text) messages from one vessel to another,
// kept first in, first out per receiving vessel until it fetches them.
//
// A vessel is known here only by its interface pointer, used as an address and
// never dereferenced, so the module needs nothing of the host. The host drops a
// vessel's queue when it deletes the vessel: otherwise a later vessel given the
// same address would inherit the messages.
#include "cvelmessage.h"

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <type_traits>

#include "hostapi_export.h"

namespace {

struct Message {
  std::string key;
  std::string text;
};

std::map<const VESSEL *, std::deque<Message>> &queues() {
  static std::map<const VESSEL *, std::deque<Message>> byReceiver;
  return byReceiver;
}

// Copies as much of src as fits into a buffer of `size` characters, terminated.
void copyTerminated(char *dst, const std::string &src, std::size_t size) {
  std::size_t n = src.size() < size - 1 ? src.size() : size - 1;
  std::memcpy(dst, src.data(), n);
  dst[n] = '\0';
}

}  // namespace

// Returns 0 when the message is queued, -1 when there is no receiver or no memory.
DLLCLBK int SendCMessage(VESSEL *target, const char *key, const char *text) {
  if (!target) return -1;
  try {
    queues()[target].push_back({key ? key : "", text ? text : ""});
  } catch (...) {
    return -1;  // no exception may cross into a caller that may not be C++
  }
  return 0;
}

// Without both buffers the message cannot be handed over, so it stays queued.
DLLCLBK int CheckCMessage(VESSEL *self, char *key, char *text) {
  if (!self || !key || !text) return -1;
  auto queue = queues().find(self);
  if (queue == queues().end() || queue->second.empty()) return -1;
  const Message &next = queue->second.front();
  copyTerminated(key, next.key, CMESSAGE_KEY_SIZE);
  copyTerminated(text, next.text, CMESSAGE_TEXT_SIZE);
  queue->second.pop_front();
  if (queue->second.empty()) queues().erase(queue);  // drained receivers take no memory
  return 0;
}

DLLCLBK void DropCMessages(VESSEL *self) { queues().erase(self); }

static_assert(std::is_same_v<decltype(&SendCMessage), SendCMessageFunc>, "SendCMessage must match its callers' type");
static_assert(std::is_same_v<decltype(&CheckCMessage), CheckCMessageFunc>,
              "CheckCMessage must match its callers' type");
static_assert(std::is_same_v<decltype(&DropCMessages), DropCMessagesFunc>,
              "DropCMessages must match its callers' type");
