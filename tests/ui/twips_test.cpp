#include "ui/twips.h"

#include <gtest/gtest.h>

#include <utility>

namespace medravolix::ui {
namespace {

TEST(Twips, FifteenTwipsMakeTheNearestPixel) {
  for (const auto& [twips, pixels] :
       {std::pair{15300.0, 1020}, {4695.0, 313}, {1549.35, 103}, {7.0, 0}, {8.0, 1}}) {
    EXPECT_EQ(twipsToPixels(twips), pixels) << twips;
  }
}

}  // namespace
}  // namespace medravolix::ui
