// The crop libraries of the workbook (Annual_crops_growth, Annual_crops_irrigat, Tree_crops) as
// the crop tool reads them, and the rows it appends to Crop_batch and Irrigat_batch.
//
// A library's entries are the rows from row 2 down to the row before the first one whose column
// 1 is empty; entry k of the crop list is row k + 2. An empty number cell reads 0. A missing sheet
// throws workbook::WorkbookError naming the sheet; a cell that holds no number throws it naming
// the crop, the cell, the value it stands for and what it holds; a crop the tool cannot compute
// with throws it too, saying what to fix in the library.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/series.h"
#include "crops/registro_cultivo.h"
#include "crops/reparto_mes_etapa.h"
#include "workbook/workbook.h"

namespace medravolix::crop_tool {

inline constexpr std::string_view kHojaAnuales = "Annual_crops_growth";
inline constexpr std::string_view kHojaRiegosAnuales = "Annual_crops_irrigat";
inline constexpr std::string_view kHojaArboles = "Tree_crops";

// The ranges of the library columns besides the fractions (0 to 1) and the non-negative values.
// They lie far beyond the crops of the literature (a season of irrigation of a few thousand
// millimetres), so that they only stop a value that was never meant, such as a date read as its
// day number. The basal coefficient and the root depth keep the limits every crop has.
using crops::kKcbMaximo;
using crops::kRaizMaximaCm;
inline constexpr double kRiegoTemporadaMaximoMm = 10000.0;
inline constexpr double kRiegosTemporadaMaximo = 10000.0;
// How far the four stage shares of the season, of its irrigation depth or of its number of
// irrigations may add up to other than 1.
inline constexpr double kToleranciaSumaEtapas = 0.01;
// The smallest mid-season coefficient of an annual crop. A month's root depth and cover are the
// crop's maximum times the month's coefficient over the mid-season one, and in a month that two
// crops share the month's coefficient holds the other crop's too: a mid-season coefficient next
// to 0 would scale it up without bound. No crop at its peak transpires less than the bare soil of
// an initial stage evaporates (a basal coefficient of about 0.15).
inline constexpr double kKcbMedioMinimo = 0.1;

// An annual crop of Annual_crops_growth.
struct CultivoAnual {
  int fila = 0;  // its row in Annual_crops_growth
  std::string NOMBRE_ANUAL;
  double RAIZ_CULTIVO = 0.0;                  // cm
  double COBERTURA_CULTIVO = 0.0;             // fraction
  int16_t DURACION_CICLO = 0;                 // days
  std::array<double, 5> KCB_ETAPA{};          // [1..4]
  std::array<double, 5> FRACCION_DURACION{};  // [1..4]

  bool operator==(const CultivoAnual&) const = default;
};

// Its irrigation, from the first row of Annual_crops_irrigat whose name is exactly the crop's;
// all zero when the name stands in no row above the first empty one.
struct RiegoCultivo {
  int FILA_RIEGO = 0;
  double FRACCION_MOJADA_CULTIVO = 0.0;
  double RIEGO_TOTAL = 0.0;  // mm
  double NRIEGOS_TOTAL = 0.0;
  std::array<double, 5> RIEGO_ETAPA{};    // [1..4] shares of the depth
  std::array<double, 5> NRIEGOS_ETAPA{};  // [1..4] shares of the number

  bool operator==(const RiegoCultivo&) const = default;
};

// A tree crop of Tree_crops.
struct CultivoArbol {
  std::string NOMBRE_ARBOL;
  double RAIZ_MAXIMA = 0.0;       // cm
  double COBERTURA_MAXIMA = 0.0;  // fraction
  Mensual KCB_MENSUAL{};

  bool operator==(const CultivoArbol&) const = default;
};

// The names of a library's entries, in sheet order.
std::vector<std::string> listarCultivos(const workbook::Workbook& libro, std::string_view hoja);

// Entry k (from 0) of Annual_crops_growth. Refuses a number outside its column's range, a season
// of less than 1 or more than crops::kTemporadaMaxima days, stage shares that do not add up to 1,
// a mid-season coefficient below kKcbMedioMinimo and a stage coefficient above the mid-season
// one (the crop's peak, at which its roots and cover reach their maximum), naming the cells.
CultivoAnual leerCultivoAnual(const workbook::Workbook& libro, int k);
int buscarFilaRiego(const workbook::Workbook& libro, const std::string& nombre);
// Refuses a number of the irrigation row outside its column's range, and stage shares of a
// seasonal depth (or number of irrigations) above 0 that do not add up to 1.
RiegoCultivo leerRiegoCultivo(const workbook::Workbook& libro, const std::string& nombre);
// Refuses a crop that, with a season of `duracion` days, has a stage of no days to which its
// irrigation row gives a share of the seasonal depth or number: that water would be spread over
// no day and lost. The message names the stage's share of the season and its irrigation shares.
void comprobarRiegoDeEtapas(const CultivoAnual& cultivo, const RiegoCultivo& riego,
                            int16_t duracion);
// Entry k (from 0) of Tree_crops. Refuses a number outside its column's range and a crop without
// a positive monthly coefficient.
CultivoArbol leerCultivoArbol(const workbook::Workbook& libro, int k);

// The twelve Crop_batch rows of one id: id, Kcb, root depth, cover, month name.
std::vector<std::vector<workbook::CellValue>> filasCropBatch(const workbook::CellValue& id,
                                                             const Mensual& KCB_MENSUAL,
                                                             const Mensual& RAIZ_MENSUAL,
                                                             const Mensual& COBERTURA_MENSUAL);
// The Irrigat_batch row of one id: id, twelve depths, twelve numbers, the wetted fraction and
// the root-uptake shares of the four quarters 40, 30, 20, 10.
std::vector<workbook::CellValue> filaIrrigatBatch(const workbook::CellValue& id,
                                                  const Mensual& RIEGO_MENSUAL,
                                                  const Mensual& NRIEGOS_MENSUAL,
                                                  double FRACCION_MOJADA_CULTIVO);

}  // namespace medravolix::crop_tool
