#include "eto/datos_metodo.h"

#include <cmath>

#include "common/calendario.h"
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

// The variables the method computes with.
std::vector<CampoClima> camposDelMetodo(MetodoEto metodo, FuentesPenman f) {
  using C = CampoClima;
  switch (metodo) {
    case MetodoEto::Thornthwaite:
      return {C::TMEDIA};
    case MetodoEto::Hargreaves:
      return {C::TMEDIA, C::TMAX, C::TMIN};
    case MetodoEto::BlaneyCriddle:
      return {C::TMEDIA, C::HRMIN, C::INSOLACION, C::VIENTO};
    case MetodoEto::DatosExternos:
      return {C::ETO_EXTERNA};
    case MetodoEto::PenmanMonteith:
      break;
  }
  std::vector<C> campos = {C::TMEDIA, C::TMAX, C::TMIN};
  if (f.OPCION_HUMEDAD == 1) campos.insert(campos.end(), {C::HRMAX, C::HRMIN});
  if (f.OPCION_HUMEDAD == 2) campos.push_back(C::HRMAX);
  if (f.OPCION_HUMEDAD == 3) campos.push_back(C::HRMEDIA);
  if (f.OPCION_RADIACION == 1) campos.push_back(C::INSOLACION);
  if (f.OPCION_RADIACION == 2) campos.push_back(C::RADIACION);
  campos.push_back(C::VIENTO);
  return campos;
}

bool esTemperatura(CampoClima c) {
  return c == CampoClima::TMEDIA || c == CampoClima::TMAX || c == CampoClima::TMIN;
}

// The largest monthly mean a station can have, with its unit: humidity is a share of saturation,
// the sun shines at most 24 hours a day, the top of the atmosphere receives less than 50 MJ/m2 on
// the longest day, and the windiest stations' monthly means stay well below 50 m/s. Rainfall and a
// given evapotranspiration have no such bound; rainy days are bounded by the month.
struct Tope {
  double valor;
  const char* unidad;
};
std::optional<Tope> topeCampo(CampoClima c) {
  switch (c) {
    case CampoClima::HRMEDIA:
    case CampoClima::HRMAX:
    case CampoClima::HRMIN:
      return Tope{100, " %"};
    case CampoClima::INSOLACION:
      return Tope{24, " hours a day"};
    case CampoClima::RADIACION:
      return Tope{50, " MJ/m² a day"};
    case CampoClima::VIENTO:
      return Tope{50, " m/s"};
    default:
      return std::nullopt;
  }
}

// The first month, and the first of `campos` in it, whose value cannot be used.
std::optional<ErrorDatoClima> primerValorInutil(const REGISTRO_CLIMA& e,
                                                const std::vector<CampoClima>& campos,
                                                int16_t mes) {
  for (const CampoClima c : campos) {
    if (auto problema = problemaValorClima(c, mes, serie(e, c)[mes])) {
      return ErrorDatoClima{mes, {c}, *problema};
    }
  }
  return std::nullopt;
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

std::optional<std::string> problemaValorClima(CampoClima campo, int16_t mes, double valor) {
  const std::string nombre = std::string("the ") + nombreCampo(campo) + " (" + shortDecimal(valor) +
                             ") " + (nombreEnPlural(campo) ? "are" : "is");
  if (!isUsableNumber(valor)) {
    return nombre + " not a number the program can use";
  }
  if (esTemperatura(campo)) {
    if (valor < kTemperaturaMinima)
      return nombre + " below " + plainDecimal(kTemperaturaMinima) + " °C";
    if (valor > kTemperaturaMaxima)
      return nombre + " above " + plainDecimal(kTemperaturaMaxima) + " °C";
    return std::nullopt;
  }
  if (valor < 0) return nombre + " negative";
  if (campo == CampoClima::DIAS_LLUVIA && valor > DIAS_MES(mes)) {
    return nombre + " more than the " + std::to_string(DIAS_MES(mes)) + " days of the month";
  }
  if (const auto tope = topeCampo(campo); tope && valor > tope->valor) {
    return nombre + " above " + plainDecimal(tope->valor) + tope->unidad;
  }
  return std::nullopt;
}

std::optional<ErrorDatoClima> comprobarDatosEstacion(const REGISTRO_CLIMA& e) {
  using C = CampoClima;
  for (int16_t mes = 1; mes <= 12; ++mes) {
    if (auto error = primerValorInutil(e, {C::TMEDIA, C::PRECIPITACION, C::DIAS_LLUVIA}, mes)) {
      return error;
    }
  }
  return std::nullopt;
}

std::optional<ErrorDatoClima> comprobarDatosMetodo(MetodoEto metodo, const REGISTRO_CLIMA& e,
                                                   FuentesPenman fuentes) {
  const std::vector<CampoClima> campos = camposDelMetodo(metodo, fuentes);
  for (int16_t mes = 1; mes <= 12; ++mes) {
    if (auto error = primerValorInutil(e, campos, mes)) return error;
    if (usaRangoDiario(metodo) && e.TMAX[mes] < e.TMIN[mes]) {
      return ErrorDatoClima{mes,
                            {CampoClima::TMAX, CampoClima::TMIN},
                            "the mean maximum temperature (" + shortDecimal(e.TMAX[mes]) +
                                ") is below the mean minimum temperature (" +
                                shortDecimal(e.TMIN[mes]) + ")"};
    }
  }
  return std::nullopt;
}

}  // namespace medravolix::eto
