// Placeholder: writes flat 8-bit bitmaps of the right sizes.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>
static void put32(std::vector<uint8_t>& b, uint32_t v) { for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i))); }
static void put16(std::vector<uint8_t>& b, uint16_t v) { b.push_back(uint8_t(v)); b.push_back(uint8_t(v >> 8)); }
static void write_bmp(const std::string& path, int w, int h) {
  int stride = (w + 3) & ~3; std::vector<uint8_t> b;
  b.push_back('B'); b.push_back('M'); put32(b, 14 + 40 + 1024 + stride * h); put32(b, 0); put32(b, 14 + 40 + 1024);
  put32(b, 40); put32(b, w); put32(b, h); put16(b, 1); put16(b, 8); put32(b, 0); put32(b, stride * h); put32(b, 2835); put32(b, 2835); put32(b, 256); put32(b, 0);
  for (int i = 0; i < 256; ++i) { b.push_back(uint8_t(i)); b.push_back(uint8_t(i)); b.push_back(uint8_t(i)); b.push_back(0); }
  for (int y = 0; y < h; ++y) for (int x = 0; x < stride; ++x) b.push_back(x < w ? 128 : 0);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
}
int main(int argc, char** argv) {
  if (argc != 3) return 2;
  std::string m = argv[1], d = argv[2];
  std::string mk = "mkdir -p '" + d + "'"; if (std::system(mk.c_str()) != 0) return 1;
  if (m == "lubepress") { write_bmp(d + "/0100.bmp", 302, 302); write_bmp(d + "/0200.bmp", 185, 28); write_bmp(d + "/0300.bmp", 185, 28); write_bmp(d + "/0400.bmp", 302, 302); }
  return 0;
}
