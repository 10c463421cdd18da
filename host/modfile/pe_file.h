#pragma once

#include "module_file.h"

namespace modfile {
void read_pe_file(const ByteReader& file, ModuleFile& module);
void read_elf_file(const ByteReader& file, ModuleFile& module);
}  // namespace modfile
