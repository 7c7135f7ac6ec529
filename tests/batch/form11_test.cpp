#include "batch/form11.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "shell/calendario.h"
#include "support/test_support.h"

namespace medravolix::batch {
namespace {

ResultadoOperacion completed() {
  ResultadoOperacion r;
  r.estado = EstadoOperacion::Completado;
  return r;
}

TEST(Form11, ShowsNothingBeforeTheFirstUpdate) {
  Form11 form([](const Progreso&) { return completed(); });
  EXPECT_EQ(form.Frame1_Caption(), "");
  EXPECT_EQ(form.Label1_Width(), 15.0f);
  EXPECT_STREQ(Form11::Label2_Caption, "Please wait, MEDRAVOLIX is busy");
  EXPECT_STREQ(Form11::Caption, "MEDRAVOLIX");
}

TEST(Form11, ThreeSimulationsShowTheirShareAndTheBarGrowsToItsFullWidth) {
  Form11 form([](const Progreso&) { return completed(); });
  const char* captions[] = {"33%", "67%", "100% finishing"};
  const double widths[] = {1549.35, 3145.65, 4695};
  for (int i = 1; i <= 3; ++i) {
    form.MOSTRAR_PROGRESO(REDONDEAR(i * 100.0 / 3, 0));
    EXPECT_EQ(form.Frame1_Caption(), captions[i - 1]);
    EXPECT_TRUE(testing::Near(widths[i - 1], form.Label1_Width(), 1e-3));
  }
  // 299 of 300 simulations round to 100: the window already says it is finishing.
  form.MOSTRAR_PROGRESO(REDONDEAR(299 * 100.0 / 300, 0));
  EXPECT_EQ(form.Frame1_Caption(), "100% finishing");
  form.MOSTRAR_PROGRESO(1);
  EXPECT_EQ(form.Frame1_Caption(), "1%");
  EXPECT_TRUE(testing::Near(46.95, form.Label1_Width(), 1e-4));
}

TEST(Form11, RefusesToCloseWhileTheBatchRunsOnItsOwnThread) {
  std::vector<double> reported;
  Form11 form([](const Progreso& progreso) {
    progreso(50);
    progreso(100);
    ResultadoOperacion r = completed();
    r.informe.NUM_SIMULACIONES = 2;
    return r;
  });
  EXPECT_TRUE(form.QueryUnload());
  form.Form_Activate();
  EXPECT_FALSE(form.QueryUnload());
  std::thread lote([&] { form.ejecutar([&](double p) { reported.push_back(p); }); });
  lote.join();
  EXPECT_FALSE(form.QueryUnload());
  form.Form_Terminado();
  EXPECT_TRUE(form.QueryUnload());
  EXPECT_EQ(reported, (std::vector<double>{50, 100}));
  EXPECT_EQ(form.resultado().estado, EstadoOperacion::Completado);
  EXPECT_EQ(form.resultado().informe.NUM_SIMULACIONES, 2);
}

TEST(Form11, AnErrorInTheBatchBecomesAnOutcomeThatWasNotSaved) {
  Form11 form([](const Progreso&) -> ResultadoOperacion { throw std::runtime_error("boom"); });
  form.Form_Activate();
  const ResultadoOperacion r = form.ejecutar([](double) {});
  EXPECT_EQ(r.estado, EstadoOperacion::NoGuardado);
  EXPECT_NE(r.motivo.find("boom"), std::string::npos);
  EXPECT_EQ(form.resultado().estado, EstadoOperacion::NoGuardado);
}

}  // namespace
}  // namespace medravolix::batch
