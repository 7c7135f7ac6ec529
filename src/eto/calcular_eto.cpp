#include "eto/calcular_eto.h"

#include <cmath>

#include "balance/etc_mensual.h"
#include "eto/blaney_criddle.h"
#include "eto/hargreaves.h"
#include "eto/thornthwaite.h"

namespace medravolix::eto {

namespace {

Mensual ejecutar(MetodoEto metodo, const REGISTRO_CLIMA& e, FuentesPenman fuentes) {
  switch (metodo) {
    case MetodoEto::Thornthwaite:
      return CALCULAR_ETO_THORNTHWAITE(e).ETO_MENSUAL;
    case MetodoEto::PenmanMonteith:
      return CALCULAR_ETO_PENMAN_MONTEITH(e, fuentes).ETO_MENSUAL;
    case MetodoEto::Hargreaves:
      return CALCULAR_ETO_HARGREAVES(e).ETO_MENSUAL;
    case MetodoEto::BlaneyCriddle:
      return CALCULAR_ETO_BLANEY_CRIDDLE(e).ETO_MENSUAL;
    case MetodoEto::DatosExternos:
      break;
  }
  Mensual eto{};
  CARGAR_ETO_EXTERNA(e.ETO_EXTERNA, eto);
  return eto;
}

}  // namespace

ResultadoEto calcularMetodo(MetodoEto metodo, const REGISTRO_CLIMA& ESTACION,
                            FuentesPenman fuentes) {
  ResultadoEto r;
  r.error = comprobarDatosMetodo(metodo, ESTACION, fuentes);
  if (r.error) return r;
  const Mensual eto = ejecutar(metodo, ESTACION, fuentes);
  for (int16_t mes = 1; mes <= 12; ++mes) {
    if (std::isfinite(eto[mes])) continue;
    r.error = ErrorDatoClima{mes, {}, "the data of this month give no result the program can use"};
    return r;
  }
  r.ETO_MENSUAL = eto;
  return r;
}

std::optional<ResultadoEto> CALCULAR_ETO(const std::array<bool, 5>& Option1,
                                         const REGISTRO_CLIMA& ESTACION, FuentesPenman fuentes) {
  std::optional<ResultadoEto> resultado;
  for (int i = 0; i < 5; ++i) {
    if (Option1[i]) resultado = calcularMetodo(static_cast<MetodoEto>(i), ESTACION, fuentes);
  }
  return resultado;
}

}  // namespace medravolix::eto
