// The preview tool's input: PNG frames read as their stored values whatever their depth and
// interlacing, and sizes refused from the header, before anything is allocated for them.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "png_file.h"
#include "render_command.h"

namespace qzprx {
namespace {

std::string TestFile(const std::string& name) {
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string file = std::string("qzprx_") + test->name() + "_" + name;
  std::replace(file.begin(), file.end(), '/', '_');
  return ::testing::TempDir() + file;
}

void AppendWord(std::string& bytes, uint32_t word) {
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(static_cast<char>(word >> shift));
}

void AppendChunk(std::string& file, const char* type, const std::string& data) {
  AppendWord(file, static_cast<uint32_t>(data.size()));
  const std::string body = std::string(type, 4) + data;
  file += body;
  AppendWord(file, static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                               static_cast<uInt>(body.size()))));
}

// A PNG that claims width x height 8-bit RGBA pixels and holds a few bytes of them.
std::string ClaimingPng(uint32_t width, uint32_t height) {
  std::string file = "\x89PNG\r\n\x1a\n";
  std::string header;
  AppendWord(header, width);
  AppendWord(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5);
  AppendChunk(file, "IHDR", header);
  const Bytef row[9] = {};
  Bytef packed[64];
  uLongf packed_size = sizeof packed;
  compress(packed, &packed_size, row, sizeof row);
  AppendChunk(file, "IDAT", std::string(reinterpret_cast<char*>(packed), packed_size));
  AppendChunk(file, "IEND", "");
  return file;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fclose(file);
}

// The 8-bit value of a channel; the files store 257 times it in 16 bits.
uint8_t Channel(int32_t x, int32_t y, int channel) {
  return static_cast<uint8_t>(0x28 + x * 37 + y * 11 + channel * 71);
}

// A 16-bit PNG without any gamma or colour-space chunk, as libpng writes it.
void WriteSixteenBitPng(const std::string& path, int32_t width, int32_t height, bool alpha,
                        bool interlaced) {
  const int channels = alpha ? 4 : 3;
  std::vector<std::vector<png_byte>> rows(height, std::vector<png_byte>(width * channels * 2));
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) {
        const int value = 257 * Channel(x, y, c);
        rows[y][(x * channels + c) * 2] = static_cast<png_byte>(value >> 8);
        rows[y][(x * channels + c) * 2 + 1] = static_cast<png_byte>(value);
      }
    }
  }
  std::vector<png_bytep> pointers;
  for (auto& row : rows) pointers.push_back(row.data());
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 16, alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_write_image(png, pointers.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  std::fclose(file);
}

struct SixteenBitCase {
  const char* name;
  bool alpha;
  bool interlaced;
};

class SixteenBitPng : public ::testing::TestWithParam<SixteenBitCase> {};

// No gamma is applied: a stored 0x2828 is 0x28, not the brighter value a linear reading gives;
// the interlaced passes land on their own rows.
TEST_P(SixteenBitPng, ReadsEveryPixelAsItsStoredValueInEightBits) {
  constexpr int32_t kWidth = 13;
  constexpr int32_t kHeight = 11;
  const std::string path = TestFile("frame.png");
  WriteSixteenBitPng(path, kWidth, kHeight, GetParam().alpha, GetParam().interlaced);
  Picture picture;
  std::string error;
  ASSERT_TRUE(ReadPng(path, picture, error)) << error;
  ASSERT_EQ(picture.width, kWidth);
  ASSERT_EQ(picture.height, kHeight);
  int mismatches = 0;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const uint32_t alpha = GetParam().alpha ? Channel(x, y, 3) : 0xFF;
      const uint32_t expected = alpha << 24 | uint32_t{Channel(x, y, 0)} << 16 |
                                uint32_t{Channel(x, y, 1)} << 8 | Channel(x, y, 2);
      if (picture.pixels[y * kWidth + x] != expected) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(picture.pixels[0] >> 16 & 0xFF, 0x28u);
  std::remove(path.c_str());
}

INSTANTIATE_TEST_SUITE_P(PngFrames, SixteenBitPng,
                         ::testing::Values(SixteenBitCase{"Rgba", true, false},
                                           SixteenBitCase{"Rgb", false, false},
                                           SixteenBitCase{"InterlacedRgba", true, true},
                                           SixteenBitCase{"InterlacedRgb", false, true}),
                         [](const ::testing::TestParamInfo<SixteenBitCase>& param_info) {
                           return std::string(param_info.param.name);
                         });

// Each claim is refused from the header in one line that names the limit, before the pixels are
// allocated (100000 x 100000 would be 40 GB, 40000 x 40000 over 6 GB).
TEST(PngFrames, SizesPastTheLimitsAreRefusedFromTheHeader) {
  const struct {
    uint32_t width, height;
    const char* limit;
  } claims[] = {{100000, 100000, "32767"},
                {40000, 40000, "32767"},
                {32768, 1, "32767"},
                {1, 32768, "32767"},
                {30000, 30000, "2 GiB"}};
  const std::string path = TestFile("claim.png");
  for (const auto& claim : claims) {
    WriteFile(path, ClaimingPng(claim.width, claim.height));
    Picture picture;
    std::string error;
    EXPECT_FALSE(ReadPng(path, picture, error)) << claim.width << " x " << claim.height;
    EXPECT_NE(error.find(claim.limit), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_TRUE(picture.pixels.empty());
  }
  std::remove(path.c_str());
}

TEST(RenderCommand, AWindowWhoseImagesWouldPassTheMemoryLimitIsRefusedBeforeTheyAreMade) {
  const std::string frame_path = TestFile("frame.png");
  const std::string out_path = TestFile("out.png");
  std::string error;
  ASSERT_TRUE(WritePng(frame_path, {4, 3, std::vector<uint32_t>(12, 0xFF123456)}, error)) << error;
  EXPECT_EQ(RunRender({"--filter", "0", "--window", "16384x16384", frame_path, out_path}), 2);
  EXPECT_EQ(std::fopen(out_path.c_str(), "rb"), nullptr);
  // A window the memory allows is shown.
  EXPECT_EQ(RunRender({"--filter", "0", "--window", "8x6", frame_path, out_path}), 0);
  Picture shown;
  ASSERT_TRUE(ReadPng(out_path, shown, error)) << error;
  EXPECT_EQ(shown.width, 8);
  std::remove(frame_path.c_str());
  std::remove(out_path.c_str());
}

}  // namespace
}  // namespace qzprx
