#include "cli.h"

#include <filesystem>
#include <fstream>

#include "bmp_writer.h"
#include "modules.h"

namespace artgen {
namespace {

constexpr int kBadCall = 2;

void print_usage(std::ostream& out) {
    out << "usage: artgen MODULE OUTDIR        draw every bitmap of MODULE into OUTDIR\n"
           "       artgen --list MODULE        print the file names it would write\n"
           "       artgen --png MODULE OUTDIR  draw, with PNG previews beside the bitmaps\n"
           "modules:";
    for (const ModuleArt& module : all_modules()) out << ' ' << module.name;
    out << '\n';
}

const ModuleArt* module_or_complain(const std::string& name, std::ostream& err) {
    const ModuleArt* module = find_module(name);
    if (!module) err << "artgen: unknown module '" << name << "' (see artgen --help)\n";
    return module;
}

bool write_file(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes, std::ostream& err) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file) err << "artgen: cannot write " << path.string() << '\n';
    return static_cast<bool>(file);
}

int draw_module(const std::string& name, const std::filesystem::path& folder, bool previews, std::ostream& err) {
    const ModuleArt* module = module_or_complain(name, err);
    if (!module) return kBadCall;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        err << "artgen: cannot make folder " << folder.string() << (error ? ": " + error.message() : "") << '\n';
        return kBadCall;
    }
    for (const BitmapSpec& spec : module->bitmaps) {
        const IndexedImage image = render(spec);
        const std::filesystem::path path = folder / bitmap_file_name(spec.id);
        if (!write_file(path, encode_bmp(image), err)) return kBadCall;
        if (previews) write_png_preview(image, std::filesystem::path(path).replace_extension(".png").string());
    }
    return 0;
}

}  // namespace

int run_cli(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        print_usage(out);
        return 0;
    }
    if (args.size() == 2 && args[0] == "--list") {
        const ModuleArt* module = module_or_complain(args[1], err);
        if (!module) return kBadCall;
        for (const BitmapSpec& spec : module->bitmaps) out << bitmap_file_name(spec.id) << '\n';
        return 0;
    }
    if (args.size() == 3 && args[0] == "--png") return draw_module(args[1], args[2], true, err);
    if (args.size() == 2 && !args[0].starts_with("-")) return draw_module(args[0], args[1], false, err);
    print_usage(err);
    return kBadCall;
}

}  // namespace artgen
