// Names and row arithmetic of the sheets a batch reads and writes.
#pragma once

#include <array>
#include <string_view>

namespace medravolix::batch {

inline constexpr std::string_view kHojaSimulaciones = "Sim_batch";
inline constexpr std::string_view kHojaSuelos = "Soil_batch";
inline constexpr std::string_view kHojaClimas = "Clim_batch";
inline constexpr std::string_view kHojaCultivos = "Crop_batch";
inline constexpr std::string_view kHojaRiegos = "Irrigat_batch";
inline constexpr std::string_view kHojaAguas = "Wat_batch";
inline constexpr std::string_view kHojaSolucion = "SSol_batch";
inline constexpr std::string_view kHojaBalance = "WBal_batch";

// Every sheet a batch reads or writes (the chemistry's two sheets last).
inline constexpr std::array<std::string_view, 10> kHojasBatch = {
    kHojaSimulaciones, kHojaSuelos,   kHojaClimas,  kHojaCultivos, kHojaRiegos,
    kHojaAguas,        kHojaSolucion, kHojaBalance, "Constants",   "Parameters"};

// The last simulation whose twelve WBal_batch rows end within row 32767 (its last row is 32749).
inline constexpr int kMaxSimulaciones = 2729;

// Sim_batch and SSol_batch: simulation i is row i + 1 (row 1 holds the headings).
constexpr int filaSimulacion(int i) {
  return i + 1;
}
// WBal_batch: month m of simulation i.
constexpr int filaBalance(int i, int mes) {
  return 12 * (i - 1) + 1 + mes;
}
// Clim_batch and Crop_batch: the twelve-row blocks start on rows 2, 14, 26, ...
inline constexpr int kPrimeraFilaBloque = 2;
inline constexpr int kFilasBloque = 12;

}  // namespace medravolix::batch
