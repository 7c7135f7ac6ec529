#include "shell/ubicaciones.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/test_support.h"

namespace medravolix::shell {
namespace {

TEST(CarpetaEjemplo, FindsTheSampleBesideTheProgramOrInTheSharedDataFolder) {
  testing::ScratchDir dir;
  const auto bin = dir / "bin";
  std::filesystem::create_directories(bin);
  EXPECT_EQ(carpetaEjemplo(bin), bin);  // nowhere: the program's folder

  const auto share = dir / "share" / "medravolix";
  std::filesystem::create_directories(share);
  std::ofstream(share / "sample.xlsx") << "x";
  EXPECT_EQ(carpetaEjemplo(bin), share);

  const auto build = bin / "share" / "medravolix";
  std::filesystem::create_directories(build);
  std::ofstream(build / "sample.xlsx") << "x";
  EXPECT_EQ(carpetaEjemplo(bin), build);
}

}  // namespace
}  // namespace medravolix::shell
