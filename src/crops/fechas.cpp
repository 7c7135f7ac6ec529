#include "crops/fechas.h"

#include <array>
#include <stdexcept>

#include "common/calendario.h"

namespace medravolix::crops {

namespace {

constexpr std::array<const char*, 13> kLargoMes = {"",   "31", "28", "31", "30", "31", "30",
                                                   "31", "31", "30", "31", "30", "31"};
constexpr std::array<const char*, 13> kMesEs = {
    "",      "enero",  "febrero",    "marzo",   "abril",     "mayo",     "junio",
    "julio", "agosto", "septiembre", "octubre", "noviembre", "diciembre"};
constexpr std::array<const char*, 13> kMesEn = {
    "",     "January", "February",  "March",   "April",    "May",     "June",
    "July", "August",  "September", "October", "November", "December"};

std::string dosDigitos(int n) {
  std::string texto = std::to_string(n);
  return texto.size() == 1 ? "0" + texto : texto;
}

const char* sufijoIngles(int dia) {
  switch (dia) {
    case 1:
    case 21:
    case 31:
      return "st";
    case 2:
    case 22:
      return "nd";
    case 3:
    case 23:
      return "rd";
    default:
      return "th";
  }
}

int digitos(const std::string& codigo, std::size_t desde) {
  const char a = codigo[desde], b = codigo[desde + 1];
  if (a < '0' || a > '9' || b < '0' || b > '9') {
    throw std::invalid_argument("'" + codigo + "' is not a date code ddmm");
  }
  return (a - '0') * 10 + (b - '0');
}

}  // namespace

int16_t ENTERO_SUPERIOR(double x) {
  if (!(x > 1)) return 1;
  if (x > 32767) {
    throw std::out_of_range("A position of " + std::to_string(x) + " days is off the calendar");
  }
  int16_t k = 2;
  while (k < x) ++k;
  return k;
}

std::string FECHA_DDMM(int16_t& dia) {
  if (dia < 1) throw std::out_of_range("FECHA_DDMM: day " + std::to_string(dia) + " is below 1");
  while (dia > 365) dia = static_cast<int16_t>(dia - 365);
  int m = 1;
  int S = DIAS_MES(1);
  while (S < dia) S += DIAS_MES(static_cast<int16_t>(++m));
  const int largo = DIAS_MES(static_cast<int16_t>(m));
  const std::string texto_dia = S == dia ? kLargoMes[m] : std::to_string(largo - (S - dia));
  return (texto_dia.size() == 1 ? "0" + texto_dia : texto_dia) + dosDigitos(m);
}

std::string FECHA_LARGA(const std::string& codigo, int16_t idioma) {
  if (codigo.size() != 4) throw std::invalid_argument("'" + codigo + "' is not a date code ddmm");
  const int d = digitos(codigo, 0);
  const int m = digitos(codigo, 2);
  if (m < 1 || m > 12) throw std::invalid_argument("'" + codigo + "' has no month 1 to 12");
  const std::string texto_dia = std::to_string(d);
  if (idioma == 0) return texto_dia + " de " + kMesEs[m];
  return std::string(kMesEn[m]) + " " + texto_dia + sufijoIngles(d);
}

}  // namespace medravolix::crops
