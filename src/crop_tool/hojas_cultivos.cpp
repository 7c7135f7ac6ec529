#include "crop_tool/hojas_cultivos.h"

#include "balance/etc_mensual.h"
#include "common/calendario.h"
#include "common/enteros.h"
#include "common/number_text.h"
#include "crops/reparto_mes_etapa.h"

namespace medravolix::crop_tool {

namespace {

using workbook::CellValue;
using workbook::WorkbookError;

std::string textoCelda(const workbook::Workbook& libro, std::string_view hoja, int r, int c) {
  return libro.cell(hoja, r, c).toDisplayText();
}

std::string celda(std::string_view hoja, int r, int c) {
  return workbook::cellReference(hoja, r, c);
}

void comprobarCultivoAnual(const CultivoAnual& cultivo, int r) {
  const std::string quien = "The annual crop '" + cultivo.NOMBRE_ANUAL + "' (" +
                            std::string(kHojaAnuales) + " row " + std::to_string(r) + ")";
  if (cultivo.DURACION_CICLO < 1) {
    throw WorkbookError(quien + " has a season of " + std::to_string(cultivo.DURACION_CICLO) +
                        " days in " + celda(kHojaAnuales, r, 12) +
                        ": enter a season length of at least 1 day.");
  }
  if (!(cultivo.KCB_ETAPA[3] > 0.0)) {
    throw WorkbookError(quien + " has a mid-season basal crop coefficient of " +
                        plainDecimal(cultivo.KCB_ETAPA[3]) + " in " + celda(kHojaAnuales, r, 5) +
                        ": its root depth and ground cover are scaled by it, so it must be "
                        "greater than 0.");
  }
}

const char* const kEtapas[] = {"", "initial", "development", "mid-season", "late season"};

// "0.25 of the irrigation depth in Annual_crops_irrigat!E3", or nothing when the stage's share
// of that total is 0.
std::string parteDelRiego(double total, double parte, const std::string& que, int r, int c) {
  if (total * parte == 0.0) return "";
  return plainDecimal(parte) + " of the " + que + " in " + celda(kHojaRiegosAnuales, r, c);
}

std::string mensajeEtapaSinDias(const CultivoAnual& cultivo, int s, int dias, int duracion,
                                const std::string& partes_del_riego) {
  return "The annual crop '" + cultivo.NOMBRE_ANUAL + "' (" + std::string(kHojaAnuales) + " row " +
         std::to_string(cultivo.fila) + ") has a " + kEtapas[s] + " stage of " +
         std::to_string(dias) + " days in a season of " + std::to_string(duracion) +
         " days (its share of the season is " + plainDecimal(cultivo.FRACCION_DURACION[s]) +
         " in " + celda(kHojaAnuales, cultivo.fila, s + 6) + "), but " +
         std::string(kHojaRiegosAnuales) + " gives that stage " + partes_del_riego +
         ": a stage without days cannot be irrigated, so give it a share of the season or move "
         "its share of the irrigation to the other stages.";
}

}  // namespace

std::vector<std::string> listarCultivos(const workbook::Workbook& libro, std::string_view hoja) {
  libro.requireSheet(hoja);
  std::vector<std::string> nombres;
  for (int r = 2; r <= workbook::kMaxRows && !libro.cell(hoja, r, 1).isEmpty(); ++r) {
    nombres.push_back(textoCelda(libro, hoja, r, 1));
  }
  return nombres;
}

CultivoAnual leerCultivoAnual(const workbook::Workbook& libro, int k) {
  const int r = k + 2;
  const auto hoja = kHojaAnuales;
  CultivoAnual c;
  c.fila = r;
  c.NOMBRE_ANUAL = textoCelda(libro, hoja, r, 1);
  c.RAIZ_CULTIVO = libro.number(hoja, r, 2);
  c.COBERTURA_CULTIVO = libro.number(hoja, r, 11);
  c.DURACION_CICLO = toInt16(libro.number(hoja, r, 12), celda(hoja, r, 12) + ": the season length");
  for (int s = 1; s <= 4; ++s) {
    c.KCB_ETAPA[s] = libro.number(hoja, r, s + 2);
    c.FRACCION_DURACION[s] = libro.number(hoja, r, s + 6);
  }
  comprobarCultivoAnual(c, r);
  return c;
}

int buscarFilaRiego(const workbook::Workbook& libro, const std::string& nombre) {
  libro.requireSheet(kHojaRiegosAnuales);
  int r = 2;
  while (r < workbook::kMaxRows) {
    const CellValue v = libro.cell(kHojaRiegosAnuales, r, 1);
    if (v.isEmpty() || v.toDisplayText() == nombre) break;
    ++r;
  }
  return r;
}

RiegoCultivo leerRiegoCultivo(const workbook::Workbook& libro, const std::string& nombre) {
  const auto hoja = kHojaRiegosAnuales;
  RiegoCultivo riego;
  riego.FILA_RIEGO = buscarFilaRiego(libro, nombre);
  const int r = riego.FILA_RIEGO;
  riego.RIEGO_TOTAL = libro.number(hoja, r, 3);
  riego.NRIEGOS_TOTAL = libro.number(hoja, r, 12);
  riego.FRACCION_MOJADA_CULTIVO = libro.number(hoja, r, 2);
  for (int s = 1; s <= 4; ++s) {
    riego.RIEGO_ETAPA[s] = libro.number(hoja, r, s + 3);
    riego.NRIEGOS_ETAPA[s] = libro.number(hoja, r, s + 7);
  }
  return riego;
}

void comprobarRiegoDeEtapas(const CultivoAnual& cultivo, const RiegoCultivo& riego,
                            int16_t duracion) {
  crops::REGISTRO_CULTIVO etapas;
  etapas.DURACION = duracion;
  etapas.FRACCION_ETAPA = cultivo.FRACCION_DURACION;
  crops::CALCULAR_DURACION_ETAPAS(etapas);
  const int r = riego.FILA_RIEGO;
  for (int s = 1; s <= 4; ++s) {
    if (etapas.DIAS_ETAPA[s] > 0) continue;
    const std::string lamina =
        parteDelRiego(riego.RIEGO_TOTAL, riego.RIEGO_ETAPA[s], "irrigation depth", r, s + 3);
    const std::string numero = parteDelRiego(riego.NRIEGOS_TOTAL, riego.NRIEGOS_ETAPA[s],
                                             "number of irrigations", r, s + 7);
    if (lamina.empty() && numero.empty()) continue;
    const std::string partes = lamina + (lamina.empty() || numero.empty() ? "" : " and ") + numero;
    throw WorkbookError(mensajeEtapaSinDias(cultivo, s, etapas.DIAS_ETAPA[s], duracion, partes));
  }
}

CultivoArbol leerCultivoArbol(const workbook::Workbook& libro, int k) {
  const int r = k + 2;
  const auto hoja = kHojaArboles;
  CultivoArbol c;
  c.NOMBRE_ARBOL = textoCelda(libro, hoja, r, 1);
  c.RAIZ_MAXIMA = libro.number(hoja, r, 2);
  c.COBERTURA_MAXIMA = libro.number(hoja, r, 15);
  for (int m = 1; m <= 12; ++m) c.KCB_MENSUAL[m] = libro.number(hoja, r, m + 2);
  if (!(MAXIMO_KCB_MENSUAL(c.KCB_MENSUAL) > 0.0)) {
    throw WorkbookError("The tree crop '" + c.NOMBRE_ARBOL + "' (" + std::string(hoja) + " row " +
                        std::to_string(r) + ") has no monthly basal crop coefficient above 0 in " +
                        celda(hoja, r, 3) + " to " + celda(hoja, r, 14) +
                        ": its root depth and ground cover are scaled by the largest one, so at "
                        "least one must be greater than 0.");
  }
  return c;
}

std::vector<std::vector<CellValue>> filasCropBatch(const CellValue& id, const Mensual& KCB_MENSUAL,
                                                   const Mensual& RAIZ_MENSUAL,
                                                   const Mensual& COBERTURA_MENSUAL) {
  std::vector<std::vector<CellValue>> filas;
  for (int m = 1; m <= 12; ++m) {
    filas.push_back({id, CellValue::number(KCB_MENSUAL[m]), CellValue::number(RAIZ_MENSUAL[m]),
                     CellValue::number(COBERTURA_MENSUAL[m]),
                     CellValue::text(NOMBRE_MES(static_cast<int16_t>(m), 1))});
  }
  return filas;
}

std::vector<CellValue> filaIrrigatBatch(const CellValue& id, const Mensual& RIEGO_MENSUAL,
                                        const Mensual& NRIEGOS_MENSUAL,
                                        double FRACCION_MOJADA_CULTIVO) {
  std::vector<CellValue> fila(30);
  fila[0] = id;
  for (int m = 1; m <= 12; ++m) {
    fila[m] = CellValue::number(RIEGO_MENSUAL[m]);
    fila[m + 12] = CellValue::number(NRIEGOS_MENSUAL[m]);
  }
  fila[25] = CellValue::number(FRACCION_MOJADA_CULTIVO);
  for (int q = 1; q <= 4; ++q) fila[25 + q] = CellValue::number(50 - 10 * q);
  return fila;
}

}  // namespace medravolix::crop_tool
