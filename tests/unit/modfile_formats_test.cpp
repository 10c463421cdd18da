// The resource formats a module carries, built byte by byte here: bitmaps,
// the version resource and the compiled resource file of the native build.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "modfile/dib.h"
#include "modfile/module_file.h"
#include "modfile/version_info.h"

namespace {

using Bytes = std::vector<uint8_t>;

void put(Bytes& b, size_t at, uint64_t value, int width) {
  if (b.size() < at + width) b.resize(at + width);
  for (int i = 0; i < width; ++i) b[at + i] = uint8_t(value >> (8 * i));
}
void append(Bytes& b, uint64_t value, int width) { put(b, b.size(), value, width); }
void append_utf16(Bytes& b, const std::u16string& text) {
  for (char16_t c : text) append(b, c, 2);
  append(b, 0, 2);
}
void align4(Bytes& b) { b.resize((b.size() + 3) & ~size_t(3)); }

std::string message_of(const std::function<void()>& read) {
  try {
    read();
  } catch (const modfile::FormatError& e) {
    return e.what();
  }
  return "(no error)";
}

// ---- bitmaps ------------------------------------------------------------------

// Pixels given top row first: palette indices up to 8 bits per pixel, else 0xRRGGBB.
Bytes make_dib(int bits, const std::vector<uint32_t>& palette, const std::vector<std::vector<uint32_t>>& rows, bool top_down) {
  const int width = int(rows[0].size()), height = int(rows.size());
  Bytes b;
  append(b, 40, 4);
  append(b, uint32_t(width), 4);
  append(b, uint32_t(top_down ? -height : height), 4);
  append(b, 1, 2);
  append(b, bits, 2);
  append(b, 0, 4);  // uncompressed
  append(b, 0, 4);
  append(b, 2835, 4);
  append(b, 2835, 4);
  append(b, palette.size(), 4);
  append(b, 0, 4);
  for (uint32_t colour : palette) append(b, colour, 4);  // blue, green, red, zero
  const size_t stride = (size_t(width) * bits + 31) / 32 * 4;
  for (int i = 0; i < height; ++i) {
    const std::vector<uint32_t>& row = rows[top_down ? i : height - 1 - i];
    Bytes line(stride, 0);
    for (int x = 0; x < width; ++x) {
      const uint32_t v = row[x];
      switch (bits) {
        case 1: line[x / 8] |= uint8_t(v << (7 - x % 8)); break;
        case 4: line[x / 2] |= uint8_t(x % 2 ? v : v << 4); break;
        case 8: line[x] = uint8_t(v); break;
        default: put(line, size_t(x) * (bits / 8), v, 3); break;
      }
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

TEST(Bitmap, EveryDepthDecodesInBothRowOrders) {
  const std::vector<uint32_t> palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  const std::vector<std::vector<uint32_t>> indices = {{1, 2, 3}, {3, 0, 1}};
  const std::vector<std::vector<uint32_t>> bits = {{1, 0, 1}, {0, 1, 1}};
  const std::vector<std::vector<uint32_t>> colours = {{0xFF0000, 0x00FF00, 0x0000FF}, {0x123456, 0x000000, 0xABCDEF}};
  for (int depth : {1, 4, 8, 24, 32}) {
    for (bool top_down : {false, true}) {
      SCOPED_TRACE(std::to_string(depth) + " bpp" + (top_down ? ", top-down" : ", bottom-up"));
      const auto& rows = depth == 1 ? bits : depth <= 8 ? indices : colours;
      const std::vector<uint32_t> used(palette.begin(), palette.begin() + (depth == 1 ? 2 : depth <= 8 ? 4 : 0));
      const modfile::Image image = modfile::decode_dib(make_dib(depth, used, rows, top_down));
      EXPECT_EQ(image.width, 3);
      EXPECT_EQ(image.height, 2);
      EXPECT_EQ(image.bits_per_pixel, depth);
      std::vector<uint32_t> expected;
      for (const auto& row : rows) {
        for (uint32_t v : row) expected.push_back(depth <= 8 ? palette[v] : v);
      }
      EXPECT_EQ(image.rgb, expected);
    }
  }
}

TEST(Bitmap, ABmpFileIsReadFromItsOwnPixelOffset) {
  const std::vector<std::vector<uint32_t>> rows = {{0x102030, 0x405060}};
  const Bytes dib = make_dib(24, {}, rows, false);
  Bytes file = {'B', 'M'};
  append(file, 14 + dib.size() + 8, 4);
  append(file, 0, 4);
  append(file, 14 + 40 + 8, 4);  // eight spare bytes between header and pixels
  file.insert(file.end(), dib.begin(), dib.begin() + 40);
  file.insert(file.end(), 8, 0xEE);
  file.insert(file.end(), dib.begin() + 40, dib.end());
  EXPECT_EQ(modfile::decode_dib(file).rgb, (std::vector<uint32_t>{0x102030, 0x405060}));
}

TEST(Bitmap, IndicesBeyondAShortPaletteAreBlack) {
  const modfile::Image image = modfile::decode_dib(make_dib(8, {0x112233, 0x445566}, {{0, 1, 2, 255}}, false));
  EXPECT_EQ(image.rgb, (std::vector<uint32_t>{0x112233, 0x445566, 0, 0}));
}

TEST(Bitmap, AbsurdOrShortBitmapsAreRefused) {
  const Bytes good = make_dib(8, std::vector<uint32_t>(256, 0), std::vector<std::vector<uint32_t>>(4, {1, 2, 3, 4}), false);
  ASSERT_NO_THROW(modfile::decode_dib(good));
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    const char* message;
  } cases[] = {
      {"huge width", [](Bytes& b) { put(b, 4, 100000, 4); }, "size 100000 x 4 is absurd"},
      {"zero width", [](Bytes& b) { put(b, 4, 0, 4); }, "size 0 x 4 is absurd"},
      {"negative width", [](Bytes& b) { put(b, 4, uint32_t(-4), 4); }, "size -4 x 4 is absurd"},
      {"zero height", [](Bytes& b) { put(b, 8, 0, 4); }, "size 4 x 0 is absurd"},
      {"most negative height", [](Bytes& b) { put(b, 8, uint32_t(INT32_MIN), 4); }, "size 4 x -2147483648 is absurd"},
      {"huge top-down height", [](Bytes& b) { put(b, 8, uint32_t(-5000), 4); }, "size 4 x -5000 is absurd"},
      {"7 bits per pixel", [](Bytes& b) { put(b, 14, 7, 2); }, "7 bits per pixel are not read"},
      {"run-length compressed", [](Bytes& b) { put(b, 16, 1, 4); }, "compression 1 is not read"},
      {"core header", [](Bytes& b) { put(b, 0, 12, 4); }, "header of 12 bytes is not read"},
      {"header longer than the data", [](Bytes& b) { put(b, 0, 0xFFFFFFFF, 4); }, "header at offset 0x0"},
      {"palette too large", [](Bytes& b) { put(b, 32, 300, 4); }, "palette of 300 colours for 8 bits per pixel"},
      {"palette past the end", [](Bytes& b) { b.resize(40 + 100); }, "palette at offset 0x28"},
      {"last row one byte short", [](Bytes& b) { b.pop_back(); }, "pixel data at offset 0x428"},
      {"nothing but a header size", [](Bytes& b) { b.resize(4); }, "header at offset 0x0 (40 bytes)"},
      {"BMP pixel offset in its own header",
       [](Bytes& b) {
         Bytes file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 5, 0, 0, 0};
         file.insert(file.end(), b.begin(), b.end());
         b = file;
       },
       "pixel data offset 0x5 lies inside the file header"},
      {"BMP pixel offset in the bitmap header",
       [](Bytes& b) {
         Bytes file = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 40, 0, 0, 0};
         file.insert(file.end(), b.begin(), b.end());
         b = file;
       },
       "pixel data offset 0x1a lies inside the header"},
  };
  for (const Case& c : cases) {
    Bytes bad = good;
    c.damage(bad);
    const std::string decoded = message_of([&] { modfile::decode_dib(bad); });
    EXPECT_EQ(decoded.rfind("bitmap: ", 0), 0u) << c.what << ": " << decoded;
    EXPECT_NE(decoded.find(c.message), std::string::npos) << c.what << ": " << decoded;
    EXPECT_EQ(message_of([&] { modfile::read_bitmap_size(bad); }), decoded) << c.what;
  }
}

// ---- version resource -------------------------------------------------------------

// One block: length, value length, type, key, padding, value, padding, children.
Bytes block(const std::u16string& key, uint16_t type, const Bytes& value, uint16_t value_length, const std::vector<Bytes>& children) {
  Bytes b(6, 0);
  append_utf16(b, key);
  align4(b);
  b.insert(b.end(), value.begin(), value.end());
  for (const Bytes& child : children) {
    align4(b);
    b.insert(b.end(), child.begin(), child.end());
  }
  put(b, 0, b.size(), 2);
  put(b, 2, value_length, 2);
  put(b, 4, type, 2);
  return b;
}

Bytes text_block(const std::u16string& key, const std::u16string& text, bool length_in_bytes = false) {
  Bytes value;
  append_utf16(value, text);
  return block(key, 1, value, uint16_t(length_in_bytes ? value.size() : text.size() + 1), {});
}

Bytes version_resource() {
  Bytes fixed;
  for (uint32_t word : {0xFEEF04BDu, 0x10000u, 0x00010003u, 0x00000002u, 0x00020000u, 0x00050000u}) append(fixed, word, 4);
  fixed.resize(52);
  Bytes translation;
  append(translation, 0x0409, 2);
  append(translation, 1200, 2);
  return block(u"VS_VERSION_INFO", 0, fixed, 52,
               {block(u"StringFileInfo", 1, {}, 0,
                      {block(u"040904b0", 1, {}, 0,
                             {text_block(u"CompanyName", u"ovk"), text_block(u"FileDescription", u"\u00d6ldruck \xD834\xDD1E"),
                              text_block(u"Comments", u"counted in bytes", true), text_block(u"Broken", u"a\xDC00z"),
                              text_block(u"Empty", u"")})}),
                block(u"VarFileInfo", 1, {}, 0, {block(u"Translation", 0, translation, 4, {})})});
}

TEST(VersionInfo, ReadsVersionsStringsAndTranslation) {
  const modfile::VersionInfo info = modfile::parse_version_info(version_resource());
  EXPECT_EQ(info.file_version, "1.3.0.2");
  EXPECT_EQ(info.product_version, "2.0.5.0");
  EXPECT_EQ(info.string_table, "040904b0");
  const std::vector<std::pair<std::string, std::string>> strings = {
      {"CompanyName", "ovk"},
      {"FileDescription", "\xC3\x96ldruck \xF0\x9D\x84\x9E"},
      {"Comments", "counted in bytes"},
      {"Broken", "a\xEF\xBF\xBDz"},  // an unpaired surrogate
      {"Empty", ""},
  };
  EXPECT_EQ(info.strings, strings);
  EXPECT_EQ(info.value("CompanyName"), "ovk");
  EXPECT_EQ(info.value("NoSuchKey"), "");
  ASSERT_EQ(info.translations.size(), 1u);
  EXPECT_EQ(info.translations[0].language, 0x0409);
  EXPECT_EQ(info.translations[0].code_page, 1200);
}

TEST(VersionInfo, DamagedBlocksAreRefused) {
  const Bytes good = version_resource();
  const size_t fixed = 40;                   // after the root's header and key
  const size_t string_file_info = fixed + 52;
  ASSERT_EQ(good[string_file_info + 6], 'S');
  struct Case {
    const char* what;
    std::function<void(Bytes&)> damage;
    const char* message;
  } cases[] = {
      {"another root key", [](Bytes& b) { b[6] = 'W'; }, "starts with \"WS_VERSION_INFO\", not VS_VERSION_INFO"},
      {"no signature", [&](Bytes& b) { b[fixed] ^= 1; }, "no fixed file information"},
      {"fixed information cut short", [](Bytes& b) { put(b, 2, 20, 2); }, "no fixed file information"},
      {"child longer than its parent", [&](Bytes& b) { put(b, string_file_info, 0xFFF0, 2); }, "does not fit in its parent"},
      {"child shorter than a header", [&](Bytes& b) { put(b, string_file_info, 2, 2); }, "does not fit in its parent"},
      {"root longer than the resource", [](Bytes& b) { b.resize(b.size() - 4); }, "version block at offset 0x0"},
      {"a single byte", [](Bytes& b) { b.resize(1); }, "version block length at offset 0x0"},
  };
  for (const Case& c : cases) {
    Bytes bad = good;
    c.damage(bad);
    const std::string message = message_of([&] { modfile::parse_version_info(bad); });
    EXPECT_EQ(message.rfind("version resource: ", 0), 0u) << c.what << ": " << message;
    EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
  }
}

// ---- compiled resource file -----------------------------------------------------------

struct Field {
  std::optional<uint16_t> id;
  std::u16string text;
};

void append_field(Bytes& b, const Field& f) {
  if (f.id) {
    append(b, 0xFFFF, 2);
    append(b, *f.id, 2);
  } else {
    append_utf16(b, f.text);
  }
}

Bytes res_entry(const Field& type, const Field& name, uint16_t language, const Bytes& data) {
  Bytes header(8, 0);
  append_field(header, type);
  append_field(header, name);
  align4(header);
  append(header, 0, 4);       // data version
  append(header, 0x1030, 2);  // memory flags
  append(header, language, 2);
  append(header, 0, 8);  // version, characteristics
  put(header, 0, data.size(), 4);
  put(header, 4, header.size(), 4);
  header.insert(header.end(), data.begin(), data.end());
  align4(header);
  return header;
}

Bytes res_file(const std::vector<Bytes>& entries) {
  Bytes file = res_entry({0, {}}, {0, {}}, 0, {});
  for (const Bytes& e : entries) file.insert(file.end(), e.begin(), e.end());
  return file;
}

TEST(ResFile, ReadsNumberedAndNamedEntriesAfterTheEmptyOne) {
  const Bytes file = res_file({
      res_entry({2, {}}, {0x0100, {}}, 0x0409, {1, 2, 3, 4, 5}),  // odd size: the next entry is aligned
      res_entry({{}, u"GAUGEDATA"}, {{}, u"\u00d6lpanel"}, 0x0407, {6, 7, 8}),
      res_entry({24, {}}, {2, {}}, 0x0409, {'<', 'a', '/', '>'}),
  });
  const std::vector<modfile::Resource> resources = modfile::parse_res_file(modfile::ByteReader(file));
  ASSERT_EQ(resources.size(), 3u);
  EXPECT_EQ(resources[0].type, modfile::ResourceName::of(2));
  EXPECT_EQ(resources[0].name, modfile::ResourceName::of(0x0100));
  EXPECT_EQ(resources[0].language, 0x0409);
  EXPECT_EQ(resources[0].data, (Bytes{1, 2, 3, 4, 5}));
  EXPECT_EQ(resources[1].type, modfile::ResourceName::of("GAUGEDATA"));
  EXPECT_EQ(resources[1].name, modfile::ResourceName::of("\xC3\x96lpanel"));
  EXPECT_EQ(resources[1].language, 0x0407);
  EXPECT_EQ(resources[1].data, (Bytes{6, 7, 8}));
  EXPECT_EQ(resources[2].type, modfile::ResourceName::of(24));
  EXPECT_EQ(resources[2].data.size(), 4u);
}

TEST(ResFile, DamagedEntriesAreRefused) {
  const Bytes entry = res_entry({2, {}}, {0x0100, {}}, 0x0409, {1, 2, 3, 4});
  const size_t at = 32;  // after the empty entry
  struct Case {
    const char* what;
    Bytes file;
    const char* message;
  } cases[] = {
      {"header size past the end", [&] { Bytes f = res_file({entry}); put(f, at + 4, 0x10000, 4); return f; }(),
       "resource header at offset 0x20"},
      {"data size past the end", [&] { Bytes f = res_file({entry}); put(f, at, 0x10000, 4); return f; }(),
       "resource data at offset 0x40"},
      {"header shorter than its fields", [&] { Bytes f = res_file({entry}); put(f, at + 4, 24, 4); return f; }(),
       "resource header at offset 0x20 is shorter than its fields"},
      {"a name longer than 256 characters", res_file({res_entry({2, {}}, {{}, std::u16string(300, u'x')}, 0x0409, {})}),
       "resource name at offset 0x2c is longer than 256 characters"},
      {"a trailing scrap", [&] { Bytes f = res_file({entry}); f.push_back(1); f.push_back(2); return f; }(),
       "resource data size at offset 0x44"},
  };
  for (const Case& c : cases) {
    const std::string message = message_of([&] { modfile::parse_res_file(modfile::ByteReader(c.file)); });
    EXPECT_NE(message.find(c.message), std::string::npos) << c.what << ": " << message;
  }
}

}  // namespace
