// Fuzzes the payload manager's manifest reader both ways a manifest comes in:
// an input's lines up to a line "--" are the carrier's scenario lines, the
// lines after it messages from another carrier ("KEY<tab>TEXT", or the line
// alone, keyed by its first word), sent through the message module and taken
// in at once. Afterwards the table must still be a tree in reading order, a
// scenario line turned away must be in the log, and the manifest written back
// as the launcher saves it must read again into the same entries.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_tree.h"
#include "host/cvelmessage.h"
#include "payload/common_vessel_ex.h"
#include "payload/manifest_fields.h"
#include "sim/formats/scenario_handles.h"
#include "sim/world/world.h"

namespace {

// Held for the whole run: unloading an instrumented library after every input
// would cost a load each time and lose its coverage counters.
HMODULE messageModule() {
  static HMODULE lib = [] {
    fuzz::Tree::get().link("Modules/cvelmessage.so", FUZZ_MESSAGE_MODULE);
    return LoadLibraryA("Modules\\cvelmessage");
  }();
  return lib;
}

struct Message {
  std::string key, text;
};

Message messageOf(const std::string &line) {
  const size_t tab = line.find('\t');
  if (tab != std::string::npos) return {line.substr(0, tab), line.substr(tab + 1)};
  return {line.substr(0, line.find(' ')), line};
}

void split(const uint8_t *data, size_t size, std::vector<std::string> &scenario, std::vector<Message> &messages) {
  const std::string input(reinterpret_cast<const char *>(data), size);
  bool inMessages = false;
  for (size_t at = 0; at <= input.size();) {
    size_t end = input.find('\n', at);
    if (end == std::string::npos) end = input.size();
    const std::string line = input.substr(at, end - at);
    at = end + 1;
    if (!inMessages && line == "--")
      inMessages = true;
    else if (inMessages)
      messages.push_back(messageOf(line));
    else
      scenario.push_back(line);
  }
}

bool terminated(const char *text, size_t size) { return std::memchr(text, '\0', size) != nullptr; }

// Each entry's parent is an earlier stage, so the slots hold the tree in
// reading order; the open stage is a stage; every text ends in its buffer.
void requireTree(const COMMON_VESSEL_EX &c, const sim::Log &log) {
  for (int i = 0; i < MAX_PAYLOAD_ENTRIES; ++i) {
    const PAYLOAD_ENTRY &e = c.entries[i];
    if (!e.used) continue;
    fuzz::require(e.parent >= -1 && e.parent < i, "an entry's parent comes before it", log);
    fuzz::require(e.parent == -1 || (c.entries[e.parent].used && c.entries[e.parent].kind == 1),
                  "an entry's parent is a stage", log);
    fuzz::require(terminated(e.name, sizeof e.name) && terminated(e.className, sizeof e.className),
                  "an entry's texts end inside their buffers", log);
  }
  fuzz::require(c.openStage == -1 || (c.openStage >= 0 && c.openStage < MAX_PAYLOAD_ENTRIES &&
                                      c.entries[c.openStage].used && c.entries[c.openStage].kind == 1),
                "the open stage is a stage", log);
}

int entryCount(const COMMON_VESSEL_EX &c) {
  int n = 0;
  for (const PAYLOAD_ENTRY &e : c.entries) n += e.used;
  return n;
}

// An entry line (its keyword with one blank) either opens an entry or leaves a
// word in the log, a full manifest's too.
void takeLine(COMMON_VESSEL_EX &c, const std::string &line, const sim::Log &log) {
  const size_t entries = entryCount(c), logged = log.lines().size();
  c.ParseScenarioLine(line.c_str());
  const size_t start = line.find_first_not_of(" \t");
  const bool entryLine =
      start != std::string::npos && (line.compare(start, 8, "PAYLOAD ") == 0 || line.compare(start, 6, "STAGE ") == 0);
  if (entryLine && line.find('\0') == std::string::npos)
    fuzz::require(entryCount(c) > static_cast<int>(entries) || log.lines().size() > logged,
                  "an entry line turned away is logged", log);
}

// The manifest as the carrier saves it into its scenario block.
std::string saved(const COMMON_VESSEL_EX &c) {
  std::string text;
  sim::ScenarioWriter out(text);
  sim::activeScenarioCall().writer = &out;
  c.SaveManifest(&out);
  sim::activeScenarioCall().writer = nullptr;
  return text;
}

// Read again, the saved manifest gives the same entries in the same stages,
// which save as the same text. Saved lines come indented, as the scenario
// writer puts them: one whose indent takes it past what the reader reads is
// turned away, and the property asks nothing.
void requireRoundTrip(const COMMON_VESSEL_EX &c, COMMON_VESSEL_EX &reader, const sim::Log &log) {
  const std::string text = saved(c);
  std::vector<std::string> lines;
  for (size_t at = 0, end; at < text.size(); at = end + 1) {
    end = text.find('\n', at);
    lines.push_back(text.substr(at, end - at));
    if (lines.back().size() >= MANIFEST_LINE_SIZE - 1) return;
  }
  for (const std::string &line : lines) reader.ParseScenarioLine(line.c_str());
  fuzz::require(saved(reader) == text, "a saved manifest reads back to the text it was saved from", log);
  for (int i = 0; i < MAX_PAYLOAD_ENTRIES; ++i) {
    const PAYLOAD_ENTRY &a = c.entries[i], &b = reader.entries[i];
    fuzz::require(
        a.used == b.used && (!a.used || (a.kind == b.kind && a.parent == b.parent && std::strcmp(a.name, b.name) == 0 &&
                                         std::strcmp(a.className, b.className) == 0)),
        "a saved entry reads back as the same entry in the same stage", log);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const HMODULE messages = messageModule();
  fuzz::require(messages != nullptr, "the message module loads", sim::Log(""));
  std::vector<std::string> scenario;
  std::vector<Message> sent;
  split(data, size, scenario, sent);

  sim::World w(fuzz::Tree::get().dir(), "");
  COMMON_VESSEL_EX receiver(w.createVessel("Receiver", "Probe", nullptr));
  COMMON_VESSEL_EX sender(w.createVessel("Sender", "Probe", nullptr));
  for (const std::string &line : scenario) takeLine(receiver, line, w.log());
  for (const Message &m : sent) sender.SendManifestMessage(&receiver, m.key.c_str(), m.text.c_str());
  char lastKey[CMESSAGE_KEY_SIZE], lastLine[CMESSAGE_TEXT_SIZE];
  receiver.ReceiveManifestMessages(lastKey, lastLine);
  requireTree(receiver, w.log());
  COMMON_VESSEL_EX reader(w.createVessel("Reader", "Probe", nullptr));
  requireRoundTrip(receiver, reader, w.log());

  // A later input's receiver may get this one's address: nothing may wait for it.
  auto drop =
      reinterpret_cast<DropCMessagesFunc>(reinterpret_cast<void (*)()>(GetProcAddress(messages, "DropCMessages")));
  drop(&receiver);
  return 0;
}
