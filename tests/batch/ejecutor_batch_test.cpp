// The batch driver on small workbooks, with a stand-in model whose results are simple sums of
// the inputs: what is tested here is the driver's reading, ordering, listing and writing.
#include "batch/ejecutor_batch.h"

#include <gtest/gtest.h>

#include <numeric>

#include "batch/escritura_batch.h"
#include "batch/lectura_batch.h"
#include "batch/libro_prueba.h"

namespace medravolix::batch {
namespace {

using namespace prueba;

double suma(const auto& serie) {
  return std::accumulate(serie.begin(), serie.end(), 0.0);
}

// Results that depend on every input the look-ups fill. A first horizon 1 cm deep refuses the
// simulation, 2 cm leaves part of the results without value, 3 cm sets the "> " form.
class ModeloDePrueba : public ModeloSimulacion {
 public:
  void prepararBatch(const workbook::Workbook& libro) override {
    escala_ = 1 + libro.number("Constants", 5, 2);
  }
  void CARGAR_ETO_EXTERNA(Simulacion& sim) const override {
    for (int m = 1; m <= 12; ++m) sim.ETO_MENSUAL[m] = sim.ESTACION.ETO_EXTERNA[m];
  }
  void ejecutarCadena(Simulacion& sim) const override {
    sim.NUM_CAPAS = 64;
    const int16_t primera = sim.PROF_FILA.at(1);
    if (primera == 1) throw SimulacionRechazada("the first horizon is too thin");
    double suelo = sim.PCO2 + sim.NUM_FILAS_SUELO;
    for (const auto* serie :
         {&sim.ARENA_FILA, &sim.ARCILLA_FILA, &sim.SAT_FILA, &sim.CC_FILA, &sim.PMP_FILA,
          &sim.DENSIDAD_FILA, &sim.PIEDRAS_FILA, &sim.CALIZA_FILA, &sim.MO_FILA, &sim.YESO_FILA}) {
      suelo += suma(*serie);
    }
    suelo += suma(sim.PROF_FILA);
    sim.PRECIPITACION_ANUAL = suma(sim.ESTACION.PRECIPITACION) + suma(sim.ESTACION.DIAS_LLUVIA);
    sim.DATOS_RIEGO.RIEGO_ANUAL = suma(sim.DATOS_RIEGO.RIEGO_MENSUAL) +
                                  suma(sim.DATOS_RIEGO.NRIEGOS_MENSUAL) +
                                  sim.DATOS_RIEGO.FRACCION_MOJADA + suma(sim.PATRON_EXTRACCION);
    sim.ETO_ANUAL = suma(sim.ETO_MENSUAL);
    sim.ETC_ANUAL = suma(sim.KCB_MENSUAL) + suma(sim.RAIZ_MENSUAL) + suma(sim.COBERTURA_MENSUAL);
    sim.ET_REAL_ANUAL = sim.PROF_EVAPORATIVA + sim.PROF_SIMULACION + sim.OPCION_CAPACIDAD;
    for (int m = 1; m <= 12; ++m) {
      sim.ETC_POTENCIAL[m] = sim.KCB_MENSUAL[m] * sim.ETO_MENSUAL[m];
      sim.ET_REAL_MENSUAL[m] = 0.5 * sim.ETC_POTENCIAL[m];
      sim.DRENAJE_CAPA[m][64] = sim.ESTACION.PRECIPITACION[m] + sim.DATOS_RIEGO.RIEGO_MENSUAL[m];
    }
    sim.FACTOR_CONCENTRACION_CC = suelo * escala_;
    sim.FACTOR_CONCENTRACION_SAT = suelo / 2;
    sim.FRACCION_LAVADO = 0.1;
    for (int k = 3; k <= 9; ++k) sim.ESPECIES[k].CONC_TOTAL = sim.COMPOSICION_AGUA[k] / 1000;
    sim.ALCALINIDAD = sim.ALCALINIDAD_AGUA / 1000;
    sim.PH = 7;
    sim.SOLUCION_CON_VALOR = true;
    if (primera == 2) {
      sim.FACTOR_CONCENTRACION_CC.reset();
      sim.SOLUCION_CON_VALOR = false;
      sim.AVISOS.push_back("layer 1 does not drain");
    }
    sim.SALIDA_MAYOR_QUE = primera == 3;
  }

