#include "module_file.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "pe_file.h"

namespace modfile {

namespace {
constexpr std::streamsize kMaxFileSize = 64 << 20;
}

ModuleFile parse_module_file(std::span<const uint8_t> bytes, const std::string& path) {
  ModuleFile module;
  module.path = path;
  const ByteReader file(bytes, path);
  try {
    if (file.has(0, 4) && file.u32(0) == 0x464C457F) {
      read_elf_file(file, module);
    } else if (file.has(0, 2) && file.u16(0) == 0x5A4D) {
      read_pe_file(file, module);
    } else {
      throw FormatError("not a module file (neither ELF nor PE)");
    }
  } catch (const FormatError& e) {
    const std::string message = e.what();
    throw FormatError(message.rfind(path + ":", 0) == 0 ? message : path + ": " + message);
  }
  return module;
}

ModuleFile read_module_file(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) throw FormatError(path + ": a folder, not a module file");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw FormatError(path + ": cannot open the file");
  in.seekg(0, std::ios::end);
  const std::streamsize size = in.tellg();
  if (size < 0) throw FormatError(path + ": cannot read the file");
  if (size > kMaxFileSize) throw FormatError(path + ": larger than any module (" + std::to_string(size) + " bytes)");
  in.seekg(0);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), size);
  if (in.gcount() != size) throw FormatError(path + ": cannot read the file");
  return parse_module_file(bytes, path);
}

}  // namespace modfile
