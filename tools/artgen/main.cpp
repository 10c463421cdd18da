#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    try {
        return artgen::run_cli(args, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "artgen: " << error.what() << '\n';
        return 1;
    }
}
