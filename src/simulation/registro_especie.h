// One solute species or ion pair of the soil solution, and one equilibrium constant.
#pragma once

namespace medravolix {

struct REGISTRO_ESPECIE {
  double CONC_TOTAL = 0.0;        // mol/L, free plus paired
  double CONC_LIBRE = 0.0;        // mol/L; for a pair, the pair's concentration
  double CONC_LIBRE_NUEVA = 0.0;  // free concentration of the current ion-pair pass
  double CARGA = 0.0;             // signed charge
  double COEF_ACTIVIDAD = 0.0;
  double LOG_ACTIVIDAD = 0.0;
  double COEF_CONDUCTIVIDAD = 0.0;
  double CAMBIO_RELATIVO = 0.0;  // % change of the free concentration in the last pass
};

struct REGISTRO_CONSTANTE {
  double LOG_K = 0.0;
  double K_EQUILIBRIO = 0.0;
  double K_CONDICIONAL = 0.0;
};

}  // namespace medravolix
