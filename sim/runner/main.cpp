// varnell: the headless host's program. Everything it does, failures
// included, happens inside the host library (runner/program.cpp).
#include "sim/runner/program.h"

int main(int argc, char **argv) { return sim::runner::programMain(argc, argv); }
