// The message module's functions, looked up by name in "Modules\cvelmessage".
//
// Messages are (key, text) pairs kept per receiving vessel, first in, first
// out. CheckCMessage fills a key buffer of CMESSAGE_KEY_SIZE and a text
// buffer of CMESSAGE_TEXT_SIZE characters with the next pending message and
// returns 0, or returns -1 when nothing is pending.
#pragma once

class VESSEL;

const int CMESSAGE_KEY_SIZE = 256;
const int CMESSAGE_TEXT_SIZE = 2048;

typedef int (*SendCMessageFunc)(VESSEL *target, const char *key, const char *text);
typedef int (*CheckCMessageFunc)(VESSEL *self, char *key, char *text);
// Drops every message pending for a vessel; the host calls it when it deletes one.
typedef void (*DropCMessagesFunc)(VESSEL *self);
