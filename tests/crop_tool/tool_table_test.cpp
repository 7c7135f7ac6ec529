// tool_table crops on a copy of the sample workbook: one JSON line per event, exit 1 when an
// event cannot run.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "support/test_support.h"

namespace medravolix::crop_tool {
namespace {

namespace fs = std::filesystem;

int correr(const std::string& argumentos, std::vector<std::string>& lineas) {
  const std::string orden =
      (testing::BinaryDir() / "bench" / "tool_table").string() + " crops " + argumentos + " 2>&1";
  FILE* tubo = popen(orden.c_str(), "r");
  if (!tubo) return -1;
  std::string salida;
  std::array<char, 4096> buffer{};
  std::size_t n = 0;
  while ((n = fread(buffer.data(), 1, buffer.size(), tubo)) > 0) salida.append(buffer.data(), n);
  const int estado = pclose(tubo);
  std::istringstream texto(salida);
  lineas.clear();
  for (std::string linea; std::getline(texto, linea);) lineas.push_back(linea);
  return WIFEXITED(estado) ? WEXITSTATUS(estado) : -1;
}

TEST(ToolTableCrops, OneLinePerEventWithWhatTheWindowShows) {
  testing::ScratchDir dir;
  const fs::path copia = dir / "sample.xlsx";
  fs::copy_file(testing::BinaryDir() / "share" / "medravolix" / "sample.xlsx", copia);
  std::vector<std::string> lineas;
  ASSERT_EQ(correr("'" + copia.string() +
                       "' type=annual crop=0 length=120 move=3140 click=yes move=3140 click=yes "
                       "annotate=R1 annotate=",
                   lineas),
            0);
  ASSERT_EQ(lineas.size(), 9u);
  EXPECT_EQ(lineas[0].substr(0, 66),
            R"({"event": "type=annual", "messages": [], "list": [], "grid": [["St)");
  EXPECT_NE(
      lineas[2].find(R"("lengths": {"first": 75, "last": 225, "selected": 120}, "tip": null)"),
      std::string::npos)
      << lineas[2];
  EXPECT_NE(lineas[3].find(R"("tip": "April 15th", "series": {"KCB_MENSUAL": [0, 0, 0, 0, 0,)"),
            std::string::npos)
      << lineas[3];
  EXPECT_NE(lineas[4].find(R"("list": ["Maize (grain): April 15th-August 13th"])"),
            std::string::npos);
  EXPECT_NE(lineas[6].find(R"("messages": ["Crops overlap\r\n\r\nMaize (grain): April 15th-)"),
            std::string::npos)
      << lineas[6];
  EXPECT_NE(lineas[4].find(R"("NRIEGOS_MENSUAL": [0, 0, 0, 0, 5, 11, 11, 3, 0, 0, 0, 0])"),
            std::string::npos)
      << lineas[4];
  EXPECT_EQ(correr("'" + copia.string() + "' type=annual crop=99", lineas), 1);
  EXPECT_NE(lineas.back().find("crop=99"), std::string::npos);
}

}  // namespace
}  // namespace medravolix::crop_tool