 private:
  double escala_ = 1;
};

// `n` simulations "sim1".."simN" that find all their inputs.
LibroPrueba completo(int n) {
  LibroPrueba p;
  for (int k = 1; k <= n; ++k) {
    p.entradas(k);
    p.simulacion(k, LibroPrueba::idsDe(T("sim" + std::to_string(k)), k));
  }
  return p;
}

struct Corrida {
  InformeBatch informe;
  std::vector<double> progreso;
};

Corrida correr(LibroPrueba& p, unsigned hilos = 1, AjustesBatch ajustes = {}) {
  Corrida c;
  ModeloDePrueba modelo;
  c.informe = ejecutarBatch(
      p.libro, ajustes, hilos, [&](double v) { c.progreso.push_back(v); }, modelo);
  return c;
}

// Every cell of the result sheets, for comparing two workbooks.
std::vector<CellValue> resultados(const workbook::Workbook& libro, int n) {
  std::vector<CellValue> celdas;
  for (int r = 1; r <= 12 * n + 1; ++r) {
    for (int c = 1; c <= 22; ++c) {
      for (const auto hoja : {kHojaSimulaciones, kHojaSolucion, kHojaBalance}) {
        if (libro.hasSheet(hoja)) celdas.push_back(libro.cell(hoja, r, c));
      }
    }
  }
  return celdas;
}

TEST(EjecutarBatch, NoSimulation) {
  LibroPrueba p;
  const auto c = correr(p);
  EXPECT_EQ(c.informe.NUM_SIMULACIONES, 0);
  EXPECT_TRUE(c.progreso.empty());
  EXPECT_EQ(c.informe.mensajeSinDatos(), "");
  EXPECT_EQ(c.informe.mensajeObservadas(), "");
  EXPECT_TRUE(p.libro.cell(kHojaSolucion, 2, 1).isEmpty());
}

TEST(EjecutarBatch, ThreeSimulationsReportProgressAndWriteTheirRows) {
  for (unsigned hilos : {1u, 3u}) {
    auto p = completo(3);
    const auto c = correr(p, hilos);
    EXPECT_EQ(c.progreso, (std::vector<double>{33, 67, 100}));
    EXPECT_EQ(c.informe.ejecutadas, 3);
    EXPECT_EQ(c.informe.mensajeSinDatos(), "");
    for (int i = 1; i <= 3; ++i) {
      const auto id = T("sim" + std::to_string(i));
      EXPECT_EQ(p.libro.cell(kHojaSolucion, i + 1, 1), id);
      EXPECT_EQ(p.libro.cell(kHojaSimulaciones, i + 1, 9), N(64));
      EXPECT_EQ(p.libro.cell(kHojaBalance, 12 * i + 1, 1), id);
    }
  }
}

TEST(EjecutarBatch, ResultsEqualTheChainRunOnTheLookUps) {
  auto p = completo(4);
  p.poner(kHojaSimulaciones, 3, 5, T("R4"));  // simulation 2 mixes the inputs of others
  p.poner(kHojaSimulaciones, 3, 3, T("S3"));
  AjustesBatch ajustes;
  ajustes.PROF_EVAPORATIVA = 10;
  ajustes.PROF_SIMULACION = 120;
  ajustes.OPCION_CAPACIDAD = 0;
  ajustes.OPCION_SOLUCION = "drenaje";
  // By hand: each simulation read and run on its own state, then written.
  auto esperado = completo(4);
  esperado.poner(kHojaSimulaciones, 3, 5, T("R4"));
  esperado.poner(kHojaSimulaciones, 3, 3, T("S3"));
  ModeloDePrueba modelo;
  modelo.prepararBatch(esperado.libro);
  for (int i = 1; i <= 4; ++i) {
    Simulacion sim;
    sim.PROF_EVAPORATIVA = 10;
    sim.PROF_SIMULACION = 120;
    sim.OPCION_CAPACIDAD = 0;
    sim.OPCION_SOLUCION = "drenaje";
    LEER_SIMULACION(esperado.libro, i, sim);
    ASSERT_TRUE(BUSCAR_SUELO(esperado.libro, sim) && BUSCAR_CLIMA(esperado.libro, sim) &&
                BUSCAR_CULTIVO(esperado.libro, sim));
    modelo.CARGAR_ETO_EXTERNA(sim);
    ASSERT_TRUE(BUSCAR_RIEGO(esperado.libro, sim) && BUSCAR_AGUA(esperado.libro, sim));
    modelo.ejecutarCadena(sim);
    aplicarEscrituras(esperado.libro, ESCRIBIR_RESULTADOS(sim, i));
  }
  correr(p, 2, ajustes);
  EXPECT_EQ(resultados(p.libro, 4), resultados(esperado.libro, 4));
}

TEST(EjecutarBatch, SameCellsForAnyNumberOfThreads) {
  const int n = 60;
  auto uno = completo(n);
  auto ocho = completo(n);
  for (auto* p : {&uno, &ocho}) {
    p->horizonte(2 * 7 - 1, T("S7"), 1);               // refused
    p->horizonte(2 * 9 - 1, T("S9"), 2);               // in part
    p->horizonte(2 * 11 - 1, T("S11"), 3);             // lower bounds
    p->poner(kHojaSimulaciones, 14, 2, T("nowhere"));  // simulation 13 lacks its climate
  }
  const auto c1 = correr(uno, 1);
  const auto c8 = correr(ocho, 8);
  EXPECT_EQ(resultados(uno.libro, n), resultados(ocho.libro, n));
  EXPECT_EQ(c1.informe.LISTA_SIN_DATOS, c8.informe.LISTA_SIN_DATOS);
  ASSERT_EQ(c8.informe.observadas.size(), 2u);
  EXPECT_EQ(c8.informe.observadas[0].id, "sim7");
  EXPECT_EQ(c8.informe.observadas[1].id, "sim9");
  EXPECT_EQ(c8.progreso.size(), static_cast<std::size_t>(n));
  EXPECT_TRUE(std::is_sorted(c8.progreso.begin(), c8.progreso.end()));
  EXPECT_EQ(c8.progreso.back(), 100);
}

TEST(EjecutarBatch, MissingInputIsListedAndNothingIsWrittenForIt) {
  auto p = completo(5);
  p.poner(kHojaSimulaciones, 3, 2, T("no such climate"));  // simulation 2
  p.poner(kHojaSimulaciones, 6, 6, CellValue());           // simulation 5: empty crop id
  p.poner(kHojaSimulaciones, 6, 1, N(7));                  // listed as 7
  p.poner(kHojaSolucion, 3, 1, T("earlier batch"));
  const auto c = correr(p);
  EXPECT_EQ(c.informe.mensajeSinDatos(),
            "Can't find input data for these simulations: \r\n\r\nsim2, \r\n7, ");
  EXPECT_EQ(c.informe.sin_datos, 2);
  EXPECT_EQ(c.informe.ejecutadas, 3);
  EXPECT_EQ(c.progreso, (std::vector<double>{20, 40, 60, 80, 100}));
  EXPECT_EQ(p.libro.cell(kHojaSolucion, 3, 1), T("earlier batch"));
  EXPECT_TRUE(p.libro.cell(kHojaSolucion, 3, 2).isEmpty());
  EXPECT_TRUE(p.libro.cell(kHojaSimulaciones, 3, 7).isEmpty());
  EXPECT_TRUE(p.libro.cell(kHojaBalance, 14, 1).isEmpty());
  EXPECT_TRUE(p.libro.cell(kHojaSolucion, 6, 1).isEmpty());
  EXPECT_EQ(p.libro.cell(kHojaSolucion, 4, 1), T("sim3"));
}

TEST(EjecutarBatch, ThirdSimulationAfterTwoSkippedOnesWritesItsOwnRows) {
  auto p = completo(3);
  p.poner(kHojaSimulaciones, 2, 3, T("no such soil"));
  p.poner(kHojaSimulaciones, 3, 4, T("no such water"));
  for (int r = 1; r <= 40; ++r) {
    p.poner(kHojaSolucion, r, 1, T("old"));
    p.poner(kHojaBalance, r, 1, T("old"));
  }
  correr(p);
  for (int r : {1, 2, 3, 5}) EXPECT_EQ(p.libro.cell(kHojaSolucion, r, 1), T("old")) << r;
  EXPECT_EQ(p.libro.cell(kHojaSolucion, 4, 1), T("sim3"));
  for (int r = 1; r <= 40; ++r) {
    const bool suya = r >= 26 && r <= 37;
    EXPECT_EQ(p.libro.cell(kHojaBalance, r, 1), suya ? T("sim3") : T("old")) << r;
  }
}

TEST(EjecutarBatch, RefusedAndPartlyComputedSimulationsAreListedWithTheirReasons) {
  auto p = completo(4);
  p.horizonte(1, T("S1"), 1);            // the model refuses simulation 1
  p.horizonte(3, T("S2"), 2);            // simulation 2 is computed in part
  p.poner(kHojaAguas, 3, 5, T("lots"));  // simulation 3: a text where a number goes
  p.poner(kHojaSolucion, 2, 1, T("earlier"));
  const auto c = correr(p, 2);
  EXPECT_EQ(c.informe.rechazadas, 2);
  EXPECT_EQ(c.informe.ejecutadas, 2);
  ASSERT_EQ(c.informe.observadas.size(), 3u);
  EXPECT_EQ(c.informe.observadas[0].id, "sim1");
  EXPECT_EQ(c.informe.observadas[0].motivo, "the first horizon is too thin");
  EXPECT_EQ(c.informe.observadas[1].motivo, "layer 1 does not drain");
  EXPECT_NE(c.informe.observadas[2].motivo.find("Wat_batch!E3"), std::string::npos);
  EXPECT_EQ(c.informe.mensajeObservadas(),
            "These simulations were refused or computed only in part:\r\nsim1: the first "
            "horizon is too thin\r\nsim2: layer 1 does not drain\r\nsim3: " +
                c.informe.observadas[2].motivo);
  EXPECT_EQ(p.libro.cell(kHojaSolucion, 2, 1), T("earlier"));  // nothing for simulation 1
  EXPECT_EQ(p.libro.cell(kHojaSolucion, 3, 1), T("sim2"));     // written, with empty cells
  EXPECT_TRUE(p.libro.cell(kHojaSolucion, 3, 2).isEmpty());
  EXPECT_TRUE(p.libro.cell(kHojaSolucion, 3, 12).isEmpty());
  EXPECT_TRUE(p.libro.cell(kHojaSolucion, 4, 1).isEmpty());
  EXPECT_EQ(p.libro.cell(kHojaSolucion, 5, 1), T("sim4"));
}

TEST(EjecutarBatch, ACellThatCannotBeReadRefusesOnlyItsSimulation) {
  auto p = completo(2);
  p.poner(kHojaSuelos, 1, 3, T("deep"));
  const auto c = correr(p);
  ASSERT_EQ(c.informe.observadas.size(), 1u);
  EXPECT_EQ(c.informe.observadas[0].id, "sim1");
  EXPECT_NE(c.informe.observadas[0].motivo.find("Soil_batch!C1"), std::string::npos);
  EXPECT_EQ(c.informe.rechazadas, 1);
  EXPECT_EQ(c.informe.ejecutadas, 1);
}

// Runs a batch that must be refused; returns the reason and checks that nothing was written.
std::string rechazo(LibroPrueba& p) {
  const auto antes = resultados(p.libro, 3);
  try {
    correr(p);
  } catch (const BatchRechazado& e) {
    EXPECT_EQ(resultados(p.libro, 3), antes);
    return e.what();
  }
  return "not refused";
}

TEST(EjecutarBatch, RefusedBeforeItStartsWritesNothing) {
  LibroPrueba sin_hoja;
  std::vector<std::string> hojas(kHojasBatch.begin(), kHojasBatch.end());
  hojas.erase(hojas.begin() + 7);  // WBal_batch
  sin_hoja.libro = workbook::Workbook::create(hojas);
  sin_hoja.simulacion(1, LibroPrueba::idsDe(T("a"), 1));
  EXPECT_EQ(rechazo(sin_hoja), "The workbook has no sheet named 'WBal_batch'");

  auto constante = completo(2);
  constante.poner("Constants", 5, 2, T("n/a"));
  EXPECT_NE(rechazo(constante).find("Constants!B5"), std::string::npos);

  auto demasiadas = completo(2);
  for (int i = 3; i <= kMaxSimulaciones + 1; ++i) {
    demasiadas.poner(kHojaSimulaciones, i + 1, 1, N(i));
  }
  EXPECT_NE(rechazo(demasiadas).find("2730 simulations"), std::string::npos);
  demasiadas.poner(kHojaSimulaciones, kMaxSimulaciones + 2, 1, CellValue());
  EXPECT_EQ(correr(demasiadas).informe.ejecutadas, 2);  // 2729 is still a batch
}

TEST(EjecutarYGuardar, OutcomeSaysRefusedOrNotSaved) {
  ModeloDePrueba modelo;
  auto p = completo(2);
  // A workbook made in memory has no file to be saved to.
  auto r = ejecutarYGuardar(p.libro, {}, 1, nullptr, modelo);
  EXPECT_EQ(r.estado, EstadoOperacion::NoGuardado);
  EXPECT_FALSE(r.motivo.empty());
  EXPECT_EQ(r.informe.ejecutadas, 2);

  p.poner("Parameters", 1, 1, CellValue());
  p.poner("Constants", 5, 2, T("n/a"));
  r = ejecutarYGuardar(p.libro, {}, 1, nullptr, modelo);
  EXPECT_EQ(r.estado, EstadoOperacion::Rechazado);
  EXPECT_NE(r.motivo.find("Constants!B5"), std::string::npos) << r.motivo;
}

}  // namespace
}  // namespace medravolix::batch
