#include "crops/reparto_mes_etapa.h"

#include "common/calendario.h"
#include "common/enteros.h"

namespace medravolix::crops {

namespace {

// One step of the walk over the boundaries in rotation order: period J of crop I.
struct Limite {
  int I = 1;
  int J = 1;
  void siguiente(int n_cultivos) {
    if (++J > 5) {
      J = 1;
      I = I % n_cultivos + 1;
    }
  }
};

// Stores (it does not add) the days of month m that lie in period J of crop I.
void guardar(Rotacion& rotacion, int m, const Limite& l, int dias) {
  rotacion.diasMesPeriodo[l.I - 1][m][l.J] = dias;
  rotacion.FRACCION_MES_PERIODO[l.I - 1][m][l.J] =
      static_cast<double>(dias) / static_cast<double>(DIAS_MES(static_cast<int16_t>(m)));
}

void recorrerMeses(Rotacion& rotacion) {
  const int n = rotacion.N_CULTIVOS();
  Limite actual{rotacion.CULTIVO_INICIO, rotacion.ETAPA_INICIO};
  int DIA_ANTERIOR = 0;
  int N_PERIODOS = 1;
  int MES = 1;
  while (MES <= 12) {
    const int B = rotacion.cultivo(actual.I).LIMITE[actual.J];
    const int E = ULTIMO_DIA_MES(static_cast<int16_t>(MES));
    if (E < B || N_PERIODOS > 5 * n) {
      // The month ends inside the current period.
      guardar(rotacion, MES, actual, E - DIA_ANTERIOR);
      DIA_ANTERIOR = E;
      ++MES;
    } else {
      // The current period ends in this month.
      guardar(rotacion, MES, actual, B - DIA_ANTERIOR);
      if (B == E) ++MES;
      DIA_ANTERIOR = B;
      actual.siguiente(n);
      ++N_PERIODOS;
    }
  }
}

}  // namespace

int16_t ULTIMO_DIA_MES(int16_t m) {
  return DIA_JULIANO(0, static_cast<int16_t>(m + 1));
}

void CALCULAR_DURACION_ETAPAS(REGISTRO_CULTIVO& c) {
  int SUMA_DURACION = 0;
  for (int k = 1; k <= 4; ++k) {
    c.DIAS_ETAPA[k] =
        toInt16(REDONDEAR(c.DURACION * c.FRACCION_ETAPA[k], 0), "The length of a stage");
    SUMA_DURACION += c.DIAS_ETAPA[k];
  }
  const int DIF_DURACION = SUMA_DURACION - c.DURACION;
  if (DIF_DURACION > 0) c.DIAS_ETAPA[1] = toInt16(c.DIAS_ETAPA[1] - 1.0, "A stage length");
  if (DIF_DURACION < 0) c.DIAS_ETAPA[4] = toInt16(c.DIAS_ETAPA[4] + 1.0, "A stage length");
}

void CALCULAR_INICIO_ETAPAS(Rotacion& rotacion) {
  for (REGISTRO_CULTIVO& c : rotacion.CULTIVOS) {
    c.LIMITE[1] = static_cast<int16_t>(DIA_JULIANO(c.DIA_SIEMBRA, c.MES_SIEMBRA) - 1);
    for (int J = 2; J <= 5; ++J) {
      int limite = c.LIMITE[J - 1] + c.DIAS_ETAPA[J - 1];
      if (limite > 365) limite -= 365;
      c.LIMITE[J] = toInt16(limite, "The end of a stage (day of the year)");
    }
  }
}

void BUSCAR_INICIO_ROTACION(Rotacion& rotacion) {
  for (REGISTRO_CULTIVO& c : rotacion.CULTIVOS) c.KCB_PERIODO[0] = 0.0;
  Limite referencia{1, 1};
  bool INICIO_ENCONTRADO = false;
  for (int I = rotacion.N_CULTIVOS(); I >= 1 && !INICIO_ENCONTRADO; --I) {
    for (int J = 5; J >= 1; --J) {
      const int visitado = rotacion.cultivo(I).LIMITE[J];
      if (visitado > rotacion.cultivo(referencia.I).LIMITE[referencia.J]) {
        INICIO_ENCONTRADO = true;
        break;
      }
      referencia = {I, J};
    }
  }
  rotacion.CULTIVO_INICIO = static_cast<int16_t>(referencia.I);
  rotacion.ETAPA_INICIO = static_cast<int16_t>(referencia.J);
}

void REPARTO_MES_ETAPA(Rotacion& rotacion) {
  for (auto& f : rotacion.FRACCION_MES_PERIODO) f = {};
  for (auto& d : rotacion.diasMesPeriodo) d = {};
  if (rotacion.N_CULTIVOS() == 0) return;  // no boundary to start the walk from
  for (REGISTRO_CULTIVO& c : rotacion.CULTIVOS) CALCULAR_DURACION_ETAPAS(c);
  CALCULAR_INICIO_ETAPAS(rotacion);
  BUSCAR_INICIO_ROTACION(rotacion);
  recorrerMeses(rotacion);
}

}  // namespace medravolix::crops
