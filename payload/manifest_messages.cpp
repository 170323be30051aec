// Manifests that arrive by message: a carrier that released this vessel sends
// it the entries it carries, one line per message, which are read like
// scenario lines but dispatched on the message's key.
#include "bounded_text.h"
#include "common_vessel_ex.h"
#include "cvelmessage.h"

bool COMMON_VESSEL_EX::ReceiveManifestMessages(char *lastKey, char *lastLine) {
  if (!checkMessage) return false;
  bool arrived = false;
  char key[CMESSAGE_KEY_SIZE], line[CMESSAGE_TEXT_SIZE];
  for (;;) {
    key[0] = line[0] = '\0';
    const int result = checkMessage(this, key, line);
    // Whatever the module wrote, the texts end inside their buffers.
    key[sizeof key - 1] = line[sizeof line - 1] = '\0';
    if (result != -1 && line[0]) {
      ParseKeyword(key, line);
      if (lastKey && lastLine) {
        CopyBounded(lastKey, CMESSAGE_KEY_SIZE, key);
        CopyBounded(lastLine, CMESSAGE_TEXT_SIZE, line);
      }
      arrived = true;
    }
    if (result < 0) return arrived;
  }
}

bool COMMON_VESSEL_EX::ReceiveManifestMessages() { return ReceiveManifestMessages(nullptr, nullptr); }
