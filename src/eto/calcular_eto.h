// The method dispatch: runs the method whose option is selected and checks its data first.
#pragma once

#include <array>
#include <optional>

#include "common/series.h"
#include "eto/datos_metodo.h"
#include "eto/penman_monteith.h"
#include "simulation/registro_clima.h"

namespace medravolix::eto {

// The twelve monthly totals (mm), or why the data cannot give them (then all twelve are 0).
struct ResultadoEto {
  Mensual ETO_MENSUAL{};
  std::optional<ErrorDatoClima> error;
};

// One method on the station, its data checked first; a month that still gives no finite value
// is reported as an error, never returned.
ResultadoEto calcularMetodo(MetodoEto metodo, const REGISTRO_CLIMA& ESTACION,
                            FuentesPenman fuentes);

// Looks at the five options (Thornthwaite, Penman-Monteith, Hargreaves, Blaney-Criddle, external
// data) in turn and runs the method of each selected one; with none selected, nothing runs.
std::optional<ResultadoEto> CALCULAR_ETO(const std::array<bool, 5>& Option1,
                                         const REGISTRO_CLIMA& ESTACION, FuentesPenman fuentes);

}  // namespace medravolix::eto
