#include "platform/toolkit/graphics.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <optional>
#include <vector>

#include "tests/support/canvas_test_support.h"

namespace vexlan {
namespace {

using namespace vexlan::testing;

TEST(ClipLine, CoversStartNotEndInEveryDirectionWithinTheClip) {
  const TRect clip{0, 0, 10, 10};
  const struct Case {
    const char* what;
    TPoint from, to;
    std::optional<TLineRun> run;
  } cases[] = {
      {"rightwards", {2, 3}, {6, 3}, TLineRun{{2, 3}, {6, 3}}},
      {"leftwards", {6, 3}, {2, 3}, TLineRun{{6, 3}, {2, 3}}},
      {"downwards", {4, 1}, {4, 5}, TLineRun{{4, 1}, {4, 5}}},
      {"upwards", {4, 5}, {4, 1}, TLineRun{{4, 5}, {4, 1}}},
      {"a point", {4, 4}, {4, 4}, std::nullopt},
      {"cut at the right", {8, 0}, {20, 0}, TLineRun{{8, 0}, {10, 0}}},
      {"leftwards, cut at both ends", {20, 9}, {-5, 9}, TLineRun{{9, 9}, {-1, 9}}},
      {"upwards from below the clip", {0, 30}, {0, 8}, TLineRun{{0, 9}, {0, 8}}},
      {"outside", {-3, 2}, {-3, 9}, std::nullopt},
      {"ends just before the clip", {-5, 0}, {0, 0}, std::nullopt},
      {"whole 32-bit range", {INT32_MAX, 5}, {INT32_MIN, 5}, TLineRun{{9, 5}, {-1, 5}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto run = ClipLine(c.from, c.to, clip);
    ASSERT_EQ(run.has_value(), c.run.has_value());
    if (run) {
      EXPECT_EQ(run->From, c.run->From);
      EXPECT_EQ(run->To, c.run->To);
    }
  }
  EXPECT_THROW(ClipLine({0, 0}, {3, 3}, clip), std::invalid_argument);
}

TEST(ClipCopy, KeepsWhatLiesInsideTheSourceAndTheClip) {
  TBitmap bitmap;
  bitmap.SetSize(4, 3);
  const TRect clip{0, 0, 10, 10};
  const struct Case {
    const char* what;
    int x, y, w, h, sx, sy;
    std::optional<TRect> dest;
    TPoint source;
  } cases[] = {
      {"whole bitmap", 1, 1, 4, 3, 0, 0, TRect{1, 1, 5, 4}, {0, 0}},
      {"asks for more than the bitmap", 0, 0, 10, 10, 0, 0, TRect{0, 0, 4, 3}, {0, 0}},
      {"from inside the bitmap", 5, 5, 10, 10, 2, 1, TRect{5, 5, 7, 7}, {2, 1}},
      {"source before the bitmap", 5, 5, 4, 4, -2, -1, TRect{7, 6, 9, 9}, {0, 0}},
      {"cut by the clip", -2, 8, 4, 3, 0, 0, TRect{0, 8, 2, 10}, {2, 0}},
      {"no width", 0, 0, 0, 3, 0, 0, std::nullopt, {}},
      {"negative height", 0, 0, 4, -3, 0, 0, std::nullopt, {}},
      {"source beyond the bitmap", 0, 0, 4, 3, 4, 0, std::nullopt, {}},
      {"far away", INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 0, 0, std::nullopt, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto copy = ClipCopy(c.x, c.y, c.w, c.h, bitmap, c.sx, c.sy, clip);
    ASSERT_EQ(copy.has_value(), c.dest.has_value());
    if (copy) {
      EXPECT_EQ(copy->Dest, *c.dest);
      EXPECT_EQ(copy->Source, c.source);
    }
  }
  EXPECT_FALSE(ClipCopy(0, 0, 4, 3, TBitmap{}, 0, 0, clip)) << "empty bitmap";
}

TEST(TBitmap, EmptyMeansNoPictureAndAssignCopiesThePicture) {
  TBitmap source, copy;
  EXPECT_TRUE(source.Empty());
  source.SetSize(0, 5);
  EXPECT_FALSE(source.Empty()) << "a picture without pixels";
  EXPECT_THROW(source.SetSize(-1, 5), EInvalidGraphic);
  FillWithPositions(source, 3, 2);
  const std::uint64_t before = source.Stamp();
  copy.Assign(source);
  EXPECT_EQ(copy.Pixel(2, 1), PositionPixel(2, 1));
  EXPECT_NE(copy.Stamp(), source.Stamp());
  source.SetPixel(2, 1, 0);
  EXPECT_NE(source.Stamp(), before);
  EXPECT_EQ(copy.Pixel(2, 1), PositionPixel(2, 1)) << "the copy is its own";
  EXPECT_THROW(source.Pixel(3, 0), std::out_of_range);
  copy.Assign(TBitmap{});
  EXPECT_TRUE(copy.Empty());
  struct Other : TPersistent {} other;
  EXPECT_THROW(source.Assign(other), EConvertError);
  EXPECT_EQ(source.Width(), 3);
}

// A BMP file: header fields as given, then rows of pixels 0xRRGGBB = row*16+column+1
// (bottom-up unless `top_down`), each padded to 4 bytes.
struct BmpFields {
  int width = 3, height = 2, bits = 24;
  bool top_down = false;
  std::uint32_t header_size = 40, compression = 0;
  std::uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
  std::uint16_t planes = 1;
  std::size_t cut = 0;  // bytes dropped from the end
};

std::vector<std::uint8_t> MakeBmp(const BmpFields& s) {
  std::vector<std::uint8_t> d;
  auto put = [&](std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) d.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  const bool masks_after = s.compression == 3 && s.header_size == 40;
  const std::uint32_t offset = 14 + s.header_size + (masks_after ? 12 : 0);
  put('B' | 'M' << 8, 2), put(0, 4), put(0, 4), put(offset, 4);
  put(s.header_size, 4), put(static_cast<std::uint32_t>(s.width), 4);
  put(static_cast<std::uint32_t>(s.top_down ? -s.height : s.height), 4);
  put(s.planes, 2), put(static_cast<std::uint32_t>(s.bits), 2), put(s.compression, 4);
  d.resize(14 + 40);
  if (s.compression == 3) {
    for (std::uint32_t m : s.masks) put(m, 4);
  }
  d.resize(offset);
  for (int r = 0; r < s.height; ++r) {
    const int y = s.top_down ? r : s.height - 1 - r;
    for (int x = 0; x < s.width; ++x) put(static_cast<std::uint32_t>(y * 16 + x + 1), s.bits / 8);
    while ((d.size() - offset) % 4) d.push_back(0);
  }
  d.resize(d.size() - s.cut);
  return d;
}

TEST(TBitmapLoading, ReadsUncompressed24And32BitRowsEitherWayUp) {
  const struct Case {
    const char* what;
    BmpFields fields;
  } cases[] = {
      {"24-bit bottom-up, padded rows", {}},
      {"24-bit top-down", {.top_down = true}},
      {"32-bit bottom-up", {.width = 2, .height = 3, .bits = 32}},
      {"32-bit top-down, masks after the header", {.bits = 32, .top_down = true, .compression = 3}},
      {"32-bit, V5 header with masks", {.bits = 32, .header_size = 124, .compression = 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TBitmap bitmap;
    bitmap.LoadFromMemory(MakeBmp(c.fields));
    ASSERT_EQ(bitmap.Width(), c.fields.width);
    ASSERT_EQ(bitmap.Height(), c.fields.height);
    for (int y = 0; y < c.fields.height; ++y) {
      for (int x = 0; x < c.fields.width; ++x) EXPECT_EQ(bitmap.Pixel(x, y), static_cast<TPixel>(y * 16 + x + 1));
    }
  }
}

TEST(TBitmapLoading, RejectsAnythingElseAndKeepsThePicture) {
  auto with = [](auto change) {
    BmpFields s;
    change(s);
    return MakeBmp(s);
  };
  std::vector<std::uint8_t> not_bmp = MakeBmp({});
  not_bmp[0] = 'X';
  std::vector<std::uint8_t> huge_height = MakeBmp({});
  huge_height[22] = huge_height[23] = huge_height[24] = 0xFF, huge_height[25] = 0x7F;
  std::vector<std::uint8_t> lowest_height = MakeBmp({});
  lowest_height[22] = lowest_height[23] = lowest_height[24] = 0, lowest_height[25] = 0x80;
  const struct Case {
    const char* what;
    std::vector<std::uint8_t> data;
  } cases[] = {
      {"nothing", {}},
      {"not a BMP", not_bmp},
      {"8 bits per pixel", with([](BmpFields& s) { s.bits = 8; })},
      {"run-length compressed", with([](BmpFields& s) { s.compression = 1; })},
      {"masks of another layout", with([](BmpFields& s) { s.bits = 32, s.compression = 3, s.masks[0] = 0xFF; })},
      {"bit fields on 24 bits", with([](BmpFields& s) { s.compression = 3; })},
      {"old 12-byte header", with([](BmpFields& s) { s.header_size = 12; })},
      {"two planes", with([](BmpFields& s) { s.planes = 2; })},
      {"no width", with([](BmpFields& s) { s.width = 0; })},
      {"no height", with([](BmpFields& s) { s.height = 0; })},
      {"lowest 32-bit height", lowest_height},
      {"height far beyond the data", huge_height},
      {"last row cut short", with([](BmpFields& s) { s.cut = 1; })},
      {"header cut short", with([](BmpFields& s) { s.cut = 40; })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    EXPECT_THROW(bitmap.LoadFromMemory(c.data), EInvalidGraphic);
    EXPECT_EQ(bitmap.Width(), 1);
    EXPECT_FALSE(bitmap.Empty());
  }
}

TEST(TBitmapSaving, Writes24BitFilesThatReadBackPixelForPixel) {
  for (int width : {1, 2, 3, 4, 5}) {
    for (int height : {1, 3}) {
      SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
      TBitmap picture, read;
      FillWithPositions(picture, width, height);
      const std::vector<std::uint8_t> file = picture.SaveToMemory();
      EXPECT_EQ(file[28], 24) << "bits per pixel";
      EXPECT_EQ(file[2] | file[3] << 8 | file[4] << 16, static_cast<int>(file.size())) << "file size";
      read.LoadFromMemory(file);
      ASSERT_EQ(read.Width(), width);
      ASSERT_EQ(read.Height(), height);
      EXPECT_TRUE(std::equal(read.Pixels().begin(), read.Pixels().end(), picture.Pixels().begin()));
    }
  }
  TBitmap no_pixels;
  EXPECT_THROW(no_pixels.SaveToMemory(), EInvalidGraphic);
  no_pixels.SetSize(0, 4);
  EXPECT_THROW(no_pixels.SaveToMemory(), EInvalidGraphic);
}

TEST(TBitmapLoading, ReadsFilesAndReportsMissingOnes) {
  const std::string path = ::testing::TempDir() + "vexlan_graphics_test.bmp";
  const std::vector<std::uint8_t> data = MakeBmp({.width = 5, .height = 4});
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                              static_cast<std::streamsize>(data.size()));
  TBitmap bitmap;
  bitmap.LoadFromFile(path);
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.Pixel(4, 3), 3u * 16 + 5);
  std::remove(path.c_str());
  EXPECT_THROW(bitmap.LoadFromFile(path), EFOpenError);
}

}  // namespace
}  // namespace vexlan
