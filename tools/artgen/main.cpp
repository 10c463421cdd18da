#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "art.h"
#include "cli.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    int status = 1;
    try {
        status = artgen::run_cli(args, std::cout, std::cerr);
    } catch (const std::exception& error) {
        std::cerr << "artgen: " << error.what() << '\n';
    }
    artgen::release_drawing_caches();
    return status;
}
