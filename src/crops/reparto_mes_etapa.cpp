#include "crops/reparto_mes_etapa.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "common/calendario.h"
#include "common/enteros.h"

namespace medravolix::crops {

namespace {

// Boundary J (the end of period J) of crop I.
struct Limite {
  int I = 1;
  int J = 1;
};

// Day d (1..365) of the year as its month.
int mesDelDia(int d) {
  int m = 1;
  while (d > ULTIMO_DIA_MES(static_cast<int16_t>(m))) ++m;
  return m;
}

// Calls f(day, k) for every day of the year that stage k (1..4) of the crop holds: the days
// after boundary LIMITE[k] up to LIMITE[k + 1], wrapping past 31 December. A stage of no days
// (or, after the one-day correction of the initial stage, of -1) holds none, and the next stage
// starts where its boundary says.
template <typename F>
void recorrerEtapas(const REGISTRO_CULTIVO& c, F f) {
  int inicio = c.LIMITE[1];  // the day before the stage's first day, not yet brought into the year
  for (int k = 1; k <= 4; ++k) {
    for (int n = 1; n <= c.DIAS_ETAPA[k]; ++n) f(((inicio + n - 1) % 365 + 365) % 365 + 1, k);
    inicio += c.DIAS_ETAPA[k];
  }
}

// The crop sown first after day d (a crop sown on d itself comes a whole year later); of crops
// sown on the same day, the first of the list. A day that no stage holds lies in its fallow.
int cultivoSiguiente(const Rotacion& rotacion, int d) {
  int elegido = 1, distancia_minima = 366;
  for (int I = 1; I <= rotacion.N_CULTIVOS(); ++I) {
    const int siembra = rotacion.cultivo(I).LIMITE[1] + 1;
    int distancia = ((siembra - d) % 365 + 365) % 365;
    if (distancia == 0) distancia = 365;
    if (distancia < distancia_minima) {
      distancia_minima = distancia;
      elegido = I;
    }
  }
  return elegido;
}

// Counts the days of each month in each period of each crop, day by day, so that the shares
// follow the calendar whatever the order in which the crops were added and wherever a season
// crosses the year's end. Each crop's stages count their own days (a day in the stages of two
// crops counts for both); every other day belongs to the fallow of the crop sown next.
void repartirPorDias(Rotacion& rotacion) {
  const std::array<int, 366> ocupados = cultivosPorDia(rotacion);
  for (int I = 1; I <= rotacion.N_CULTIVOS(); ++I) {
    PorMesPeriodo<int>& dias = rotacion.diasMesPeriodo[I - 1];
    recorrerEtapas(rotacion.cultivo(I), [&](int d, int k) { ++dias[mesDelDia(d)][k + 1]; });
  }
  for (int d = 1; d <= 365; ++d) {
    if (ocupados[d] == 0) {
      ++rotacion.diasMesPeriodo[cultivoSiguiente(rotacion, d) - 1][mesDelDia(d)][1];
    }
  }
  for (int I = 1; I <= rotacion.N_CULTIVOS(); ++I) {
    for (int m = 1; m <= 12; ++m) {
      for (int p = 1; p <= 5; ++p) {
        rotacion.FRACCION_MES_PERIODO[I - 1][m][p] =
            static_cast<double>(rotacion.diasMesPeriodo[I - 1][m][p]) /
            static_cast<double>(DIAS_MES(static_cast<int16_t>(m)));
      }
    }
  }
}

// A rotation is one year: a crop whose stages last longer than the year would hold some days
// twice and cannot be placed on the calendar. The days counted are those the stages hold: an
// initial stage corrected to -1 day holds none and takes no day from the others.
void comprobarTemporada(const REGISTRO_CULTIVO& c) {
  int dias = 0;
  for (int k = 1; k <= 4; ++k) dias += std::max<int>(0, c.DIAS_ETAPA[k]);
  if (c.DURACION > kTemporadaMaxima) {
    throw std::invalid_argument("The season of '" + c.NOMBRE + "' lasts " +
                                std::to_string(c.DURACION) +
                                " days, but a rotation is one year: a crop's season can last at "
                                "most 365 days.");
  }
  if (dias > kTemporadaMaxima) {
    throw std::invalid_argument("The stages of '" + c.NOMBRE + "', rounded to whole days, last " +
                                std::to_string(dias) +
                                " days, but a rotation is one year: a crop's stages can last at "
                                "most 365 days together.");
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

std::array<int, 366> cultivosPorDia(const Rotacion& rotacion) {
  std::array<int, 366> cultivos{};
  for (const REGISTRO_CULTIVO& c : rotacion.CULTIVOS) {
    recorrerEtapas(c, [&](int d, int) { ++cultivos[d]; });
  }
  return cultivos;
}

void REPARTO_MES_ETAPA(Rotacion& rotacion) {
  for (auto& f : rotacion.FRACCION_MES_PERIODO) f = {};
  for (auto& d : rotacion.diasMesPeriodo) d = {};
  if (rotacion.N_CULTIVOS() == 0) return;  // no boundary to start the walk from
  for (REGISTRO_CULTIVO& c : rotacion.CULTIVOS) {
    CALCULAR_DURACION_ETAPAS(c);
    comprobarTemporada(c);
  }
  CALCULAR_INICIO_ETAPAS(rotacion);
  BUSCAR_INICIO_ROTACION(rotacion);
  repartirPorDias(rotacion);
}

}  // namespace medravolix::crops
