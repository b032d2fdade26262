#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/PngFile.h"

namespace tilvera {
namespace {

std::string scratchPath(const std::string& name) {
  return ::testing::TempDir() + name;
}

TEST(PngFile, RoundTripKeepsEveryPixel) {
  Image image(5, 3);
  const Colour colours[] = {0, rgb(255, 255, 255), rgb(13, 5, 128), rgb(200, 200, 200),
                            rgb(1, 2, 3)};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) image.setPixel(x, y, colours[(x + y) % 5] ^ rgb(0, y, x));
  const std::string path = scratchPath("tilvera-roundtrip.png");
  std::string error;
  ASSERT_TRUE(writePng(image, path, &error)) << error;

  // 8-bit RGB: bit depth and colour type in the header's IHDR chunk.
  std::ifstream file(path, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  ASSERT_GT(bytes.size(), 26u);
  EXPECT_EQ(bytes[24], 8);
  EXPECT_EQ(bytes[25], 2);

  Image back(1, 1);
  ASSERT_TRUE(readPng(path, &back, &error)) << error;
  ASSERT_EQ(back.width(), 5);
  ASSERT_EQ(back.height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) EXPECT_EQ(back.pixel(x, y), image.pixel(x, y)) << x << "," << y;
  std::remove(path.c_str());
}

TEST(PngFile, FailuresSayWhatWentWrong) {
  std::string error;
  EXPECT_FALSE(writePng(Image(2, 2), "/nonexistent-dir/out.png", &error));
  EXPECT_NE(error.find("/nonexistent-dir/out.png"), std::string::npos) << error;

  const std::string notPng = scratchPath("tilvera-not.png");
  std::ofstream(notPng) << "plain text";
  Image image(1, 1, 7);
  error.clear();
  EXPECT_FALSE(readPng(notPng, &image, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(image.pixel(0, 0), 7u) << "a failed read leaves the image alone";
  std::remove(notPng.c_str());

  error.clear();
  EXPECT_FALSE(writePng(Image(0, 0), scratchPath("tilvera-empty.png"), &error));
  EXPECT_FALSE(error.empty());
  std::remove(scratchPath("tilvera-empty.png").c_str());
}

}  // namespace
}  // namespace tilvera
