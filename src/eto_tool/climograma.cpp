#include "eto_tool/climograma.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/calendario.h"
#include "common/number_text.h"

namespace medravolix::eto_tool {

namespace {

constexpr double kArriba = 500;
constexpr double kAbajo = 5600;
constexpr double kIzquierda = 400;
constexpr double kDerecha = 4600;

double xMes(int mes) {
  return 250 + 350.0 * mes;
}

double yTemperatura(double T) {
  return kAbajo - 51 * T;
}

double yLluvia(double R, double j) {
  return kAbajo - 255 * R / (5 * j + 10);
}

void dibujarMarco(ui::Canvas& c) {
  c.setPenWidth(1);
  c.line(kIzquierda, kArriba, kDerecha, kArriba, ui::kBlack);
  c.line(kDerecha, kArriba, kDerecha, kAbajo, ui::kBlack);
  c.line(kDerecha, kAbajo, kIzquierda, kAbajo, ui::kBlack);
  c.line(kIzquierda, kAbajo, kIzquierda, kArriba, ui::kBlack);
  for (int i = 1; i <= 11; ++i) {
    c.line(kIzquierda + 350 * i, 5650, kIzquierda + 350 * i, 5550, ui::kBlack);
  }
  for (int i = 1; i <= 20; ++i) {
    c.line(350, kAbajo - 255 * i, 4700, kAbajo - 255 * i, kGrisRejilla);
  }
}

void escribir(ui::Canvas& c, double x, double y, const std::string& texto) {
  c.setCurrentPosition(x, y);
  c.print(texto);
}

void dibujarEtiquetas(ui::Canvas& c, double j) {
  const EtiquetasLluvia derecha = etiquetasLluvia(j);
  for (int i = 0; i <= 20; ++i) {
    const double y = 390 + 255.0 * i;
    const int valor = 100 - 5 * i;
    c.setFont(kFuenteClimograma, kPuntosClimograma, false);
    escribir(c, xEtiquetaEje(valor), y, ETIQUETA_EJE(valor));
    // A smaller label keeps its middle level with its grid line.
    c.setFont(kFuenteClimograma, derecha.puntos, false);
    const double y_derecha = y + (kPuntosClimograma - derecha.puntos) * kTwipsPorPunto * 2 / 3;
    escribir(c, derecha.x, y_derecha, derecha.textos[i]);
  }
  c.setFont(kFuenteClimograma, kPuntosClimograma, false);
}

// The value in three significant figures with a short exponent, "1.25e6": enough to tell apart
// labels that differ by a twentieth of the axis.
std::string conExponente(double valor) {
  char texto[32];
  std::snprintf(texto, sizeof texto, "%.2e", valor);
  std::string t(texto);
  const auto e = t.find('e');
  if (e == std::string::npos) return t;
  std::string exponente = t.substr(e + 1);
  const bool negativo = !exponente.empty() && exponente[0] == '-';
  if (!exponente.empty() && (exponente[0] == '+' || exponente[0] == '-')) exponente.erase(0, 1);
  exponente.erase(0, std::min(exponente.find_first_not_of('0'), exponente.size() - 1));
  return t.substr(0, e) + "e" + (negativo ? "-" : "") + exponente;
}

}  // namespace

double TERMINO_MAX_CLIMOGRAMA(const Mensual& PRECIPITACION, const Mensual& ETO_MENSUAL) {
  double MAXIMO_CLIMOGRAMA = 0;
  for (int m = 1; m <= 12; ++m) {
    if (PRECIPITACION[m] > MAXIMO_CLIMOGRAMA) MAXIMO_CLIMOGRAMA = PRECIPITACION[m];
    if (ETO_MENSUAL[m] > MAXIMO_CLIMOGRAMA) MAXIMO_CLIMOGRAMA = ETO_MENSUAL[m];
  }
  return MAXIMO_CLIMOGRAMA;
}

double escalaClimograma(double MAXIMO_CLIMOGRAMA) {
  if (!(MAXIMO_CLIMOGRAMA >= 200)) return 0;
  double j = std::floor((MAXIMO_CLIMOGRAMA - 200) / 100) + 1;
  // The division may land one step off; a few checks settle it.
  for (int k = 0; k < 3 && 100 * j + 200 <= MAXIMO_CLIMOGRAMA; ++k) j += 1;
  for (int k = 0; k < 3 && j > 0 && 100 * (j - 1) + 200 > MAXIMO_CLIMOGRAMA; ++k) j -= 1;
  return j;
}

double anchoEstimadoTexto(const std::string& texto, double puntos) {
  double em = 0;
  for (const char ch : texto) em += ch == ' ' || ch == '.' ? kEmEspacio : kEmCaracter;
  return em * puntos * kTwipsPorPunto;
}

EtiquetasLluvia etiquetasLluvia(double j) {
  EtiquetasLluvia e;
  const double paso = 5 * j + 10;
  const bool exponente = 20 * paso >= 1e6;
  double ancho_1pt = 0;  // the widest label at 1 pt, without its leading blank
  for (int i = 0; i <= 20; ++i) {
    const double valor = paso * (20 - i);
    const std::string cifras = exponente && valor != 0 ? conExponente(valor) : plainDecimal(valor);
    e.textos[i] = " " + cifras;
    ancho_1pt = std::max(ancho_1pt, anchoEstimadoTexto(cifras, 1));
  }
  // The figures start where they do in the full size, clear of the grid lines' ends; a smaller
  // blank moves the text right by what it saves.
  const double blanco_completo = anchoEstimadoTexto(" ", kPuntosClimograma);
  const double sitio = kAnchoClimograma - kMargenDerecho - kXEtiquetaLluvia - blanco_completo;
  // Quarter points, rounded down, so the text stays within the room.
  e.puntos = std::min(kPuntosClimograma, std::floor(4 * sitio / ancho_1pt) / 4);
  e.x = kXEtiquetaLluvia + blanco_completo - anchoEstimadoTexto(" ", e.puntos);
  return e;
}

std::string ETIQUETA_EJE(int valor) {
  std::string texto = " " + std::to_string(valor);
  texto.resize(4, ' ');
  return texto;
}

double xEtiquetaEje(int valor) {
  if (valor >= 100) return -50;
  return valor >= 10 ? 50 : 150;
}

double CLIMOGRAMA(ui::Canvas& Picture2, const Mensual& TMEDIA, const Mensual& PRECIPITACION,
                  const Mensual& ETO_MENSUAL, int16_t IDIOMA) {
  Picture2.clear(ui::kWhite);
  Picture2.setFont(kFuenteClimograma, kPuntosClimograma, false);
  Picture2.setTextColor(ui::kBlack);
  dibujarMarco(Picture2);
  for (int16_t m = 1; m <= 12; ++m)
    escribir(Picture2, 450 + 350.0 * (m - 1), 5700, NOMBRE_MES(m, IDIOMA));
  escribir(Picture2, 100, 50, "T/ºC");
  escribir(Picture2, 4500, 50, "mm");
  const double j = escalaClimograma(TERMINO_MAX_CLIMOGRAMA(PRECIPITACION, ETO_MENSUAL));
  dibujarEtiquetas(Picture2, j);
  Picture2.setPenWidth(2);
  for (int i = 1; i <= 11; ++i) {
    Picture2.line(xMes(i), yTemperatura(TMEDIA[i]), xMes(i + 1), yTemperatura(TMEDIA[i + 1]),
                  ui::kRed);
    Picture2.line(xMes(i), yLluvia(PRECIPITACION[i], j), xMes(i + 1),
                  yLluvia(PRECIPITACION[i + 1], j), ui::kBlue);
  }
  return j;
}

void GRAFICAR_EVT(ui::Canvas& Picture2, const Mensual& ETO_MENSUAL, double CONTADOR2) {
  Picture2.setPenWidth(2);
  for (int i = 1; i <= 11; ++i) {
    Picture2.line(xMes(i), yLluvia(ETO_MENSUAL[i], CONTADOR2), xMes(i + 1),
                  yLluvia(ETO_MENSUAL[i + 1], CONTADOR2), ui::kGreen);
  }
}

}  // namespace medravolix::eto_tool
