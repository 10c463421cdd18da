// panelhost: previews, drives and tests gauge modules without the simulator.
#include <unistd.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return host::cli::main(args, std::cout, std::cerr);
}
