// The linkage macros, as the simulator's SDK defines them, for the message
// module, which includes none of the SDK's headers.
#pragma once

#ifndef DLLCLBK
#define DLLCLBK extern "C" __declspec(dllexport)
#endif
#ifndef OAPIFUNC
#define OAPIFUNC __declspec(dllimport)
#endif
