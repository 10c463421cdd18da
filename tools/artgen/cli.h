// The artgen command line, callable from tests.
//
//   artgen MODULE OUTDIR        write every bitmap of MODULE into OUTDIR as XXXX.bmp
//   artgen --list MODULE        print the file names that would be written
//   artgen --png MODULE OUTDIR  also write XXXX.png previews beside the bitmaps
//   artgen --help
//
// Exit status 0 on success, 2 for a bad call, an unknown module or a folder or file
// that cannot be written.
#pragma once

#include <ostream>
#include <span>
#include <string>

namespace artgen {

int run_cli(std::span<const std::string> args, std::ostream& out, std::ostream& err);

}  // namespace artgen
