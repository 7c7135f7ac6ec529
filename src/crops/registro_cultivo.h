// One crop of a yearly rotation of annual crops, and the rotation: its crops in the order they
// were added and each month's share of every period of every crop.
//
// Every crop divides the year into five periods: period 1 is the fallow that ends the day before
// its sowing, periods 2 to 5 its four growth stages (initial, development, mid-season, late).
// Period p of a crop is described by element p - 1 of its per-period fields and ends on day
// LIMITE[p] of the 365-day year.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace medravolix::crops {

// The largest basal crop coefficient and root depth a crop can have, wherever a crop's values are
// typed (the crop libraries, Crop_batch). They lie far beyond the crops of the literature (roots
// of a few metres), so that they only stop a value that was never meant, such as a date read as
// its day number. The basal coefficient is the one of a full cover: the model multiplies it by
// the year's largest ground cover, so a sparse orchard's published value divided by its cover
// (0.85 / 0.4 for a date palm grove) lies well above a field crop's 1.2.
inline constexpr double kKcbMaximo = 4.0;
inline constexpr double kRaizMaximaCm = 1000.0;

struct REGISTRO_CULTIVO {
  std::string NOMBRE;         // the crop's name as listed when it was added
  std::string FECHA_SIEMBRA;  // date code of the sowing day, "ddmm"
  int16_t DIA_SIEMBRA = 0;
  int16_t MES_SIEMBRA = 0;
  std::string FECHA_COSECHA;  // date code of the sowing day plus the season, folded into the year
  int16_t DIA_COSECHA = 0;
  int16_t MES_COSECHA = 0;
  std::array<double, 5> KCB_PERIODO{};      // [0] the fallow (0), [1..4] the stages
  std::array<double, 5> OCUPA_PERIODO{};    // 0 for the fallow, 1 for each stage
  int16_t DURACION = 0;                     // season length, days
  std::array<double, 5> FRACCION_ETAPA{};   // [1..4] share of the season of each stage
  std::array<int16_t, 5> DIAS_ETAPA{};      // [1..4] stage lengths, days
  std::array<int16_t, 6> LIMITE{};          // [1..5] day of the year on which each period ends
  double RAIZ_MAXIMA_CULTIVO = 0.0;         // cm
  double COBERTURA_MAXIMA_CULTIVO = 0.0;    // fraction
  std::array<double, 5> RIEGO_PERIODO{};    // [1..4] irrigation depth of each stage, mm
  std::array<double, 5> NRIEGOS_PERIODO{};  // [1..4] number of irrigations of each stage
};

// One crop's days or shares of each month in each period: [month 1..12][period 1..5].
template <typename T>
using PorMesPeriodo = std::array<std::array<T, 6>, 13>;

struct Rotacion {
  // Crop I (1..N_CULTIVOS) is CULTIVOS[I - 1]; the two tables below have one entry per crop.
  std::vector<REGISTRO_CULTIVO> CULTIVOS;
  // The fraction of the days of month m that lie in period p of the crop.
  std::vector<PorMesPeriodo<double>> FRACCION_MES_PERIODO;
  // The same shares as whole numbers of days (the numerators of the fractions), so that a test
  // on a month's days is exact.
  std::vector<PorMesPeriodo<int>> diasMesPeriodo;
  // The crop and period that contain 1 January.
  int16_t CULTIVO_INICIO = 1;
  int16_t ETAPA_INICIO = 1;

  int N_CULTIVOS() const { return static_cast<int>(CULTIVOS.size()); }
  // Crop I, 1-based.
  REGISTRO_CULTIVO& cultivo(int I) { return CULTIVOS.at(I - 1); }
  const REGISTRO_CULTIVO& cultivo(int I) const { return CULTIVOS.at(I - 1); }
  double fraccion(int m, int p, int I) const { return FRACCION_MES_PERIODO.at(I - 1)[m][p]; }
  int dias(int m, int p, int I) const { return diasMesPeriodo.at(I - 1)[m][p]; }

  // Adds a crop at the end (its tables grow with it) or drops the last one.
  void agregar(const REGISTRO_CULTIVO& cultivo);
  void quitarUltimo();
  void vaciar();
};

}  // namespace medravolix::crops
