#include "eto/blaney_criddle.h"

#include "common/calendario.h"
#include "eto/geometria_solar.h"
#include "eto/total_mensual.h"

namespace medravolix::eto {

namespace {

// [humidity class][sunshine class][wind class], each class 0 low, 1 middle, 2 high.
constexpr CoeficientesBC kTabla[3][3][3] = {
    {{{-2.00, 1.15}, {-1.80, 1.28}, {-1.60, 1.40}},
     {{-2.60, 1.55}, {-2.30, 1.82}, {-2.00, 2.06}},
     {{-2.30, 1.35}, {-2.05, 1.55}, {-1.80, 1.73}}},
    {{{-2.00, 1.05}, {-1.85, 1.15}, {-1.70, 1.25}},
     {{-2.20, 1.20}, {-2.15, 1.38}, {-2.10, 1.52}},
     {{-2.40, 1.37}, {-2.50, 1.61}, {-2.55, 1.82}}},
    {{{-1.65, 0.98}, {-1.55, 0.88}, {-1.45, 0.80}},
     {{-1.80, 0.97}, {-1.75, 1.06}, {-1.70, 1.16}},
     {{-2.15, 1.14}, {-1.95, 1.22}, {-1.70, 1.31}}},
};

// 0 below `bajo`, 1 from `bajo` to `alto` inclusive, 2 above `alto`.
int clase(double valor, double bajo, double alto) {
  if (valor < bajo) return 0;
  return valor <= alto ? 1 : 2;
}

}  // namespace

CoeficientesBC coeficientesBlaneyCriddle(double hr_min, double razon_insolacion, double viento) {
  return kTabla[clase(hr_min, 20, 50)][clase(razon_insolacion, 0.6, 0.8)][clase(viento, 2, 5)];
}

BlaneyCriddle CALCULAR_ETO_BLANEY_CRIDDLE(const REGISTRO_CLIMA& ESTACION) {
  BlaneyCriddle bc;
  for (int16_t MES = 1; MES <= 12; ++MES) {
    const double N = HORAS_LUZ_DIA(ESTACION.LATITUD, MES);
    const double p = 100 * N / 4380;
    bc.PORCENTAJE_HORAS_LUZ[MES] = p;
    bc.FACTOR_BC[MES] = p * (0.46 * ESTACION.TMEDIA[MES] + 8.13);
    if (N == 0) continue;  // no sunrise: 0 mm, the ratio n / N has no value
    bc.RAZON_INSOLACION[MES] = ESTACION.INSOLACION[MES] / N;
    const CoeficientesBC c = coeficientesBlaneyCriddle(
        ESTACION.HRMIN[MES], bc.RAZON_INSOLACION[MES], ESTACION.VIENTO[MES]);
    bc.COEF_A_BC = c.a;
    bc.COEF_B_BC = c.b;
    bc.ETO_MENSUAL[MES] = totalMensualEto((c.a + c.b * bc.FACTOR_BC[MES]) * DIAS_MES(MES));
  }
  return bc;
}

}  // namespace medravolix::eto
