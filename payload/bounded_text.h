// Texts held in fixed buffers. Manifest text comes from scenario files and from
// other vessels' messages, so no length or content of it may reach past a buffer.
#pragma once

#include <cctype>
#include <cstddef>

// Copies at most size - 1 characters of src into dst and terminates it; a null
// src gives the empty text.
inline void CopyBounded(char *dst, std::size_t size, const char *src) {
  std::size_t n = 0;
  if (src)
    for (; n + 1 < size && src[n]; ++n) dst[n] = src[n];
  dst[n] = '\0';
}

// isspace is undefined for negative char values, which bytes above 0x7f are.
inline bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

inline char *SkipBlanks(char *text) {
  while (*text && IsBlank(*text)) ++text;
  return text;
}

// The end of the word that starts at text: its first blank or its terminator.
inline char *WordEnd(char *text) {
  while (*text && !IsBlank(*text)) ++text;
  return text;
}
