// The few Windows names that vessel modules use.
//
// On Windows they come from <windows.h>. Elsewhere the headless host provides
// them: dynamic loading on top of dlopen (with '\' turned into '/' and the
// platform's library extension added) and TextOutA drawing into the host's
// HUD surface.
#pragma once

#include "hostapi_export.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// Leftovers of 16-bit pointers, defined empty: they would swallow these
// everyday words wherever a host header is seen.
#undef far
#undef near
#else
#include <cstdint>

typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef int BOOL;
typedef unsigned int UINT;
typedef void *HINSTANCE;
typedef void *HMODULE;
typedef struct HDC__ *HDC;
typedef int (*FARPROC)();
typedef void *LPVOID;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
#define WINAPI
#define APIENTRY

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

extern "C" {
OAPIFUNC HMODULE LoadLibraryA(const char *path);
OAPIFUNC FARPROC GetProcAddress(HMODULE module, const char *name);
OAPIFUNC BOOL FreeLibrary(HMODULE module);
OAPIFUNC BOOL TextOutA(HDC hdc, int x, int y, const char *text, int length);
}

#include <cstddef>
#include <strings.h>
inline int _strnicmp(const char *a, const char *b, size_t n) { return strncasecmp(a, b, n); }
#endif
