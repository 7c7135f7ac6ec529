#include "eto/datos_metodo.h"

#include "common/number_text.h"

namespace medravolix::eto {

namespace {

const Mensual& serie(const REGISTRO_CLIMA& e, CampoClima c) {
  switch (c) {
    case CampoClima::TMEDIA:
      return e.TMEDIA;
    case CampoClima::TMAX:
      return e.TMAX;
    case CampoClima::TMIN:
      return e.TMIN;
    case CampoClima::HRMEDIA:
      return e.HRMEDIA;
    case CampoClima::HRMAX:
      return e.HRMAX;
    case CampoClima::HRMIN:
      return e.HRMIN;
    case CampoClima::RADIACION:
      return e.RADIACION;
    case CampoClima::INSOLACION:
      return e.INSOLACION;
    case CampoClima::PRECIPITACION:
      return e.PRECIPITACION;
    case CampoClima::DIAS_LLUVIA:
      return e.DIAS_LLUVIA;
    case CampoClima::VIENTO:
      return e.VIENTO;
    case CampoClima::ETO_EXTERNA:
      break;
  }
  return e.ETO_EXTERNA;
}

// The variables that may not be negative for the method.
std::vector<CampoClima> noNegativos(MetodoEto metodo, FuentesPenman f) {
  using C = CampoClima;
  if (metodo == MetodoEto::BlaneyCriddle) return {C::HRMIN, C::INSOLACION, C::VIENTO};
  if (metodo != MetodoEto::PenmanMonteith) return {};
  std::vector<C> campos;
  if (f.OPCION_HUMEDAD == 1) campos = {C::HRMAX, C::HRMIN};
  if (f.OPCION_HUMEDAD == 2) campos = {C::HRMAX};
  if (f.OPCION_HUMEDAD == 3) campos = {C::HRMEDIA};
  if (f.OPCION_RADIACION == 1) campos.push_back(C::INSOLACION);
  if (f.OPCION_RADIACION == 2) campos.push_back(C::RADIACION);
  campos.push_back(C::VIENTO);
  return campos;
}

bool usaRangoDiario(MetodoEto metodo) {
  return metodo == MetodoEto::PenmanMonteith || metodo == MetodoEto::Hargreaves;
}

}  // namespace

bool nombreEnPlural(CampoClima campo) {
  return campo == CampoClima::INSOLACION || campo == CampoClima::DIAS_LLUVIA;
}

const char* nombreCampo(CampoClima campo) {
  static const char* const kNombres[] = {"mean temperature",
                                         "mean maximum temperature",
                                         "mean minimum temperature",
                                         "mean relative humidity",
                                         "maximum relative humidity",
                                         "minimum relative humidity",
                                         "solar radiation",
                                         "sunshine hours",
                                         "rainfall",
                                         "rainy days",
                                         "wind speed",
                                         "given reference evapotranspiration"};
  return kNombres[static_cast<int>(campo)];
}

std::optional<ErrorDatoClima> comprobarDatosMetodo(MetodoEto metodo, const REGISTRO_CLIMA& e,
                                                   FuentesPenman fuentes) {
  const std::vector<CampoClima> campos = noNegativos(metodo, fuentes);
  for (int16_t mes = 1; mes <= 12; ++mes) {
    if (usaRangoDiario(metodo) && e.TMAX[mes] < e.TMIN[mes]) {
      return ErrorDatoClima{mes,
                            {CampoClima::TMAX, CampoClima::TMIN},
                            "the mean maximum temperature (" + plainDecimal(e.TMAX[mes]) +
                                ") is below the mean minimum temperature (" +
                                plainDecimal(e.TMIN[mes]) + ")"};
    }
    for (const CampoClima c : campos) {
      const double v = serie(e, c)[mes];
      if (v >= 0) continue;
      return ErrorDatoClima{mes,
                            {c},
                            std::string("the ") + nombreCampo(c) + " (" + plainDecimal(v) + ") " +
                                (nombreEnPlural(c) ? "are" : "is") + " negative"};
    }
  }
  return std::nullopt;
}

}  // namespace medravolix::eto
