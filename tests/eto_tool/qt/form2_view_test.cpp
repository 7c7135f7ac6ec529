// The tool window on a copy of the sample workbook: choose a station, draw each method's curve,
// and see the picture keep its drawing when painted again. With MEDRAVOLIX_SHOTS_DIR set, the
// window is also saved as PNG pictures there for a person to look at.
#include "eto_tool/qt/form2_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <cstdlib>

#include "support/fake_dialogs.h"
#include "support/test_support.h"
#include "ui/qt/geometry.h"
#include "ui/twips.h"

namespace medravolix::eto_tool::qt {
namespace {

int pixelesDeColor(const QImage& imagen, QColor color) {
  int n = 0;
  for (int y = 0; y < imagen.height(); ++y) {
    for (int x = 0; x < imagen.width(); ++x) n += imagen.pixelColor(x, y) == color;
  }
  return n;
}

void guardarSiSePide(QWidget& ventana, const char* nombre) {
  const char* carpeta = std::getenv("MEDRAVOLIX_SHOTS_DIR");
  if (!carpeta) return;
  ventana.grab().save(QString::fromUtf8(carpeta) + "/" + nombre);
}

// Zaragoza cannot be loaded: the list goes back to the station whose data the window shows (none
// at first), as a user choosing it in the list would see.
TEST(Form2View, DrawsEachEnabledMethodsCurveAndTheListKeepsTheStationShown) {
  testing::ScratchDir dir;
  const auto copia = testing::CopyOfSample(dir);
  workbook::Workbook libro = workbook::Workbook::open(copia);
  libro.setCell("Clim_data", 30, 10, workbook::CellValue::text("n/a"));  // Zaragoza, May
  testing::FakeDialogs dialogs;
  DatosForm2 datos;
  Form2View ventana(
      dialogs, [&] { return &libro; }, datos);
  ventana.show();
  const auto elegir = [&](int k) {
    ventana.Combo1()->setCurrentIndex(k);
    ventana.Combo1()->activated(k);
  };
  ASSERT_EQ(ventana.Combo1()->count(), 6);
  EXPECT_EQ(ventana.Combo1()->itemText(4), "Maricopa-AZMET 2003-2020");
  EXPECT_EQ(ventana.MSHFlexGrid1()->item(0, 6)->text(), QString::fromUtf8("T/ºC"));
  elegir(2);
  EXPECT_EQ(ventana.Combo1()->currentIndex(), -1);
  EXPECT_FALSE(ventana.Frame1()->isEnabled());

  elegir(4);  // Maricopa: every method
  EXPECT_TRUE(ventana.Frame1()->isEnabled());
  EXPECT_EQ(ventana.MSHFlexGrid1()->item(1, 0)->text(), "Maricopa");
  for (int i = 0; i <= 4; ++i) {
    ASSERT_TRUE(ventana.Option1(i)->isEnabled()) << i;
    ventana.Option1(i)->click();
    for (int otra = 0; otra <= 4; ++otra) {
      EXPECT_EQ(ventana.Option1(otra)->isChecked(), otra == i);
    }
    const QImage imagen = ventana.Picture2()->grab().toImage();
    EXPECT_GT(pixelesDeColor(imagen, QColor(0, 255, 0)), 200) << i;
    EXPECT_GT(pixelesDeColor(imagen, QColor(255, 0, 0)), 200) << i;
    EXPECT_EQ(imagen, ventana.Picture2()->grab().toImage());  // a repaint shows the same
  }
  guardarSiSePide(ventana, "eto_every_method.png");
  elegir(2);
  EXPECT_EQ(ventana.Combo1()->currentIndex(), 4);
  EXPECT_EQ(ventana.MSHFlexGrid1()->item(1, 0)->text(), "Maricopa");
  EXPECT_TRUE(ventana.Option1(4)->isChecked());
  EXPECT_EQ(dialogs.messages.size(), 2u);
  guardarSiSePide(ventana, "eto_after_failed_station.png");

  elegir(0);  // Almería: Thornthwaite and Hargreaves only
  for (int i = 0; i <= 4; ++i) {
    EXPECT_EQ(ventana.Option1(i)->isEnabled(), i == 0 || i == 2) << i;
    EXPECT_FALSE(ventana.Option1(i)->isChecked()) << i;
  }
  EXPECT_EQ(pixelesDeColor(ventana.Picture2()->grab().toImage(), QColor(0, 255, 0)), 0);
  ventana.Option1(2)->click();
  guardarSiSePide(ventana, "eto_two_methods.png");
}

// A rainfall of tens of thousands of mm (a decimal point typed wrong) puts five-digit labels on
// the right axis: in the font the window really draws with, each ends inside the picture.
TEST(Form2View, RainfallLabelsOfAnyScaleEndInsideThePicture) {
  testing::ScratchDir dir;
  const auto copia = testing::CopyOfSample(dir);
  workbook::Workbook libro = workbook::Workbook::open(copia);
  testing::FakeDialogs dialogs;
  DatosForm2 datos;
  Form2View ventana(
      dialogs, [&] { return &libro; }, datos);
  ventana.show();
  for (const double lluvia : {120.0, 4500.0, 40000.0, 987654.0, 2.5e6}) {
    libro.setCell("Clim_data", 12 * 4 + 3 + 1, 10, workbook::CellValue::number(lluvia));
    ventana.Combo1()->setCurrentIndex(4);  // Maricopa, March
    ventana.Combo1()->activated(4);
    int etiquetas = 0;
    for (const ui::CanvasCall& t : ventana.Picture2()->drawing().calls()) {
      if (t.kind != ui::CanvasCall::Kind::Text || t.x1 < 4600 || t.y1 < 300) continue;
      ++etiquetas;
      const QFontMetricsF medida(
          ui::qt::windowFont(QString::fromStdString(t.font_family), t.font_size_pt, t.bold));
      const double ancho = medida.horizontalAdvance(QString::fromStdString(t.text));
      EXPECT_LE(t.x1 / ui::kTwipsPerPixel + ancho, ventana.Picture2()->width())
          << lluvia << ": '" << t.text << "' at " << t.font_size_pt << " pt";
    }
    EXPECT_EQ(etiquetas, 21) << lluvia;
    if (lluvia == 40000.0) guardarSiSePide(ventana, "eto_rainfall_40000.png");
  }
}

}  // namespace
}  // namespace medravolix::eto_tool::qt
