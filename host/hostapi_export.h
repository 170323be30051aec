// Linkage of the host's programming interface and of module entry points.
//
// OAPIFUNC marks what the host implements and modules import; DLLCLBK marks
// the C entry points that a module exports to the host.
#pragma once

#ifdef _WIN32
#ifdef VARNELL_BUILDING_HOST
#define OAPIFUNC __declspec(dllexport)
#else
#define OAPIFUNC __declspec(dllimport)
#endif
#define DLLCLBK extern "C" __declspec(dllexport)
#else
#define OAPIFUNC __attribute__((visibility("default")))
#define DLLCLBK extern "C" __attribute__((visibility("default")))
#endif
